// The composer and what text variables, page numbers and paragraph numbers show: their values
// set as text where their characters stand, per page where they depend on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DataBase.h"
#include "Document.h"
#include "FrameList.h"
#include "Spread.h"
#include "Story.h"
#include "StoryComposer.h"
#include "StyleUtils.h"
#include "TextFrame.h"
#include "TextFrameFixture.h"
#include "TextVariableFacade.h"

namespace {

constexpr const char* kFamily = "DejaVu Sans";

const FontFaceEntry* Face() { return TextComposer::Get().GetFontCache().GetFace(PMString(kFamily), PMString("Book")); }
PMReal WidthOf(const std::u16string& text, PMReal size = 10) { return TextComposer::Get().GetFontCache().Shape(Face(), text).width * size; }
std::vector<uint32> GlyphsOf(const std::u16string& text)
{
    const std::span<const uint32> glyphs = TextComposer::Get().GetFontCache().Shape(Face(), text).glyphs;
    return {glyphs.begin(), glyphs.end()};
}
// The glyphs of the line's run `r`.
std::vector<uint32> Glyphs(const ComposedLine& line, size_t r)
{
    std::vector<uint32> ids;
    for (const LineGlyph& glyph : line.GlyphsOf(line.runs.at(r))) ids.push_back(glyph.id);
    return ids;
}

// The glyph run that stands for character `index` of the composed `lines`; null when none does.
const GlyphRun* RunAt(const std::vector<ComposedLine>& lines, int32 index)
{
    for (const ComposedLine& line : lines)
        for (const GlyphRun& run : line.runs)
            if (run.start == index && run.length == 1) return &run;
    return nullptr;
}

// The glyphs of the run RunAt finds; none when there is no such run.
std::vector<uint32> GlyphsAt(const std::vector<ComposedLine>& lines, int32 index)
{
    for (const ComposedLine& line : lines)
        for (const GlyphRun& run : line.runs)
            if (run.start == index && run.length == 1) return Glyphs(line, static_cast<size_t>(&run - line.runs.data()));
    return {};
}

class StoryComposerValuesTest : public TextFrameFixture {
protected:
    void AddCustomVariable(const char* name, const char* contents)
    {
        AddVariableInfo info;
        info.SetName(name);
        info.SetBaseTypeID(kCustomTextVariableType);
        info.SetContents(contents);
        ASSERT_EQ(TextVariableFacade::AddVariable(*db, info), kSuccess);
    }
    // Puts `text` in the frame's story in DejaVu Sans 10 pt on a 12 pt leading.
    Story& SetText(UID frame, const std::u16string& text)
    {
        Story& story = StoryOf(frame);
        story.textModel.Insert(0, text);
        AttributeBossList attributes;
        attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(*db, kFamily));
        attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Book"));
        attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10));
        attributes.ApplyAttribute(TextAttribute::kLeading, PMReal(12));
        story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
        return story;
    }
    // A frame at the top left of page 2, on the second spread.
    UID AddFrameOnSecondPage(PMReal width, PMReal height)
    {
        const Spread* spread = db->Get<Spread>(db->GetDocument()->spreads.at(1));
        const PMRect& page = db->Get<Page>(spread->pages.at(0))->boundsInSpread;
        auto createTextFrameCmd = std::make_shared<CreateTextFrameCmd>();
        createTextFrameCmd->SetItemList(UIDList(UIDRef(db, spread->GetUID())));
        createTextFrameCmd->bounds = PMRect(0, 0, width, height);
        createTextFrameCmd->transform = PMMatrix::Translation(page.left, page.top);
        if (CmdUtils::ProcessCommand(createTextFrameCmd) != kSuccess) return kInvalidUID;
        UID frame = createTextFrameCmd->GetItemList().At(0);
        Frame(frame).firstBaselineOffset = FirstBaselineOffset::kLeadingOffset;
        return frame;
    }
    std::vector<ComposedLine> Lines(const FrameList& list)
    {
        std::vector<ComposedLine> lines;
        for (const ComposedFrame& frame : list.GetFrames()) lines.insert(lines.end(), frame.lines.begin(), frame.lines.end());
        return lines;
    }
};

