#include "MifSetUndoSupportCmd.h"

#include "CmdUtils.h"
#include "Document.h"
#include "MifAssertLog.h"

CommandMgr* MifSetUndoSupportCmd::GetCommandMgr() const
{
    CommandMgr* mgr = DocCommand::GetCommandMgr();
    return mgr ? mgr : &GetSessionCommandMgr();
}

ErrorCode MifSetUndoSupportCmd::Do()
{
    DataBase* db = GetDataBase();
    bool oneDocument = db && mItems.Length() == 1 && mItems.At(0) == db->GetDocument()->GetUID();
    if (!oneDocument) {
        MIF_LOG_FALSE(oneDocument);
        return kInvalidParameterError;
    }
    CommandMgr& commandMgr = db->GetCommandMgr();
    commandMgr.SetUndoSupport(boolData);
    return kSuccess;
}
