// MifActionComponent: what the plug-in's menu entries do. The one entry, Edit > Preferences >
// "Tessel...", is always enabled and opens the preferences dialog through the dialog manager.
#pragma once

#include "MenuMgr.h"

class MifActionComponent {
public:
    // The menu that holds the preferences entry.
    static constexpr const char* kPrefsMenuPath = "Main:&Edit:Preferences";

    static void DoAction(ActionID action);
};
