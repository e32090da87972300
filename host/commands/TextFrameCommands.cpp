#include "TextFrameCommands.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "AnchorLayout.h"
#include "Document.h"
#include "Spread.h"
#include "Story.h"
#include "TextComposer.h"

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

// A change to a frame's threading, size or columns: the story's lines are composed anew.
void ResetComposition(DataBase& db, const TextFrame* frame)
{
    if (!frame) return;
    if (Story* story = db.Get<Story>(frame->story)) story->frameList.Reset();
}

Story* NewStory(DataBase& db)
{
    Story* story = db.Create<Story>();
    db.GetDocument()->stories.push_back(story->GetUID());
    return story;
}

// Threads the pairs of `items` (frame A, frame B, frame A, ...) in order; `results` gets the
// outcome of each pair. A pair is refused when A is followed or B preceded already, or when both
// show one story (the thread would loop). The text of B's story is appended to A's as a new
// paragraph (an empty story adds no empty paragraph), and B's story goes. Which story a frame
// shows is worked out as the pairs go and written to the frames and the story list once at the
// end, so each frame and each story is visited a bounded number of times.
void LinkPairs(DataBase& db, const UIDList& items, std::vector<ErrorCode>& results)
{
    size_t pairs = static_cast<size_t>(items.Length()) / 2;
    results.assign(pairs, kInvalidParameterError);
    // A story that joined another, to the story it joined.
    std::unordered_map<UID, UID> joined;
    auto storyOf = [&joined](UID story) {
        UID root = story;
        for (auto it = joined.find(root); it != joined.end(); it = joined.find(root)) root = it->second;
        for (auto it = joined.find(story); it != joined.end() && it->second != root; it = joined.find(story)) {
            story = it->second;
            it->second = root;
        }
        return root;
    };
    std::vector<std::pair<TextFrame*, UID>> threaded;   // each B threaded, with the story it joined
    std::unordered_set<UID> gone;
    for (size_t i = 0; i < pairs; ++i) {
        TextFrame* frameA = db.Get<TextFrame>(items.At(static_cast<int32>(2 * i)));
        TextFrame* frameB = db.Get<TextFrame>(items.At(static_cast<int32>(2 * i + 1)));
        if (!frameA || !frameB) continue;
        UID storyUIDA = storyOf(frameA->story), storyUIDB = storyOf(frameB->story);
        if (frameA->nextFrame != kInvalidUID || frameB->previousFrame != kInvalidUID || storyUIDA == storyUIDB) continue;
        Story* storyA = db.Get<Story>(storyUIDA);
        if (!storyA) continue;
        Story* storyB = db.Get<Story>(storyUIDB);
        // A lone empty frame threaded on at the end of a composed thread changes no line before
        // it: composing goes on from the old last frame, so that growing a thread frame by frame
        // costs the new frames only. Any other link lays the story out anew.
        const FrameList& listA = storyA->frameList;
        bool appendsEmptyFrame = (!storyB || storyB->IsEmpty()) && frameB->nextFrame == kInvalidUID && listA.IsComposed() &&
                                 listA.GetFrameCount() > 0 && listA.GetFrameUID(listA.GetFrameCount() - 1) == frameA->GetUID();
        if (storyB && !storyB->IsEmpty()) storyA->textModel.AppendPrimaryThread(storyB->textModel);
        frameA->nextFrame = frameB->GetUID();
        frameB->previousFrame = frameA->GetUID();
        if (storyUIDB != kInvalidUID) {
            joined[storyUIDB] = storyUIDA;
            gone.insert(storyUIDB);
        }
        threaded.emplace_back(frameB, storyUIDA);
        if (!appendsEmptyFrame || !storyA->frameList.AppendFrame(frameB->GetUID())) storyA->frameList.Reset();
        results[i] = kSuccess;
    }
    // Every frame from a B to the end of its thread shows the story the thread ended up with; a
    // frame met again was reached from an earlier B, and so was the rest of its thread. A thread
    // cannot loop, but the walks stop after as many frames as the database holds, whatever the data.
    std::unordered_set<UID> done;
    size_t limit = db.GetObjects().size();
    for (const auto& [frameB, story] : threaded) {
        UID root = storyOf(story);
        for (TextFrame* frame = frameB; frame && limit > 0 && done.insert(frame->GetUID()).second;
             frame = db.Get<TextFrame>(frame->nextFrame), --limit)
            frame->story = root;
    }
    if (gone.empty()) return;
    std::vector<UID>& stories = db.GetDocument()->stories;
    stories.erase(std::remove_if(stories.begin(), stories.end(), [&gone](UID uid) { return gone.count(uid) != 0; }), stories.end());
    for (UID uid : gone) db.Delete(uid);
}

