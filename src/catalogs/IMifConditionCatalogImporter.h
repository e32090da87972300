// IMifConditionCatalogImporter: the place of FrameMaker's conditions in the import. Conditional
// text is imported as ordinary text, so nothing of the condition catalog is converted.
#pragma once

#include "IPMUnknown.h"

#include "base/TesselID.h"

class MifObject;

class IMifConditionCatalogImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFCONDITIONCATALOGIMPORTER };

    // Keeps the root of the statement tree (not owned).
    virtual void SetRoot(MifObject* mifRoot) = 0;
};
