// IMifXRefImporter: turns the cross-reference formats and cross-references of a MIF file into the document's.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "TesselID.h"

class MifObject;

class IMifXRefImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFXREFIMPORTER };

    virtual void SetRoot(MifObject* mifRoot) = 0;
    // The cross-reference formats of the MIF file become cross-reference formats of the document.
    virtual void ImportXRefFormats() = 0;
};
