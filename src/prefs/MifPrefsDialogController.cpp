#include "prefs/MifPrefsDialogController.h"

#include "Dialog.h"

#include "base/MifAssertLog.h"
#include "prefs/MifPrefsDialogObserver.h"

namespace {
MifPrefsDialogObserver* ObserverOf(Dialog* dialog)
{
    return dialog ? dynamic_cast<MifPrefsDialogObserver*>(dialog->GetObserver()) : nullptr;
}
} // namespace

void MifPrefsDialogController::InitializeDialogFields()
{
    MifPrefsDialogObserver* observer = ObserverOf(GetDialog());
    if (!observer) {
        MIF_LOG_NIL(observer);
        return;
    }
    observer->FillDialog();
}

void MifPrefsDialogController::ApplyDialogFields()
{
    MifPrefsDialogObserver* observer = ObserverOf(GetDialog());
    if (!observer) {
        MIF_LOG_NIL(observer);
        return;
    }
    bool applied = observer->ApplyPrefs();
    if (!applied) MIF_LOG_FALSE(applied);
}
