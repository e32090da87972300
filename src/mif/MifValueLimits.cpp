#include "mif/MifValueLimits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/IMifErrorLog.h"
#include "mif/MifKeywordTable.h"
#include "mif/MifProp.h"

namespace {

// A value as the report writes it: whole numbers of up to ten digits in full (counts), others
// with up to seven significant digits and no trailing zeros.
std::string Format(double value)
{
    char text[32];
    if (std::fabs(value) < 1e10 && value == std::floor(value))
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

std::string WithUnit(double value, const char* unit)
{
    std::string text = Format(value);
    if (*unit) text += std::string(*unit == '%' ? "" : " ") + unit;
    return text;
}

} // namespace

const MifValueLimits::Range& MifValueLimits::RangeOf(Kind kind)
{
    // InDesign's own bounds: pages from 1 pt to 216 in a side, the pasteboard about as far
    // around them, type from 0.1 to 1296 pt, leading up to 5000 pt, up to 40 columns a frame,
    // page numbers up to 999999.
    static const Range kRanges[] = {
        {1, 15552, "pt"},       // kPageSide
        {-15552, 15552, "pt"},  // kCoordinate
        {0, 15552, "pt"},       // kExtent
        {0, 15552, "pt"},       // kGap
        {0.1, 1296, "pt"},      // kFontSize
        {0, 5000, "pt"},        // kLeading
        {1, 40, ""},            // kColumns
        {0, 100, "%"},          // kPercent
        {1, 999999, ""},        // kPageNumber
    };
    return kRanges[kind];
}

double MifValueLimits::Clamp(double value, Kind kind, const MifProp& prop, const char* part)
{
    const Range& range = RangeOf(kind);
    // A value that is no number at all counts as the lower end.
    double clamped = std::isnan(value) ? range.min : std::clamp(value, range.min, range.max);
    // Values a rounding error outside a bound are no news.
    if (std::fabs(clamped - value) > 1e-8 || std::isnan(value)) Report(value, clamped, kind, prop, part);
    return clamped;
}

int32 MifValueLimits::Clamp(int32 value, Kind kind, const MifProp& prop)
{
    const Range& range = RangeOf(kind);
    int32 clamped = std::clamp(value, static_cast<int32>(range.min), static_cast<int32>(range.max));
    if (clamped != value) Report(value, clamped, kind, prop, nullptr);
    return clamped;
}

void MifValueLimits::Report(double value, double clamped, Kind kind, const MifProp& prop, const char* part)
{
    ++mClampCount;
    if (!mErrorLog) return;
    const Range& range = RangeOf(kind);
    const char* keyword = MifKeywordTable::GetName(prop.id, prop.type);
    std::string message = keyword ? keyword : "Value";
    if (part) message += std::string(" ") + part;
    message += " out of range (" + Format(range.min) + " to " + WithUnit(range.max, range.unit) + "), set to " +
               WithUnit(clamped, range.unit);
    mErrorLog->AddParseError(prop.line, PMString(message), PMString(WithUnit(value, range.unit)));
}
