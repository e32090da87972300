// TextFrame: a page item that shows the text of a story, in columns, inside its insets.
//
// The frames of one story form a thread: each knows the frame before and after it, and all of
// them name the same story.
#pragma once

#include "PageItem.h"

// Where the first baseline of a frame sits, measured from the top inset. The numbers are the
// host's own and are what the frame commands take.
enum class FirstBaselineOffset : int32 {
    kAscentOffset = 0,   // the ascent of the tallest character of the first line
    kCapHeight = 1,      // the cap height of the first line
    kLeadingOffset = 2,  // the leading of the first line
    kXHeight = 3,        // the x height of the first line
    kFixedHeight = 4,    // a fixed distance
    kEmboxHeight = 5,    // the em box height of the first line
};

// The setting's name as IDML writes it ("LeadingOffset"); "AscentOffset" for a value out of range.
inline const char* FirstBaselineOffsetName(FirstBaselineOffset offset)
{
    switch (offset) {
    case FirstBaselineOffset::kAscentOffset: return "AscentOffset";
    case FirstBaselineOffset::kCapHeight: return "CapHeight";
    case FirstBaselineOffset::kLeadingOffset: return "LeadingOffset";
    case FirstBaselineOffset::kXHeight: return "XHeight";
    case FirstBaselineOffset::kEmboxHeight: return "EmboxHeight";
    case FirstBaselineOffset::kFixedHeight: return "FixedHeight";
    }
    return "AscentOffset";
}

class TextFrame : public PageItem {
public:
    UID story = kInvalidUID;          // the story whose text the frame shows
    UID previousFrame = kInvalidUID;  // the frame before in the thread; none for the first
    UID nextFrame = kInvalidUID;      // the frame after in the thread; none for the last
    int32 columnCount = 1;
    PMReal columnGutter = 12;         // points between columns
    // The text insets, each the distance (points) from the outline on its side.
    PMRect insets;
    FirstBaselineOffset firstBaselineOffset = FirstBaselineOffset::kAscentOffset;
};
