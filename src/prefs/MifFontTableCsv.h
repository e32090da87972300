// MifFontTableCsv: the font substitution table and the font encoding table of a preset as
// comma-separated text files, to be moved between installations or edited in a spreadsheet.
//
// Form: one entry per line, no header, no quoting, lines separated by CR LF with none after the
// last, in the system's 8-bit character set (MifWindows1252) without a byte-order mark.
// Substitution lines hold six fields: FrameMaker family, angle, weight, variation, InDesign
// family, InDesign style ("Times,,Bold,,Minion Pro,Bold"); encoding lines two: family and the
// encoding code as a decimal integer ("Arial CE,238").
//
// Reading takes CR, LF and CR LF alike as line ends, and drops empty lines. Items are the text
// between commas, and empty items keep their place. Passed over without a message, as lines that
// carry no entry:
//   - substitution lines without a FrameMaker family (item 1) or an InDesign family (item 5);
//   - encoding lines without a family, or whose item 2 is not a decimal integer;
//   - lines holding a control character (a NUL byte, a tab, ...): no font name has one, and a
//     binary file read by mistake then adds little;
//   - lines longer than kMaxLineLength bytes, or with an item longer than kMaxFieldLength
//     characters: no font name is that long, and the presets must stay small enough to save.
// Items after the last one used are ignored. A file that starts with the UTF-8 byte-order mark
// declares itself UTF-8 and is read as such. Entries are added to the preset's table; an entry
// with the same key replaces the one there (a later line replaces an earlier one).
//
// Writing leaves out the entries that could not be read back as they are: a field with a
// character outside the 8-bit set, a comma or a control character, a field longer than
// kMaxFieldLength, an empty FrameMaker or InDesign family.
#pragma once

#include <string>
#include <string_view>

#include "IDFile.h"

#include "prefs/MifFileStatus.h"
#include "prefs/MifPresetRecord.h"

class MifFontTableCsv {
public:
    static constexpr int32 kMaxFieldLength = 1024;  // characters of one item
    static constexpr int32 kMaxLineLength = 8192;   // bytes of one line

    // The text of the preset's substitution table, in table order; empty for an empty table.
    static std::string SubstitutionText(const MifPresetRecord& preset);
    // The text of the preset's encoding table, in table order; empty for an empty table.
    static std::string EncodingText(const MifPresetRecord& preset);
    // Adds the entries of a substitution text to the preset's table.
    static void AddSubstitutions(std::string_view text, MifPresetRecord& preset);
    // Adds the entries of an encoding text to the preset's table.
    static void AddEncodings(std::string_view text, MifPresetRecord& preset);

    // Writes the text as `file`, in place at once (AtomicFileWriter): kDone, or kCantSave with
    // any file of that name left as it was.
    static MifFileStatus ExportSubstitutions(const IDFile& file, const MifPresetRecord& preset);
    static MifFileStatus ExportEncodings(const IDFile& file, const MifPresetRecord& preset);
    // Reads `file` and adds its entries: kDone, or kCantOpen (missing, a folder, unreadable) with
    // the preset untouched.
    static MifFileStatus ImportSubstitutions(const IDFile& file, MifPresetRecord& preset);
    static MifFileStatus ImportEncodings(const IDFile& file, MifPresetRecord& preset);
};
