// MifTableRulings: the rulings and the shading of a table being imported: the rulings of its
// format (body, header and footer rows, columns with their X variants, outer edges), of its cells
// (the heavier of two on a shared edge), the header and footer fill and the body's alternating
// shading. Rulings come from the file's RulingCatalog, or from FrameMaker's default rulings when
// the file has none; a pen of no width is drawn as a hairline, and an edge that no ruling names
// has no stroke.
#pragma once

#include <map>

#include "PMString.h"
#include "TableAttributes.h"
#include "TableGrid.h"
#include "UIDRef.h"

class IPMUnknown;
class MifObject;
class MifTableFormat;
class Table;

class MifTableRulings {
public:
    // `importObject` gives the colour importer; `mifRoot` (may be null) the RulingCatalog; the
    // strokes go on `table`.
    MifTableRulings(const IPMUnknown* importObject, const MifObject* mifRoot, const UIDRef& table);

    // Takes every stroke off the table's edges.
    void ClearRulings();
    void ApplyHeaderFooterFormat(const MifTableFormat& format);
    void ApplyBodyShading(const MifTableFormat& format);
    void ApplyTableRulings(const MifTableFormat& format);
    // The rulings of `cell`, at `row` and `column` and straddling `rows` and `columns`, against
    // those of its neighbours in `cells`.
    void ApplyCellRulings(const MifObject& cell, const std::map<GridAddress, const MifObject*>& cells, int32 row, int32 column,
                          int32 rows, int32 columns);
    // A ruling tag as a stroke on `sides` of the cells it goes to (none: left for the caller).
    CellStrokeRecord RulingToStroke(const PMString& rulingTag, int32 sides = 0) const;
    // A MIF fill pattern as a tint percent.
    static double FillToTint(int32 fill);

private:
    UID ColorOrNone(const MifTableFormat& format, int32 id) const;
    void ApplyStrokes(const GridArea& area, const CellStrokeRecord& stroke) const;
    // The table's model; null (logged) when it has none.
    const Table* Model() const;

    const IPMUnknown* mImportObject;
    const MifObject* mMifRoot;
    UIDRef mTable;
    UID mNoneSwatch = kInvalidUID;
};
