#include "MifTableUtils.h"

#include <cmath>

#include "MifKeywords.h"
#include "MifObject.h"

namespace {

// Lengths that no page holds are left out of the sums, so one damaged statement does not make
// the whole table absurd.
constexpr double kMaxLength = 1.0e5;

double Length(const MifProp& prop)
{
    const double value = prop.value.dim[0];
    return std::isfinite(value) && value > 0 && value < kMaxLength ? value : 0;
}

} // namespace

double MifTableUtils::GetTableWidth(const MifObject* tbl) const
{
    if (!tbl) return 0;
    double width = 0;
    for (const MifProp* prop : tbl->props)
        if (prop && prop->id == kMifTblColumnWidth && prop->type == kMifTypeDim) width += Length(*prop);
    return width;
}

double MifTableUtils::GetTableHeight(const MifObject* tbl) const
{
    if (!tbl) return 0;
    double height = 0;
    for (int32 section : {kMifTblH, kMifTblBody, kMifTblF})
        for (const MifObject& mifSection : tbl->Children(section))
            for (const MifObject& row : mifSection.Children(kMifRow))
                if (const MifProp* rowHeight = row.FindProp(kMifRowHeight); rowHeight && rowHeight->type == kMifTypeDim)
                    height += Length(*rowHeight);
    return height;
}
