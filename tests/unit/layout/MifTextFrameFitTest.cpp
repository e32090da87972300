// Fitting text frames to their text: balanced columns by bisection over the frame's height,
// and fitting a frame to its content; frames that cannot be fitted end the fit at once.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "TestUtils.h"
#include "TextFrameFixture.h"

#include "base/MifAssertLog.h"
#include "layout/MifTextFrameUtils.h"

namespace {

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

class MifTextFrameFitTest : public TextFrameFixture {
protected:
    void SetUp() override
    {
        TextFrameFixture::SetUp();
        mSavedLogDir = std::getenv("TESSEL_LOG_DIR") ? std::getenv("TESSEL_LOG_DIR") : "";
        setenv("TESSEL_LOG_DIR", mFolder.Path().c_str(), 1);
    }
    void TearDown() override
    {
        setenv("TESSEL_LOG_DIR", mSavedLogDir.c_str(), 1);
        TextFrameFixture::TearDown();
    }
    ErrorCode FitBalanced(UID frame, bool fitToText = false) { return utils.FitMultiColumnFrame(UIDRef(db, frame), fitToText); }
    // What the diagnostic log gained since the test began.
    std::string Logged() const { return ReadFile((mFolder / "orvane.log").string()); }
    // How many lines of the frame's composed text stand in each column.
    std::vector<int32> LinesPerColumn(UID frame, int32 columns)
    {
        std::vector<int32> counts(static_cast<size_t>(columns), 0);
        for (const ComposedFrame& composed : StoryOf(frame).frameList.GetFrames())
            if (composed.frame == frame)
                for (const ComposedLine& line : composed.lines) ++counts.at(static_cast<size_t>(line.column));
        return counts;
    }

    MifTextFrameUtils utils;
    TempFolder mFolder{"fit"};
    std::string mSavedLogDir;
};

} // namespace

TEST_F(MifTextFrameFitTest, Balance_ShrinksToJustAboveWhatTheTextNeeds)
{
    UID frame = AddFrame(300, 600);
    AddLines(frame, 11);
    PMReal needed = HeightOfLines(11);   // about 134 pt
    ASSERT_EQ(FitBalanced(frame), kSuccess);
    // Never below what the text needs (it would overflow), and within a small step above.
    EXPECT_GE(Height(frame), needed - 1e-6);
    EXPECT_LT(Height(frame), needed + 0.5);
    EXPECT_EQ(Frame(frame).pathBounds.top, 0);
    EXPECT_FALSE(StoryOf(frame).frameList.Overflows());
    // A document opened afresh lays the same text into the same height.
    EXPECT_FALSE(ComposedAfresh(frame).Overflows());
    EXPECT_EQ(LinesPerColumn(frame, 1), std::vector<int32>{11});
    EXPECT_LE(MifTextFrameUtils::GetLastFitIterations(), 33);
}

TEST_F(MifTextFrameFitTest, Balance_TwoColumnsShareTheText)
{
    UID frame = AddFrame(400, 600, 2);
    AddLines(frame, 21);
    ASSERT_EQ(FitBalanced(frame), kSuccess);
    // 21 lines: 11 in the first column, 10 in the second, the frame as high as 11 lines.
    EXPECT_EQ(LinesPerColumn(frame, 2), (std::vector<int32>{11, 10}));
    EXPECT_GE(Height(frame), HeightOfLines(11) - 1e-6);
    EXPECT_LT(Height(frame), HeightOfLines(11) + 0.5);
    EXPECT_FALSE(ComposedAfresh(frame).Overflows());
}

TEST_F(MifTextFrameFitTest, Balance_FlagFitsTheHeightToTheComposedText)
{
    UID frame = AddFrame(400, 600, 2);
    AddLines(frame, 21);
    Frame(frame).insets = PMRect(0, 0, 0, 3);
    ASSERT_EQ(FitBalanced(frame, true), kSuccess);
    EXPECT_NEAR(Height(frame), HeightOfLines(11) + 3, 1e-6);
    EXPECT_EQ(LinesPerColumn(frame, 2), (std::vector<int32>{11, 10}));
}

TEST_F(MifTextFrameFitTest, Balance_AFrameWithoutTextEndsAtItsLastHeightAbove2pt)
{
    UID frame = AddFrame(300, 600);
    ASSERT_EQ(FitBalanced(frame), kSuccess);
    // 600 halved eight times: the next try, 1.17 pt, is not made.
    EXPECT_DOUBLE_EQ(Height(frame), 600.0 / 256);
    EXPECT_EQ(MifTextFrameUtils::GetLastFitIterations(), 8);
}

