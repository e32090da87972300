// MifActionComponent: what the plug-in's actions do. The one menu entry, Edit > Preferences >
// "Tessel...", is always enabled and opens the preferences dialog through the dialog manager; the
// batch conversion action, on no menu, processes MifBatchConvertCmd.
#pragma once

#include "MenuMgr.h"

#include "base/TesselID.h"

// The batch conversion ("Batch Conversion..."), an action on no menu.
constexpr ActionID kMifBatchConvertActionID = kTesselPrefix + 0x20;

class MifActionComponent {
public:
    // The menu that holds the preferences entry.
    static constexpr const char* kPrefsMenuPath = "Main:&Edit:Preferences";

    static void DoAction(ActionID action);
};
