// IMifTableImporter: builds the table of a MIF Tbl at the text position of its anchor; the
// content importer calls it at each table anchor.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "UIDRef.h"

#include "base/TesselID.h"

class MifObject;

class IMifTableImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTABLEIMPORTER };

    // The root of the parsed file, for its TblCatalog, RulingCatalog and PgfCatalog.
    virtual void SetMifRoot(MifObject* mifRoot) = 0;
    // Builds the table of `tbl` in `storyRef` at `textIndex` (the start of the empty paragraph the
    // caller made for it). The four lengths come from the anchoring paragraph; the space before
    // and after given to the table are returned through the two out-parameters. The table made,
    // or kInvalidUID when the Tbl could not become one (the error log says why).
    virtual UID ImportTable(const UIDRef& storyRef, int32 textIndex, const MifObject* tbl, double precedingSpace,
                            double extraSpaceBefore, double extraSpaceAfter, double titleGapExtra, double* outSpaceBefore,
                            double* outSpaceAfter) = 0;
};
