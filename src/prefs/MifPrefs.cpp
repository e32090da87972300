#include "prefs/MifPrefs.h"

MifPrefs::MifPrefs() : mPresets(1) {}

MifPresetRecord MifPrefs::GetPreset(int32 index)
{
    if (mPresets.empty()) mPresets.emplace_back();
    if (index < 0 || index >= GetPresetCount()) index = 0;
    return mPresets[index];
}

void MifPrefs::SetCurrentPreset(int32 index)
{
    if (index == mCurrentPreset) return;
    PreDirty();
    mCurrentPreset = index;
}

void MifPrefs::SetPresets(const std::vector<MifPresetRecord>& presets)
{
    PreDirty();
    mPresets = presets;
}

void MifPrefs::ReadWrite(IPMStream* stream, ImplementationID)
{
    if (!stream) return;
    if (stream->IsReading())
        Read(*stream);
    else
        Write(*stream);
}

void MifPrefs::Read(IPMStream& stream)
{
    int32 current = 0, count = 0;
    if (!stream.XferInt32(current) || !stream.XferInt32(count) || count < 0) {
        stream.SetStreamState(IPMStream::kStreamStateFailure);
        return;
    }
    mCurrentPreset = current;
    mPresets.clear();
    // Each preset takes at least eight bytes of the stream, so the loop ends with the stream
    // whatever the count claims.
    for (int32 i = 0; i < count; ++i) {
        MifPresetRecord preset;
        MifPresetRecord::StreamResult result = preset.ReadWrite(stream);
        if (result == MifPresetRecord::kStreamFailed) {
            stream.SetStreamState(IPMStream::kStreamStateFailure);
            break;
        }
        if (result == MifPresetRecord::kUnknownFormat) {
            mPresets.emplace_back();
            stream.SetStreamState(IPMStream::kStreamStateFailure);
            break;
        }
        mPresets.push_back(std::move(preset));
    }
    if (mPresets.empty() && stream.GetStreamState() != IPMStream::kStreamStateGood) mPresets.emplace_back();
}

void MifPrefs::Write(IPMStream& stream)
{
    int32 count = GetPresetCount();
    if (!stream.XferInt32(mCurrentPreset) || !stream.XferInt32(count)) return;
    for (MifPresetRecord& preset : mPresets)
        if (preset.ReadWrite(stream) != MifPresetRecord::kStreamDone) {
            stream.SetStreamState(IPMStream::kStreamStateFailure);
            return;
        }
}

PMString MifPrefs::CheckPresetName(const PMString& name, const std::vector<MifPresetRecord>& presets)
{
    PMString reserved("OV#0xB40#kMifCommonPresetNameKey");
    reserved.Translate();
    PMString message;
    // Names are found regardless of case (MifPresetRecord::FindByName): one that differs from a
    // taken name only in case would stand for it.
    if (name.IsEqualNoCase(reserved))
        message = "OV#0xB40#kMifPresetNameReservedKey";
    else if (MifPresetRecord::FindByName(presets, name) >= 0)
        message = "OV#0xB40#kMifPresetNameUsedKey";
    message.Translate();
    return message;
}
