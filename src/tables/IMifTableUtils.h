// IMifTableUtils: the size a MIF table asks for before it is built.
#pragma once

#include "IPMUnknown.h"
#include "TesselID.h"

class MifObject;

class IMifTableUtils : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTABLEUTILS };

    // The sum of the TblColumnWidth statements directly inside `tbl` (0 when there are none).
    virtual double GetTableWidth(const MifObject* tbl) const = 0;
    // The sum of RowHeight over the rows of its TblH, TblBody and TblF.
    virtual double GetTableHeight(const MifObject* tbl) const = 0;
};
