#include "DocCommand.h"

#include "DocumentList.h"

DataBase* DocCommand::GetDataBase() const
{
    DataBase* db = mItems.GetDataBase();
    return db && DocumentList::IsOpen(db) ? db : nullptr;
}

CommandMgr* DocCommand::GetCommandMgr() const
{
    DataBase* db = GetDataBase();
    return db ? &db->GetCommandMgr() : nullptr;
}
