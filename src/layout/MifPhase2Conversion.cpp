#include "layout/MifPhase2Conversion.h"

#include <memory>

#include "DataBase.h"
#include "IConversionData.h"
#include "InterfacePtr.h"
#include "ISignalMgr.h"
#include "PersistentObject.h"
#include "PersistentObjectCommands.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifImportRecordIDs.h"

void MifPhase2Conversion::Respond(ISignalMgr* signalMgr)
{
    InterfacePtr<IConversionData> phase2(signalMgr, IID_ICONVERSIONDATA);
    if (!phase2) {
        MIF_LOG_NIL(phase2);
        return;
    }
    DataBase* db = phase2->GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    UIDList records(db);
    for (const auto& entry : db->GetObjects())
        if (PersistentObject::ClassOf(*db, entry.first) == kMifImportRecordBoss) records.Append(entry.first);
    if (records.IsEmpty()) return;

    auto deleteUIDsCmd = std::make_shared<DeleteUIDsCmd>();
    if (!MIF_RUN_COMMAND(deleteUIDsCmd, records)) return;
    phase2->ClassRemoved(kMifImportRecordBoss);
    phase2->ImplementationRemoved(kMifSourceFileDataImpl);
    phase2->ImplementationRemoved(kMifPresetNameDataImpl);
    phase2->ImplementationRemoved(kMifPluginVersionDataImpl);
}
