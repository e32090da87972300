// Composition: lines per second for the longest corpus file's body story poured into a chain of
// frames, stories of 50 and 500 tables of 20 rows, and stories of 200, 2,000 and 20,000 tabbed paragraphs, whose time per paragraph must stay
// flat (composition is linear in the story). The time is CPU time: the machines it runs on are
// shared.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "BenchSupport.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "IImportProvider.h"
#include "InterfacePtr.h"
#include "IPMStream.h"
#include "MifGenerator.h"
#include "NewDocCmd.h"
#include "ObjectModel.h"
#include "Story.h"
#include "StoryComposer.h"
#include "StyleUtils.h"
#include "Table.h"
#include "TableCommands.h"
#include "TextFrame.h"

#include "base/TesselID.h"
#include "plugin/MifRegistration.h"

namespace {

// Threads `count` letter-size frames after the story's last frame (or as its first).
void AddFrames(DataBase& db, Story& story, int count)
{
    TextFrame* last = nullptr;
    for (UID uid : StoryComposer::GetFrameChain(db, story.GetUID())) last = db.Get<TextFrame>(uid);
    for (int i = 0; i < count; ++i) {
        TextFrame* frame = db.Create<TextFrame>();
        frame->story = story.GetUID();
        frame->pathBounds = PMRect(0, 0, 468, 648);
        if (last) {
            last->nextFrame = frame->GetUID();
            frame->previousFrame = last->GetUID();
        }
        last = frame;
    }
}

int64 LineCount(const Story& story)
{
    int64 lines = 0;
    for (const ComposedFrame& frame : story.frameList.GetFrames()) lines += static_cast<int64>(frame.lines.size());
    return lines;
}

void ComposeLoop(benchmark::State& state, Story& story)
{
    StoryComposer composer;
    composer.Compose(story);  // faces loaded and words shaped once, as in a conversion
    for (auto _ : state) {
        story.frameList.Reset();
        composer.Compose(story);
    }
    int64 lines = LineCount(story);
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["overset"] = story.frameList.Overflows() ? 1 : 0;
}

// The body story of article-long (the one of most text) in as many frames as it needs.
void BM_ComposeArticle(benchmark::State& state)
{
    BenchSupport::SetUp();
    std::string mif = BenchSupport::ReadCorpusFile("generated/openjade/article-long.mif");
    InterfacePtr<IImportProvider> provider(CreateObject2<IImportProvider>(kMifImportProviderBoss));
    if (mif.empty() || !provider) {
        state.SkipWithError("no corpus or no MIF import provider");
        return;
    }
    UIDRef document = BenchSupport::Import(*provider, mif);
    if (!document.GetDataBase()) {
        state.SkipWithError("the import failed");
        return;
    }
    DataBase& db = *document.GetDataBase();
    Story* body = nullptr;
    for (UID uid : db.GetDocument()->stories)
        if (Story* story = db.Get<Story>(uid); story && (!body || story->textModel.TotalLength() > body->textModel.TotalLength()))
            body = story;
    if (body) {
        AddFrames(db, *body, 400);
        ComposeLoop(state, *body);
    }
    DocumentList::Close(&db);
}

// A story of `paragraphs` paragraphs, each with two tabs against a left and a right tab stop.
void BM_ComposeTabbedParagraphs(benchmark::State& state)
{
    const int paragraphs = static_cast<int>(state.range(0));
    DataBase db;
    StyleUtils::AddDefaultStyles(db);
    Story& story = *db.Create<Story>();
    std::u16string text;
    for (int i = 0; i < paragraphs; ++i) {
        if (i) text += u'\r';
        text += u"Item " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u"\tthe value of it\t" +
                std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u".50";
    }
    story.textModel.Insert(0, text);
    AttributeBossList attributes;
    attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(db, "Times"));
    attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10));
    TabStopTable tabs;
    tabs.Insert(TabStop{144});
    TabStop right;
    right.position = 400;
    right.alignment = TabStop::kRight;
    tabs.Insert(right);
    attributes.ApplyAttribute(TextAttribute::kTabStops, tabs);
    story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
    AddFrames(db, story, paragraphs / 40 + 1);
    ComposeLoop(state, story);
    state.counters["paragraphs_per_s"] = benchmark::Counter(static_cast<double>(paragraphs), benchmark::Counter::kIsIterationInvariantRate);
}

