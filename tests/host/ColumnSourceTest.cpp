#include <gtest/gtest.h>

#include <vector>

#include "ColumnSource.h"
#include "DataBase.h"

namespace {

class ColumnSourceTest : public ::testing::Test {
protected:
    UID AddFrame(const PMRect& bounds, int32 columns = 1, PMReal gutter = 12, const PMRect& insets = PMRect())
    {
        TextFrame& frame = *db.Create<TextFrame>();
        frame.pathBounds = bounds;
        frame.columnCount = columns;
        frame.columnGutter = gutter;
        frame.insets = insets;
        return frame.GetUID();
    }

    // A source over `frames` from frame `first` on that counts the frames it reads.
    ColumnSource SourceOf(const std::vector<UID>& frames, size_t first = 0)
    {
        return ColumnSource(db, frames.size(), [this, frames](size_t f) {
            ++framesRead;
            return frames[f];
        }, first);
    }

    DataBase db;
    int framesRead = 0;
};

TEST_F(ColumnSourceTest, Columns_SplitTheInsetAreaByTheGutter)
{
    const UID frame = AddFrame(PMRect(10, 20, 310, 420), 3, 15, PMRect(5, 6, 5, 4));
    ColumnSource columns = SourceOf({frame});
    const PMReal width = (290 - 2 * 15) / 3.0;
    for (size_t c = 0; c < 3; ++c) {
        const FrameColumn* column = columns.At(c);
        ASSERT_NE(column, nullptr);
        EXPECT_EQ(column->frame, frame);
        EXPECT_EQ(column->frameIndex, 0);
        EXPECT_EQ(column->column, static_cast<int32>(c));
        EXPECT_NEAR(column->left, 15 + c * (width + 15), 1e-9);
        EXPECT_NEAR(column->width, width, 1e-9);
        EXPECT_NEAR(column->top, 26, 1e-9);
        EXPECT_NEAR(column->bottom, 416, 1e-9);
    }
    EXPECT_EQ(columns.At(3), nullptr);
}

TEST_F(ColumnSourceTest, Columns_BadCountsAndGuttersStayInRange)
{
    // No columns is one; a negative gutter none; more than a thousand columns a thousand.
    ColumnSource none = SourceOf({AddFrame(PMRect(0, 0, 100, 100), 0, -20)});
    ASSERT_NE(none.At(0), nullptr);
    EXPECT_NEAR(none.At(0)->width, 100, 1e-9);
    EXPECT_EQ(none.At(1), nullptr);
    ColumnSource halves = SourceOf({AddFrame(PMRect(0, 0, 100, 100), 2, -20)});
    ASSERT_NE(halves.At(1), nullptr);
    EXPECT_NEAR(halves.At(1)->left, 50, 1e-9);
    ColumnSource many = SourceOf({AddFrame(PMRect(0, 0, 100, 100), 5000, 0)});
    EXPECT_NE(many.At(999), nullptr);
    EXPECT_EQ(many.At(1000), nullptr);
}

TEST_F(ColumnSourceTest, Frames_AreReadAsCompositionReachesThem)
{
    std::vector<UID> frames;
    for (int i = 0; i < 1000; ++i) frames.push_back(AddFrame(PMRect(0, 0, 100, 100), 2));
    ColumnSource columns = SourceOf(frames);
    ASSERT_NE(columns.At(1), nullptr);
    EXPECT_EQ(framesRead, 1);  // both columns of the first frame
    ASSERT_NE(columns.At(2), nullptr);
    EXPECT_EQ(columns.At(2)->frameIndex, 1);
    EXPECT_EQ(framesRead, 2);
    // The first column of a frame further on reads the frames up to it, and no further.
    EXPECT_EQ(columns.FirstOfFrame(10, 0), 20u);
    EXPECT_EQ(framesRead, 11);
    // Past the last frame: one past the last column, and no column there.
    EXPECT_EQ(columns.FirstOfFrame(1000, 20), 2000u);
    EXPECT_EQ(columns.At(2000), nullptr);
}

TEST_F(ColumnSourceTest, Frames_FromTheFirstFrameComposedAndMissingFramesSkipped)
{
    const UID first = AddFrame(PMRect(0, 0, 100, 100));
    const UID last = AddFrame(PMRect(200, 0, 300, 100));
    // Resuming at the second frame counts columns from it.
    ColumnSource resumed = SourceOf({first, last}, 1);
    ASSERT_NE(resumed.At(0), nullptr);
    EXPECT_EQ(resumed.At(0)->frame, last);
    EXPECT_EQ(resumed.At(0)->frameIndex, 1);
    // A frame no longer in the document gives no column; the thread goes on after it.
    ColumnSource gap = SourceOf({first, UID(9999), last});
    ASSERT_NE(gap.At(1), nullptr);
    EXPECT_EQ(gap.At(1)->frame, last);
    EXPECT_EQ(gap.At(1)->frameIndex, 2);
    EXPECT_EQ(gap.At(2), nullptr);
}

TEST_F(ColumnSourceTest, FirstBaseline_FollowsTheFramesSetting)
{
    FontFaceEntry face;  // cap height 0.7 and x height 0.5 of the em
    ComposedLine line;
    line.ascent = 9;
    line.leading = 14;
    GlyphRun small, large;
    small.face = large.face = &face;
    small.pointSize = 10;
    large.pointSize = 12;
    const std::vector<GlyphRun> runs{small, large};
    line.runs = LineRuns(runs, {});
    FrameColumn column;
    column.top = 100;
    auto baseline = [&](FirstBaselineOffset setting) {
        column.firstBaseline = setting;
        return column.FirstBaseline(line);
    };
    EXPECT_NEAR(baseline(FirstBaselineOffset::kAscentOffset), 109, 1e-9);
    EXPECT_NEAR(baseline(FirstBaselineOffset::kLeadingOffset), 114, 1e-9);
    EXPECT_NEAR(baseline(FirstBaselineOffset::kCapHeight), 100 + 0.7 * 12, 1e-9);  // the tallest run's
    EXPECT_NEAR(baseline(FirstBaselineOffset::kXHeight), 100 + 0.5 * 12, 1e-9);
    EXPECT_NEAR(baseline(FirstBaselineOffset::kEmboxHeight), 100 + 0.8 * 12, 1e-9);
    // A fixed height is not composed yet: it falls back to the ascent.
    EXPECT_NEAR(baseline(FirstBaselineOffset::kFixedHeight), 109, 1e-9);
}

} // namespace