TEST_F(MifTextFrameFitTest, Balance_TextThatNeedsMoreThanTwiceTheHeightKeepsTheFrame)
{
    UID frame = AddFrame(300, 100);
    AddLines(frame, 30);   // 362 pt
    ASSERT_EQ(FitBalanced(frame), kSuccess);
    EXPECT_EQ(Height(frame), 100);
    EXPECT_TRUE(StoryOf(frame).frameList.Overflows());
    // Between once and twice the height, the frame grows to hold its text.
    UID grows = AddFrame(300, 300);
    AddLines(grows, 30);
    ASSERT_EQ(FitBalanced(grows), kSuccess);
    EXPECT_GE(Height(grows), HeightOfLines(30) - 1e-6);
    EXPECT_LT(Height(grows), HeightOfLines(30) + 0.5);
    EXPECT_FALSE(ComposedAfresh(grows).Overflows());
}

TEST_F(MifTextFrameFitTest, Balance_OnlyTheLastFrameOfAThreadIsFitted)
{
    UID first = AddFrame(300, 100), last = AddFrame(300, 400);
    Link(first, last);
    AddLines(first, 12);   // 8 lines in the first frame, 4 in the last
    ASSERT_EQ(FitBalanced(first), kSuccess);
    EXPECT_EQ(Height(first), 100);
    ASSERT_EQ(FitBalanced(last), kSuccess);
    EXPECT_GE(Height(last), HeightOfLines(4) - 1e-6);
    EXPECT_LT(Height(last), HeightOfLines(4) + 0.5);
    EXPECT_EQ(Height(first), 100);
    EXPECT_FALSE(ComposedAfresh(first).Overflows());
}

TEST_F(MifTextFrameFitTest, Balance_FramesThatCannotBeFittedEndAtOnce)
{
    // No height to halve: refused before any try.
    UID flat = AddFrame(300, 100);
    AddLines(flat, 3);
    Frame(flat).pathBounds.bottom = 0;
    EXPECT_NE(FitBalanced(flat), kSuccess);
    EXPECT_EQ(Height(flat), 0);
    UID low = AddFrame(300, 2);
    EXPECT_NE(FitBalanced(low), kSuccess);
    EXPECT_EQ(Height(low), 2);
    EXPECT_EQ(Count(Logged(), "): height > kMinFitHeight == false"), 2u) << Logged();
    // Not a text frame, or none at all.
    EXPECT_NE(FitBalanced(db->GetDocument()->spreads.at(0)), kSuccess);
    EXPECT_NE(utils.FitMultiColumnFrame(UIDRef(), false), kSuccess);
    EXPECT_EQ(Count(Logged(), "): multiColumnTextFrame == nil"), 2u) << Logged();
    // A frame whose story went.
    UID orphan = AddFrame(300, 100);
    Frame(orphan).story = kInvalidUID;
    EXPECT_NE(FitBalanced(orphan), kSuccess);
    EXPECT_EQ(Count(Logged(), "): textModel == nil"), 1u) << Logged();
}

TEST_F(MifTextFrameFitTest, FitToContent_OnAPageOnly)
{
    UID frame = AddFrame(300, 400);
    AddLines(frame, 5);
    ASSERT_EQ(utils.FitFrameToContent(UIDRef(db, frame), false), kSuccess);
    EXPECT_NEAR(Height(frame), HeightOfLines(5), 1e-6);
    const Spread* spread = db->Get<Spread>(db->GetDocument()->spreads.at(0));
    const PMRect& page = db->Get<Page>(spread->pages.at(0))->boundsInSpread;
    UID pasteboard = AddFrameAt(page.right + 50, page.top, 300, 400);
    AddLines(pasteboard, 5);
    EXPECT_NE(utils.FitFrameToContent(UIDRef(db, pasteboard), false), kSuccess);
    EXPECT_EQ(Height(pasteboard), 400);
    EXPECT_EQ(Count(Logged(), "): SpreadLayout::GetDrawingPage(*db, *splineHierarchy) != kInvalidUID == false"), 1u) << Logged();
    EXPECT_NE(utils.FitFrameToContent(UIDRef(), true), kSuccess);
}

TEST_F(MifTextFrameFitTest, Balance_TheLastFrameOfALongThread)
{
    // A thread of 40 frames whose last is balanced: each try composes again from the frame
    // before it, and the frames before keep their text.
    std::vector<UID> frames;
    for (int32 i = 0; i < 40; ++i) frames.push_back(AddFrame(300, 600));
    for (size_t i = 1; i < frames.size(); ++i) Link(frames[i - 1], frames[i]);
    AddLines(frames.front(), 39 * 49 + 7);   // 49 lines fill a frame; 7 in the last
    ASSERT_EQ(FitBalanced(frames.back()), kSuccess);
    EXPECT_GE(Height(frames.back()), HeightOfLines(7) - 1e-6);
    EXPECT_LT(Height(frames.back()), HeightOfLines(7) + 0.5);
    EXPECT_FALSE(ComposedAfresh(frames.front()).Overflows());
    for (size_t i = 0; i + 1 < frames.size(); ++i) EXPECT_EQ(Height(frames[i]), 600);
    EXPECT_EQ(LinesPerColumn(frames[38], 1), std::vector<int32>{49});
}
