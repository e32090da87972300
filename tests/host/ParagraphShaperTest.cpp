#include <gtest/gtest.h>

#include <string>

#include "DataBase.h"
#include "Document.h"
#include "ParagraphShaper.h"
#include "Story.h"
#include "StoryComposer.h"
#include "StyleUtils.h"

#include "host/StyledStory.h"

namespace {

constexpr const char* kFamily = "DejaVu Sans";

class ParagraphShaperTest : public ::testing::Test {
protected:
    ParagraphShaperTest() { StyleUtils::AddDefaultStyles(db); }

    // A story holding `text` (its final return comes with the story) in DejaVu Sans at 10 points.
    Story& AddStory(const std::u16string& text)
    {
        return AddStyledStory(db, text);
    }

    void Apply(Story& story, TextAttribute kind, AttributeValue value, int32 index, int32 length)
    {
        AttributeBossList attributes;
        attributes.ApplyAttribute(kind, std::move(value));
        story.textModel.ApplyAttributes(attributes, index, length);
    }

    PMReal WidthOf(const std::u16string& text) { return fonts.Shape(Face(), text).width * 10; }
    const FontFaceEntry* Face() { return fonts.GetFace(PMString(kFamily), PMString("Book")); }

    DataBase db;
    StoryComposer composer;  // readies the line-break tables the shaper reads
    FontCache& fonts = composer.GetFontCache();
};

TEST_F(ParagraphShaperTest, Load_ReadsTheParagraphCutToTheThread)
{
    Story& story = AddStory(u"first\rsecond");
    Apply(story, TextAttribute::kLeftIndent, PMReal(12), 6, 1);
    Apply(story, TextAttribute::kSpaceBefore, PMReal(-5), 6, 1);
    ParagraphShaper shaper(db, story.textModel, fonts);
    const ShapedParagraph& shaped = shaper.Shaped();
    ASSERT_TRUE(shaper.Load(8, story.textModel.GetThreadRange(0)));
    EXPECT_EQ(shaped.settings.start, 6);
    EXPECT_EQ(shaped.settings.length, 7);
    EXPECT_EQ(shaped.text, u"second\r");
    EXPECT_EQ(shaped.settings.leftIndent, 12);
    EXPECT_EQ(shaped.settings.spaceBefore, 0);  // no negative space
    // A thread that starts inside the paragraph cuts it.
    ASSERT_TRUE(shaper.Load(4, TextRange{3, 10}));
    EXPECT_EQ(shaped.settings.start, 3);
    EXPECT_EQ(shaped.text, u"st\r");
    EXPECT_EQ(shaped.settings.leftIndent, 0);
    // None of the paragraph in the thread: nothing is read.
    EXPECT_FALSE(shaper.Load(0, TextRange{20, 5}));
    EXPECT_EQ(shaped.settings.start, 3);
}

TEST_F(ParagraphShaperTest, Shape_CutsWordsAtBreakOpportunitiesWithTheirSpacesHanging)
{
    Story& story = AddStory(u"one two\tthree");
    ParagraphShaper shaper(db, story.textModel, fonts);
    ASSERT_TRUE(shaper.Load(0, story.textModel.GetThreadRange(0)));
    shaper.Shape(kInvalidUID);
    const ShapedParagraph& shaped = shaper.Shaped();
    ASSERT_EQ(shaped.words.size(), 3u);
    const int32 bounds[][2] = {{0, 4}, {4, 8}, {8, 14}};
    for (size_t w = 0; w < 3; ++w) {
        EXPECT_EQ(shaped.words[w].start, bounds[w][0]);
        EXPECT_EQ(shaped.words[w].end, bounds[w][1]);
        EXPECT_EQ(shaped.words[w].mustBreakAfter, w == 2);  // the paragraph's end
    }
    // Each word's body, then what hangs: the space and the return do, the tab does not.
    struct Expected {
        int32 start, length;
        ShapedFragment::Kind kind;
        bool trailing;
    };
    const Expected expected[] = {{0, 3, ShapedFragment::kText, false},  {3, 1, ShapedFragment::kText, true},
                                 {4, 3, ShapedFragment::kText, false},  {7, 1, ShapedFragment::kTab, false},
                                 {8, 5, ShapedFragment::kText, false},  {13, 1, ShapedFragment::kControl, true}};
    ASSERT_EQ(shaped.fragments.size(), std::size(expected));
    for (size_t f = 0; f < std::size(expected); ++f) {
        SCOPED_TRACE(f);
        const ShapedFragment& fragment = shaped.fragments[f];
        EXPECT_EQ(fragment.start, expected[f].start);
        EXPECT_EQ(fragment.length, expected[f].length);
        EXPECT_EQ(fragment.kind, expected[f].kind);
        EXPECT_EQ(fragment.trailing, expected[f].trailing);
    }
    EXPECT_EQ(shaped.words[1].firstFragment, 2);
    EXPECT_EQ(shaped.words[1].endFragment, 4);
    EXPECT_NEAR(shaped.fragments[4].width, WidthOf(u"three"), 1e-9);
    EXPECT_EQ(shaped.fragments[4].face, Face());
    EXPECT_EQ(shaped.fragments[5].width, 0);  // a return takes no room
    EXPECT_EQ(shaped.WordAt(5), 1u);
    EXPECT_TRUE(shaped.number.empty());
}

TEST_F(ParagraphShaperTest, Shape_SetsSuperscriptsAndSubscriptsSmallerRaisedAndLowered)
{
    Story& story = AddStory(u"x2y");
    Apply(story, TextAttribute::kPosition, int32(1), 1, 1);
    Apply(story, TextAttribute::kPosition, int32(2), 2, 1);
    ParagraphShaper shaper(db, story.textModel, fonts);
    ASSERT_TRUE(shaper.Load(0, story.textModel.GetThreadRange(0)));
    shaper.Shape(kInvalidUID);
    const std::vector<ShapedFragment>& fragments = shaper.Shaped().fragments;
    ASSERT_GE(fragments.size(), 3u);
    EXPECT_EQ(fragments[0].size, 10);
    EXPECT_EQ(fragments[0].rise, 0);
    EXPECT_NEAR(fragments[1].size, 5.83, 1e-9);
    EXPECT_NEAR(fragments[1].rise, 3.33, 1e-9);
    EXPECT_NEAR(fragments[2].rise, -3.33, 1e-9);
    // Auto leading follows the size before it was made smaller.
    EXPECT_EQ(fragments[1].nominalSize, 10);
    EXPECT_EQ(fragments[2].nominalSize, 10);
}

TEST_F(ParagraphShaperTest, Shape_ShowsAPageNumberAsOneUnbreakableValue)
{
    std::u16string text = u"page ";
    text.push_back(kTextChar_PageNumber);
    Story& story = AddStory(text);
    ParagraphShaper shaper(db, story.textModel, fonts);
    ASSERT_TRUE(shaper.Load(0, story.textModel.GetThreadRange(0)));
    const UID frame = 4242;  // stands on no page
    shaper.Shape(frame);
    const ShapedParagraph& shaped = shaper.Shaped();
    const ShapedFragment* value = nullptr;
    for (const ShapedFragment& fragment : shaped.fragments)
        if (fragment.kind == ShapedFragment::kValue) value = &fragment;
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->start, 5);
    EXPECT_EQ(value->length, 1);
    EXPECT_NEAR(value->width, WidthOf(u"#"), 1e-9);  // a frame on no page shows "#"
    // Its value depends on the page: it is resolved again in another frame, not in this one.
    EXPECT_FALSE(shaper.ShowsOtherPage(frame));
    EXPECT_TRUE(shaper.ShowsOtherPage(frame + 1));
    // A paragraph of plain text is never shaped again.
    Story& plain = AddStory(u"plain");
    ParagraphShaper plainShaper(db, plain.textModel, fonts);
    ASSERT_TRUE(plainShaper.Load(0, plain.textModel.GetThreadRange(0)));
    plainShaper.Shape(frame);
    EXPECT_FALSE(plainShaper.ShowsOtherPage(frame + 1));
}

} // namespace
