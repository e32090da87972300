// ParagraphNumbers: what numbered and bulleted paragraphs show, and the cross-reference blocks
// that show a destination's paragraph number and the chapter number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CrossReference.h"
#include "CrossReferenceText.h"
#include "DataBase.h"
#include "Document.h"
#include "ParagraphNumbers.h"
#include "Story.h"
#include "StyleUtils.h"
#include "TextVariable.h"

namespace {

class ParagraphNumbersTest : public ::testing::Test {
protected:
    ParagraphNumbersTest() { StyleUtils::AddDefaultStyles(db); }

    // A story of one paragraph per entry of `paragraphs`.
    Story& AddStory(const std::vector<std::u16string>& paragraphs)
    {
        Story& story = *db.Create<Story>();
        db.GetDocument()->stories.push_back(story.GetUID());
        std::u16string text;
        for (const std::u16string& paragraph : paragraphs) text += paragraph + u"\r";
        text.pop_back();
        story.textModel.Insert(0, text);
        return story;
    }
    // The start of paragraph `n` (from 0) of `story`.
    int32 StartOf(const Story& story, int32 n)
    {
        int32 at = 0;
        for (int32 i = 0; i < n; ++i) at = story.textModel.GetParagraphRange(at).End();
        return at;
    }
    // Numbers paragraph `n` in `expression`; `startAt` >= 0 restarts it there.
    void Number(Story& story, int32 n, const char* expression = "^#.^t", int32 level = 1, int32 startAt = -1,
                int32 format = kNumberingArabic)
    {
        AttributeBossList attributes;
        attributes.ApplyAttribute(TextAttribute::kListType, static_cast<int32>(2));
        attributes.ApplyAttribute(TextAttribute::kNumberingExpression, PMString(expression));
        attributes.ApplyAttribute(TextAttribute::kListLevel, level);
        attributes.ApplyAttribute(TextAttribute::kNumberingStyle, format);
        if (startAt >= 0) attributes.ApplyAttribute(TextAttribute::kNumberingStartAt, startAt);
        attributes.ApplyAttribute(TextAttribute::kNumberingContinue, startAt < 0);
        story.textModel.ApplyAttributes(attributes, StartOf(story, n), 1);
    }
    // What each paragraph shows in front of it ("-" for nothing).
    std::vector<std::u16string> Shown(const Story& story)
    {
        ParagraphNumbers numbers(db, story.textModel);
        std::vector<std::u16string> shown;
        for (int32 at = 0; at < story.textModel.TotalLength(); at = story.textModel.GetParagraphRange(at).End()) {
            const ParagraphNumbers::Number* number = numbers.Get(at);
            shown.push_back(number ? number->text : u"-");
        }
        return shown;
    }

