// IMifImportOptions: the copy of the current preset that one import reads its choices from. The
// import driver fills it when the document is made, so that changing the preferences during an
// import has no effect on it. Beside the preset it holds what the user asked of this Open (the
// host's OpenOptions).
#pragma once

#include "IPMUnknown.h"

#include "base/TesselID.h"
#include "prefs/MifPresetRecord.h"

class IMifImportOptions : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFIMPORTOPTIONS };

    virtual void SetPreset(const MifPresetRecord& preset) = 0;
    // The preset of the import (a default preset until SetPreset).
    virtual const MifPresetRecord& GetPreset() const = 0;
    // Whether the import adds pages for text that overflows an autoconnected flow, and how many
    // at most for the whole document (true and 10,000 until set).
    virtual void SetPageGrowth(bool addPages, int32 maxAddedPages) = 0;
    virtual bool GetAddPages() const = 0;
    virtual int32 GetMaxAddedPages() const = 0;
    // Whether linked images may be read from anywhere, not only from the MIF file's folder and
    // the image folders (false until set).
    virtual void SetAllowOutsideImages(bool allow) = 0;
    virtual bool GetAllowOutsideImages() const = 0;
};
