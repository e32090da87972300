// Anchored frames and heads arriving in the text: each FrameType anchored with its settings,
// anchors that name no frame or a frame anchored already, frames never anchored gone with the
// scratch spreads; run-in heads with their punctuation, side heads sharing a frame, the start
// of the paragraph after a side head, and side heads in flows without a side-head area.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "MifImportFixture.h"
#include "PageItem.h"
#include "Spread.h"
#include "Story.h"
#include "TestUtils.h"
#include "TextComposer.h"
#include "TextFrame.h"

#include "layout/IMifLayoutImporter.h"

namespace {

constexpr const char* kFormats =
    "<PgfCatalog\n"
    " <Pgf <PgfTag `Body'> <PgfLIndent 18pt> <PgfFont <FFamily `DejaVu Sans'> <FSize 10pt>>>\n"
    " <Pgf <PgfTag `RunHead'> <PgfPlacementStyle RunIn> <PgfRunInDefaultPunct `. '> <PgfFont <FFamily `DejaVu Sans'> <FSize 10pt>>>\n"
    " <Pgf <PgfTag `Side'> <PgfPlacementStyle SideheadTop> <PgfFont <FFamily `DejaVu Sans'> <FSize 10pt>>>\n"
    " <Pgf <PgfTag `SideTop'> <PgfPlacementStyle SideheadTop> <PgfPlacement PageTop> <PgfFont <FFamily `DejaVu Sans'> <FSize 10pt>>>\n"
    " <Pgf <PgfTag `Head'> <PgfAutoNum Yes> <PgfNumFormat `H:<n+\\>.\\t'> <PgfFont <FFamily `DejaVu Sans'> <FSize 14pt>>>\n"
    ">\n";

std::string Frame(int32 id, const std::string& anchoring, int32 width = 50, int32 height = 20)
{
    std::string size = std::to_string(width) + "pt " + std::to_string(height) + "pt";
    return " <Frame <ID " + std::to_string(id) + "> " + anchoring + " <Pen 15> <Fill 15> <ShapeRect 0pt 0pt " + size + ">\n" +
           "  <Rectangle <Pen 0> <Fill 0> <ShapeRect 0pt 0pt " + size + ">>>\n";
}

class MifAnchoredImportTest : public MifImportFixture {
protected:
    void Import(const std::string& body)
    {
        std::ostringstream mif;
        mif << "<MIFFile 9.00>\n" << kFormats << body;
        OpenMif("tessel-anchored-test.mif", mif.str());
    }
    std::u16string Text(const Story& s) const { return s.textModel.GetText(0, s.textModel.TotalLength()); }
    const PageItem* ItemAt(int32 index) const { return db->Get<PageItem>(story->textModel.GetOwnedItem(index)); }
    const Story& HeadStory(int32 index) const
    {
        const auto* frame = dynamic_cast<const TextFrame*>(ItemAt(index));
        EXPECT_NE(frame, nullptr);
        return *db->Get<Story>(frame->story);
    }

};

// A Below frame in the last paragraph of its flow has no next line to stand above: a forced line
// break ends the anchoring line and the frame stands above the short line after it, inside its
// own paragraph, which keeps its count.
TEST_F(MifAnchoredImportTest, BelowFrameInTheLastParagraphStandsBelowItsLine)
{
    Import("<AFrames\n" + Frame(11, "<FrameType Below> <AnchorAlign Center>", 100, 40) + ">\n" +
           "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n"
           "<TextFlow <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `First'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `With an image: '> <AFrame 11>>>>\n");
    EXPECT_EQ(Text(*story), u"First\rWith an image: \n\uFFFC\r");
    const PageItem* below = ItemAt(22);
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->anchorSettings.position, AnchorPosition::kAboveLine);

    TextComposer::Get().Compose(*story);
    ASSERT_EQ(story->frameList.GetFrameCount(), 1);
    const ComposedFrame& frame = story->frameList.GetFrame(0);
    ASSERT_EQ(frame.anchors.size(), 1u);
    const ComposedLine* anchoring = nullptr;
    for (const ComposedLine& line : frame.lines)
        if (line.start <= 6 && 6 < line.End()) anchoring = &line;
    ASSERT_NE(anchoring, nullptr);
    EXPECT_GE(frame.anchors.front().bounds.top, anchoring->baseline);
}

