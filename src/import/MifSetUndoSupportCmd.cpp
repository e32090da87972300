#include "import/MifSetUndoSupportCmd.h"

#include "CmdUtils.h"
#include "Document.h"

#include "base/MifAssertLog.h"

CommandMgr* MifSetUndoSupportCmd::GetCommandMgr() const
{
    CommandMgr* mgr = DocCommand::GetCommandMgr();
    return mgr ? mgr : &GetSessionCommandMgr();
}

ErrorCode MifSetUndoSupportCmd::Do()
{
    bool oneDocument = TargetsDocument();
    if (!oneDocument) {
        MIF_LOG_FALSE(oneDocument);
        return kInvalidParameterError;
    }
    CommandMgr& commandMgr = GetDataBase()->GetCommandMgr();
    commandMgr.SetUndoSupport(boolData);
    return kSuccess;
}
