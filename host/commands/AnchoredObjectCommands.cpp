#include "AnchoredObjectCommands.h"

#include <algorithm>
#include <cmath>

#include "AnchorLayout.h"
#include "Document.h"
#include "GroupItem.h"
#include "Spread.h"
#include "Story.h"
#include "TextFrame.h"

namespace {

void Erase(std::vector<UID>& list, UID uid) { list.erase(std::remove(list.begin(), list.end(), uid), list.end()); }

bool IsFinite(const AnchoredObjectSettings& s)
{
    return std::isfinite(s.xOffset) && std::isfinite(s.yOffset) && std::isfinite(s.spaceAbove);
}

// Puts the replacement character for `item` at `index` of `story`; false, changing nothing, when
// the index is not in front of the story's end.
bool Anchor(Story& story, int32 index, PageItem& item)
{
    TextModel& model = story.textModel;
    const int64 before = model.GetRevision();
    const char16_t anchor[1] = {kTextChar_ObjectReplacement};
    if (!model.Insert(index, std::u16string_view(anchor, 1))) return false;
    model.SetOwnedItem(index, item.GetUID());
    story.frameList.NoteEdit(index, before, model.GetRevision());
    item.anchorStory = story.GetUID();
    item.spread = kInvalidUID;
    item.parent = kInvalidUID;
    item.layer = kInvalidUID;
    return true;
}

Story* TargetStory(DataBase* db, const UIDList& items)
{
    return db && items.Length() == 1 ? db->Get<Story>(items.At(0)) : nullptr;
}

} // namespace

ErrorCode RemoveFromHierarchyCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.IsEmpty()) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs())
        if (!db->Get<PageItem>(uid)) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs()) {
        PageItem* item = db->Get<PageItem>(uid);
        if (GroupItem* group = db->Get<GroupItem>(item->parent)) {
            Erase(group->children, uid);
            // The item's transform mapped to the group's space: now it maps to the spread's.
            item->itemTransform = item->itemTransform.Then(group->itemTransform);
        }
        if (Spread* spread = db->Get<Spread>(item->spread)) Erase(spread->pageItems, uid);
        item->parent = kInvalidUID;
        item->spread = kInvalidUID;
    }
    return kSuccess;
}

ErrorCode InsertAnchoredObjectCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = TargetStory(db, mItems);
    PageItem* pageItem = db ? db->Get<PageItem>(item) : nullptr;
    if (!story || !pageItem || pageItem->spread != kInvalidUID || pageItem->parent != kInvalidUID ||
        pageItem->anchorStory != kInvalidUID)
        return kInvalidParameterError;
    // A text frame cannot stand in its own story.
    if (auto* frame = dynamic_cast<TextFrame*>(pageItem); frame && frame->story == story->GetUID()) return kInvalidParameterError;
    if (!Anchor(*story, index, *pageItem)) return kInvalidParameterError;
    pageItem->anchorSettings = AnchoredObjectSettings{};
    return kSuccess;
}

ErrorCode ChangeAnchoredObjectDataCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.IsEmpty() || !IsFinite(anchoredObjectData)) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs()) {
        const PageItem* item = db->Get<PageItem>(uid);
        if (!item || !db->Get<Story>(item->anchorStory)) return kInvalidParameterError;
    }
    for (UID uid : mItems.GetUIDs()) {
        PageItem* item = db->Get<PageItem>(uid);
        item->anchorSettings = anchoredObjectData;
        AnchorLayout::DamageAnchor(*db, *item);
    }
    return kSuccess;
}

ErrorCode CreateAnchoredObjectCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = TargetStory(db, mItems);
    if (!story || !std::isfinite(width) || !std::isfinite(height) || !(width > 0) || !(height > 0) || !IsFinite(anchoredObjectData) ||
        rangeData.start < 0 || rangeData.start >= story->textModel.TotalLength())
        return kInvalidParameterError;
    Story* own = db->Create<Story>();
    db->GetDocument()->stories.push_back(own->GetUID());
    TextFrame* frame = db->Create<TextFrame>();
    frame->pathBounds = PMRect(0, 0, width, height);
    frame->story = own->GetUID();
    if (!Anchor(*story, rangeData.start, *frame)) {
        Erase(db->GetDocument()->stories, own->GetUID());
        db->Delete(frame->GetUID());
        db->Delete(own->GetUID());
        return kInvalidParameterError;
    }
    frame->anchorSettings = anchoredObjectData;
    uidData = frame->GetUID();
    mItems = UIDList(db);
    mItems.Append(frame->GetUID());
    return kSuccess;
}
