// Straddle paragraphs and wide tables in frames of two columns: the frame split into the part
// above (balanced), a frame across both columns fitted to the straddling text, and a frame of two
// columns below, threaded in that order; straddles sharing a frame, a straddle at the frame's top,
// one in a frame of one column, the depth running out, and tables wide and narrow.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "MifImportFixture.h"
#include "Story.h"
#include "Table.h"
#include "TestUtils.h"
#include "TextComposer.h"
#include "TextFrame.h"

#include "base/MifDocInterface.h"
#include "host/IdmlSchema.h"
#include "layout/IMifLayoutImporter.h"

namespace {

constexpr const char* kFormats =
    "<PgfCatalog\n"
    " <Pgf <PgfTag `Body'> <PgfSpBefore 0pt> <PgfSpAfter 0pt> <PgfLeading 2pt> <PgfFont <FFamily `DejaVu Sans'> <FSize 10pt>>>\n"
    " <Pgf <PgfTag `Head'> <PgfPlacementStyle Straddle> <PgfSpBefore 0pt> <PgfSpAfter 0pt> <PgfLeading 2pt>\n"
    "  <PgfFont <FFamily `DejaVu Sans'> <FSize 14pt>>>\n"
    " <Pgf <PgfTag `Sub'> <PgfPlacementStyle StraddleNormalOnly> <PgfLeading 2pt> <PgfFont <FFamily `DejaVu Sans'> <FSize 12pt>>>\n"
    ">\n";

// A page with one text rect 468 pt wide and 648 pt high (`columns` columns, 18 pt apart) at
// (72, 72), and a second page whose rect the first leads to when `next` is set.
std::string Pages(int32 columns, bool next = false, const std::string& height = "648pt")
{
    std::string page = "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 72pt 72pt 468pt " + height + "> <TRNumColumns " +
                       std::to_string(columns) + "> <TRColumnGap 18pt>" + (next ? " <TRNext 2>" : "") + ">>\n";
    if (next)
        page += "<Page <PageType BodyPage> <TextRect <ID 2> <ShapeRect 72pt 72pt 468pt 648pt> <TRNumColumns " + std::to_string(columns) +
                "> <TRColumnGap 18pt>>>\n";
    return page;
}

std::string Para(const std::string& tag, const std::string& text, const std::string& items = "")
{
    return " <Para <PgfTag `" + tag + "'> <ParaLine <String `" + text + "'>" + items + ">>\n";
}

// `count` body paragraphs "<prefix> 1" ... each of one line.
std::string Body(const std::string& prefix, int32 count)
{
    std::string paras;
    for (int32 i = 1; i <= count; ++i) paras += Para("Body", prefix + " " + std::to_string(i));
    return paras;
}

std::string TwoColumnTable(int32 id, int32 columnWidth)
{
    const std::string cell = "<Cell <CellContent <Para <PgfTag `Body'> <ParaLine <String `c'>>>>>";
    return "<Tbl <TblID " + std::to_string(id) + "> <TblNumColumns 2> <TblColumnWidth " + std::to_string(columnWidth) +
           "pt> <TblColumnWidth " + std::to_string(columnWidth) + "pt> <TblBody <Row " + cell + cell + "> <Row " + cell + cell + ">>>\n";
}

// The flow's first paragraph begins in the first text rect.
std::string InFirstColumn(std::string flow)
{
    const size_t at = flow.find("<ParaLine ");
    if (at != std::string::npos) flow.insert(at + 10, "<TextRectID 1> ");
    return flow;
}

class MifStraddleImportTest : public MifImportFixture {
protected:
    void Import(const std::string& pages, const std::string& flow, const std::string& tbls = "")
    {
        std::ostringstream mif;
        mif << "<MIFFile 9.00>\n"
                                              << kFormats << (tbls.empty() ? "" : "<Tbls " + tbls + ">\n") << pages
                                              << "<TextFlow <TFTag `A'>\n"
                                              << InFirstColumn(flow) << ">\n";
        OpenMif("tessel-straddle-test.mif", mif.str());
        if (HasFatalFailure()) return;
        TextComposer::Get().Compose(*story);
        // The frames in thread order, from the first.
        frames.clear();
        UID first = story->frameList.GetFrameUID(0);
        while (db->Get<TextFrame>(first)->previousFrame != kInvalidUID) first = db->Get<TextFrame>(first)->previousFrame;
        for (UID uid = first; uid != kInvalidUID; uid = db->Get<TextFrame>(uid)->nextFrame) frames.push_back(db->Get<TextFrame>(uid));
    }
    std::u16string Text() const { return story->textModel.GetText(0, story->textModel.GetThreadRange(0).length); }
    int32 IndexOf(const std::u16string& text) const { return static_cast<int32>(Text().find(text)); }
    // The frame (its place in the thread) whose lines hold `text`; -1 when none does.
    int32 FrameOf(const std::u16string& text) const
    {
        const UID uid = story->frameList.FindFrameOfIndex(IndexOf(text));
        for (size_t i = 0; i < frames.size(); ++i)
            if (frames[i]->GetUID() == uid) return static_cast<int32>(i);
        return -1;
    }
    PMRect Bounds(size_t frame) const { return frames[frame]->GetBoundsInSpread(); }
    const ComposedFrame* Composed(size_t frame) const
    {
        for (const ComposedFrame& composed : story->frameList.GetFrames())
            if (composed.frame == frames[frame]->GetUID()) return &composed;
        return nullptr;
    }
    // The lines of a frame in each of its columns.
    std::vector<int32> LinesPerColumn(size_t frame) const
    {
        std::vector<int32> count(static_cast<size_t>(frames[frame]->columnCount), 0);
        for (const ComposedLine& line : Composed(frame)->lines) ++count.at(static_cast<size_t>(line.column));
        return count;
    }

