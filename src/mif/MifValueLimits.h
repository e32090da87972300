// MifValueLimits: keeps lengths and counts from the MIF within what an InDesign document holds,
// and tells the user of every value it changes.
//
// One range per kind of value, kept here and nowhere else. A value outside its range takes the
// nearest end of it, and the error log gains "Line <n>: <Keyword> out of range (<min> to <max>
// <unit>), set to <value>: <value as read>", the line being that of the statement.
//
//     MifValueLimits limits(importErrors);
//     PMReal size = limits.Clamp(propVal.dim[0], MifValueLimits::kFontSize, *mifFont.FindProp(kMifFSize));
#pragma once

#include "PMTypes.h"

class IMifErrorLog;
class MifProp;

class MifValueLimits {
public:
    enum Kind {
        kPageSide,    // the width or height of a page: 1 to 15552 pt (1/72 in to 216 in)
        kCoordinate,  // a position on a page or spread: -15552 to 15552 pt
        kExtent,      // the width or height of a page item: 0 to 15552 pt
        kGap,         // column gaps, side-head widths and gaps: 0 to 15552 pt
        kFontSize,    // 0.1 to 1296 pt
        kLeading,     // 0 to 5000 pt
        kColumns,     // columns of a text frame: 1 to 40
        kPercent,     // tints and color components: 0 to 100 %
        kPageNumber,  // the number of a section's first page: 1 to 999999
    };

    struct Range {
        double min;
        double max;
        const char* unit;  // "pt", "%" or "" for counts
    };
    static const Range& RangeOf(Kind kind);

    // Reports to `errorLog`; with none, values are still clamped but nobody is told.
    explicit MifValueLimits(IMifErrorLog* errorLog) : mErrorLog(errorLog) {}

    // `value` of the statement `prop` within the range of `kind`; `part` names the value within
    // the statement ("width" of a ShapeRect) and may be null.
    double Clamp(double value, Kind kind, const MifProp& prop, const char* part = nullptr);
    int32 Clamp(int32 value, Kind kind, const MifProp& prop);
    // How many values were changed so far.
    int32 GetClampCount() const { return mClampCount; }

private:
    void Report(double value, double clamped, Kind kind, const MifProp& prop, const char* part);

    IMifErrorLog* mErrorLog;
    int32 mClampCount = 0;
};