// Mid-flow, a Below frame stays in the paragraph whose line anchors it: in an empty anchoring
// paragraph its anchor is that paragraph's only character, and in a paragraph of several lines it
// starts the line after the anchoring one. The numbered heading after it keeps its number's size
// and stands below the frame.
TEST_F(MifAnchoredImportTest, BelowFrameMidFlowStaysInItsParagraph)
{
    const std::string words = "word word word word word word word word word word word word word word word word word word";
    Import("<AFrames\n" + Frame(11, "<FrameType Below>", 100, 40) + Frame(12, "<FrameType Below>", 80, 30) + ">\n" +
           "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n"
           "<TextFlow <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `Intro'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <AFrame 11>>>\n"
           " <Para <PgfTag `Head'> <ParaLine <String `Reference'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `" + words + " '> <AFrame 12> <String `" + words + "'>>>>\n");
    const std::u16string text = Text(*story);
    // The first frame is its empty paragraph's only character; the heading starts with its text.
    EXPECT_EQ(text.substr(0, 18), u"Intro\r\uFFFC\rReference\r");
    EXPECT_NEAR(*story->textModel.GetCharacterFormat(6)->overrides.Get<PMReal>(TextAttribute::kPointSize), 2, 1e-9);
    const PMReal* headSize = story->textModel.GetCharacterFormat(8)->overrides.Get<PMReal>(TextAttribute::kPointSize);
    EXPECT_TRUE(!headSize || *headSize > 2);

    TextComposer::Get().Compose(*story);
    const ComposedFrame& frame = story->frameList.GetFrame(0);
    ASSERT_EQ(frame.anchors.size(), 2u);
    const ComposedLine* heading = story->frameList.FindLine(8);
    ASSERT_NE(heading, nullptr);
    EXPECT_GE(heading->baseline - heading->ascent, frame.anchors[0].bounds.bottom - 1e-6);

    // The second frame starts the line after the one that holds its anchor, after a forced line
    // break, and the text after its anchor goes on in the same paragraph.
    const size_t second = text.rfind(u'\uFFFC');
    ASSERT_NE(second, std::u16string::npos);
    EXPECT_EQ(text[second - 1], u'\n');
    EXPECT_EQ(story->textModel.GetParagraphRange(int32(second)).start, story->textModel.GetParagraphRange(int32(second) - 2).start);
    const ComposedLine* before = story->frameList.FindLine(int32(second) - 2);
    const ComposedLine* after = story->frameList.FindLine(int32(second) + 1);
    ASSERT_TRUE(before && after);
    EXPECT_LE(before->baseline, frame.anchors[1].bounds.top + 1e-6);
    // The anchor's line makes room for the frame above its text.
    EXPECT_GT(after->baseline, frame.anchors[1].bounds.bottom);
}

