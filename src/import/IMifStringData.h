// IMifStringData: one persistent text on the plug-in's import record (kMifImportRecordBoss),
// reached under one of its three interface identifiers: the MIF file the document was
// imported from (IID_IMIFSOURCEFILEDATA), the preset in force (IID_IMIFPRESETNAMEDATA) and the
// plug-in version that imported it (IID_IMIFPLUGINVERSIONDATA).
#pragma once

#include "IPMPersist.h"
#include "PMString.h"

#include "base/MifImportRecordIDs.h"

class IMifStringData : public IPMPersist {
public:
    enum { kDefaultIID = IID_IMIFSOURCEFILEDATA };

    virtual void Set(const PMString& text) = 0;
    // The text; empty until Set.
    virtual const PMString& Get() const = 0;
};
