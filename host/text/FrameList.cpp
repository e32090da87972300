#include "FrameList.h"

#include <algorithm>
#include <limits>

namespace {

// The frame whose range holds `index`, by bisection over the first `count` frames (those up to
// the last that holds text), in text order.
const ComposedFrame* FrameHolding(const std::vector<ComposedFrame>& frames, int32 count, int32 index)
{
    auto end = frames.begin() + std::clamp<std::ptrdiff_t>(count, 0, static_cast<std::ptrdiff_t>(frames.size()));
    auto it = std::upper_bound(frames.begin(), end, index,
                               [](int32 i, const ComposedFrame& frame) { return i < frame.start; });
    while (it != frames.begin()) {
        --it;
        if (it->length > 0 && index >= it->start && index < it->start + it->length) return &*it;
        if (it->length > 0) break;  // an empty frame before a filled one holds nothing
    }
    return nullptr;
}

} // namespace

const std::vector<ComposedFrame>& FrameList::GetFrames() const
{
    for (; mEmptyFrom < mFrames.size(); ++mEmptyFrom) {
        ComposedFrame& frame = mFrames[mEmptyFrom];
        frame.lines.clear();
        frame.footnoteLines.clear();
        frame.tableParts.clear();
        frame.start = mEmptyStart;
        frame.length = 0;
    }
    return mFrames;
}

UID FrameList::FindFrameOfIndex(int32 index) const
{
    if (!mComposed) return kInvalidUID;
    const ComposedFrame* frame = FrameHolding(mFrames, mLastFilled + 1, index);
    return frame ? frame->frame : kInvalidUID;
}

int32 FrameList::GetLastHeldIndex() const
{
    if (!mComposed || mLastFilled < 0) return -1;
    const ComposedFrame& frame = mFrames[static_cast<size_t>(mLastFilled)];
    return frame.start + frame.length - 1;
}

const ComposedLine* FrameList::FindLine(int32 index) const
{
    if (!mComposed) return nullptr;
    const ComposedFrame* frame = FrameHolding(mFrames, mLastFilled + 1, index);
    if (!frame) return nullptr;
    auto it = std::upper_bound(frame->lines.begin(), frame->lines.end(), index,
                               [](int32 i, const ComposedLine& line) { return i < line.start; });
    if (it == frame->lines.begin()) return nullptr;
    --it;
    return index < it->End() ? &*it : nullptr;
}

void FrameList::Damage(int32 index)
{
    if (!mComposed) return;
    // The last frame that starts at or before the index, back to one that holds text: the frame
    // holding the index, or the last filled one before it when none holds it (an edit past the
    // text, or in overset text). Frames are in text order, so this is a bisection.
    auto it = std::upper_bound(mFrames.begin(), mFrames.begin() + (mLastFilled + 1), index,
                               [](int32 i, const ComposedFrame& frame) { return i < frame.start; });
    int32 frame = static_cast<int32>(it - mFrames.begin()) - 1;
    while (frame >= 0 && mFrames[static_cast<size_t>(frame)].lines.empty()) --frame;
    if (frame < 0) {
        frame = 0;
    } else {
        const ComposedFrame& entry = mFrames[static_cast<size_t>(frame)];
        // The edit's line is the frame's first: the line before it sits in the frame before.
        if (index < entry.lines.front().End() && frame > 0) frame = LastFilledBefore(frame);
    }
    mFirstDamaged = mFirstDamaged < 0 ? frame : std::min(mFirstDamaged, frame);
    mDamagedIndex = std::min(mDamagedIndex, std::max(0, index));
}

int32 FrameList::LastShownBefore(int32 end) const
{
    for (int32 f = end - 1; f >= 0; --f)
        if (!mFrames[static_cast<size_t>(f)].lines.empty() || !mFrames[static_cast<size_t>(f)].tableParts.empty()) return f;
    return -1;
}

