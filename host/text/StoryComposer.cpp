#include "StoryComposer.h"

#include <linebreak.h>

#include <mutex>
#include <set>
#include <unordered_map>

#include "ColumnSource.h"
#include "Composition.h"
#include "DataBase.h"
#include "Story.h"
#include "Table.h"
#include "TableComposer.h"
#include "TextFrame.h"

StoryComposer::StoryComposer()
{
    static std::once_flag once;
    std::call_once(once, [] { init_linebreak(); });
}

StoryComposer::~StoryComposer() = default;

std::vector<UID> StoryComposer::GetFrameChain(const DataBase& db, UID story)
{
    std::vector<UID> frames;
    UID first = kInvalidUID;
    for (const auto& [uid, object] : db.GetObjects()) {
        const auto* frame = dynamic_cast<const TextFrame*>(object.get());
        if (!frame || frame->story != story) continue;
        const auto* previous = db.Get<TextFrame>(frame->previousFrame);
        if (!previous || previous->story != story) {
            first = uid;
            break;
        }
    }
    std::set<UID> seen;
    for (UID uid = first; uid != kInvalidUID && seen.insert(uid).second;) {
        const TextFrame* frame = db.Get<TextFrame>(uid);
        if (!frame || frame->story != story) break;
        frames.push_back(uid);
        uid = frame->nextFrame;
    }
    return frames;
}

bool StoryComposer::CanResume(const Story& story)
{
    // Every edit since the last composition was noted (the revisions agree) and something is
    // damaged: the frames before the damage keep their lines. Threading and frame changes reset
    // the list, so its frames are still the thread's.
    const FrameList& list = story.frameList;
    return list.IsComposed() && list.GetFirstDamagedFrame() >= 0 && list.GetFrameCount() > 0 &&
           list.GetRevision() == story.textModel.GetRevision();
}

void StoryComposer::ComposeInto(Story& story, const std::vector<UID>& frames, bool resume)
{
    DataBase* db = story.GetDataBase();
    if (!db) return;
    Composition composition(*db, story.textModel, mFonts, mHyphenator, mKeepGlyphs);
    composition.Run(frames, story.frameList, resume);
    mLinesSet = composition.LinesSet();
}

void StoryComposer::Compose(Story& story)
{
    DataBase* db = story.GetDataBase();
    if (!db) return;
    // Lines composed from the text as it is, with nothing damaged since, are still good: every
    // change to the text, the threading or a frame's size, columns and insets is noted.
    if (story.frameList.IsCurrent(story.textModel.GetRevision())) return;
    if (CanResume(story)) ComposeInto(story, {}, true);
    else ComposeInto(story, GetFrameChain(*db, story.GetUID()), false);
}

void StoryComposer::Recompose(Story& story)
{
    story.frameList.Reset();
    Compose(story);
}

std::vector<ComposedLine> StoryComposer::ComposeParagraphAlone(Story& story, int32 index)
{
    DataBase* db = story.GetDataBase();
    if (!db) return {};
    UID last = kInvalidUID;
    if (story.frameList.IsComposed() && story.frameList.GetFrameCount() > 0) last = story.frameList.GetFrameUID(story.frameList.GetFrameCount() - 1);
    else if (std::vector<UID> chain = GetFrameChain(*db, story.GetUID()); !chain.empty()) last = chain.back();
    ColumnSource columns(*db, last == kInvalidUID ? 0 : 1, [last](size_t) { return last; }, 0);
    const FrameColumn* lastColumn = nullptr;
    for (size_t i = 0; columns.At(i); ++i) lastColumn = columns.At(i);
    if (!lastColumn) return {};
    FrameColumn column = *lastColumn;
    column.bottom = column.top + 1e9;  // as deep as the paragraph needs
    Composition composition(*db, story.textModel, mFonts, mHyphenator, mKeepGlyphs);
    return composition.RunAlone(index, column);
}

std::vector<ComposedLine> StoryComposer::ComposeCell(Story& story, UID cellText)
{
    DataBase* db = story.GetDataBase();
    const CellText* text = db ? db->Get<CellText>(cellText) : nullptr;
    const Table* table = text ? db->Get<Table>(text->table) : nullptr;
    if (!table || table->story != story.GetUID()) return {};
    Composition composition(*db, story.textModel, mFonts, mHyphenator, mKeepGlyphs);
    return TableComposer::ComposeCell(*db, story.textModel, *table, cellText,
                                      [&composition](const TextRange& thread, PMReal width, int32 rule, PMReal& height) {
                                          return composition.SetCellText(thread, width, rule, height);
                                      });
}

void StoryComposer::ComposeAll(DataBase& db)
{
    // One walk finds the first frame of every story.
    std::unordered_map<UID, UID> firstFrames;
    for (const auto& [uid, object] : db.GetObjects()) {
        const auto* frame = dynamic_cast<const TextFrame*>(object.get());
        if (!frame || !db.Get<Story>(frame->story)) continue;
        const auto* previous = db.Get<TextFrame>(frame->previousFrame);
        if ((!previous || previous->story != frame->story) && !firstFrames.count(frame->story))
            firstFrames[frame->story] = uid;
    }
    for (const auto& [uid, object] : db.GetObjects()) {
        auto* story = dynamic_cast<Story*>(object.get());
        if (!story || story->frameList.IsCurrent(story->textModel.GetRevision())) continue;
        if (CanResume(*story)) {
            ComposeInto(*story, {}, true);
            continue;
        }
        std::vector<UID> frames;
        std::set<UID> seen;
        auto it = firstFrames.find(uid);
        for (UID f = it != firstFrames.end() ? it->second : kInvalidUID; f != kInvalidUID && seen.insert(f).second;) {
            const TextFrame* frame = db.Get<TextFrame>(f);
            if (!frame || frame->story != uid) break;
            frames.push_back(f);
            f = frame->nextFrame;
        }
        ComposeInto(*story, frames, false);
    }
}

TextComposer& TextComposer::Get()
{
    static StoryComposer composer;
    return composer;
}
