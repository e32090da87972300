// IMifColorImporter: turns the color catalog of a MIF file into swatches of the document.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "TesselID.h"

class MifObject;

class IMifColorImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFCOLORIMPORTER };

    // Keeps the root of the statement tree (not owned) for the import that follows.
    virtual void SetRoot(MifObject* mifRoot) = 0;
    // The "Importing colors..." phase: the color catalog becomes the document's swatches.
    virtual void Import() = 0;
};
