// The commands that make text frames, thread them, and set their columns, insets and first
// baseline. Each fails with kInvalidParameterError, changing nothing, when its targets are not
// what it works on.
#pragma once

#include <vector>

#include "DocCommand.h"
#include "PMGeometry.h"
#include "TextFrame.h"

// Makes a text frame on the spread or master spread of the item list, in front of its other
// page items, with a new empty story; afterwards the item list holds the frame. The story is
// appended to the document's story list.
class CreateTextFrameCmd : public DocCommand {
public:
    CreateTextFrameCmd() { SetName("Create Text Frame"); }
    UID layer = kInvalidUID;   // a layer of the document, or none (the frontmost)
    PMRect bounds;             // the outline in inner coordinates; width and height above 0
    PMMatrix transform;        // inner to spread coordinates

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Threads the second frame of the item list after the first: the first must end its thread
// and the second begin another. The second frame and the frames after it join the first
// frame's story; the text of their old story is appended to it and the old story goes.
class TextLinkCmd : public DocCommand {
public:
    TextLinkCmd() { SetName("Link Text Frames"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Threads many pairs of frames in one go, as TextLinkCmd would thread them one pair after the
// other: the item list holds frame A and frame B of each pair in turn. A pair that TextLinkCmd
// would refuse at its turn (or whose items are not text frames) stays unthreaded, and its entry
// in `results` is the error; the other pairs are threaded. Each story and the document's story
// list are brought up to date once, at the end, so that threading n frames costs time in
// proportion to n whatever the order of the pairs. Fails, changing nothing, only when the item
// list does not hold pairs.
class TextLinkPairsCmd : public DocCommand {
public:
    TextLinkPairsCmd() { SetName("Link Text Frames"); }
    std::vector<ErrorCode> results;   // one per pair, after Do

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Breaks the thread before the frame of the item list (which must have a frame before it):
// the frame and the frames after it get a new empty story; the text stays with the old story.
class TextUnlinkCmd : public DocCommand {
public:
    TextUnlinkCmd() { SetName("Unlink Text Frame"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets the columns of the text frames of the item list.
class ChangeNumberOfColumnsCmd : public DocCommand {
public:
    ChangeNumberOfColumnsCmd() { SetName("Change Number of Columns"); }
    int32 columnCount = -1;   // 1 to 40; -1 keeps each frame's count
    PMReal gutter = -1;       // points, 0 or more; -1 keeps each frame's gutter

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets the text insets of the text frames of the item list.
class SetTextInsetCmd : public DocCommand {
public:
    SetTextInsetCmd() { SetName("Set Text Inset"); }
    PMRect textInset;   // left, top, right, bottom insets in points, each 0 or more

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets where the first baseline of the text frames of the item list sits.
class SetFrameFirstLineOffsetMetricCmd : public DocCommand {
public:
    SetFrameFirstLineOffsetMetricCmd() { SetName("Set First Baseline Offset"); }
    int32 intData = 0;   // a FirstBaselineOffset value, 0 to 5

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets the height of the text frames of the item list, keeping their top edge: the outline's
// bottom moves to its top plus `height` (inner coordinates), so the transform, and with it any
// rotation, stays as it is. Each frame's story is damaged from the frame on, so that the next
// composition lays the text into the new height.
class SetFrameHeightCmd : public DocCommand {
public:
    SetFrameHeightCmd() { SetName("Set Frame Height"); }
    PMReal height = 0;   // points, above 0

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Makes each text frame of the item list as high as its composed text, keeping its top edge:
// the bottom of its deepest line (baseline plus descent), with the footnote lines set at the
// foot of its columns below that, plus the bottom inset. The story is composed first. With
// `growForOverset`, the last frame of a story whose text is left over first grows (doubling its
// height, at most 16 times) until it holds the text. A frame that shows no line, or whose story
// is empty, keeps its height, and so does one whose text would no longer fit at the new height. The stories are
// composed at the new heights afterwards.
class FitFrameToContentCmd : public DocCommand {
public:
    FitFrameToContentCmd() { SetName("Fit Frame to Content"); }
    bool growForOverset = false;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
