// MifPresetFile: the preset file ("tqp") that carries every preset of the preferences from one
// installation to another.
//
// Form, in the host stream's 32-bit integers: the magic 0x54517054, the version 0x10000, the
// preset count, the index of the current preset, then each preset in its stream form
// (MifPresetRecord::ReadWrite).
//
// A file is taken whole or not at all. A preset record has no length of its own, so once one
// cannot be read (its magic or version is not this one's, or the file ends inside it) the records
// after it cannot be found either; such a file is refused as not being a preset file, and the
// caller's presets stay as they were. Counts are never trusted for memory: presets are kept as
// they are read, so a count beyond the file ends with the file.
#pragma once

#include <vector>

#include "IDFile.h"
#include "IPMStream.h"

#include "prefs/MifFileStatus.h"
#include "prefs/MifPresetRecord.h"

class MifPresetFile {
public:
    static constexpr int32 kMagic = 0x54517054;
    static constexpr int32 kVersion = 0x10000;

    // Writes the file: kDone, or kCantSave when it could not be written whole (a folder, no
    // permission, a full disk, a preset too large for its stream form). The file is put in place
    // at once (AtomicFileWriter), so a failure leaves any file of that name as it was.
    static MifFileStatus Write(const IDFile& file, const std::vector<MifPresetRecord>& presets, int32 current);
    // Reads the file. On kDone, `presets` and `current` are replaced by the file's (at least one
    // preset was read; a current index outside the file's presets becomes 0). Otherwise they are
    // untouched: kCantOpen (missing, a folder, unreadable), kNotPresetFile (wrong magic, no
    // presets, cut short or damaged), kUnknownVersion (another version of the file).
    static MifFileStatus Read(const IDFile& file, std::vector<MifPresetRecord>& presets, int32& current);

    // The same on streams: false when a transfer failed.
    static bool WriteStream(IPMStream& stream, const std::vector<MifPresetRecord>& presets, int32 current);
    static MifFileStatus ReadStream(IPMStream& stream, std::vector<MifPresetRecord>& presets, int32& current);
};
