#include "plugin/MifActionComponent.h"

#include <memory>

#include "CmdUtils.h"
#include "DialogMgr.h"

#include "base/MifAssertLog.h"
#include "plugin/MifBatchConvertCmd.h"
#include "prefs/MifPrefsDialogIDs.h"

void MifActionComponent::DoAction(ActionID action)
{
    if (action == kMifBatchConvertActionID) {
        CmdUtils::ProcessCommand(std::make_shared<MifBatchConvertCmd>());
        return;
    }
    if (action != kMifPrefsActionID) return;
    std::unique_ptr<Dialog> dialog = DialogMgr::Get().CreateNewDialog(kMifPrefsDialogRsrcID);
    if (!dialog) {
        MIF_LOG_NIL(dialog);
        return;
    }
    dialog->Open();
}
