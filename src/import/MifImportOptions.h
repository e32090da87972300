// MifImportOptions: holds the import's copy of the preset.
#pragma once

#include "IMifImportOptions.h"

class MifImportOptions : public IMifImportOptions {
public:
    void SetPreset(const MifPresetRecord& preset) override { mPreset = preset; }
    const MifPresetRecord& GetPreset() const override { return mPreset; }

private:
    MifPresetRecord mPreset;
};