    DataBase db;
};

using Texts = std::vector<std::u16string>;

TEST_F(ParagraphNumbersTest, CountsOnRestartsAtItsStartValueAndLeavesOtherParagraphsOut)
{
    Story& story = AddStory({u"One", u"Two", u"Note", u"Three", u"Again", u"Next"});
    Number(story, 0, "^#.^t", 1, 1);
    Number(story, 1);
    Number(story, 3);
    Number(story, 4, "^#.^t", 1, 1);  // starts again
    Number(story, 5);
    EXPECT_EQ(Shown(story), (Texts{u"1.\t", u"2.\t", u"-", u"3.\t", u"1.\t", u"2.\t"}));
    // Asked for out of order, the walk starts again and gives the same numbers.
    ParagraphNumbers numbers(db, story.textModel);
    ASSERT_NE(numbers.Get(StartOf(story, 5)), nullptr);
    ASSERT_NE(numbers.Get(StartOf(story, 1)), nullptr);
    EXPECT_EQ(numbers.Get(StartOf(story, 1))->numberOnly, u"2");
    EXPECT_EQ(numbers.Get(StartOf(story, 2)), nullptr);
}

TEST_F(ParagraphNumbersTest, LevelsNestFormatsAndCodesAsTheExpressionSays)
{
    Story& story = AddStory({u"Part", u"Sub", u"Sub", u"Part", u"Sub", u"Bullet", u"Chapter"});
    Number(story, 0, "Part ^1^t", 1, -1, kNumberingUpperRoman);
    Number(story, 1, "^1.^2^t", 2, -1, kNumberingLowerLetters);
    Number(story, 2, "^1.^2^t", 2, -1, kNumberingLowerLetters);
    Number(story, 3, "Part ^1^t", 1, -1, kNumberingUpperRoman);
    Number(story, 4, "^1.^2 ^^^q^B", 2, -1, kNumberingLowerLetters);  // a sub level starts again under a new part
    AttributeBossList bullet;
    bullet.ApplyAttribute(TextAttribute::kListType, static_cast<int32>(1));
    story.textModel.ApplyAttributes(bullet, StartOf(story, 5), 1);
    Number(story, 6, "^H-^#", 1, 5);
    EXPECT_EQ(Shown(story), (Texts{u"Part I\t", u"I.a\t", u"I.b\t", u"Part II\t", u"II.a ^\u2022", u"\u2022\t", u"1-5"}));
    // The number alone is the numbers and what stands between them, without the text around.
    ParagraphNumbers numbers(db, story.textModel);
    EXPECT_EQ(numbers.Get(StartOf(story, 0))->numberOnly, u"I");
    EXPECT_EQ(numbers.Get(StartOf(story, 2))->numberOnly, u"I.b");
    EXPECT_EQ(numbers.Get(StartOf(story, 6))->numberOnly, u"1-5");

    // The chapter number comes from the document's "<$chapnum>" variable when it has one.
    TextVariable& chapter = *db.Create<TextVariable>();
    chapter.name = "<$chapnum>";
    chapter.contents = "7";
    db.GetDocument()->textVariables.push_back(chapter.GetUID());
    EXPECT_EQ(Shown(story).back(), u"7-5");
    EXPECT_EQ(ParagraphNumbers::TextWithoutTabs(ParagraphNumbers::Number{u"Step 4\t", u"4"}), u"Step 4");
}

TEST_F(ParagraphNumbersTest, CrossReferenceShowsTheNumberOfItsDestinationsParagraph)
{
    Story& story = AddStory({u"First step", u"Second step", u"See "});
    Number(story, 0, "Step ^#^t", 1, 1);
    Number(story, 1, "Step ^#^t");
    // The destination in the second paragraph, the reference at the end of the third.
    auto& destination = *db.Create<HyperlinkTextDestination>();
    destination.story = story.GetUID();
    const int32 target = StartOf(story, 1) + 3;
    ASSERT_TRUE(story.textModel.Insert(target, std::u16string(1, kTextChar_TextDestination)));
    ASSERT_TRUE(story.textModel.SetOwnedItem(target, destination.GetUID()));
    auto& format = *db.Create<CrossReferenceFormat>();
    format.definition = "<paranum /> (<paranum numberonly=\"true\" />, chapter <chapnum />): <paratext />";
    CrossReferenceSource source;
    source.story = story.GetUID();
    source.format = format.GetUID();
    source.destination = destination.GetUID();
    EXPECT_EQ(CrossReferenceText::GetText(db, source), PMString("Step 2 (2, chapter 1): Second step"));
    // A destination in a paragraph without a number shows none.
    const int32 plain = StartOf(story, 2);
    auto& other = *db.Create<HyperlinkTextDestination>();
    other.story = story.GetUID();
    ASSERT_TRUE(story.textModel.Insert(plain, std::u16string(1, kTextChar_TextDestination)));
    ASSERT_TRUE(story.textModel.SetOwnedItem(plain, other.GetUID()));
    source.destination = other.GetUID();
    format.definition = "[<paranum />]";
    EXPECT_EQ(CrossReferenceText::GetText(db, source), PMString("[]"));
}

} // namespace
