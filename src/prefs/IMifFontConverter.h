// IMifFontConverter: a FrameMaker font (family, angle, weight, variation, PostScript name) as
// an InDesign font family and style.
#pragma once

#include "IPMUnknown.h"

#include "base/TesselID.h"
#include "prefs/MifFontKey.h"
#include "prefs/MifIDFont.h"

class IMifFontConverter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFFONTCONVERTER };

    // Fills `designFont` and answers true: from the font substitution tables (the current
    // preset's, then "[Common]"'s), else the installed font of that PostScript name, else the
    // family with a style made of the MIF values. False, `designFont` untouched, when the font has
    // no family and nothing else applies.
    virtual bool Convert(const MifFontKey& frameFont, const PMString& postScriptName, MifIDFont& designFont) = 0;
    // "Bold Italic" from weight, angle and variation, leaving out empty values and "Regular";
    // "Regular" when nothing is left.
    virtual PMString MakeStyleName(const PMString& angle, const PMString& weight, const PMString& variation) const = 0;
};
