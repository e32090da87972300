#include "PageCommands.h"

#include "DocumentLayout.h"

ErrorCode DeletePageCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.IsEmpty()) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs())
        if (!db->Get<Page>(uid)) return kInvalidParameterError;
    // A document keeps at least one page.
    if (db->GetDocument()->GetPageCount() <= mItems.Length()) return kFailure;
    for (UID uid : mItems.GetUIDs()) DocumentLayout::RemovePage(*db, uid);
    return kSuccess;
}

ErrorCode NewSpreadCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.Length() != 1 || mItems.At(0) != db->GetDocument()->GetUID() || numPages < 1 || numPages > 10)
        return kInvalidParameterError;
    Spread* spread = DocumentLayout::AddSpread(*db, position, numPages);
    mItems = UIDList(db);
    mItems.Append(spread->GetUID());
    return kSuccess;
}

ErrorCode DeleteSpreadCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.IsEmpty()) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs())
        if (!db->Get<Spread>(uid) || db->Get<MasterSpread>(uid)) return kInvalidParameterError;
    for (UID uid : mItems.GetUIDs()) DocumentLayout::RemoveSpread(*db, uid);
    return kSuccess;
}