TEST_F(MifAnchoredImportTest, EachFrameTypeIsAnchoredWithItsSettings)
{
    Import("<AFrames\n" + Frame(10, "<FrameType Inline> <BLOffset 2pt>") + Frame(11, "<FrameType Below> <AnchorAlign Center>", 100, 40) +
           Frame(12, "<FrameType Left> <NSOffset 6pt> <BLOffset 3pt> <RunaroundType Box>") +
           Frame(13, "<FrameType Outside> <AnchorBeside Column>") + Frame(14, "<FrameType RunIntoParagraph> <RunaroundGap 4pt>", 60, 30) +
           Frame(15, "<FrameType Top> <AnchorAlign Right>") + Frame(16, "") + ">\n" +
           "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n"
           "<TextFlow <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `A'> <AFrame 10> <String `B'> <AFrame 11> <AFrame 12>"
           " <AFrame 13> <AFrame 15>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `Run'> <AFrame 14> <AFrame 99> <AFrame 10>>>>\n");
    // The Below frame stands below its line: a forced line break ends the line, and its anchor
    // starts the next one, in its own paragraph.
    EXPECT_EQ(Text(*story), u"A\uFFFCB\uFFFC\uFFFC\uFFFC\n\uFFFC\r\uFFFCRun\r");

    const PageItem* inlineItem = ItemAt(1);
    ASSERT_NE(inlineItem, nullptr);
    EXPECT_EQ(inlineItem->anchorStory, story->GetUID());
    EXPECT_EQ(inlineItem->anchorSettings.position, AnchorPosition::kInline);
    EXPECT_NEAR(inlineItem->anchorSettings.yOffset, 2, 1e-9);

    const AnchoredObjectSettings& below = ItemAt(7)->anchorSettings;
    EXPECT_EQ(below.position, AnchorPosition::kAboveLine);
    EXPECT_EQ(below.horizontalAlignment, AnchorAlignment::kCenter);

    const PageItem* left = ItemAt(3);
    EXPECT_EQ(left->anchorSettings.position, AnchorPosition::kAnchored);
    EXPECT_EQ(left->anchorSettings.horizontalReference, AnchorHorizontalReference::kTextFrame);
    EXPECT_EQ(left->anchorSettings.anchorPoint, AnchorPoint::kTopRight);
    EXPECT_NEAR(left->anchorSettings.xOffset, -6, 1e-9);
    EXPECT_NEAR(left->anchorSettings.yOffset, -3, 1e-9);
    EXPECT_EQ(left->graphics.wrapMode, TextWrapMode::kNone);   // a side frame pushes no text

    const AnchoredObjectSettings& outside = ItemAt(4)->anchorSettings;
    EXPECT_EQ(outside.horizontalReference, AnchorHorizontalReference::kColumnEdge);
    EXPECT_EQ(outside.anchorPoint, AnchorPoint::kTopLeft);
    EXPECT_TRUE(outside.spineRelative);

    const AnchoredObjectSettings& top = ItemAt(5)->anchorSettings;
    EXPECT_EQ(top.verticalReference, AnchorVerticalReference::kColumnEdge);
    EXPECT_EQ(top.anchorPoint, AnchorPoint::kTopRight);

    // The run-into-paragraph frame is anchored at its paragraph's start, which makes room for it.
    const PageItem* runInto = ItemAt(9);
    ASSERT_NE(runInto, nullptr);
    EXPECT_EQ(runInto->anchorSettings.verticalReference, AnchorVerticalReference::kTopOfLeading);
    const PMReal* indent = story->textModel.GetParagraphFormat(9)->overrides.Get<PMReal>(TextAttribute::kLeftIndent);
    ASSERT_NE(indent, nullptr);
    EXPECT_NEAR(*indent, 18 + 60 + 4, 1e-9);
    EXPECT_NEAR(runInto->graphics.wrapMargins.right, 4, 1e-9);

    // The anchor characters are small; the text after them keeps its size.
    EXPECT_NEAR(*story->textModel.GetCharacterFormat(1)->overrides.Get<PMReal>(TextAttribute::kPointSize), 2, 1e-9);
    EXPECT_NEAR(*story->textModel.GetCharacterFormat(2)->overrides.Get<PMReal>(TextAttribute::kPointSize), 10, 1e-9);

    EXPECT_TRUE(Warned("Line 27: Anchored frame: no frame of the AFrames was built for this anchor, the anchor is skipped: 99"));
    EXPECT_TRUE(Warned("Line 27: Anchored frame: the frame is anchored more than once, only its first anchor is kept: 10"));
    // The scratch spread went with the frame never anchored; the anchored ones stay.
    EXPECT_EQ(db->GetDocument()->spreads.size(), 1u);
    int32 loose = 0, anchored = 0;
    for (const auto& [uid, object] : db->GetObjects())
        if (const auto* item = dynamic_cast<const PageItem*>(object.get()); item && item->spread == kInvalidUID && item->parent == kInvalidUID)
            ++(item->anchorStory == kInvalidUID ? loose : anchored);
    EXPECT_EQ(loose, 0);
    EXPECT_EQ(anchored, 6);
    // Composed, every anchored item has a place.
    int32 placed = 0;
    for (const ComposedFrame& frame : story->frameList.GetFrames()) placed += static_cast<int32>(frame.anchors.size());
    EXPECT_EQ(placed, 6);
}

