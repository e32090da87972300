#include "PgfRecord.h"

#include "MifObject.h"

void PgfRecord::Read(const MifObject& pgf)
{
    for (const MifProp* prop : pgf.props) {
        if (!prop) break;
        const MifPropVal& value = prop->value;
        bool text = MifIsStringType(prop->type) && value.rawString;
        switch (prop->id) {
        case kMifPgfFIndent: firstIndent = value.dim[0]; break;
        case kMifPgfLIndent: leftIndent = value.dim[0]; break;
        case kMifPgfAutoNum: autoNum = value.boolean != 0; break;
        case kMifPgfNumFormat: if (text) numFormat = *value.rawString; break;
        case kMifPgfNumAtEnd: numAtEnd = value.boolean != 0; break;
        case kMifPgfNumberFont: if (text) numberFont = *value.rawString; break;
        case kMifPgfPlacement: placement = value.keyword; break;
        case kMifPgfPlacementStyle: placementStyle = value.keyword; break;
        case kMifPgfLeading: leading = value.dim[0]; break;
        case kMifPgfTopSeparator: if (text) topSeparator = *value.rawString; break;
        case kMifPgfBotSeparator: if (text) bottomSeparator = *value.rawString; break;
        case kMifPgfSpBefore: spaceBefore = value.dim[0]; break;
        case kMifPgfSpAfter: spaceAfter = value.dim[0]; break;
        case kMifPgfRunInDefaultPunct: if (text) runInDefaultPunct = *value.rawString; break;
        case kMifPgfWithPrev: withPrevious = value.boolean != 0; break;
        case kMifPgfWithNext: withNext = value.boolean != 0; break;
        default: break;
        }
    }
}
