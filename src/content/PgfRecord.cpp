#include "content/PgfRecord.h"

#include <cmath>

#include "mif/MifObject.h"

namespace {

// Lengths as the record keeps them: finite, and within what a page can hold (the values of a
// damaged file would otherwise reach the document's spacing and leading).
double Length(double points)
{
    constexpr double kLimit = 15552;
    if (!std::isfinite(points)) return 0;
    return std::fmax(-kLimit, std::fmin(kLimit, points));
}

} // namespace

void PgfRecord::Read(const MifObject& pgf)
{
    for (const MifProp* prop : pgf.props) {
        if (!prop) break;
        const MifPropVal& value = prop->value;
        // A statement whose value is not of its kind (a damaged file) leaves its field alone.
        bool text = MifIsStringType(prop->type) && value.rawString;
        bool length = prop->type == kMifTypeDim;
        bool flag = prop->type == kMifTypeBool;
        bool word = prop->type == kMifTypeKeyword;
        switch (prop->id) {
        case kMifPgfFIndent: if (length) firstIndent = Length(value.dim[0]); break;
        case kMifPgfLIndent: if (length) leftIndent = Length(value.dim[0]); break;
        case kMifPgfAutoNum: if (flag) autoNum = value.boolean != 0; break;
        case kMifPgfNumFormat: if (text) numFormat = *value.rawString; break;
        case kMifPgfNumAtEnd: if (flag) numAtEnd = value.boolean != 0; break;
        case kMifPgfNumberFont: if (text) numberFont = *value.rawString; break;
        case kMifPgfPlacement: if (word) placement = value.keyword; break;
        case kMifPgfPlacementStyle: if (word) placementStyle = value.keyword; break;
        case kMifPgfLeading: if (length) leading = Length(value.dim[0]); break;
        case kMifPgfTopSeparator: if (text) topSeparator = *value.rawString; break;
        case kMifPgfBotSeparator: if (text) bottomSeparator = *value.rawString; break;
        case kMifPgfSpBefore: if (length) spaceBefore = Length(value.dim[0]); break;
        case kMifPgfSpAfter: if (length) spaceAfter = Length(value.dim[0]); break;
        case kMifPgfRunInDefaultPunct: if (text) runInDefaultPunct = *value.rawString; break;
        case kMifPgfWithPrev: if (flag) withPrevious = value.boolean != 0; break;
        case kMifPgfWithNext: if (flag) withNext = value.boolean != 0; break;
        default: break;
        }
    }
}