    std::vector<const TextFrame*> frames;
};

} // namespace

TEST_F(MifStraddleImportTest, StraddleSplitsTheFrameIntoAboveAcrossAndBelow)
{
    Import(Pages(2), Body("Before", 10) + Para("Head", "Straddling head") + Body("After", 30));
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_FALSE(story->frameList.Overflows());
    const PMRect above = Bounds(0), across = Bounds(1), below = Bounds(2);
    // The part above keeps its top and columns and is as deep as its text balanced: ten lines in
    // two columns of five.
    EXPECT_EQ(frames[0]->columnCount, 2);
    EXPECT_EQ(LinesPerColumn(0), (std::vector<int32>{5, 5}));
    EXPECT_LT(above.Height(), 5 * 12 + 12);
    // The frame across: one column, the whole width, right under the part above, fitted to its
    // one line of 14 pt.
    EXPECT_EQ(frames[1]->columnCount, 1);
    EXPECT_NEAR(across.left, above.left, 1e-6);
    EXPECT_NEAR(across.right, above.right, 1e-6);
    EXPECT_NEAR(across.top, above.bottom, 1e-6);
    EXPECT_GT(across.Height(), 14);
    EXPECT_LT(across.Height(), 24);
    // The frame below: the original columns, down to the original bottom.
    EXPECT_EQ(frames[2]->columnCount, 2);
    EXPECT_NEAR(frames[2]->columnGutter, 18, 1e-9);
    EXPECT_NEAR(below.top, across.bottom, 1e-6);
    EXPECT_NEAR(below.bottom - above.top, 648, 1e-6);
    EXPECT_NEAR(below.left, above.left, 1e-6);
    EXPECT_NEAR(below.right, above.right, 1e-6);
    // Each paragraph once, in order, in its frame.
    std::u16string expected;
    for (int i = 1; i <= 9; ++i) expected += u"Before " + std::u16string(1, char16_t(u'0' + i)) + u"\r";
    expected += u"Before 10\r";
    expected += u"Straddling head\r";
    EXPECT_EQ(Text().substr(0, expected.size()), expected);
    EXPECT_EQ(Text().find(u"Straddling head"), Text().rfind(u"Straddling head"));
    EXPECT_EQ(FrameOf(u"Before 10"), 0);
    EXPECT_EQ(FrameOf(u"Straddling head"), 1);
    EXPECT_EQ(FrameOf(u"After 1\r"), 2);
    EXPECT_EQ(FrameOf(u"After 30"), 2);
    EXPECT_LT(IndexOf(u"After 1\r"), IndexOf(u"After 30"));
}

TEST_F(MifStraddleImportTest, ConsecutiveStraddlesShareOneFrameAndAStraddleAtTheTopLeavesNoFrameAbove)
{
    Import(Pages(2), Body("Before", 4) + Para("Head", "First head") + Para("Sub", "Second head") + Body("After", 4));
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(FrameOf(u"First head"), 1);
    EXPECT_EQ(FrameOf(u"Second head"), 1);
    EXPECT_EQ(Composed(1)->lines.size(), 2u);
    EXPECT_EQ(FrameOf(u"After 1"), 2);

    // The flow starts with the straddle: the frame itself goes across.
    TearDown();
    Import(Pages(2), Para("Head", "Top head") + Body("After", 6));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0]->columnCount, 1);
    EXPECT_EQ(frames[1]->columnCount, 2);
    EXPECT_EQ(FrameOf(u"Top head"), 0);
    EXPECT_EQ(FrameOf(u"After 6"), 1);
    EXPECT_NEAR(Bounds(1).top, Bounds(0).bottom, 1e-6);
    EXPECT_NEAR(Bounds(1).bottom - Bounds(0).top, 648, 1e-6);
    EXPECT_FALSE(story->frameList.Overflows());
}

TEST_F(MifStraddleImportTest, OneColumnFramesKeepTheirStraddlesInTheColumn)
{
    Import(Pages(1), Body("Before", 3) + Para("Head", "Head") + Body("After", 3));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(FrameOf(u"Head"), 0);
    EXPECT_FALSE(story->frameList.Overflows());
}

