// IMifSubstData: one font substitution entry, as the preferences dialogs hand it around.
#pragma once

#include "IPMUnknown.h"

#include "base/TesselID.h"
#include "prefs/MifFontKey.h"
#include "prefs/MifIDFont.h"

class IMifSubstData : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFSUBSTDATA };

    virtual void Set(const MifFontKey& frameMakerFont, const MifIDFont& inDesignFont) = 0;
    // The FrameMaker font; all fields empty until Set.
    virtual const MifFontKey& GetFrameMakerFont() const = 0;
    // The InDesign font; empty until Set.
    virtual const MifIDFont& GetInDesignFont() const = 0;
};
