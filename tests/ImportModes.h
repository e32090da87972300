// ImportModes: for tests, the companion cross-reference plug-in installed or not, and the
// current preset's variable and cross-reference modes, for the length of a scope.
//
//   XRefPlugInScope installed;            // the plug-in is there until the scope ends
//   PresetModesScope modes(2, 2);         // Use Variables, use cross-references
#pragma once

#include "InterfacePtr.h"
#include "Session.h"
#include "XRefRegistration.h"

#include "prefs/IMifPrefs.h"
#include "prefs/MifPresetRecord.h"

class XRefPlugInScope {
public:
    XRefPlugInScope() { RegisterXRefPlugIn(); }
    ~XRefPlugInScope() { UnregisterXRefPlugIn(); }
    XRefPlugInScope(const XRefPlugInScope&) = delete;
    XRefPlugInScope& operator=(const XRefPlugInScope&) = delete;
};

class PresetModesScope {
public:
    PresetModesScope(int32 variables, int32 crossReferences)
    {
        InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
        if (!prefs) return;
        prefs->GetPreset(0);  // a fresh session makes its default preset on first use
        mSaved = prefs->GetPresets();
        std::vector<MifPresetRecord> presets = mSaved;
        MifPresetRecord& current = presets.at(static_cast<size_t>(prefs->GetCurrentPreset()));
        current.SetVariables(variables);
        current.SetCrossReferences(crossReferences);
        prefs->SetPresets(presets);
    }
    ~PresetModesScope()
    {
        InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
        if (prefs && !mSaved.empty()) prefs->SetPresets(mSaved);
    }
    PresetModesScope(const PresetModesScope&) = delete;
    PresetModesScope& operator=(const PresetModesScope&) = delete;

private:
    std::vector<MifPresetRecord> mSaved;
};
