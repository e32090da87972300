// IMifLayoutImporter: builds the pages, master spreads, text frames and graphics of the document.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "TesselID.h"

class MifObject;

class IMifLayoutImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFLAYOUTIMPORTER };

    // Keeps the MIF file, the root of the statement tree (not owned) and the user-interface flags
    // of the import call.
    virtual void Init(const IDFile& file, MifObject* mifRoot, int32 uiFlags) = 0;
    // Appends a scratch spread of one page at the end of the document, where anchored frames are
    // assembled; Finalize removes it.
    virtual void CreateTemporarySpread() = 0;
    // The number of pages of the scratch spreads.
    virtual int32 GetTemporaryPageCount() const = 0;
    // The "Importing anchored frames..." phase.
    virtual void ImportAnchoredFrames() = 0;
    // The "Importing layout..." phase: pages, master spreads, text frames and graphics.
    virtual void ImportLayout() = 0;
    // The "Finalizing..." phase: the scratch spreads and temporary files go.
    virtual void Finalize() = 0;
};