TEST_F(MifAnchoredImportTest, RunInAndSideHeadsGoIntoAnchoredFramesOfTheirOwn)
{
    Import("<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\"> <TRSideheadWidth 108pt> <TRSideheadGap 18pt>"
           " <TRSideheadPlacement Left>>>\n"
           "<TextFlow <TFSideheads Yes>\n"
           " <Para <PgfTag `Side'> <ParaLine <TextRectID 1> <String `Side one'>>>\n"
           " <Para <PgfTag `Side'> <ParaLine <String `Side two'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `Body text'>>>\n"
           " <Para <PgfTag `RunHead'> <ParaLine <String `Run-in'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `follows'>>>\n"
           " <Para <PgfTag `SideTop'> <ParaLine <String `New page'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `After'>>>>\n");
    // One anchor where each head was; the body paragraph after a head starts with its anchor.
    EXPECT_EQ(Text(*story), u"\uFFFCBody text\r\uFFFC follows\r\uFFFCAfter\r");
    // Two side heads of one style, placed anywhere, share a frame.
    EXPECT_EQ(Text(HeadStory(0)), u"Side one\rSide two\r");
    const auto* side = dynamic_cast<const TextFrame*>(ItemAt(0));
    EXPECT_NEAR(side->pathBounds.Width(), 108, 1e-9);
    EXPECT_LT(side->pathBounds.Height(), 1000);   // fitted to its text
    EXPECT_EQ(side->anchorSettings.position, AnchorPosition::kAnchored);
    EXPECT_EQ(side->anchorSettings.anchorPoint, AnchorPoint::kTopRight);
    EXPECT_NEAR(side->anchorSettings.xOffset, -18, 1e-9);

    // The run-in head ends with its punctuation; the space after it goes to the body text, whose
    // first line starts at the column's edge, beside the head.
    EXPECT_EQ(Text(HeadStory(11)), u"Run-in.\r");
    const auto* runIn = dynamic_cast<const TextFrame*>(ItemAt(11));
    EXPECT_EQ(runIn->anchorSettings.position, AnchorPosition::kInline);
    EXPECT_LT(runIn->pathBounds.Width(), 100);
    EXPECT_LT(runIn->pathBounds.Height(), 100);
    const PMReal* firstLine = story->textModel.GetParagraphFormat(12)->overrides.Get<PMReal>(TextAttribute::kFirstLineIndent);
    ASSERT_NE(firstLine, nullptr);
    EXPECT_NEAR(*firstLine, -18, 1e-9);

    // A side head placed at the top of a page sends the body paragraph after it there.
    EXPECT_EQ(Text(HeadStory(21)), u"New page\r");
    const int32* start = story->textModel.GetParagraphFormat(22)->overrides.Get<int32>(TextAttribute::kStartParagraph);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(*start, 2);
    EXPECT_EQ(story->textModel.GetParagraphFormat(1)->overrides.Get<int32>(TextAttribute::kStartParagraph), nullptr);
}

TEST_F(MifAnchoredImportTest, HeadsWithoutRoomStayInTheBodyText)
{
    // No side-head area, and a run-in head that ends the flow.
    Import("<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n"
           "<TextFlow <Para <PgfTag `Side'> <ParaLine <TextRectID 1> <String `Side'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `Body'>>>\n"
           " <Para <PgfTag `RunHead'> <ParaLine <String `Last'>>>>\n");
    // The run-in head closes with the flow; the space split off its punctuation follows it.
    EXPECT_EQ(Text(*story), u"Side\rBody\r\uFFFC \r");
    EXPECT_EQ(Text(HeadStory(10)), u"Last.\r");
}

} // namespace
