// MifPrefs: the conversion preferences of the session: presets and the current preset's index.
// A new one holds the default preset, "[Common]".
//
// Reading its saved state replaces the presets with those of the stream. Whatever cannot be
// read keeps its defaults and marks the stream failed, so that the session says so and keeps the
// file: a preset whose magic or version is not this one's stays a default preset, and as the
// presets after it cannot be found, reading stops there; a preset cut short by the end of the
// stream (or by a count or length beyond reason) is dropped with the rest. When nothing at all
// could be read, the default preset stands in.
#pragma once

#include "prefs/IMifPrefs.h"

class MifPrefs : public IMifPrefs {
public:
    MifPrefs();

    int32 GetPresetCount() const override { return static_cast<int32>(mPresets.size()); }
    MifPresetRecord GetPreset(int32 index) override;
    void SetCurrentPreset(int32 index) override;
    int32 GetCurrentPreset() const override { return mCurrentPreset; }
    void SetPresets(const std::vector<MifPresetRecord>& presets) override;
    std::vector<MifPresetRecord> GetPresets() const override { return mPresets; }
    void ReadWrite(IPMStream* stream, ImplementationID implementation) override;

    // The translated message that refuses `name` for a new preset: the reserved "[Common]", or a
    // name that `presets` already holds, either in any case; empty when the name may be used.
    static PMString CheckPresetName(const PMString& name, const std::vector<MifPresetRecord>& presets);

private:
    void Read(IPMStream& stream);
    void Write(IPMStream& stream);

    std::vector<MifPresetRecord> mPresets;
    int32 mCurrentPreset = 0;
};
