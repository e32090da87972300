#include "content/FontRecord.h"

#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

void FontRecord::Read(const MifObject& font)
{
    auto take = [&](int32 id, PMString& field) {
        const MifProp* prop = font.FindProp(id);
        if (prop && MifIsStringType(prop->type) && prop->value.rawString) field = *prop->value.rawString;
    };
    take(kMifFFamily, family);
    take(kMifFAngle, angle);
    take(kMifFWeight, weight);
    take(kMifFVar, variation);
    take(kMifFPostScriptName, postScriptName);
    MifPropVal propVal;
    if (font.GetPropVal(kMifFSize, propVal)) size = propVal.dim[0];
}
