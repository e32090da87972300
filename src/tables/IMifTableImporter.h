// IMifTableImporter: builds the table of a MIF Tbl at the text position of its anchor; the
// content importer calls it at each table anchor.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "UIDRef.h"

#include "base/TesselID.h"
#include "tables/TablePlacement.h"

class MifObject;

class IMifTableImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTABLEIMPORTER };

    // The root of the parsed file, for its TblCatalog, RulingCatalog and PgfCatalog.
    virtual void SetMifRoot(MifObject* mifRoot) = 0;
    // Builds the table of `placement.tbl` in `storyRef` at `placement.tableParagraph` (the start of
    // the empty paragraph the caller made for it), with the spacing of the anchoring paragraph that
    // `placement` carries, and sets the space before and after it gave the table in `placement`.
    // The table made, or kInvalidUID when the Tbl could not become one (the error log says why).
    virtual UID ImportTable(const UIDRef& storyRef, TablePlacement& placement) = 0;
};
