// IMifImportOptions: the copy of the current preset that one import reads its choices from. The
// import driver fills it when the document is made, so that changing the preferences during an
// import has no effect on it.
#pragma once

#include "IPMUnknown.h"
#include "MifPresetRecord.h"
#include "TesselID.h"

class IMifImportOptions : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFIMPORTOPTIONS };

    virtual void SetPreset(const MifPresetRecord& preset) = 0;
    // The preset of the import (a default preset until SetPreset).
    virtual const MifPresetRecord& GetPreset() const = 0;
};
