// MifPresetData: holds one preset index.
#pragma once

#include "prefs/IMifPresetData.h"

class MifPresetData : public IMifPresetData {
public:
    void Set(int32 presetIndex) override { mPresetIndex = presetIndex; }
    int32 Get() const override { return mPresetIndex; }

private:
    int32 mPresetIndex = 0;
};
