// MifFontConverter: FrameMaker fonts as InDesign families and styles, through the user's
// substitution tables, the installed fonts (by PostScript name), and the MIF values themselves.
#pragma once

#include <map>

#include "prefs/IMifFontConverter.h"

class MifPresetRecord;

class MifFontConverter : public IMifFontConverter {
public:
    MifFontConverter();

    bool Convert(const MifFontKey& frameFont, const PMString& postScriptName, MifIDFont& designFont) override;
    PMString MakeStyleName(const PMString& angle, const PMString& weight, const PMString& variation) const override;

    // The substitution of `frameFont` in one preset's table, trying the eight keys from the most
    // to the least specific (empty fields in an entry match any value); false when none matches.
    static bool FindSubstitution(const MifPresetRecord& preset, const MifFontKey& frameFont, MifIDFont& designFont);

private:
    std::map<PMString, MifIDFont> mInstalledFonts;  // PostScript name -> family and style
};
