#include <gtest/gtest.h>

#include <string>

#include "DataBase.h"
#include "Document.h"
#include "LineBuilder.h"
#include "ParagraphShaper.h"
#include "Story.h"
#include "StoryComposer.h"
#include "StyleUtils.h"

#include "host/StyledStory.h"

namespace {

constexpr const char* kFamily = "DejaVu Sans";

class LineBuilderTest : public ::testing::Test {
protected:
    LineBuilderTest() { StyleUtils::AddDefaultStyles(db); }

    // A story holding `text` (its final return comes with the story) in DejaVu Sans at 10 points,
    // its first paragraph shaped.
    ShapedParagraph& Shape(const std::u16string& text, TextAttribute kind = TextAttribute::kLeading, AttributeValue value = PMReal(12))
    {
        Story& story = AddStyledStory(db, text, 10, PMReal(12));
        AttributeBossList attributes;
        attributes.ApplyAttribute(kind, std::move(value));
        story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
        shaper = std::make_unique<ParagraphShaper>(db, story.textModel, fonts);
        builder = std::make_unique<LineBuilder>(fonts, hyphenator, shaper->Shaped());
        EXPECT_TRUE(shaper->Load(0, story.textModel.GetThreadRange(0)));
        shaper->Shape(kInvalidUID);
        return shaper->Shaped();
    }

    static FrameColumn Column(PMReal width, PMReal left = 0)
    {
        FrameColumn column;
        column.left = left;
        column.width = width;
        column.bottom = 1000;
        return column;
    }

    PMReal WidthOf(const std::u16string& text)
    {
        return fonts.Shape(fonts.GetFace(PMString(kFamily), PMString("Book")), text).width * 10;
    }

    DataBase db;
    StoryComposer composer;  // readies the line-break tables the shaper reads
    FontCache& fonts = composer.GetFontCache();
    Hyphenator hyphenator;
    std::unique_ptr<ParagraphShaper> shaper;
    std::unique_ptr<LineBuilder> builder;
};

TEST_F(LineBuilderTest, BuildLine_TakesWholeWordsAndLetsTheSpacesHang)
{
    Shape(u"word word word");
    const FrameColumn column = Column(WidthOf(u"word word") + 0.5, 40);
    ComposedLine first;
    ASSERT_EQ(builder->BuildLine(column, 0, first), 10);
    EXPECT_EQ(first.start, 0);
    EXPECT_EQ(first.length, 10);
    EXPECT_NEAR(first.width, WidthOf(u"word word"), 1e-6);
    EXPECT_EQ(first.left, 40);
    EXPECT_EQ(first.origin, 40);
    EXPECT_EQ(first.leading, 12);
    ASSERT_FALSE(first.runs.empty());
    EXPECT_EQ(first.runs.front().x, 40);
    // The next line goes on from the end of the first, to the paragraph's end.
    ComposedLine second;
    EXPECT_EQ(builder->BuildLine(column, 10, second), 15);
    EXPECT_EQ(second.start, 10);
}

TEST_F(LineBuilderTest, BuildLine_BreaksAWordWiderThanTheColumnBetweenCharacters)
{
    Shape(u"abcdefgh");
    ComposedLine line;
    EXPECT_EQ(builder->BuildLine(Column(WidthOf(u"abc") + 0.5), 0, line), 3);
    EXPECT_NEAR(line.width, WidthOf(u"abc"), 1e-6);
    EXPECT_FALSE(line.hyphenated);
    ComposedLine rest;
    EXPECT_EQ(builder->BuildLine(Column(WidthOf(u"abc") + 0.5), 3, rest), 6);
}

TEST_F(LineBuilderTest, BuildLine_SetsNothingWhereNotOneCharacterFits)
{
    Shape(u"word", TextAttribute::kLeftIndent, PMReal(50));
    ComposedLine line;
    EXPECT_EQ(builder->BuildLine(Column(0), 0, line), 0);    // no width
    EXPECT_EQ(builder->BuildLine(Column(50), 0, line), 0);   // all of it indented away
    FrameColumn flat = Column(200);
    flat.bottom = flat.top;
    EXPECT_EQ(builder->BuildLine(flat, 0, line), 0);         // no depth
    EXPECT_TRUE(line.runs.empty());
    EXPECT_EQ(builder->BuildLine(Column(200), 0, line), 5);
    EXPECT_EQ(line.left, 50);
}

TEST_F(LineBuilderTest, BuildLine_PlacesTheLineByTheParagraphsAlignment)
{
    Shape(u"word", TextAttribute::kJustification, int32(2));
    ComposedLine right;
    ASSERT_EQ(builder->BuildLine(Column(200, 10), 0, right), 5);
    ASSERT_FALSE(right.runs.empty());
    EXPECT_NEAR(right.runs.front().x, 10 + 200 - WidthOf(u"word"), 1e-6);
    Shape(u"word", TextAttribute::kJustification, int32(1));
    ComposedLine centred;
    ASSERT_EQ(builder->BuildLine(Column(200, 10), 0, centred), 5);
    EXPECT_NEAR(centred.runs.front().x, 10 + (200 - WidthOf(u"word")) / 2, 1e-6);
}

TEST_F(LineBuilderTest, BuildLine_SetsTabsToTheStopsFromTheColumnsLeftEdge)
{
    ShapedParagraph& shaped = Shape(u"a\tb");
    // A default stop every half inch from the column's left edge, wherever the column stands.
    ComposedLine line;
    ASSERT_EQ(builder->BuildLine(Column(200, 100), 0, line), 4);
    ASSERT_EQ(shaped.fragments.size(), 4u);
    EXPECT_NEAR(shaped.fragments[1].width, 36 - WidthOf(u"a"), 1e-6);
    EXPECT_EQ(shaped.fragments[1].stop, nullptr);
    ASSERT_EQ(line.runs.size(), 4u);
    EXPECT_NEAR(line.runs[2].x, 136, 1e-6);
    // A left stop: the text after the tab starts at it.
    TabStopTable tabs;
    tabs.Insert(TabStop{50, TabStop::kLeft, PMString(), PMString()});
    ShapedParagraph& stopped = Shape(u"a\tb", TextAttribute::kTabStops, tabs);
    ComposedLine stop;
    ASSERT_EQ(builder->BuildLine(Column(200), 0, stop), 4);
    ASSERT_NE(stopped.fragments[1].stop, nullptr);
    EXPECT_EQ(stopped.fragments[1].stop->position, 50);
    EXPECT_NEAR(stop.runs[2].x, 50, 1e-6);
}

} // namespace
