#include "StyleCommands.h"

#include <algorithm>

#include "Document.h"
#include "StyleUtils.h"

namespace {

void ResultIs(UIDList& items, DataBase* db, UID uid)
{
    items = UIDList(db);
    items.Append(uid);
}

} // namespace

ErrorCode CreateStyleCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!TargetsDocument() || styleName.IsEmpty() || StyleUtils::FindStyle(*db, kind, styleName) != kInvalidUID)
        return kInvalidParameterError;
    for (UID ref : {basedOn, nextStyle}) {
        const Style* other = ref == kInvalidUID ? nullptr : db->Get<Style>(ref);
        if (ref != kInvalidUID && (!other || other->kind != kind)) return kInvalidParameterError;
    }
    Style* style = db->Create<Style>();
    style->kind = kind;
    style->name = styleName;
    style->basedOn = basedOn;
    style->nextStyle = nextStyle;
    style->attributes = textAttributes;
    Document* document = db->GetDocument();
    (kind == StyleKind::kParagraph ? document->paragraphStyles : document->characterStyles).push_back(style->GetUID());
    ResultIs(mItems, db, style->GetUID());
    return kSuccess;
}

ErrorCode DeleteStyleCmd::Do()
{
    DataBase* db = GetDataBase();
    const Style* style = db ? db->Get<Style>(uidData) : nullptr;
    if (!TargetsDocument() || !style || style->reserved) return kInvalidParameterError;
    Document* document = db->GetDocument();
    auto& styles = style->kind == StyleKind::kParagraph ? document->paragraphStyles : document->characterStyles;
    styles.erase(std::remove(styles.begin(), styles.end(), uidData), styles.end());
    // Nothing may point at a style that is gone.
    for (UID uid : document->paragraphStyles) {
        Style* other = db->Get<Style>(uid);
        if (!other) continue;
        if (other->basedOn == uidData) other->basedOn = kInvalidUID;
        if (other->nextStyle == uidData) other->nextStyle = kInvalidUID;
        if (const UID* charStyle = other->attributes.Get<UID>(TextAttribute::kNumberingCharStyle); charStyle && *charStyle == uidData)
            other->attributes.ClearAttribute(TextAttribute::kNumberingCharStyle);
    }
    for (UID uid : document->characterStyles)
        if (Style* other = db->Get<Style>(uid); other && other->basedOn == uidData) other->basedOn = kInvalidUID;
    db->Delete(uidData);
    return kSuccess;
}

ErrorCode CreateListStyleCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!TargetsDocument() || listName.IsEmpty() || StyleUtils::FindList(*db, listName) != kInvalidUID)
        return kInvalidParameterError;
    NumberingList* list = db->Create<NumberingList>();
    list->name = listName;
    list->continueAcrossStories = continueAcrossStories;
    list->continueFromPreviousDocument = continueFromPreviousDocument;
    db->GetDocument()->lists.push_back(list->GetUID());
    ResultIs(mItems, db, list->GetUID());
    return kSuccess;
}
