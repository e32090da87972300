// IMifColorImporter: turns the color catalog of a MIF file into swatches of the document.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "UIDRef.h"

#include "base/TesselID.h"

class MifObject;

class IMifColorImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFCOLORIMPORTER };

    // Keeps the root of the statement tree (not owned) for the import that follows.
    virtual void SetRoot(MifObject* mifRoot) = 0;
    // The "Importing colors..." phase: the color catalog becomes the document's swatches.
    virtual void Import() = 0;
    // The swatch of a MIF color name; kInvalidUID when the name was never imported, the None
    // swatch when the name is invisible in the document's current view.
    virtual UID GetColorUID(const PMString& name) = 0;
    // A tint of `baseSwatch` at `percent`: an existing one, or a new one; kInvalidUID when the
    // document's swatch list is unavailable.
    virtual UID GetTintUID(const UIDRef& baseSwatch, double percent) = 0;
};
