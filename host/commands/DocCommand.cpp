#include "DocCommand.h"

#include "Document.h"
#include "DocumentList.h"

DataBase* DocCommand::GetDataBase() const
{
    DataBase* db = mItems.GetDataBase();
    return db && DocumentList::IsOpen(db) ? db : nullptr;
}

bool DocCommand::TargetsDocument() const
{
    DataBase* db = GetDataBase();
    return db && mItems.Length() == 1 && mItems.At(0) == db->GetDocument()->GetUID();
}

CommandMgr* DocCommand::GetCommandMgr() const
{
    DataBase* db = GetDataBase();
    return db ? &db->GetCommandMgr() : nullptr;
}
