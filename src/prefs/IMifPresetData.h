// IMifPresetData: one preset index, as the preferences dialogs hand it around.
#pragma once

#include "IPMUnknown.h"

#include "base/TesselID.h"

class IMifPresetData : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFPRESETDATA };

    virtual void Set(int32 presetIndex) = 0;
    // The preset index; 0 until Set.
    virtual int32 Get() const = 0;
};
