#include "tables/MifTableFormat.h"

#include <cmath>

#include "mif/MifObject.h"

const PMString* MifTableFormat::StringOf(const MifProp* prop)
{
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

bool MifTableFormat::IsLength(double value) { return std::isfinite(value) && value > kEpsilon && value < kMaxLength; }

const MifProp* MifTableFormat::Find(int32 id) const
{
    if (mOwn)
        if (const MifProp* prop = mOwn->FindProp(id)) return prop;
    return mCatalog ? mCatalog->FindProp(id) : nullptr;
}

bool MifTableFormat::GetInt(int32 id, int32& value) const
{
    const MifProp* prop = Find(id);
    if (!prop || !MifIsIntegerType(prop->type)) return false;
    value = prop->value.id;
    return true;
}

bool MifTableFormat::GetDim(int32 id, double& value) const
{
    const MifProp* prop = Find(id);
    if (!prop || MifDimCount(prop->type) < 1) return false;
    value = prop->value.dim[0];
    return std::isfinite(value);
}

const PMString* MifTableFormat::GetString(int32 id) const { return StringOf(Find(id)); }

int32 MifTableFormat::GetKeyword(int32 id) const
{
    const MifProp* prop = Find(id);
    return prop && prop->type == kMifTypeKeyword ? prop->value.keyword : -1;
}
