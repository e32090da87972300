#include "content/MifStraddleFrames.h"

#include <algorithm>
#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Story.h"
#include "TextComposer.h"
#include "TextFrame.h"
#include "TextFrameCommands.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "layout/IMifLayoutImporter.h"
#include "layout/IMifTextFrameUtils.h"
#include "layout/MifMarkPageItemCmd.h"

namespace {

// The balanced depth is found to this precision, points.
constexpr PMReal kBalancePrecision = 0.25;
constexpr int32 kMaxBalanceSteps = 40;
constexpr PMReal kLengthTolerance = 1e-8;

Story* StoryOf(const UIDRef& story)
{
    DataBase* db = story.GetDataBase();
    return db ? db->Get<Story>(story.GetUID()) : nullptr;
}

const TextFrame* FrameOf(const UIDRef& frame)
{
    DataBase* db = frame.GetDataBase();
    return db && frame.GetUID() != kInvalidUID ? db->Get<TextFrame>(frame.GetUID()) : nullptr;
}

void Compose(Story& textModel) { TextComposer::Get().Compose(textModel); }

// A frame whose columns can be split: two or more of them, standing on its spread unrotated
// (the frames made beside it are laid out in spread coordinates).
bool IsSplittable(const TextFrame* frame)
{
    if (!frame || frame->columnCount < 2 || frame->parent != kInvalidUID || frame->anchorStory != kInvalidUID) return false;
    const PMMatrix& m = frame->itemTransform;
    return m.a == 1 && m.b == 0 && m.c == 0 && m.d == 1;
}

bool SetHeight(const UIDRef& frame, PMReal height)
{
    auto setFrameHeightCmd = std::make_shared<SetFrameHeightCmd>();
    setFrameHeightCmd->SetItemList(UIDList(frame));
    setFrameHeightCmd->height = height;
    if (!MIF_RUN_COMMAND(setFrameHeightCmd)) {
        return false;
    }
    return true;
}

// A text frame on the split frame's spread and layer, with the given columns and insets and
// the split frame's first baseline, marked as made by the import.
UIDRef MakeFrame(IMifLayoutImporter& layoutImporter, const MifStraddleFrames::Split& split, const PMRect& bounds, int32 columns,
                 const PMRect& insets)
{
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!textFrameUtils) {
        MIF_LOG_NIL(textFrameUtils);
        return UIDRef();
    }
    UIDRef textFrame = layoutImporter.CreateTextFrame(bounds, split.spread, split.layer);
    if (!textFrame.ExistsInDB()) {
        MIF_LOG_NIL(textFrame);
        return UIDRef();
    }
    textFrameUtils->SetInsetRect(textFrame, insets);
    textFrameUtils->SetColumns(textFrame, columns, split.gutter);
    textFrameUtils->SetFirstLineOffsetMetric(textFrame, split.firstBaselineOffset);
    auto markPageItemCmd = std::make_shared<MifMarkPageItemCmd>();
    markPageItemCmd->boolData = true;
    MIF_RUN_COMMAND(markPageItemCmd, UIDList(textFrame));
    return textFrame;
}

// Threads `inserted` after `frame`, before the frame that followed it.
bool ThreadAfter(const UIDRef& frame, const UIDRef& inserted)
{
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!textFrameUtils) {
        MIF_LOG_NIL(textFrameUtils);
        return false;
    }
    const UIDRef next = textFrameUtils->GetNextFrame(frame);
    if (next.ExistsInDB() && textFrameUtils->UnlinkFrame(next) != kSuccess) return false;
    const bool linked = textFrameUtils->LinkFrames(frame, inserted) == kSuccess;
    // The frame that followed goes on after the new one (or after the old one again, when the
    // new one could not be threaded), so that the thread is never left broken.
    if (next.ExistsInDB()) textFrameUtils->LinkFrames(linked ? inserted : frame, next);
    return linked;
}

// Whether `frame` holds the text up to `lastIndex`, and no rows of a table of it go on in the
// frame after it.
bool HoldsToEnd(const Story& textModel, UID frame, int32 lastIndex)
{
    const FrameList& frameList = textModel.frameList;
    if (frameList.FindFrameOfIndex(lastIndex) != frame) return false;
    const std::vector<ComposedFrame>& frames = frameList.GetFrames();
    for (size_t i = 0; i + 1 < frames.size(); ++i) {
        if (frames[i].frame != frame) continue;
        const ComposedFrame& next = frames[i + 1];
        return next.tableParts.empty() || !next.tableParts.front().continued;
    }
    return true;
}

} // namespace

PMReal MifStraddleFrames::BalanceColumns(const UIDRef& frame, const UIDRef& story, int32 index)
{
    Story* textModel = StoryOf(story);
    const TextFrame* textFrame = FrameOf(frame);
    if (!textModel || !textFrame) {
        MIF_LOG_NIL(textFrame);
        return 0;
    }
    const PMReal height = textFrame->pathBounds.Height();
    auto shows = [&]() {
        Compose(*textModel);
        return textModel->frameList.FindFrameOfIndex(index) == frame.GetUID();
    };
    if (!shows()) return height;
    // The frame shows the character at `high` and not at `low`.
    PMReal low = 0, high = height;
    for (int32 step = 0; step < kMaxBalanceSteps && high - low > kBalancePrecision; ++step) {
        const PMReal middle = (low + high) / 2;
        if (!SetHeight(frame, middle)) break;
        if (shows())
            high = middle;
        else
            low = middle;
    }
    SetHeight(frame, high);
    Compose(*textModel);
    return high;
}