TEST_F(StoryComposerValuesTest, AVariableIsSetAsItsValueInOnePieceThatLinesBreakAround)
{
    AddCustomVariable("Product", "Tessel Studio");
    UID frame = AddFrame(400, 100);
    Story& story = SetText(frame, u"Use  now");
    ASSERT_EQ(TextVariableFacade::InsertVariable(*db, "Product", story.GetUID(), 4), kSuccess);
    std::vector<ComposedLine> lines = Lines(ComposedAfresh(frame));
    ASSERT_EQ(lines.size(), 1u);
    // The line is as wide as its text with the value in place of the anchor.
    EXPECT_NEAR(lines[0].width, WidthOf(u"Use Tessel Studio now"), 0.01);
    const GlyphRun* value = RunAt(lines, 4);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(GlyphsAt(lines, 4), GlyphsOf(u"Tessel Studio"));
    EXPECT_NEAR(value->width, WidthOf(u"Tessel Studio"), 0.01);
    EXPECT_NEAR(value->x, WidthOf(u"Use "), 0.01);

    // In a column narrower than the line, the value goes whole to the next line (never split at
    // its own space), and one wider than a line stands out of it rather than be lost.
    Frame(frame).pathBounds = PMRect(0, 0, WidthOf(u"Use Tessel") + 1, 100);
    lines = Lines(ComposedAfresh(frame));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].start, 0);
    EXPECT_EQ(lines[1].start, 4);
    EXPECT_NEAR(lines[1].width, WidthOf(u"Tessel Studio"), 0.01);
    EXPECT_FALSE(ComposedAfresh(frame).Overflows());
}

TEST_F(StoryComposerValuesTest, PageNumbersShowThePageOfTheFrameTheirLineLandsIn)
{
    // Two lines per frame: the first frame on page 1, the second on page 2.
    UID first = AddFrame(300, HeightOfLines(2));
    UID second = AddFrameOnSecondPage(300, HeightOfLines(2));
    Link(first, second);
    const std::u16string pageNumber(1, kTextChar_PageNumber);
    Story& story = SetText(first, u"Page " + pageNumber + u"\rA\rPage " + pageNumber + u"\rB");
    AddVariableInfo info;
    info.SetName("Last");
    info.SetBaseTypeID(kLastPageNumberVariableType);
    info.SetScope(1);
    info.SetTextBefore(" of ");
    ASSERT_EQ(TextVariableFacade::AddVariable(*db, info), kSuccess);
    ASSERT_EQ(TextVariableFacade::InsertVariable(*db, "Last", story.GetUID(), 6), kSuccess);
    const FrameList& list = ComposedAfresh(first);
    ASSERT_EQ(list.GetFrameCount(), 2);
    ASSERT_EQ(list.GetFrame(0).lines.size(), 2u);
    ASSERT_EQ(list.GetFrame(1).lines.size(), 2u);
    const GlyphRun* onFirst = RunAt(list.GetFrame(0).lines, 5);
    const GlyphRun* onSecond = RunAt(list.GetFrame(1).lines, 5 + 2 + 3 + 5);
    ASSERT_NE(onFirst, nullptr);
    ASSERT_NE(onSecond, nullptr);
    EXPECT_EQ(GlyphsAt(list.GetFrame(0).lines, 5), GlyphsOf(u"1"));
    EXPECT_EQ(GlyphsAt(list.GetFrame(1).lines, 5 + 2 + 3 + 5), GlyphsOf(u"2"));
    const GlyphRun* last = RunAt(list.GetFrame(0).lines, 6);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(GlyphsAt(list.GetFrame(0).lines, 6), GlyphsOf(u" of 2"));
    EXPECT_NEAR(list.GetFrame(0).lines[0].width, WidthOf(u"Page 1 of 2"), 0.01);
}

TEST_F(StoryComposerValuesTest, NumberedParagraphsSetTheirNumberAndTabInFrontOfTheFirstLine)
{
    UID frame = AddFrame(300, 100);
    Story& story = SetText(frame, u"Alpha\rBeta beta beta beta beta beta beta beta beta beta beta beta beta\rGamma");
    AttributeBossList numbered;
    numbered.ApplyAttribute(TextAttribute::kListType, static_cast<int32>(2));
    numbered.ApplyAttribute(TextAttribute::kNumberingExpression, PMString("^#.^t"));
    numbered.ApplyAttribute(TextAttribute::kLeftIndent, PMReal(20));
    numbered.ApplyAttribute(TextAttribute::kFirstLineIndent, PMReal(-20));
    story.textModel.ApplyAttributes(numbered, 0, story.textModel.TotalLength());
    std::vector<ComposedLine> lines = Lines(ComposedAfresh(frame));
    ASSERT_GE(lines.size(), 4u);
    // "1." at the line's left, its tab to the left indent (the first line hangs before it).
    ASSERT_FALSE(lines[0].runs.empty());
    EXPECT_EQ(lines[0].runs[0].length, 0);
    EXPECT_EQ(Glyphs(lines[0], 0), GlyphsOf(u"1."));
    EXPECT_NEAR(lines[0].runs[0].x, lines[0].left, 0.01);
    EXPECT_NEAR(lines[0].runs[1].x, lines[0].left + 20, 0.01);
    EXPECT_NEAR(lines[0].width, 20 + WidthOf(u"Alpha"), 0.01);
    // The second paragraph's number, and its second line without one.
    EXPECT_EQ(Glyphs(lines[1], 0), GlyphsOf(u"2."));
    EXPECT_NE(lines[2].runs[0].length, 0);
    EXPECT_NEAR(lines[2].left, 20, 0.01);
    EXPECT_EQ(Glyphs(lines.back(), 0), GlyphsOf(u"3."));
}

} // namespace
