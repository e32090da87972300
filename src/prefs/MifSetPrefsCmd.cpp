#include "prefs/MifSetPrefsCmd.h"

#include "InterfacePtr.h"
#include "Session.h"

#include "base/MifAssertLog.h"

namespace {

void CopyPrefs(IMifPrefs& from, IMifPrefs& to)
{
    to.SetPresets(from.GetPresets());
    to.SetCurrentPreset(from.GetCurrentPreset());
}

} // namespace

MifSetPrefsCmd::MifSetPrefsCmd() { SetName("OV#0xB40#kMifSetPrefsCmdKey"); }

ErrorCode MifSetPrefsCmd::Do()
{
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (!prefs) {
        MIF_LOG_NIL(prefs);
        return kFailure;
    }
    CopyPrefs(*prefs, mPrevious);
    CopyPrefs(mData, *prefs);
    return kSuccess;
}

void MifSetPrefsCmd::Undo()
{
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (!prefs) {
        MIF_LOG_NIL(prefs);
        return;
    }
    CopyPrefs(mPrevious, *prefs);
}