bool MifStraddleFrames::Open(IMifLayoutImporter& layoutImporter, const UIDRef& story, int32 lastAbove, PMReal lineDepth, Split& split)
{
    split = Split();
    Story* textModel = StoryOf(story);
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!textModel || !textFrameUtils) {
        MIF_LOG_NIL(textModel);
        return false;
    }
    DataBase* db = story.GetDataBase();
    Compose(*textModel);
    const FrameList& frameList = textModel->frameList;
    UID holding = kInvalidUID;
    if (lastAbove < 0)
        holding = frameList.GetFrameCount() > 0 ? frameList.GetFrameUID(0) : kInvalidUID;
    else
        holding = frameList.FindFrameOfIndex(lastAbove);
    UIDRef frame(db, holding);
    const TextFrame* textFrame = FrameOf(frame);
    if (!IsSplittable(textFrame)) return false;

    bool atTop = lastAbove < 0;
    PMRect bounds = textFrame->GetBoundsInSpread();
    PMReal above = 0;
    if (!atTop) {
        above = BalanceColumns(frame, story, lastAbove);
        if (bounds.Height() - above < lineDepth - kLengthTolerance) {
            // The text before fills the frame: the straddling text starts at the top of the next.
            SetHeight(frame, bounds.Height());
            Compose(*textModel);
            frame = textFrameUtils->GetNextFrame(frame);
            textFrame = FrameOf(frame);
            if (!IsSplittable(textFrame)) return false;
            bounds = textFrame->GetBoundsInSpread();
            atTop = true;
        }
    }
    split.original = frame;
    split.bounds = bounds;
    split.columnCount = textFrame->columnCount;
    split.gutter = textFrame->columnGutter;
    split.insets = textFrame->insets;
    split.firstBaselineOffset = static_cast<int32>(textFrame->firstBaselineOffset);
    split.spread = textFrame->spread;
    split.layer = textFrame->layer;
    split.breakBefore = lastAbove >= 0;

    if (atTop) {
        // The frame itself goes across: one column over the whole width.
        if (textFrameUtils->SetColumns(frame, 1, split.gutter) != kSuccess) {
            split = Split();
            return false;
        }
        split.across = frame;
    } else {
        const PMRect acrossBounds(bounds.left, bounds.top + above, bounds.right, bounds.bottom);
        const PMRect insets(split.insets.left, 0, split.insets.right, 0);
        UIDRef across = MakeFrame(layoutImporter, split, acrossBounds, 1, insets);
        if (!across.ExistsInDB() || !ThreadAfter(frame, across)) {
            SetHeight(frame, bounds.Height());
            Compose(*textModel);
            split = Split();
            return false;
        }
        split.across = across;
    }
    Compose(*textModel);
    return true;
}

UIDRef MifStraddleFrames::Close(IMifLayoutImporter& layoutImporter, const UIDRef& story, int32 lastIndex, PMReal minDepth,
                                PMReal spaceAbove, Split& split)
{
    const Split open = split;
    split = Split();
    Story* textModel = StoryOf(story);
    Utils<IMifTextFrameUtils> textFrameUtils;
    if (!open.IsOpen() || !textModel || !textFrameUtils) return UIDRef();
    const UIDRef across = open.across;
    Compose(*textModel);
    // Straddling text that ran on past the frame across keeps the frame's depth and goes on in
    // the frames after it; the text after follows it there.
    if (!HoldsToEnd(*textModel, across.GetUID(), lastIndex)) return UIDRef();
    if (spaceAbove > kLengthTolerance) {
        const TextFrame* acrossFrame = FrameOf(across);
        PMRect insets = acrossFrame->insets;
        insets.top += spaceAbove;
        textFrameUtils->SetInsetRect(across, insets);
        Compose(*textModel);
        if (!HoldsToEnd(*textModel, across.GetUID(), lastIndex)) {
            insets.top -= spaceAbove;
            textFrameUtils->SetInsetRect(across, insets);
            Compose(*textModel);
        }
    }
    auto fitFrameToContentCmd = std::make_shared<FitFrameToContentCmd>();
    MIF_RUN_COMMAND(fitFrameToContentCmd, UIDList(across));
    Compose(*textModel);
    const TextFrame* acrossFrame = FrameOf(across);
    if (!acrossFrame) return UIDRef();
    const PMReal top = acrossFrame->GetBoundsInSpread().bottom;
    if (open.bounds.bottom - top < std::max<PMReal>(minDepth, 1) - kLengthTolerance) return UIDRef();
    const PMRect belowBounds(open.bounds.left, top, open.bounds.right, open.bounds.bottom);
    const PMRect insets(open.insets.left, 0, open.insets.right, open.insets.bottom);
    UIDRef below = MakeFrame(layoutImporter, open, belowBounds, open.columnCount, insets);
    if (!below.ExistsInDB()) return UIDRef();
    if (!ThreadAfter(across, below)) return UIDRef();
    Compose(*textModel);
    return below;
}