// Marks the lines of the frame's story damaged from `frame` on (a frame that is not in the
// story's frame list damages all of it).
void DamageFrom(DataBase& db, const TextFrame& frame)
{
    Story* story = db.Get<Story>(frame.story);
    if (!story) return;
    for (const ComposedFrame& entry : story->frameList.GetFrames()) {
        if (entry.frame != frame.GetUID()) continue;
        story->frameList.Damage(entry.start);
        return;
    }
    story->frameList.Reset();
}

bool SetHeight(DataBase& db, TextFrame& frame, PMReal height)
{
    if (!std::isfinite(height) || !(height > 0) || !std::isfinite(frame.pathBounds.top + height)) return false;
    frame.pathBounds.bottom = frame.pathBounds.top + height;
    DamageFrom(db, frame);
    // An anchored frame takes room on its anchor's line: the story it stands in is set anew.
    if (frame.anchorStory != kInvalidUID) AnchorLayout::DamageAnchor(db, frame);
    return true;
}

// How far down the frame's composed text reaches, in its inner coordinates: the bottom of its
// deepest line or table part, and below that, in each column, the footnote lines set at the column's foot;
// false when the frame shows no line.
bool ContentBottom(const ComposedFrame& composed, PMReal& bottom)
{
    if (composed.lines.empty() && composed.tableParts.empty()) return false;
    bottom = composed.lines.empty() ? composed.tableParts.front().top : composed.lines.front().baseline + composed.lines.front().descent;
    for (const ComposedLine& line : composed.lines) bottom = std::max(bottom, line.baseline + line.descent);
    // A table's part in a column holds no line of its own.
    for (const ComposedTablePart& part : composed.tableParts) bottom = std::max(bottom, part.top + part.height);
    // The footnotes of a column stand below its text: the frame needs the tallest column's block.
    std::unordered_map<int32, std::pair<PMReal, PMReal>> footnotes;   // column: top, bottom
    for (const ComposedLine& line : composed.footnoteLines) {
        auto [entry, added] = footnotes.try_emplace(line.column, line.baseline - line.ascent, line.baseline + line.descent);
        if (added) continue;
        entry->second.first = std::min(entry->second.first, line.baseline - line.ascent);
        entry->second.second = std::max(entry->second.second, line.baseline + line.descent);
    }
    PMReal block = 0;
    for (const auto& [column, extent] : footnotes) block = std::max(block, extent.second - extent.first);
    bottom += block;
    return true;
}

const ComposedFrame* ComposedOf(const Story& story, UID frame)
{
    for (const ComposedFrame& entry : story.frameList.GetFrames())
        if (entry.frame == frame) return &entry;
    return nullptr;
}

// Grows `frame`, the last frame of `story`, doubling its height until the story's text no
// longer overflows it; a doubling that brings no more text into the frame (one too narrow for a
// character) is taken back and ends the growth.
void GrowForOverset(DataBase& db, TextFrame& frame, Story& story)
{
    const FrameList& frameList = story.frameList;
    for (int32 i = 0; i < 16 && frameList.Overflows() && !frameList.GetFrames().empty() &&
                    frameList.GetFrames().back().frame == frame.GetUID();
         ++i) {
        int32 held = frameList.GetOversetIndex();
        PMReal before = frame.pathBounds.Height();
        if (!SetHeight(db, frame, before * 2)) return;
        TextComposer::Get().Compose(story);
        if (frameList.Overflows() && frameList.GetOversetIndex() <= held) {
            SetHeight(db, frame, before);
            TextComposer::Get().Compose(story);
            return;
        }
    }
}

} // namespace

