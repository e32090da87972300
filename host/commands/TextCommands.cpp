#include "TextCommands.h"

#include "PageItem.h"

#include <algorithm>

#include "Document.h"
#include "Story.h"
#include "Table.h"
#include "TableCommands.h"

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

// Tells the story's lines of an edit at `index`: of its own text, or of a footnote's.
void NoteEdit(Story& story, int32 index, int64 before)
{
    const int64 after = story.textModel.GetRevision();
    const int32 at = std::clamp(index, 0, std::max(0, story.textModel.TotalLength() - 1));
    const TextThread thread = story.textModel.GetThread(at);
    const CellText* cell = thread.kind == TextThreadKind::kCell && story.GetDataBase() ? story.GetDataBase()->Get<CellText>(thread.owner) : nullptr;
    if (thread.kind == TextThreadKind::kFootnote)
        story.frameList.NoteFootnoteEdit(index, before, after);
    else if (cell)  // a cell's text: its table is set again
        story.frameList.NoteTableEdit(cell->table, before, after);
    else
        story.frameList.NoteEdit(index, before, after);
}

} // namespace

ErrorCode InsertTextCmd::Do()
{
    Story* story = TargetStory(GetDataBase(), mItems);
    int64 before = story ? story->textModel.GetRevision() : 0;
    if (!story || !story->textModel.Insert(index, text)) return kInvalidParameterError;
    NoteEdit(*story, index, before);
    return kSuccess;
}

ErrorCode DeleteTextCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = TargetStory(db, mItems);
    std::vector<UID> removed;
    int64 before = story ? story->textModel.GetRevision() : 0;
    if (!story || !story->textModel.Delete(index, length, &removed)) return kInvalidParameterError;
    RemoveFootnotes(*db, *story, removed);
    RemoveTables(*db, *story, removed);
    // Items anchored in the deleted text go with it.
    for (UID uid : removed)
        if (const PageItem* item = db->Get<PageItem>(uid); item && item->anchorStory == story->GetUID()) db->Delete(uid);
    NoteEdit(*story, index, before);
    return kSuccess;
}

ErrorCode ApplyTextStyleCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = TargetStory(db, mItems);
    const Style* applied = db ? db->Get<Style>(style) : nullptr;
    if (!story || !applied) return kInvalidParameterError;
    int64 before = story->textModel.GetRevision();
    if (!story->textModel.ApplyStyle(applied->kind, style, index, length, boolData)) return kInvalidParameterError;
    // Paragraph formatting changes the paragraph's lines from its first on.
    NoteEdit(*story, story->textModel.GetParagraphRange(index).start, before);
    return kSuccess;
}

ErrorCode ApplyTextAttributesCmd::Do()
{
    Story* story = TargetStory(GetDataBase(), mItems);
    if (!story) return kInvalidParameterError;
    if (attributes.IsEmpty()) return kSuccess;
    int64 before = story->textModel.GetRevision();
    if (!story->textModel.ApplyAttributes(attributes, index, length)) return kInvalidParameterError;
    NoteEdit(*story, story->textModel.GetParagraphRange(index).start, before);
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
    const int64 before = model.GetRevision();
    model.SetOwnedItem(marker, footnote->GetUID());
    story->frameList.NoteEdit(marker, before, model.GetRevision());
    const int64 threadBefore = model.GetRevision();
    textStoryThread = model.AddThread(TextThread{TextThreadKind::kFootnote, footnote->GetUID()});
    story->frameList.NoteEdit(marker, threadBefore, model.GetRevision());
    uidData = footnote->GetUID();
    return kSuccess;
}