TEST_F(MifStraddleImportTest, WhenTheDepthRunsOutTheTextFlowsOnThroughTheThread)
{
    // The text before fills the first frame (four lines a column): the straddle starts at the
    // top of the next one, which goes across.
    Import(Pages(2, true, "60pt"), Body("Before", 8) + Para("Head", "Head") + Body("After", 40));
    EXPECT_FALSE(story->frameList.Overflows());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0]->columnCount, 2);
    EXPECT_EQ(LinesPerColumn(0), (std::vector<int32>{4, 4}));
    EXPECT_NEAR(Bounds(0).Height(), 60, 1e-6);
    EXPECT_EQ(FrameOf(u"Before 8"), 0);
    EXPECT_EQ(FrameOf(u"Head"), 1);
    EXPECT_EQ(frames[1]->columnCount, 1);
    EXPECT_EQ(FrameOf(u"After 40"), 2);
    EXPECT_EQ(frames[2]->columnCount, 2);

    // Straddling text deeper than the frame: the frame across keeps the depth, and the rest of
    // it and the text after go on into the next frame; nothing is lost.
    TearDown();
    std::string heads;
    for (int i = 0; i < 12; ++i) heads += Para("Head", "Long head " + std::to_string(i));
    Import(Pages(2, true, "120pt"), Body("Before", 2) + heads + Body("After", 4));
    EXPECT_FALSE(story->frameList.Overflows());
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(FrameOf(u"Long head 0"), 1);
    EXPECT_EQ(FrameOf(u"Long head 11"), 2);
    EXPECT_EQ(FrameOf(u"After 4"), 2);
    EXPECT_NEAR(Bounds(1).bottom - Bounds(0).top, 120, 1e-6);
}

TEST_F(MifStraddleImportTest, WideTablesGoAcrossTheColumnsAndNarrowOnesStayInTheirColumn)
{
    Import(Pages(2), Body("Before", 5) + Para("Body", "Anchor", " <ATbl 1>") + Body("After", 5) + Para("Body", "Narrow", " <ATbl 2>"),
           TwoColumnTable(1, 200) + TwoColumnTable(2, 100));
    EXPECT_FALSE(story->frameList.Overflows());
    ASSERT_EQ(frames.size(), 3u);
    // The wide table has its frame across the columns, holding its two rows; the text after it
    // goes on in the frame below, where the narrow table stands in a column.
    EXPECT_EQ(frames[1]->columnCount, 1);
    EXPECT_NEAR(Bounds(1).Width(), 468, 1e-6);
    ASSERT_EQ(Composed(1)->tableParts.size(), 1u);
    EXPECT_EQ(Composed(1)->tableParts[0].rows.size(), 2u);
    EXPECT_FALSE(Composed(1)->tableParts[0].continued);
    EXPECT_EQ(FrameOf(u"Anchor"), 0);
    EXPECT_EQ(FrameOf(u"After 1"), 2);
    ASSERT_EQ(Composed(2)->tableParts.size(), 1u);
    EXPECT_EQ(Composed(2)->tableParts[0].rows.size(), 2u);
    EXPECT_NEAR(Bounds(2).bottom - Bounds(0).top, 648, 1e-6);
    // The wide table's paragraph has no indents.
    const int32 table = static_cast<int32>(Composed(1)->tableParts[0].anchor);
    const PMReal* left = story->textModel.GetParagraphFormat(table)->overrides.Get<PMReal>(TextAttribute::kLeftIndent);
    ASSERT_NE(left, nullptr);
    EXPECT_NEAR(*left, 0, 1e-9);
}

// The straddle test file (tests/data/straddle-columns.mif) converted whole: a heading across the
// columns and a wide table, each in a frame of its own between frames of two columns, no text
// overset, and a package the schema accepts.
TEST(MifStraddleFileTest, ConvertsToThreadedFramesAndAValidPackage)
{
    UIDRef document;
    PMString message;
    auto path = std::filesystem::path(TESSEL_TEST_DATA_DIR) / "straddle-columns.mif";
    ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
    CmdUtils::ProcessScheduledCmds();
    DataBase* db = document.GetDataBase();
    InterfacePtr<IMifLayoutImporter> layout = MifDocInterface<IMifLayoutImporter>(db);
    ASSERT_TRUE(layout);
    Story* story = db->Get<Story>(layout->GetStoryOfTextRect(1).GetUID());
    ASSERT_NE(story, nullptr);
    TextComposer::Get().Compose(*story);
    EXPECT_FALSE(story->frameList.Overflows());
    std::vector<int32> columns;
    for (const ComposedFrame& composed : story->frameList.GetFrames()) columns.push_back(db->Get<TextFrame>(composed.frame)->columnCount);
    // Above, the heading, between, the table, below.
    EXPECT_EQ(columns, (std::vector<int32>{2, 1, 2, 1, 2}));
    for (UID uid : db->GetDocument()->stories)
        if (Story* each = db->Get<Story>(uid)) {
            TextComposer::Get().Compose(*each);
            EXPECT_FALSE(each->frameList.Overflows()) << uid;
        }
    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
    EXPECT_TRUE(IdmlSchema::Validates(bytes));
    for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
}