const ComposedTable* FrameList::TableIn(int32 f, UID table) const
{
    if (f < 0 || f > mLastShown || f >= static_cast<int32>(mFrames.size())) return nullptr;
    for (const ComposedTablePart& part : mFrames[static_cast<size_t>(f)].tableParts)
        if (part.table && part.table->table == table) return part.table.get();
    return nullptr;
}

void FrameList::IndexTables(size_t from, size_t to)
{
    for (size_t f = from; f < to && f < mFrames.size(); ++f)
        for (const ComposedTablePart& part : mFrames[f].tableParts)
            if (part.table) mTableFrames.try_emplace(part.table->table, static_cast<int32>(f));
}

void FrameList::UnindexTables(size_t from, size_t to)
{
    for (size_t f = from; f < to && f < mFrames.size(); ++f)
        for (const ComposedTablePart& part : mFrames[f].tableParts)
            if (auto it = part.table ? mTableFrames.find(part.table->table) : mTableFrames.end();
                it != mTableFrames.end() && it->second >= static_cast<int32>(from))
                mTableFrames.erase(it);
}

const ComposedTable* FrameList::FindTable(UID table, int32* frame) const
{
    if (frame) *frame = -1;
    if (!mComposed) return nullptr;
    auto it = mTableFrames.find(table);
    if (it == mTableFrames.end()) return nullptr;
    const ComposedTable* found = TableIn(it->second, table);
    if (found && frame) *frame = it->second;
    return found;
}

void FrameList::NoteTableEdit(UID table, int64 before, int64 after)
{
    if (!mComposed || mRevision != before) return;
    mRevision = after;
    int32 frame = -1;
    if (!FindTable(table, &frame)) {
        // Not set: in damaged text, which is composed again anyway, or in overset text, which a
        // smaller table may let into the frames.
        if (mOverset) Damage(mOversetIndex);
        return;
    }
    mFirstDamaged = mFirstDamaged < 0 ? frame : std::min(mFirstDamaged, frame);
    mDamagedIndex = std::min(mDamagedIndex, mFrames[static_cast<size_t>(frame)].start);
}

int32 FrameList::LastFilledBefore(int32 i) const
{
    for (int32 j = i - 1; j >= 0; --j)
        if (!mFrames[static_cast<size_t>(j)].lines.empty()) return j;
    return 0;
}

void FrameList::NoteEdit(int32 index, int64 before, int64 after)
{
    if (!mComposed || mRevision != before) return;
    Damage(index);
    mRevision = after;
}

void FrameList::NoteFootnoteEdit(int32 index, int64 before, int64 after)
{
    if (!mComposed || mRevision != before) return;
    // The frame that shows the footnote, found from the last frame back (footnotes are edited as
    // they are added, at the end of the text); when none does yet, the last frame with text, where
    // the marker just added stands.
    for (int32 f = mLastFilled; f >= 0; --f) {
        for (const ComposedLine& line : mFrames[static_cast<size_t>(f)].footnoteLines) {
            if (index < line.start || index > line.End()) continue;
            mFirstDamaged = mFirstDamaged < 0 ? f : std::min(mFirstDamaged, f);
            mDamagedIndex = std::min(mDamagedIndex, mFrames[static_cast<size_t>(f)].start);
            mRevision = after;
            return;
        }
        if (mFirstDamaged >= 0 && f <= mFirstDamaged) {  // damaged from here on anyway
            mRevision = after;
            return;
        }
    }
    Damage(index);
    mRevision = after;
}

void FrameList::Reset()
{
    mFrames.clear();
    mTableFrames.clear();
    mEmptyFrom = 0;
    mEmptyStart = 0;
    mLastFilled = -1;
    mLastShown = -1;
    mComposed = false;
    mOverset = false;
    mOversetIndex = 0;
    mFirstDamaged = 0;
    mDamagedIndex = 0;
    mRevision = -1;
}

