// IMifContentImporter: pours the text flows of a MIF file into the stories of the document, with its styles.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "TesselID.h"
#include "UIDRef.h"

class MifObject;

class IMifContentImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFCONTENTIMPORTER };

    virtual void SetMifObject(MifObject* mifRoot) = 0;
    // The MIF file, for files it refers to.
    virtual void SetSourceFile(const IDFile& file) = 0;
    // The "Importing styles..." phase: paragraph and character formats become styles.
    virtual void ImportStyles() = 0;
    // The "Importing content..." phase: the text flows are poured into the stories.
    virtual void ImportTextFlows() = 0;
    // The style of that name; kInvalidUID when none.
    virtual UID FindParagraphStyle(const PMString& name) const = 0;
    virtual UID FindCharacterStyle(const PMString& name) const = 0;
};
