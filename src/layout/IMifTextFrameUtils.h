// IMifTextFrameUtils: the operations on text frames that the layout and content importers share.
// Every change goes through a host command; a failed command is written to the diagnostic log
// and its error code returned, and the frame stays as it was.
#pragma once

#include <utility>
#include <vector>

#include "IPMUnknown.h"
#include "PMGeometry.h"
#include "UIDRef.h"

#include "base/TesselID.h"

class IMifTextFrameUtils : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTEXTFRAMEUTILS };

    // Gives `frame` `count` columns (1 to 40) with `gap` points between them.
    virtual ErrorCode SetColumns(const UIDRef& frame, int32 count, PMReal gap) const = 0;
    // Sets where the first baseline sits (the host's FirstBaselineOffset number; 2: by leading).
    virtual ErrorCode SetFirstLineOffsetMetric(const UIDRef& frame, int32 metric) const = 0;
    // Replaces the text insets: left, top, right, bottom in points (each 0 or more); the columns
    // are then laid out again in the space left.
    virtual ErrorCode SetInsetRect(const UIDRef& frame, const PMRect& insets) const = 0;
    // SetInsetRect with the four insets.
    virtual ErrorCode SetInsets(const UIDRef& frame, PMReal left, PMReal top, PMReal right, PMReal bottom) const = 0;
    // SetInsetRect with the insets the frame has, so that its columns are laid out again.
    virtual ErrorCode ReapplyInsets(const UIDRef& frame) const = 0;
    // The item that holds the frame's text columns; the host keeps the columns on the frame
    // itself, so this is `frame` when it is a text frame, and the null reference otherwise.
    virtual UIDRef GetFirstColumn(const UIDRef& frame) const = 0;
    // The frame threaded after (before) `frame`; the null reference at the end (start) of the
    // thread or when `frame` is no text frame.
    virtual UIDRef GetNextFrame(const UIDRef& frame) const = 0;
    virtual UIDRef GetPreviousFrame(const UIDRef& frame) const = 0;
    // Threads `frameB` after `frameA`, so that text overflowing A continues in B; B's frames
    // join A's story.
    virtual ErrorCode LinkFrames(const UIDRef& frameA, const UIDRef& frameB) const = 0;
    // Breaks the thread before `frame`.
    virtual ErrorCode UnlinkFrame(const UIDRef& frame) const = 0;
    // Shrinks a frame with balanced columns to the height its text needs, so that the text
    // spreads evenly over its columns: heights are tried by bisection (at most 32, none at or
    // below 2 pt), the story composed at each, and the frame then grows by the last step until
    // the text fits. The top edge stays. Only the last frame of its story is fitted; any other
    // keeps its height (kSuccess). Text that does not fit even at twice the height leaves the
    // frame at its height. With `fitToText` the height then becomes that of the composed text.
    // kSuccess when the frame was fitted or had nothing to fit; an error (logged) when `frame`
    // is no text frame, has no story or frames, or is 2 pt high or less.
    virtual ErrorCode FitMultiColumnFrame(const UIDRef& frame, bool fitToText) const = 0;
    // Makes the frame as high as its composed text (the bottom of its last line plus the bottom
    // inset), top edge kept. The frame must stand on a page. With `growForOverset` a frame whose
    // text is left over first grows until it holds it. An error (logged) when `frame` is no text
    // frame, stands on no page, or the host refuses.
    virtual ErrorCode FitFrameToContent(const UIDRef& frame, bool growForOverset) const = 0;
    // LinkFrames for each pair in turn, in one host command, so that threading many frames costs
    // time in proportion to their number; `results` gets one error code per pair (each refused
    // pair is logged as LinkFrames logs it). Pairs whose frames lie in another database than the
    // first pair's are refused.
    virtual void LinkFramePairs(const std::vector<std::pair<UIDRef, UIDRef>>& pairs, std::vector<ErrorCode>& results) const = 0;
};
