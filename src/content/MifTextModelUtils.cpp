#include "content/MifTextModelUtils.h"

#include <algorithm>

#include "DataBase.h"
#include "Story.h"
#include "TextComposer.h"
#include "TextFrame.h"

#include "base/MifAssertLog.h"

namespace {

// The story's frame list, composed again when its text changed since it was last composed (a
// story never composed stays so).
const FrameList& CurrentFrameList(Story& story)
{
    if (story.frameList.IsComposed() && !story.frameList.IsCurrent(story.textModel.GetRevision()))
        TextComposer::Get().Compose(story);
    return story.frameList;
}

void Grow(double* metric, double value)
{
    if (metric && value > *metric + 1e-8) *metric = value;
}

} // namespace

UIDRef MifTextModelUtils::GetFrameStory(const UIDRef& frame) const
{
    DataBase* db = frame.GetDataBase();
    const TextFrame* multiColumnTextFrame = db ? db->Get<TextFrame>(frame.GetUID()) : nullptr;
    if (!multiColumnTextFrame) {
        MIF_LOG_NIL(multiColumnTextFrame);
        return UIDRef(nullptr, kInvalidUID);
    }
    if (!db->Get<Story>(multiColumnTextFrame->story)) return UIDRef(nullptr, kInvalidUID);
    return UIDRef(db, multiColumnTextFrame->story);
}

void MifTextModelUtils::ComposeStory(const UIDRef& story) const
{
    DataBase* db = story.GetDataBase();
    Story* textModel = db ? db->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return;
    }
    // Edits and frame changes note what they damage: composition resumes there.
    TextComposer::Get().Compose(*textModel);
}

UID MifTextModelUtils::FindFrameOfIndex(const UIDRef& story, int32 index) const
{
    DataBase* db = story.GetDataBase();
    Story* textModel = db ? db->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return kInvalidUID;
    }
    if (!textModel->frameList.IsComposed()) TextComposer::Get().Compose(*textModel);
    const FrameList& frameList = CurrentFrameList(*textModel);
    // An index no frame holds (past the end, or overset) is answered by the nearest character
    // before it that a frame holds, down to index 1.
    // What lies beyond the last character a frame holds is answered by that character.
    index = std::min(index, frameList.GetLastHeldIndex());
    for (; index >= 1; --index)
        if (UID frame = frameList.FindFrameOfIndex(index); frame != kInvalidUID) return frame;
    return index == 0 ? frameList.FindFrameOfIndex(0) : kInvalidUID;
}

void MifTextModelUtils::GetLineMetrics(const UIDRef& story, int32 index, double* metric1, double* metric2,
                                       double* metric3, double* metric4) const
{
    for (double* metric : {metric1, metric2, metric3, metric4})
        if (metric) *metric = 0;
    DataBase* db = story.GetDataBase();
    Story* textModel = db ? db->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return;
    }
    // A table cell's text is set alone at the cell's width: its lines do not wait for the
    // story's, and setting one cell costs what the cell holds.
    std::vector<ComposedLine> cellLines;
    const ComposedLine* waxLine = nullptr;
    if (const TextThread thread = textModel->textModel.GetThread(index); thread.kind == TextThreadKind::kCell) {
        const int32 offset = index - textModel->textModel.FindThread(thread.owner).start;
        cellLines = TextComposer::Get().ComposeCell(*textModel, thread.owner);
        for (const ComposedLine& line : cellLines)
            if (offset >= line.start && offset < line.End()) waxLine = &line;
    } else {
        waxLine = CurrentFrameList(*textModel).FindLine(index);
    }
    if (!waxLine) return;  // never composed, or overset: the values stay 0
    // The largest ascent, descent and line gap of the line's runs, and its largest line measure.
    for (const GlyphRun& run : waxLine->runs) {
        if (run.length <= 0 || !run.face) continue;
        Grow(metric4, run.leading);
        Grow(metric1, run.ascent);
        Grow(metric2, run.descent);
        Grow(metric3, run.face->lineGap * run.pointSize);
    }
}

double MifTextModelUtils::GetMetric1(const UIDRef& story, int32 index) const
{
    double value = 0;
    GetLineMetrics(story, index, &value, nullptr, nullptr, nullptr);
    return value;
}

double MifTextModelUtils::GetMetric2(const UIDRef& story, int32 index) const
{
    double value = 0;
    GetLineMetrics(story, index, nullptr, &value, nullptr, nullptr);
    return value;
}

double MifTextModelUtils::GetMetric3(const UIDRef& story, int32 index) const
{
    double value = 0;
    GetLineMetrics(story, index, nullptr, nullptr, &value, nullptr);
    return value;
}

double MifTextModelUtils::GetMetric4(const UIDRef& story, int32 index) const
{
    double value = 0;
    GetLineMetrics(story, index, nullptr, nullptr, nullptr, &value);
    return value;
}

std::vector<double> MifTextModelUtils::GetTabPositions(const UIDRef& story, int32 start, int32 end) const
{
    std::vector<double> positions;
    DataBase* db = story.GetDataBase();
    Story* textModel = db ? db->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return positions;
    }
    start = std::max(start, 0);
    end = std::min(end, textModel->textModel.TotalLength());
    if (start >= end) return positions;
    const std::u16string text = textModel->textModel.GetText(start, end - start);
    TextComposer& composer = TextComposer::Get();
    composer.Compose(*textModel);
    std::vector<ComposedLine> alone;  // the paragraph set alone, when the frames do not hold it
    // The pen where the tab's run starts, from the left indent of its line.
    auto penOf = [](const ComposedLine& line, int32 index) -> double {
        for (const GlyphRun& run : line.runs)
            if (index >= run.start && index < run.start + run.length) return run.x - line.origin;
        return -1;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\t') continue;
        const int32 index = start + static_cast<int32>(i);
        double pen = -1;
        if (const ComposedLine* line = textModel->frameList.FindLine(index)) {
            pen = penOf(*line, index);
        } else {
            if (alone.empty()) alone = composer.ComposeParagraphAlone(*textModel, index);
            auto it = std::upper_bound(alone.begin(), alone.end(), index, [](int32 at, const ComposedLine& line) { return at < line.End(); });
            if (it != alone.end() && index >= it->start) pen = penOf(*it, index);
        }
        positions.push_back(pen);
    }
    return positions;
}
