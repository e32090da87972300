// IMifTextConverter: turns the text of MIF strings into Unicode: escape sequences, and the 8-bit
// character sets of files older than MIF 8.0.
#pragma once

#include "IPMUnknown.h"
#include "PMString.h"

#include "base/TesselID.h"
#include "mif/MifFamilyEncodings.h"

class MifObject;

class IMifTextConverter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTEXTCONVERTER };

    // Decodes the escapes of `text` and maps every other character through the table of
    // `encoding` (a Windows character-set number or Mac script number; FrameRoman for others).
    virtual void ConvertString(PMString& text, int32 encoding) = 0;
    // The table that ConvertFontString consults first: the import passes its preset's. A family
    // is found as written, else in any letter case; without a table none is found there.
    virtual void SetPresetEncodings(MifFamilyEncodings::Table encodings) = 0;
    // ConvertString with the encoding chosen for the font family `family`: the preset's table,
    // then the file's own encoding table under `mifRoot` (may be null), then the installed fonts.
    virtual void ConvertFontString(PMString& text, const PMString& family, const MifObject* mifRoot) = 0;
    // Decodes the escapes of `text` and keeps every other character.
    virtual void DecodeEscapes(PMString& text) = 0;
};