bool FrameList::AppendFrame(UID frame)
{
    if (!mComposed) return false;
    ComposedFrame entry;
    entry.frame = frame;
    entry.start = mEmptyStart;
    mFrames.push_back(std::move(entry));
    // The new frame is read as an empty one (mEmptyFrom is at most the old count).
    if (mOverset) Damage(mOversetIndex);
    return true;
}

bool FrameList::RemoveLastEmptyFrame()
{
    if (!mComposed || mFrames.empty() || static_cast<int32>(mFrames.size()) - 1 <= mLastFilled) return false;
    UnindexTables(mFrames.size() - 1, mFrames.size());
    mFrames.pop_back();
    if (mFrames.empty()) {
        Reset();
        return true;
    }
    mEmptyFrom = std::min(mEmptyFrom, mFrames.size());
    if (mFirstDamaged >= static_cast<int32>(mFrames.size())) mFirstDamaged = static_cast<int32>(mFrames.size()) - 1;
    return true;
}

void FrameList::SetComposed(std::vector<ComposedFrame> frames, bool overset, int32 oversetIndex, int64 revision)
{
    mRevision = revision;
    mFrames = std::move(frames);
    mTableFrames.clear();
    IndexTables(0, mFrames.size());
    mEmptyFrom = mFrames.size();
    mLastFilled = static_cast<int32>(mFrames.size()) - 1;
    while (mLastFilled >= 0 && mFrames[static_cast<size_t>(mLastFilled)].lines.empty()) --mLastFilled;
    mLastShown = LastShownBefore(static_cast<int32>(mFrames.size()));
    mComposed = true;
    mOverset = overset;
    mOversetIndex = oversetIndex;
    mFirstDamaged = -1;
    mDamagedIndex = std::numeric_limits<int32>::max();
}

std::vector<ComposedLine> FrameList::TakeLines(int32 frame)
{
    if (frame < 0 || frame >= GetFrameCount()) return {};
    return std::move(mFrames[static_cast<size_t>(frame)].lines);
}

void FrameList::SetComposedFrom(int32 first, std::vector<ComposedFrame> tail, int32 emptyStart, bool overset,
                                int32 oversetIndex, int64 revision)
{
    first = std::clamp(first, 0, GetFrameCount());
    size_t at = static_cast<size_t>(first);
    // The tables of the frames replaced or emptied leave the index; those of the tail join it.
    UnindexTables(at, static_cast<size_t>(std::max<int32>(mLastShown + 1, first + static_cast<int32>(tail.size()))));
    for (ComposedFrame& frame : tail) {
        if (at >= mFrames.size()) break;
        mFrames[at++] = std::move(frame);
    }
    // The frames after the tail hold nothing now; those that held lines are emptied at once,
    // the others when the frames are next read.
    const size_t tailEnd = at;
    for (; at < mFrames.size() && static_cast<int32>(at) <= std::max(mLastFilled, mLastShown); ++at) {
        mFrames[at].lines.clear();
        mFrames[at].footnoteLines.clear();
        mFrames[at].tableParts.clear();
        mFrames[at].length = 0;
    }
    mEmptyFrom = tailEnd;
    mEmptyStart = emptyStart;
    mLastFilled = static_cast<int32>(tailEnd) - 1;
    while (mLastFilled >= 0 && mFrames[static_cast<size_t>(mLastFilled)].lines.empty()) --mLastFilled;
    for (size_t f = static_cast<size_t>(mLastFilled + 1); f < tailEnd; ++f) mFrames[f].start = emptyStart;
    mLastShown = LastShownBefore(static_cast<int32>(tailEnd));
    IndexTables(static_cast<size_t>(first), tailEnd);
    mRevision = revision;
    mComposed = true;
    mOverset = overset;
    mOversetIndex = oversetIndex;
    mFirstDamaged = -1;
    mDamagedIndex = std::numeric_limits<int32>::max();
}
