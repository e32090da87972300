#include "PersistentObjectCommands.h"

#include "Document.h"
#include "ObjectModel.h"
#include "PersistentObject.h"

ErrorCode NewPersistentObjectCmd::Do()
{
    DataBase* db = TargetsDocument() ? GetDataBase() : nullptr;
    if (!db || !ObjectModel::Get().IsClassRegistered(classID)) return kInvalidParameterError;
    PersistentObject* object = db->Create<PersistentObject>(classID);
    mItems = UIDList(db);
    mItems.Append(object->GetUID());
    return kSuccess;
}

void NewPersistentObjectCmd::Undo()
{
    DataBase* db = mItems.GetDataBase();
    if (db && !mItems.IsEmpty()) mUndone = db->Release(mItems.At(0));
}

void NewPersistentObjectCmd::Redo()
{
    DataBase* db = mItems.GetDataBase();
    if (db && mUndone) db->Restore(std::move(mUndone));
}

ErrorCode DeleteUIDsCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db) return mItems.IsEmpty() ? kSuccess : kInvalidParameterError;
    UID documentUID = db->GetDocument()->GetUID();
    for (UID uid : mItems.GetUIDs())
        if (uid == documentUID || !db->ExistsInDB(uid)) return kInvalidParameterError;
    mDeleted.clear();
    for (UID uid : mItems.GetUIDs())
        if (auto object = db->Release(uid)) mDeleted.push_back(std::move(object));
    return kSuccess;
}

void DeleteUIDsCmd::Undo()
{
    DataBase* db = GetDataBase();
    if (!db) return;
    while (!mDeleted.empty()) {
        db->Restore(std::move(mDeleted.back()));
        mDeleted.pop_back();
    }
}
