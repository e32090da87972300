#include "MifLayoutImporter.h"

#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "MifAssertLog.h"
#include "PageCommands.h"
#include "Spread.h"

void MifLayoutImporter::Init(const IDFile& file, MifObject* mifRoot, int32 uiFlags)
{
    mSourceFile = file;
    mMifRoot = mifRoot;
    mUIFlags = uiFlags;
    mTempSpreads = UIDList(GetDataBase());
}

void MifLayoutImporter::CreateTemporarySpread()
{
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    auto newSpreadCmd = std::make_shared<NewSpreadCmd>();
    newSpreadCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
    newSpreadCmd->position = -1;
    newSpreadCmd->numPages = 1;
    if (CmdUtils::ProcessCommand(newSpreadCmd) != kSuccess) {
        MIF_LOG_FAILED(newSpreadCmd);
        return;
    }
    if (mTempSpreads.IsEmpty())
        mTempSpreads = newSpreadCmd->GetItemList();
    else
        mTempSpreads.Append(newSpreadCmd->GetItemList().At(0));
}

int32 MifLayoutImporter::GetTemporaryPageCount() const
{
    DataBase* db = mTempSpreads.GetDataBase();
    int32 count = 0;
    for (UID uid : mTempSpreads.GetUIDs())
        if (const Spread* spread = db ? db->Get<Spread>(uid) : nullptr) count += static_cast<int32>(spread->pages.size());
    return count;
}

void MifLayoutImporter::Finalize()
{
    for (int32 i = 0; i < mTempSpreads.Length(); ++i) {
        auto deleteSpreadCmd = std::make_shared<DeleteSpreadCmd>();
        deleteSpreadCmd->SetItemList(UIDList(mTempSpreads.GetRef(i)));
        deleteSpreadCmd->boolData = false;
        if (CmdUtils::ProcessCommand(deleteSpreadCmd) != kSuccess) MIF_LOG_ERROR(deleteSpreadCmd);
    }
    mTempSpreads.Clear();
}
