#include <gtest/gtest.h>

#include "DataBase.h"
#include "Document.h"
#include "FontCache.h"
#include "Story.h"
#include "StyleUtils.h"
#include "TextComposer.h"
#include "TextFrame.h"

#include "content/MifTextModelUtils.h"

namespace {

class MifTextModelUtilsTest : public ::testing::Test {
protected:
    MifTextModelUtilsTest()
    {
        StyleUtils::AddDefaultStyles(db);
        story = db.Create<Story>();
        story->textModel.Insert(0, u"ten fourteen ten\rsecond paragraph");
        AttributeBossList attributes;
        attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(db, "DejaVu Sans"));
        attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Book"));
        attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10));
        attributes.ApplyAttribute(TextAttribute::kLeading, PMReal(-1));
        story->textModel.ApplyAttributes(attributes, 0, story->textModel.TotalLength());
        AttributeBossList big;
        big.ApplyAttribute(TextAttribute::kPointSize, PMReal(14));
        story->textModel.ApplyAttributes(big, 4, 8);
        frame = db.Create<TextFrame>();
        frame->story = story->GetUID();
        frame->pathBounds = PMRect(0, 0, 300, 20);  // the first paragraph only
        face = TextComposer::Get().GetFontCache().GetFace(PMString("DejaVu Sans"), PMString("Book"));
    }

    DataBase db;
    Story* story = nullptr;
    TextFrame* frame = nullptr;
    const FontFaceEntry* face = nullptr;
    MifTextModelUtils utils;
};

TEST_F(MifTextModelUtilsTest, AStoryNeverComposedAnswersZeros)
{
    double m1 = 1, m2 = 1, m3 = 1, m4 = 1;
    utils.GetLineMetrics(story->GetRef(), 5, &m1, &m2, &m3, &m4);
    EXPECT_EQ(m1, 0);
    EXPECT_EQ(m2, 0);
    EXPECT_EQ(m3, 0);
    EXPECT_EQ(m4, 0);
}

TEST_F(MifTextModelUtilsTest, TheLineMetricsAreThoseOfItsTallestRun)
{
    utils.ComposeStory(story->GetRef());
    // A line mixing 10 pt and 14 pt runs reports the 14 pt run's ascent and descent, asked at a
    // 10 pt character.
    EXPECT_NEAR(utils.GetMetric1(story->GetRef(), 0), face->ascent * 14, 1e-6);
    EXPECT_NEAR(utils.GetMetric2(story->GetRef(), 0), face->descent * 14, 1e-6);
    EXPECT_NEAR(utils.GetMetric4(story->GetRef(), 14), 14 * 1.2, 1e-6);
    // The second paragraph is overset: it has no line.
    EXPECT_EQ(utils.GetMetric2(story->GetRef(), 20), 0);
}

TEST_F(MifTextModelUtilsTest, FindsTheFrameOfAnIndexOrOfTheLastCharacterBeforeIt)
{
    EXPECT_EQ(utils.FindFrameOfIndex(story->GetRef(), 3), frame->GetUID());
    // Overset and past the end: the nearest character a frame holds answers.
    EXPECT_EQ(utils.FindFrameOfIndex(story->GetRef(), 25), frame->GetUID());
    EXPECT_EQ(utils.FindFrameOfIndex(story->GetRef(), 100000), frame->GetUID());
    // An edit is seen: the lines are composed again before they answer.
    utils.ComposeStory(story->GetRef());
    double before = utils.GetMetric1(story->GetRef(), 0);
    story->textModel.Delete(4, 9);  // the 14 pt word
    EXPECT_LT(utils.GetMetric1(story->GetRef(), 0), before);
    Story* lonely = db.Create<Story>();
    lonely->textModel.Insert(0, u"no frame");
    EXPECT_EQ(utils.FindFrameOfIndex(lonely->GetRef(), 2), kInvalidUID);
}

} // namespace