// The import of a flow of `paragraphs` tabbed paragraphs: each paragraph's tabs are checked
// against its composed text as it is imported, so this is the tab check's cost. Composition
// resumes at the paragraph, so the time per paragraph stays flat.
void BM_ImportWithTabCheck(benchmark::State& state)
{
    BenchSupport::SetUp();
    const int paragraphs = static_cast<int>(state.range(0));
    const std::string mif = MifGenerator::TabbedDocument(paragraphs);
    InterfacePtr<IImportProvider> provider(CreateObject2<IImportProvider>(kMifImportProviderBoss));
    if (!provider) {
        state.SkipWithError("no MIF import provider");
        return;
    }
    for (auto _ : state) {
        UIDRef document = BenchSupport::Import(*provider, mif);
        if (!document.GetDataBase()) {
            state.SkipWithError("the import failed");
            return;
        }
        DocumentList::Close(document.GetDataBase());
    }
    state.counters["paragraphs_per_s"] = benchmark::Counter(static_cast<double>(paragraphs), benchmark::Counter::kIsIterationInvariantRate);
}

// A story of `tables` tables of 1 header and 19 body rows of three cells of text, each after a
// paragraph of text: the tables' rows go on from frame to frame, so this is the cost of setting
// cells and breaking tables; the time per table must stay flat.
void BM_ComposeTables(benchmark::State& state)
{
    const int tables = static_cast<int>(state.range(0));
    auto newDocCmd = std::make_shared<NewDocCmd>();  // tables are made by commands, on an open document
    if (CmdUtils::ProcessCommand(newDocCmd) != kSuccess) {
        state.SkipWithError("no document");
        return;
    }
    DataBase& db = *newDocCmd->GetItemList().GetDataBase();
    Story& story = *db.Create<Story>();
    const std::u16string paragraph = u"A paragraph of text before the table, long enough to take two lines of the column.\r";
    std::u16string text;
    std::vector<int32> anchors;  // the empty paragraph after each one holds a table
    for (int i = 0; i < tables; ++i) {
        text += paragraph;
        anchors.push_back(static_cast<int32>(text.size()));
        text += u"\r";
    }
    story.textModel.Insert(0, text);
    // The tables from the last up, so that the indexes before stay put.
    for (auto it = anchors.rbegin(); it != anchors.rend(); ++it) {
        auto newTableCmd = std::make_shared<NewTableCmd>();
        newTableCmd->SetItemList(UIDList(story.GetRef()));
        newTableCmd->textIndex = *it;
        newTableCmd->headerRows = 1;
        newTableCmd->bodyRows = 19;
        newTableCmd->columns = 3;
        newTableCmd->width = 400;
        newTableCmd->height = 240;
        if (CmdUtils::ProcessCommand(newTableCmd) != kSuccess) {
            state.SkipWithError("no table");
            DocumentList::Close(&db);
            return;
        }
        const Table& table = *db.Get<Table>(newTableCmd->GetItemList().GetUIDs().front());
        for (size_t c = 0; c < table.cells.size(); ++c) {
            TextRange thread = story.textModel.FindThread(table.cells[c].text);
            story.textModel.Insert(thread.start, c % 3 == 2 ? u"A longer cell text that wraps in its column" : u"Cell");
        }
    }
    AttributeBossList attributes;
    attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(db, "Times"));
    attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10));
    story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
    AddFrames(db, story, tables + 1);
    ComposeLoop(state, story);
    int64 parts = 0;
    for (const ComposedFrame& frame : story.frameList.GetFrames()) parts += static_cast<int64>(frame.tableParts.size());
    state.counters["parts"] = static_cast<double>(parts);
    state.counters["tables_per_s"] = benchmark::Counter(static_cast<double>(tables), benchmark::Counter::kIsIterationInvariantRate);
    DocumentList::Close(&db);
}

} // namespace

BENCHMARK(BM_ComposeTables)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWithTabCheck)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeArticle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeTabbedParagraphs)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
