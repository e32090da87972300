// IMifTableImporter: builds tables of the document from the tables of a MIF file; the content and layout importers call it.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "TesselID.h"

class MifObject;

class IMifTableImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTABLEIMPORTER };

    virtual void SetMifObject(MifObject* mifRoot) = 0;
};
