// IMifTableUtils: the size a MIF table asks for before it is built, and the text it holds.
#pragma once

#include "IPMUnknown.h"
#include "PMString.h"
#include "UIDRef.h"

#include "base/TesselID.h"

class MifObject;

class IMifTableUtils : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTABLEUTILS };

    // The sum of the TblColumnWidth statements directly inside `tbl` (0 when there are none).
    virtual double GetTableWidth(const MifObject* tbl) const = 0;
    // The sum of RowHeight over the rows of its TblH, TblBody and TblF.
    virtual double GetTableHeight(const MifObject* tbl) const = 0;
    // Whether the paragraphs of `content` (a CellContent or TblTitleContent) hold any text: a
    // character, a variable or an anchored frame; false for null and for empty paragraphs, which
    // FrameMaker writes in every cell.
    virtual bool HasText(const MifObject* content) const = 0;
    // What is lost when `tbl` is left out, for the error log: its TblID and how many of its cells
    // (the title counts as one) hold text.
    virtual PMString GetLeftOutText(const MifObject* tbl) const = 0;
    // How wide the text of a table cell of `story` (its CellText `cellText`) is as the cell sets it
    // now: from the left of the cell's text area to the end of its widest line, indents and the
    // right indent of that line's paragraph included, in points; 0 for a cell without text.
    virtual double GetCellTextWidth(const UIDRef& story, UID cellText) const = 0;
};
