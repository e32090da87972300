#include "FrameList.h"

#include <algorithm>
#include <limits>

namespace {

// The frame whose range holds `index`, by bisection over the frames in text order.
const ComposedFrame* FrameHolding(const std::vector<ComposedFrame>& frames, int32 index)
{
    auto it = std::upper_bound(frames.begin(), frames.end(), index,
                               [](int32 i, const ComposedFrame& frame) { return i < frame.start; });
    while (it != frames.begin()) {
        --it;
        if (it->length > 0 && index >= it->start && index < it->start + it->length) return &*it;
        if (it->length > 0) break;  // an empty frame before a filled one holds nothing
    }
    return nullptr;
}

} // namespace

UID FrameList::FindFrameOfIndex(int32 index) const
{
    if (!mComposed) return kInvalidUID;
    const ComposedFrame* frame = FrameHolding(mFrames, index);
    return frame ? frame->frame : kInvalidUID;
}

const ComposedLine* FrameList::FindLine(int32 index) const
{
    if (!mComposed) return nullptr;
    const ComposedFrame* frame = FrameHolding(mFrames, index);
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
    int32 frame = -1, lastFilled = -1;
    for (int32 i = 0; i < GetFrameCount(); ++i) {
        const ComposedFrame& entry = mFrames[static_cast<size_t>(i)];
        if (entry.lines.empty()) continue;
        lastFilled = i;
        if (index < entry.start) break;
        if (index < entry.start + entry.length) {
            frame = i;
            // The edit's line is the frame's first: the line before it sits in the frame before.
            if (index < entry.lines.front().End() && i > 0) frame = std::max(0, LastFilledBefore(i));
            break;
        }
    }
    if (frame < 0) frame = lastFilled < 0 ? 0 : lastFilled;
    mFirstDamaged = mFirstDamaged < 0 ? frame : std::min(mFirstDamaged, frame);
    mDamagedIndex = std::min(mDamagedIndex, std::max(0, index));
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

void FrameList::Reset()
{
    mFrames.clear();
    mComposed = false;
    mOverset = false;
    mOversetIndex = 0;
    mFirstDamaged = 0;
    mDamagedIndex = 0;
    mRevision = -1;
}

void FrameList::SetComposed(std::vector<ComposedFrame> frames, bool overset, int32 oversetIndex, int64 revision)
{
    mRevision = revision;
    mFrames = std::move(frames);
    mComposed = true;
    mOverset = overset;
    mOversetIndex = oversetIndex;
    mFirstDamaged = -1;
    mDamagedIndex = std::numeric_limits<int32>::max();
}

void FrameList::SetComposedFrom(int32 first, std::vector<ComposedFrame> tail, int32 emptyStart, bool overset,
                                int32 oversetIndex, int64 revision)
{
    first = std::clamp(first, 0, GetFrameCount());
    size_t at = static_cast<size_t>(first);
    for (ComposedFrame& frame : tail) {
        if (at >= mFrames.size()) break;
        mFrames[at++] = std::move(frame);
    }
    for (; at < mFrames.size(); ++at) {
        mFrames[at].lines.clear();
        mFrames[at].footnoteLines.clear();
        mFrames[at].start = emptyStart;
        mFrames[at].length = 0;
    }
    mRevision = revision;
    mComposed = true;
    mOverset = overset;
    mOversetIndex = oversetIndex;
    mFirstDamaged = -1;
    mDamagedIndex = std::numeric_limits<int32>::max();
}
