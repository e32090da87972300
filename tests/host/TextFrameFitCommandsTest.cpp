// The frame commands that change a text frame's height: setting it with the top edge kept, and
// fitting it to its composed text.
#include <gtest/gtest.h>

#include <cmath>

#include "SpreadLayout.h"
#include "StoryComposer.h"
#include "TextFrameFixture.h"

namespace {

class TextFrameFitCommandsTest : public TextFrameFixture {
protected:
    ErrorCode SetHeight(UID frame, PMReal height)
    {
        auto setFrameHeightCmd = std::make_shared<SetFrameHeightCmd>();
        setFrameHeightCmd->SetItemList(UIDList(UIDRef(db, frame)));
        setFrameHeightCmd->height = height;
        return CmdUtils::ProcessCommand(setFrameHeightCmd);
    }
    ErrorCode Fit(UID frame, bool growForOverset = false)
    {
        auto fitFrameToContentCmd = std::make_shared<FitFrameToContentCmd>();
        fitFrameToContentCmd->SetItemList(UIDList(UIDRef(db, frame)));
        fitFrameToContentCmd->growForOverset = growForOverset;
        return CmdUtils::ProcessCommand(fitFrameToContentCmd);
    }
};

} // namespace

TEST_F(TextFrameFitCommandsTest, SetHeight_KeepsTheTopEdgeAndTheTransformAndDamagesTheLines)
{
    UID frame = AddFrame(200, 300);
    Frame(frame).itemTransform = PMMatrix{0.8, 0.6, -0.6, 0.8, 50, -100};   // turned and moved
    PMMatrix transform = Frame(frame).itemTransform;
    PMPoint topLeft = transform.Transform({0, 0}), topRight = transform.Transform({200, 0});
    AddLines(frame, 20);
    TextComposer::Get().Compose(StoryOf(frame));
    ASSERT_TRUE(StoryOf(frame).frameList.IsCurrent(StoryOf(frame).textModel.GetRevision()));

    ASSERT_EQ(SetHeight(frame, 60), kSuccess);
    EXPECT_EQ(Frame(frame).pathBounds, PMRect(0, 0, 200, 60));
    EXPECT_EQ(Frame(frame).itemTransform, transform);
    EXPECT_EQ(Frame(frame).itemTransform.Transform({0, 0}), topLeft);
    EXPECT_EQ(Frame(frame).itemTransform.Transform({200, 0}), topRight);
    // The lines composed for 300 pt are stale; composed again, the text overflows 60 pt.
    EXPECT_FALSE(StoryOf(frame).frameList.IsCurrent(StoryOf(frame).textModel.GetRevision()));
    TextComposer::Get().Compose(StoryOf(frame));
    EXPECT_TRUE(StoryOf(frame).frameList.Overflows());
    EXPECT_EQ(StoryOf(frame).frameList.GetOversetFrame(), 0);

    for (PMReal bad : {0.0, -5.0, std::nan(""), HUGE_VAL}) EXPECT_NE(SetHeight(frame, bad), kSuccess) << bad;
    EXPECT_EQ(Height(frame), 60);
    EXPECT_NE(SetHeight(db->GetDocument()->spreads.at(0), 60), kSuccess);
}

TEST_F(TextFrameFitCommandsTest, SetHeight_AFrameInTheMiddleOfAThreadRecomposesFromTheFrameBefore)
{
    UID a = AddFrame(200, 50), b = AddFrame(200, 50), c = AddFrame(200, 50), d = AddFrame(200, 50);
    Link(a, b);
    Link(b, c);
    Link(c, d);
    AddLines(a, 14);   // three lines a frame, two left over
    TextComposer::Get().Compose(StoryOf(a));
    ASSERT_TRUE(StoryOf(a).frameList.Overflows());
    ASSERT_EQ(SetHeight(c, 100), kSuccess);
    EXPECT_EQ(StoryOf(a).frameList.GetFirstDamagedFrame(), 1);
    TextComposer::Get().Compose(StoryOf(a));
    EXPECT_FALSE(StoryOf(a).frameList.Overflows());
    EXPECT_EQ(StoryOf(a).frameList.GetOversetFrame(), -1);
    // Only the last line of b and the lines of c were composed again (1 + 8 lines), and the lines
    // are those of a composition from scratch.
    EXPECT_EQ(dynamic_cast<StoryComposer&>(TextComposer::Get()).GetLinesSet(), 9);
    std::vector<int32> resumed;
    for (const ComposedFrame& f : StoryOf(a).frameList.GetFrames()) resumed.push_back(f.length);
    std::vector<int32> fresh;
    for (const ComposedFrame& f : ComposedAfresh(a).GetFrames()) fresh.push_back(f.length);
    EXPECT_EQ(resumed, fresh);
}

