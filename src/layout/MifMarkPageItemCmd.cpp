#include "layout/MifMarkPageItemCmd.h"

#include "CmdUtils.h"
#include "PageItem.h"

#include "base/MifAssertLog.h"

ErrorCode MifMarkPageItemCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db) return mItems.IsEmpty() ? kSuccess : kInvalidParameterError;
    for (UID uid : mItems.GetUIDs()) {
        PageItem* item = db->Get<PageItem>(uid);
        if (!item) continue;
        if (!boolData) {
            MIF_LOG_NIL(boolData);
            return kInvalidParameterError;
        }
        item->importMark = *boolData;
    }
    return kSuccess;
}

CommandMgr* MifMarkPageItemCmd::GetCommandMgr() const
{
    CommandMgr* mgr = DocCommand::GetCommandMgr();
    return mgr || !mItems.IsEmpty() ? mgr : &GetSessionCommandMgr();
}
