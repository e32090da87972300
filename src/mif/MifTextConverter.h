// MifTextConverter: turns the raw text of MIF strings into Unicode.
//
// - Escapes: \> \Q \q \t, an escaped blank, the autonumber building blocks \\b (bullet) and \\t
//   (tab), and the byte escape \xNN followed by its blank; any other escaped character vanishes.
// - The 8-bit character sets of files older than MIF 8.0: every character below U+0100 and
//   every escaped byte goes through the table of the encoding (MifEncodingTables); characters
//   above U+00FF are Unicode already and stay.
// - The encoding of a font family: the current preset's font encoding table, then the file's own
//   TQ_EncodingTable, then the installed fonts (symbol fonts are 2, and so Symbol text becomes
//   Greek and mathematical characters); FrameRoman when none knows the family.
//
// The preset in force when the converter first needs it serves for the converter's life (one
// import), as the import's own copy of the preset does; the host is asked once for each family's
// character set, and each file's encoding table is read once.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "mif/IMifTextConverter.h"

class MifTextConverter : public IMifTextConverter {
public:
    void ConvertString(PMString& text, int32 encoding) override;
    void SetPresetEncodings(MifFamilyEncodings::Table encodings) override { mPresetEncodings = std::move(encodings); }
    void ConvertFontString(PMString& text, const PMString& family, const MifObject* mifRoot) override;
    void DecodeEscapes(PMString& text) override;

    // The encoding that ConvertFontString uses for `family`.
    int32 ChooseEncoding(const PMString& family, const MifObject* mifRoot);
    // Makes the converter know these families with their character sets as the installed fonts,
    // and no others (tests stand in fonts of their own).
    void SetInstalledFonts(const std::vector<std::pair<PMString, int32>>& families);

private:
    using FileEncodingTable = std::vector<std::pair<PMString, int32>>;

    // Decodes `text` through `table` (null: escapes only).
    static void Decode(PMString& text, const uint32_t* table);
    // Decodes the escape whose backslash is at `at`; returns the characters it takes.
    static size_t DecodeEscape(const std::u16string& in, size_t at, const uint32_t* table, PMString& out);
    // The character of `byte` in `table`, or the byte itself without one.
    static void AppendByte(uchar byte, const uint32_t* table, PMString& out);
public:
    // The character that FrameMaker's control code `byte` (below 0x20) stands for; 0 for none.
    static UTF16TextChar FrameControlChar(uchar byte);
private:
    bool FindPresetEncoding(const PMString& family, int32& encoding) const;
    bool FindFileEncoding(const PMString& family, const MifObject* mifRoot, int32& encoding);
    int32 GetInstalledEncoding(const PMString& family);

    MifFamilyEncodings::Table mPresetEncodings;  // the import's preset's
    bool mFontsGiven = false;  // SetInstalledFonts stands in for the system's fonts
    std::unordered_map<std::u16string, int32> mInstalledFonts;  // families looked up so far
    std::map<const MifObject*, FileEncodingTable> mFileTables;  // TQ_EncodingTable of each root
};
