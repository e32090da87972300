// IMifPrefs: the conversion preferences: the list of presets and the index of the current one.
// It lives on the session workspace ("prefs"), which saves it with the user's settings; every
// import copies the current preset once, GetPreset(GetCurrentPreset()). Change it only through
// MifSetPrefsCmd, so that the change can be undone.
#pragma once

#include <vector>

#include "IPMPersist.h"

#include "base/TesselID.h"
#include "prefs/MifPresetRecord.h"

class IMifPrefs : public IPMPersist {
public:
    enum { kDefaultIID = IID_IMIFPREFS };

    // The number of presets.
    virtual int32 GetPresetCount() const = 0;
    // A copy of the preset at `index`, or of the first when `index` is out of range; when the list
    // is empty a default preset is added first and returned.
    virtual MifPresetRecord GetPreset(int32 index) = 0;
    // Sets the index of the current preset (the state is dirty only when it changes).
    virtual void SetCurrentPreset(int32 index) = 0;
    // The index of the current preset; 0 when made.
    virtual int32 GetCurrentPreset() const = 0;
    // Replaces every preset.
    virtual void SetPresets(const std::vector<MifPresetRecord>& presets) = 0;
    // A copy of every preset.
    virtual std::vector<MifPresetRecord> GetPresets() const = 0;
    // ReadWrite (IPMPersist): the current index as an int32, the preset count as an int32, then
    // each preset in its stream form (MifPresetRecord).
};
