// ColumnSource: the columns of a thread's text frames, in thread order, as the composer fills them.
//
// A frame's text area is its outline less its insets, cut into its columns (at least one, at
// most 1000) of equal width with its gutter between them. Columns are worked out as composition
// reaches them: a story that fills the first of a thousand frames costs what one frame costs.
// A frame that is missing from the document gives no columns.
#pragma once

#include <functional>
#include <vector>

#include "FrameList.h"
#include "TextFrame.h"

// One column of a text frame, in the frame's outline coordinates.
struct FrameColumn {
    UID frame = kInvalidUID;
    int32 frameIndex = 0;  // in the thread
    int32 column = 0;      // in the frame
    PMReal left = 0, width = 0, top = 0, bottom = 0;
    FirstBaselineOffset firstBaseline = FirstBaselineOffset::kAscentOffset;

    // Where the baseline of `line` lies when it is the column's first line, as the frame's first
    // baseline setting places it below the column's top.
    PMReal FirstBaseline(const ComposedLine& line) const;
};

class ColumnSource {
public:
    // The columns of the `frameCount` frames `frameAt` names, from frame `firstFrame` on.
    ColumnSource(const DataBase& db, size_t frameCount, std::function<UID(size_t)> frameAt, size_t firstFrame)
        : mDB(db), mFrameCount(frameCount), mFrameAt(std::move(frameAt)), mNextFrame(firstFrame)
    {
    }
    // The column `i` (counted from the first frame composed); null past the last frame. The
    // answer stays good until a column past those asked for so far is asked for.
    const FrameColumn* At(size_t i)
    {
        while (i >= mColumns.size() && mNextFrame < mFrameCount) AddFrame(mNextFrame++);
        return i < mColumns.size() ? &mColumns[i] : nullptr;
    }
    // The first column of frame `frame` at or after column `from`.
    size_t FirstOfFrame(int32 frame, size_t from)
    {
        size_t i = from;
        for (const FrameColumn* c = At(i); c && c->frameIndex < frame; c = At(++i)) {}
        return i;
    }

private:
    void AddFrame(size_t f);

    const DataBase& mDB;
    size_t mFrameCount;
    std::function<UID(size_t)> mFrameAt;
    size_t mNextFrame;
    std::vector<FrameColumn> mColumns;
};
