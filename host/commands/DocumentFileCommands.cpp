#include "DocumentFileCommands.h"

#include "CmdUtils.h"
#include "Document.h"
#include "DocumentList.h"
#include "IdmlWriter.h"

ErrorCode SaveDocAsCmd::Do()
{
    if (!TargetsDocument() || file.IsEmpty()) return kInvalidParameterError;
    DataBase* db = GetDataBase();
    ErrorCode result = IdmlWriter::Write(*db, file);
    if (result == kSuccess) db->GetDocument()->name = file.GetFileName();
    return result;
}

ErrorCode CloseDocCmd::Do()
{
    if (!TargetsDocument()) return kInvalidParameterError;
    DataBase* db = GetDataBase();
    mItems = UIDList();
    return DocumentList::Close(db) ? kSuccess : kFailure;
}

CommandMgr* CloseDocCmd::GetCommandMgr() const { return GetDataBase() ? &GetSessionCommandMgr() : nullptr; }
