#include "TextFrameCommands.h"

#include <algorithm>
#include <cmath>

#include "Document.h"
#include "Spread.h"
#include "Story.h"

namespace {

bool IsLength(PMReal value) { return std::isfinite(value) && value >= 0; }

// The text frames of `items`, all of them; empty when any is missing or not a text frame.
std::vector<TextFrame*> FramesOf(DataBase* db, const UIDList& items)
{
    std::vector<TextFrame*> frames;
    if (!db || items.IsEmpty()) return frames;
    for (UID uid : items.GetUIDs()) {
        TextFrame* frame = db->Get<TextFrame>(uid);
        if (!frame) return {};
        frames.push_back(frame);
    }
    return frames;
}

// Gives `first` and every frame threaded after it the story `story`.
void SetStoryFrom(DataBase& db, TextFrame* first, UID story)
{
    // A thread cannot loop (TextLinkCmd refuses), but the walk stops after as many frames as
    // the database holds, whatever the data.
    size_t limit = db.GetObjects().size();
    for (TextFrame* frame = first; frame && limit-- > 0; frame = db.Get<TextFrame>(frame->nextFrame)) frame->story = story;
}

Story* NewStory(DataBase& db)
{
    Story* story = db.Create<Story>();
    db.GetDocument()->stories.push_back(story->GetUID());
    return story;
}

} // namespace

ErrorCode CreateTextFrameCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.Length() != 1) return kInvalidParameterError;
    Spread* spread = db->Get<Spread>(mItems.At(0));
    if (!spread || (layer != kInvalidUID && !db->Get<Layer>(layer))) return kInvalidParameterError;
    if (!std::isfinite(bounds.left) || !std::isfinite(bounds.top) || !(bounds.Width() > 0) || !(bounds.Height() > 0) ||
        !std::isfinite(bounds.Width()) || !std::isfinite(bounds.Height()))
        return kInvalidParameterError;
    for (PMReal value : {transform.a, transform.b, transform.c, transform.d, transform.tx, transform.ty})
        if (!std::isfinite(value)) return kInvalidParameterError;
    Story* story = NewStory(*db);
    TextFrame* frame = db->Create<TextFrame>();
    frame->spread = spread->GetUID();
    frame->layer = layer;
    frame->pathBounds = bounds;
    frame->itemTransform = transform;
    frame->story = story->GetUID();
    spread->pageItems.push_back(frame->GetUID());
    mItems = UIDList(db);
    mItems.Append(frame->GetUID());
    return kSuccess;
}

ErrorCode TextLinkCmd::Do()
{
    DataBase* db = GetDataBase();
    std::vector<TextFrame*> frames = FramesOf(db, mItems);
    if (frames.size() != 2) return kInvalidParameterError;
    TextFrame* frameA = frames[0];
    TextFrame* frameB = frames[1];
    // Linking within one story would make the thread a loop.
    if (frameA->nextFrame != kInvalidUID || frameB->previousFrame != kInvalidUID || frameA->story == frameB->story)
        return kInvalidParameterError;
    Story* storyA = db->Get<Story>(frameA->story);
    if (!storyA) return kInvalidParameterError;
    UID oldStory = frameB->story;
    // The texts become paragraphs of one story; an empty story adds no empty paragraph.
    if (Story* storyB = db->Get<Story>(oldStory)) storyA->textModel.AppendPrimaryThread(storyB->textModel);
    frameA->nextFrame = frameB->GetUID();
    frameB->previousFrame = frameA->GetUID();
    SetStoryFrom(*db, frameB, storyA->GetUID());
    std::vector<UID>& stories = db->GetDocument()->stories;
    stories.erase(std::remove(stories.begin(), stories.end(), oldStory), stories.end());
    db->Delete(oldStory);
    return kSuccess;
}

ErrorCode TextUnlinkCmd::Do()
{
    DataBase* db = GetDataBase();
    std::vector<TextFrame*> frames = FramesOf(db, mItems);
    if (frames.size() != 1) return kInvalidParameterError;
    TextFrame* frame = frames[0];
    TextFrame* previous = db->Get<TextFrame>(frame->previousFrame);
    if (!previous) return kInvalidParameterError;
    previous->nextFrame = kInvalidUID;
    frame->previousFrame = kInvalidUID;
    SetStoryFrom(*db, frame, NewStory(*db)->GetUID());
    return kSuccess;
}

ErrorCode ChangeNumberOfColumnsCmd::Do()
{
    std::vector<TextFrame*> frames = FramesOf(GetDataBase(), mItems);
    if (frames.empty()) return kInvalidParameterError;
    if (columnCount != -1 && (columnCount < 1 || columnCount > 40)) return kInvalidParameterError;
    if (gutter != -1 && !IsLength(gutter)) return kInvalidParameterError;
    for (TextFrame* frame : frames) {
        if (columnCount != -1) frame->columnCount = columnCount;
        if (gutter != -1) frame->columnGutter = gutter;
    }
    return kSuccess;
}

ErrorCode SetTextInsetCmd::Do()
{
    std::vector<TextFrame*> frames = FramesOf(GetDataBase(), mItems);
    if (frames.empty()) return kInvalidParameterError;
    for (PMReal inset : {textInset.left, textInset.top, textInset.right, textInset.bottom})
        if (!IsLength(inset)) return kInvalidParameterError;
    for (TextFrame* frame : frames) frame->insets = textInset;
    return kSuccess;
}

ErrorCode SetFrameFirstLineOffsetMetricCmd::Do()
{
    std::vector<TextFrame*> frames = FramesOf(GetDataBase(), mItems);
    if (frames.empty() || intData < 0 || intData > static_cast<int32>(FirstBaselineOffset::kEmboxHeight))
        return kInvalidParameterError;
    for (TextFrame* frame : frames) frame->firstBaselineOffset = static_cast<FirstBaselineOffset>(intData);
    return kSuccess;
}
