// Fitting a balanced frame to its text: the last frame of a thread of 10, 100 and 1,000 full
// frames, at the end of a story of as many pages of one-line paragraphs. Each height tried
// composes the story again from the frame before the fitted one, so the time of a fit should
// barely grow with the story. The time is CPU time: the machines it runs on are shared.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "NewDocCmd.h"
#include "Story.h"
#include "StyleUtils.h"
#include "TextComposer.h"
#include "TextFrame.h"

#include "layout/MifTextFrameUtils.h"

namespace {

constexpr int32 kLinesPerFrame = 49;   // 12 pt lines in 600 pt, the first a leading below the top

void BM_FitBalancedLastFrame(benchmark::State& state)
{
    BenchSupport::SetUp();
    auto newDocCmd = std::make_shared<NewDocCmd>();
    if (CmdUtils::ProcessCommand(newDocCmd) != kSuccess) {
        state.SkipWithError("no document");
        return;
    }
    DataBase& db = *newDocCmd->GetItemList().GetDataBase();
    Story& story = *db.Create<Story>();
    db.GetDocument()->stories.push_back(story.GetUID());
    const int32 frames = static_cast<int32>(state.range(0));
    std::u16string text;
    for (int32 i = 0; i < (frames - 1) * kLinesPerFrame + 7; ++i) {
        if (i > 0) text += u'\r';
        std::string line = "Line " + std::to_string(i + 1);
        text.append(line.begin(), line.end());
    }
    story.textModel.Insert(0, text);
    AttributeBossList attributes;
    attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(db, "DejaVu Sans"));
    attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Book"));
    attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10));
    attributes.ApplyAttribute(TextAttribute::kLeading, PMReal(12));
    story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
    TextFrame* last = nullptr;
    for (int32 i = 0; i < frames; ++i) {
        TextFrame* frame = db.Create<TextFrame>();
        frame->story = story.GetUID();
        frame->pathBounds = PMRect(0, 0, 300, 600);
        frame->firstBaselineOffset = FirstBaselineOffset::kLeadingOffset;
        if (last) {
            last->nextFrame = frame->GetUID();
            frame->previousFrame = last->GetUID();
        }
        last = frame;
    }
    TextComposer::Get().Compose(story);   // as after the content import
    MifTextFrameUtils utils;
    int64 iterations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        last->pathBounds.bottom = 600;
        story.frameList.Reset();
        TextComposer::Get().Compose(story);
        state.ResumeTiming();
        if (utils.FitMultiColumnFrame(UIDRef(&db, last->GetUID()), false) != kSuccess) state.SkipWithError("not fitted");
        iterations = MifTextFrameUtils::GetLastFitIterations();
    }
    state.counters["heights"] = static_cast<double>(iterations);
    state.counters["fitted_pt"] = last->pathBounds.Height();
    DocumentList::Close(&db);
}

} // namespace

BENCHMARK(BM_FitBalancedLastFrame)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
