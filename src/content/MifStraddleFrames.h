// MifStraddleFrames: splits a multi-column text frame where paragraphs or a table straddle its
// columns, as FrameMaker shows them: the part above keeps the text before, shortened to the depth
// that text needs with its columns balanced; a frame of one column across the frame's full width
// holds the straddling text and is fitted to it; a frame below with the original columns, gutter
// and insets takes the rest of the depth down to the original bottom and the text after. The three
// are threaded in that order and on to the frame the original frame led to, so that every reader
// sees ordinary threaded frames.
//
// A sequence that starts at the top of a frame (an empty story, or a frame the text before has
// filled) uses that frame itself as the frame across, with one column; no empty frame is left
// above it. When the depth runs out the text flows on through the thread as it would have: a
// frame across too low for one line of the straddling text is not made (the sequence starts at
// the top of the next frame), a frame across that cannot hold its text keeps its depth and lets
// the rest go on into the next frame, and no frame below is made that could not hold a line.
#pragma once

#include "PMGeometry.h"
#include "UIDRef.h"

class IMifLayoutImporter;

class MifStraddleFrames {
public:
    // The frame being split, as it was when the sequence opened, and the frame across.
    struct Split {
        UIDRef original;        // the multi-column frame the sequence splits
        UIDRef across;          // the frame of one column that holds the straddling text
        PMRect bounds;          // the original frame's bounds in spread coordinates
        int32 columnCount = 1;
        PMReal gutter = 0;
        PMRect insets;
        int32 firstBaselineOffset = 0;
        UID spread = kInvalidUID;
        UID layer = kInvalidUID;
        // Whether the straddling text must start a frame of its own: false only when the frame
        // across is the first of an empty story.
        bool breakBefore = true;
        bool IsOpen() const { return across.ExistsInDB(); }
    };

    // Opens a sequence after the text of `story` up to `lastAbove` (the index of its last
    // character; -1 when the story holds no text yet). The frame whose lines hold that character
    // (the story's first frame for an empty story) must have two or more columns and stand
    // unrotated on its spread. `lineDepth` is the depth the first line of the straddling text
    // needs. False, changing nothing, when the frame cannot be split; then the text stays in
    // the columns.
    static bool Open(IMifLayoutImporter& layoutImporter, const UIDRef& story, int32 lastAbove, PMReal lineDepth, Split& split);

    // Closes the sequence whose text ends at `lastIndex`: the frame across is fitted to its text
    // (its top inset grown by `spaceAbove` when that is above 0), and the frame below is made
    // when at least `minDepth` is left under it. The frame below, or the null reference when
    // none was made (the text after then flows on into the frame the original led to). `split`
    // is reset.
    static UIDRef Close(IMifLayoutImporter& layoutImporter, const UIDRef& story, int32 lastIndex, PMReal minDepth, PMReal spaceAbove,
                        Split& split);

    // The least height (to 0.25 pt) at which `frame`, its top kept, still shows the character
    // `index` of its story, with the text after it going on into the frames that follow: the
    // depth its text needs when its columns are balanced. The frame is left at that height; it
    // keeps its height when it does not show `index` at its own height.
    static PMReal BalanceColumns(const UIDRef& frame, const UIDRef& story, int32 index);
};