TEST_F(TextFrameFitCommandsTest, FitToContent_TheHeightOfTheTextPlusTheBottomInset)
{
    UID frame = AddFrame(200, 400, 2);
    AddLines(frame, 30);   // the first column takes 30 lines of 12 pt
    Frame(frame).insets = PMRect(0, 6, 0, 4);
    ASSERT_EQ(Fit(frame), kSuccess);
    EXPECT_NEAR(Height(frame), 6 + HeightOfLines(30) + 4, 1e-6);
    EXPECT_FALSE(ComposedAfresh(frame).Overflows());
    EXPECT_EQ(ComposedAfresh(frame).GetFrames().at(0).length, StoryOf(frame).textModel.GetThreadRange(0).length);

    // The deepest column decides: 30 lines in two columns of 200 pt of height.
    ASSERT_EQ(SetHeight(frame, 6 + HeightOfLines(20) + 4 + 0.5), kSuccess);
    ASSERT_EQ(Fit(frame), kSuccess);
    EXPECT_NEAR(Height(frame), 6 + HeightOfLines(20) + 4, 1e-6);
}

TEST_F(TextFrameFitCommandsTest, FitToContent_OversetTextGrowsTheFrameOnlyWhenAsked)
{
    UID frame = AddFrame(200, 50);
    AddLines(frame, 40);
    ASSERT_EQ(Fit(frame), kSuccess);
    EXPECT_NEAR(Height(frame), HeightOfLines(3), 1e-6);   // what it shows
    EXPECT_TRUE(StoryOf(frame).frameList.Overflows());
    ASSERT_EQ(Fit(frame, true), kSuccess);
    EXPECT_NEAR(Height(frame), HeightOfLines(40), 1e-6);
    EXPECT_FALSE(ComposedAfresh(frame).Overflows());
}

TEST_F(TextFrameFitCommandsTest, FitToContent_AFrameWithoutLinesKeepsItsHeight)
{
    UID empty = AddFrame(200, 80);
    ASSERT_EQ(Fit(empty), kSuccess);
    EXPECT_EQ(Height(empty), 80);
    // A frame too narrow for one character shows nothing either, and growing does not help: it
    // stops at the first doubling that brings no more text in.
    UID narrow = AddFrame(0.001, 80);
    AddLines(narrow, 3);
    ASSERT_EQ(Fit(narrow, true), kSuccess);
    EXPECT_EQ(Height(narrow), 80);
    EXPECT_NE(Fit(db->GetDocument()->spreads.at(0)), kSuccess);
}

TEST_F(TextFrameFitCommandsTest, DrawingPage_ThePageTheFrameOverlapsMost)
{
    const Spread* spread = db->Get<Spread>(db->GetDocument()->spreads.at(0));
    const PMRect& page = db->Get<Page>(spread->pages.at(0))->boundsInSpread;
    UID onPage = AddFrame(100, 100);
    EXPECT_EQ(SpreadLayout::GetDrawingPage(*db, Frame(onPage)), spread->pages.at(0));
    UID half = AddFrameAt(page.left - 50, page.top, 100, 100);
    EXPECT_EQ(SpreadLayout::GetDrawingPage(*db, Frame(half)), spread->pages.at(0));
    UID pasteboard = AddFrameAt(page.right + 20, page.top, 100, 100);
    EXPECT_EQ(SpreadLayout::GetDrawingPage(*db, Frame(pasteboard)), kInvalidUID);
}