ErrorCode SetFrameHeightCmd::Do()
{
    DataBase* db = GetDataBase();
    std::vector<TextFrame*> frames = FramesOf(db, mItems);
    if (frames.empty() || !std::isfinite(height) || !(height > 0)) return kInvalidParameterError;
    for (TextFrame* frame : frames)
        if (!std::isfinite(frame->pathBounds.top + height)) return kInvalidParameterError;
    for (TextFrame* frame : frames) SetHeight(*db, *frame, height);
    return kSuccess;
}

ErrorCode FitFrameToContentCmd::Do()
{
    DataBase* db = GetDataBase();
    std::vector<TextFrame*> frames = FramesOf(db, mItems);
    if (frames.empty()) return kInvalidParameterError;
    for (TextFrame* frame : frames) {
        Story* story = db->Get<Story>(frame->story);
        // An empty story's one empty line is no content to fit to.
        if (!story || story->IsEmpty()) continue;
        TextComposer::Get().Compose(*story);
        if (growForOverset) GrowForOverset(*db, *frame, *story);
        const ComposedFrame* composed = ComposedOf(*story, frame->GetUID());
        PMReal bottom = 0;
        if (!composed || !ContentBottom(*composed, bottom)) continue;
        PMReal before = frame->pathBounds.Height();
        bool overflowed = story->frameList.Overflows();
        int32 lastIndex = composed->start + composed->length;
        if (!SetHeight(*db, *frame, bottom + frame->insets.bottom - frame->pathBounds.top)) continue;
        TextComposer::Get().Compose(*story);
        // The composer's rounding must not push a line out: the frame keeps what it held.
        composed = ComposedOf(*story, frame->GetUID());
        bool lost = !composed || composed->start + composed->length < lastIndex || (story->frameList.Overflows() && !overflowed);
        if (lost && SetHeight(*db, *frame, before)) TextComposer::Get().Compose(*story);
    }
    return kSuccess;
}

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
    if (FramesOf(db, mItems).size() != 2) return kInvalidParameterError;
    std::vector<ErrorCode> results;
    LinkPairs(*db, mItems, results);
    return results.front();
}

ErrorCode TextLinkPairsCmd::Do()
{
    DataBase* db = GetDataBase();
    results.clear();
    if (!db || mItems.IsEmpty() || mItems.Length() % 2 != 0) return kInvalidParameterError;
    LinkPairs(*db, mItems, results);
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
    ResetComposition(*db, previous);
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
        ResetComposition(*GetDataBase(), frame);
    }
    return kSuccess;
}

ErrorCode SetTextInsetCmd::Do()
{
    std::vector<TextFrame*> frames = FramesOf(GetDataBase(), mItems);
    if (frames.empty()) return kInvalidParameterError;
    for (PMReal inset : {textInset.left, textInset.top, textInset.right, textInset.bottom})
        if (!IsLength(inset)) return kInvalidParameterError;
    for (TextFrame* frame : frames) {
        frame->insets = textInset;
        ResetComposition(*GetDataBase(), frame);
    }
    return kSuccess;
}

ErrorCode SetFrameFirstLineOffsetMetricCmd::Do()
{
    std::vector<TextFrame*> frames = FramesOf(GetDataBase(), mItems);
    if (frames.empty() || intData < 0 || intData > static_cast<int32>(FirstBaselineOffset::kEmboxHeight))
        return kInvalidParameterError;
    for (TextFrame* frame : frames) {
        frame->firstBaselineOffset = static_cast<FirstBaselineOffset>(intData);
        ResetComposition(*GetDataBase(), frame);
    }
    return kSuccess;
}
