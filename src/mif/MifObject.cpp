#include "mif/MifObject.h"

#include <algorithm>

#include "mif/MifFacetList.h"
#include "mif/MifTreeArena.h"

MifObject::~MifObject()
{
    if (!props.InArena()) {
        for (MifProp* prop : props) delete prop;
        return;
    }
    // Props, string heads and bodies in the arena are destroyed, not freed; what they hold on
    // the heap (the characters of long strings, facets) is freed.
    for (MifProp* prop : props) {
        if (!prop) continue;
        if (MifIsStringType(prop->type)) {
            if (prop->value.rawString) prop->value.rawString->~PMString();
        } else if (prop->type == kMifTypeFacets) {
            delete prop->value.facets;
        } else if (prop->type == kMifTypeObject) {
            delete prop->value.object;
        }
    }
}

void MifObject::operator delete(MifObject* object, std::destroying_delete_t)
{
    const uint32_t kind = object->props.mCapacity;
    object->~MifObject();
    if (kind == MifPropList::kInArena) return;
    if (kind == MifPropList::kArenaRoot)
        MifTreeArena::Destroy(MifTreeArena::FromHead(object));
    else
        ::operator delete(object);
}

MifProp* MifObject::GetProp(int32 i) const
{
    if (i < 0 || i >= GetPropCount()) return nullptr;
    return props[static_cast<size_t>(i)];
}

MifPropVal MifObject::GetPropValAt(int32 i) const
{
    MifProp* prop = GetProp(i);
    return prop ? prop->value : MifPropVal();
}

MifProp* MifObject::FindProp(int32 id, bool first) const
{
    if (const MifRootIndex* index = GetRootIndex(); index && index->entries) {
        const MifRootIndex::Entry* end = index->entries + index->count;
        const MifRootIndex::Entry* entry =
            std::lower_bound(index->entries, end, id, [](const MifRootIndex::Entry& e, int32 key) { return e.id < key; });
        if (entry == end || entry->id != id) return nullptr;
        return props[first ? entry->first : entry->last];
    }
    MifProp* found = nullptr;
    for (MifProp* prop : props) {
        if (!prop) break;
        if (prop->id != id) continue;
        if (first) return prop;
        found = prop;
    }
    return found;
}

bool MifObject::GetPropVal(int32 id, MifPropVal& propVal, bool first) const
{
    MifProp* prop = FindProp(id, first);
    if (!prop) return false;
    propVal = prop->value;
    return true;
}

MifObject* MifObject::GetObject(int32 id) const
{
    MifProp* prop = FindProp(id);
    return prop && prop->type == kMifTypeObject ? prop->value.object : nullptr;
}

bool MifObject::GetBool(int32 id) const
{
    MifProp* prop = FindProp(id);
    return prop && prop->type == kMifTypeBool && prop->value.boolean != 0;
}

const PMString* MifObject::GetString(int32 id) const
{
    MifProp* prop = FindProp(id);
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

const MifObject* MifObject::FindObjectWithId(int32 id, int32 value, int32 depth) const
{
    for (MifProp* prop : props) {
        if (!prop) break;
        if (prop->id == id && MifIsIntegerType(prop->type) && prop->value.id == value) return this;
        if (prop->type == kMifTypeObject && depth > 0 && prop->value.object) {
            if (const MifObject* found = prop->value.object->FindObjectWithId(id, value, depth - 1)) return found;
        }
    }
    return nullptr;
}

const MifObject* MifObject::FindObjectWithString(int32 id, const PMString& value, int32 depth) const
{
    for (MifProp* prop : props) {
        if (!prop) break;
        if (prop->id == id && MifIsStringType(prop->type) && prop->value.rawString && *prop->value.rawString == value)
            return this;
        if (prop->type == kMifTypeObject && depth > 0 && prop->value.object) {
            if (const MifObject* found = prop->value.object->FindObjectWithString(id, value, depth - 1)) return found;
        }
    }
    return nullptr;
}

bool MifObject::GetPropValDeep(int32 id, MifPropVal& propVal, bool first, int32 depth) const
{
    if (GetPropVal(id, propVal, first)) return true;
    if (depth <= 0) return false;
    for (MifProp* prop : props) {
        if (!prop) break;
        if (prop->type == kMifTypeObject && prop->value.object &&
            prop->value.object->GetPropValDeep(id, propVal, first, depth - 1))
            return true;
    }
    return false;
}

bool MifObject::GetPropValCascade(int32 id, MifPropVal& propVal, const MifObject* base, const MifObject* middle,
                                  const MifObject* top)
{
    for (const MifObject* object : {top, middle, base})
        if (object && object->GetPropVal(id, propVal, true)) return true;
    return false;
}
