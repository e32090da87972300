// Feeds arbitrary bytes to the readers of the preferences dialog's files. The first byte picks
// the reader (a preset file, a font substitution CSV, a font encoding CSV), the rest is the file.
// Any input must end in a status, never a crash, a hang or an allocation beyond the bytes given;
// and what a reader keeps must survive being written and read again unchanged.

#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzSetup.h"
#include "MemoryStreamRead.h"
#include "MemoryStreamWrite.h"

#include "prefs/MifFontTableCsv.h"
#include "prefs/MifPresetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUpFuzzing();
    if (size == 0) return 0;
    const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
    MifPresetRecord preset;
    switch (data[0] % 3) {
    case 0: {
        MemoryStreamRead in(file.data(), file.size());
        std::vector<MifPresetRecord> presets(1);
        int32 current = 0;
        if (MifPresetFile::ReadStream(in, presets, current) != MifFileStatus::kDone) return 0;
        MemoryStreamWrite out;
        if (!MifPresetFile::WriteStream(out, presets, current)) std::abort();  // what was read can be written
        MemoryStreamRead again(out.GetBytes().data(), out.GetBytes().size());
        std::vector<MifPresetRecord> reread;
        if (MifPresetFile::ReadStream(again, reread, current) != MifFileStatus::kDone || reread.size() != presets.size())
            std::abort();
        return 0;
    }
    case 1: {
        MifFontTableCsv::AddSubstitutions(file, preset);
        const std::string text = MifFontTableCsv::SubstitutionText(preset);
        MifPresetRecord again;
        MifFontTableCsv::AddSubstitutions(text, again);
        if (MifFontTableCsv::SubstitutionText(again) != text) std::abort();  // written entries read back as they were
        return 0;
    }
    default: {
        MifFontTableCsv::AddEncodings(file, preset);
        const std::string text = MifFontTableCsv::EncodingText(preset);
        MifPresetRecord again;
        MifFontTableCsv::AddEncodings(text, again);
        if (MifFontTableCsv::EncodingText(again) != text) std::abort();
        return 0;
    }
    }
}
