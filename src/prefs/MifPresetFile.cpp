#include "prefs/MifPresetFile.h"

#include <string_view>

#include "AtomicFileWriter.h"
#include "MemoryStreamWrite.h"

MifFileStatus MifPresetFile::Write(const IDFile& file, const std::vector<MifPresetRecord>& presets, int32 current)
{
    // The whole file is made in memory first: a preset that cannot be written leaves no file.
    MemoryStreamWrite stream;
    if (!WriteStream(stream, presets, current)) return MifFileStatus::kCantSave;
    const std::vector<uchar>& bytes = stream.GetBytes();
    std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return AtomicFileWriter::Write(file, data) == kSuccess ? MifFileStatus::kDone : MifFileStatus::kCantSave;
}

MifFileStatus MifPresetFile::Read(const IDFile& file, std::vector<MifPresetRecord>& presets, int32& current)
{
    std::unique_ptr<IPMStream> stream = StreamUtil::CreateFileStreamRead(file);
    if (!stream) return MifFileStatus::kCantOpen;
    return ReadStream(*stream, presets, current);
}

bool MifPresetFile::WriteStream(IPMStream& stream, const std::vector<MifPresetRecord>& presets, int32 current)
{
    int32 magic = kMagic, version = kVersion, count = static_cast<int32>(presets.size());
    if (!stream.XferInt32(magic) || !stream.XferInt32(version) || !stream.XferInt32(count) ||
        !stream.XferInt32(current))
        return false;
    for (const MifPresetRecord& preset : presets) {
        MifPresetRecord copy(preset);  // ReadWrite serves both directions and is not const
        if (copy.ReadWrite(stream) != MifPresetRecord::kStreamDone) return false;
    }
    return stream.GetStreamState() != IPMStream::kStreamStateFailure;
}

MifFileStatus MifPresetFile::ReadStream(IPMStream& stream, std::vector<MifPresetRecord>& presets, int32& current)
{
    int32 magic = 0, version = 0, count = 0, index = 0;
    if (!stream.XferInt32(magic) || magic != kMagic) return MifFileStatus::kNotPresetFile;
    if (!stream.XferInt32(version)) return MifFileStatus::kNotPresetFile;
    if (version != kVersion) return MifFileStatus::kUnknownVersion;
    if (!stream.XferInt32(count) || !stream.XferInt32(index) || count <= 0) return MifFileStatus::kNotPresetFile;

    std::vector<MifPresetRecord> read;
    for (int32 i = 0; i < count; ++i) {
        MifPresetRecord preset;
        // A record of another form cannot be skipped (it has no length), so the file is refused
        // rather than taken in part: the user's presets are not replaced by a part of the file.
        if (preset.ReadWrite(stream) != MifPresetRecord::kStreamDone) return MifFileStatus::kNotPresetFile;
        read.push_back(std::move(preset));
    }
    presets = std::move(read);
    current = index >= 0 && index < count ? index : 0;
    return MifFileStatus::kDone;
}
