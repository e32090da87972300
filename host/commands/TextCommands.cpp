#include "TextCommands.h"

#include <algorithm>

#include "Document.h"
#include "Story.h"

namespace {

Story* TargetStory(DataBase* db, const UIDList& items)
{
    if (!db || items.Length() != 1) return nullptr;
    return db->Get<Story>(items.GetUIDs().front());
}

// The footnotes that went with deleted text take their threads with them.
void RemoveFootnotes(DataBase& db, Story& story, const std::vector<UID>& removed)
{
    for (UID uid : removed) {
        if (!db.Get<Footnote>(uid)) continue;
        std::vector<UID> nested;
        TextRange thread = story.textModel.FindThread(uid);
        if (thread.length > 0)
            story.textModel.ForEachOwnedItem(thread.start, thread.End(), [&](int32, UID item) { nested.push_back(item); });
        story.textModel.RemoveThread(uid);
        db.Delete(uid);
        RemoveFootnotes(db, story, nested);
    }
}

} // namespace

ErrorCode InsertTextCmd::Do()
{
    Story* story = TargetStory(GetDataBase(), mItems);
    if (!story || !story->textModel.Insert(index, text)) return kInvalidParameterError;
    return kSuccess;
}

ErrorCode DeleteTextCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = TargetStory(db, mItems);
    std::vector<UID> removed;
    if (!story || !story->textModel.Delete(index, length, &removed)) return kInvalidParameterError;
    RemoveFootnotes(*db, *story, removed);
    return kSuccess;
}

ErrorCode ApplyTextStyleCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = TargetStory(db, mItems);
    const Style* applied = db ? db->Get<Style>(style) : nullptr;
    if (!story || !applied) return kInvalidParameterError;
    if (!story->textModel.ApplyStyle(applied->kind, style, index, length, boolData)) return kInvalidParameterError;
    return kSuccess;
}

ErrorCode ApplyTextAttributesCmd::Do()
{
    Story* story = TargetStory(GetDataBase(), mItems);
    if (!story) return kInvalidParameterError;
    if (attributes.IsEmpty()) return kSuccess;
    if (!story->textModel.ApplyAttributes(attributes, index, length)) return kInvalidParameterError;
    return kSuccess;
}

ErrorCode CreateFootnoteCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = TargetStory(db, mItems);
    if (!story) return kInvalidParameterError;
    TextModel& model = story->textModel;
    int32 marker = rangeData.start;
    if (rangeData.length > 1 || model.GetChar(marker) != kTextChar_FootnoteMarker || model.GetOwnedItem(marker) != kInvalidUID)
        return kInvalidParameterError;
    Footnote* footnote = db->Create<Footnote>();
    footnote->story = story->GetUID();
    model.SetOwnedItem(marker, footnote->GetUID());
    textStoryThread = model.AddThread(TextThread{TextThreadKind::kFootnote, footnote->GetUID()});
    uidData = footnote->GetUID();
    return kSuccess;
}
