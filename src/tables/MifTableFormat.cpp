#include "tables/MifTableFormat.h"

#include <cmath>

#include "DataBase.h"
#include "Table.h"
#include "UIDRef.h"

#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

const PMString* MifTableFormat::StringOf(const MifProp* prop)
{
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

bool MifTableFormat::IsLength(double value) { return std::isfinite(value) && value > kEpsilon && value < kMaxLength; }

const Table* MifTableFormat::TableOf(const UIDRef& table)
{
    return table.GetDataBase() ? table.GetDataBase()->Get<Table>(table.GetUID()) : nullptr;
}

bool MifTableFormat::IsSection(int32 id) { return id == kMifTblH || id == kMifTblBody || id == kMifTblF; }

PMString MifTableFormat::Number(int32 value)
{
    PMString text;
    text.AppendNumber(value);
    return text;
}

MifTableFormat MifTableFormat::Of(const MifObject& tbl, const MifObject* tblCatalog)
{
    const MifObject* own = tbl.GetObject(kMifTblFormat);
    const PMString* tag = own ? StringOf(own->FindProp(kMifTblTag)) : nullptr;
    if (!tag) tag = StringOf(tbl.FindProp(kMifTblTag));
    return MifTableFormat(own, tag && tblCatalog ? tblCatalog->FindObjectWithString(kMifTblTag, *tag, 1) : nullptr);
}

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
