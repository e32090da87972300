#include "mif/MifTreeBuilder.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <stdexcept>

#include "mif/MifObject.h"
#include "mif/MifTreeArena.h"

MifTreeBuilder::~MifTreeBuilder()
{
    // The root was not handed over: the parse stopped on an exception. The root frees what was
    // added to it, and in an arena the whole arena (the characters of long strings not yet in
    // the tree are lost then).
    delete mRoot;
}

MifObject* MifTreeBuilder::NewRoot(int32 line)
{
    if (!mInArena) {
        mRoot = new MifObject(0, line);
        return mRoot;
    }
    // The root and its index (MifObject::GetRootIndex) make the arena's head.
    static_assert(sizeof(MifObject) % alignof(MifRootIndex) == 0, "the root's index follows it");
    mArena = MifTreeArena::Create(sizeof(MifObject) + sizeof(MifRootIndex));
    if (!mArena) throw std::bad_alloc();
    mRoot = ::new (mArena->GetHead()) MifObject(0, line);
    ::new (mRoot + 1) MifRootIndex();
    mRoot->props.mCapacity = MifPropList::kArenaRoot;
    return mRoot;
}

MifObject* MifTreeBuilder::NewObject(int32 id, int32 line)
{
    if (!mInArena) return new MifObject(id, line);
    MifObject* object = mArena->New<MifObject>(id, line);
    object->props.mCapacity = MifPropList::kInArena;
    return object;
}

MifProp* MifTreeBuilder::NewProp(int32 id, int32 type, const MifPropVal& value, int32 line)
{
    if (!mInArena) return new MifProp(id, type, value, line);
    return mArena->New<MifProp>(id, type, value, line);
}

PMString* MifTreeBuilder::NewString()
{
    if (!mInArena) return new PMString;
    return mArena->New<PMString>();
}

void MifTreeBuilder::SetProps(MifObject& object, MifProp* const* props, size_t count)
{
    if (!mInArena) {
        for (size_t i = 0; i < count; ++i) object.AddProp(props[i]);
        return;
    }
    if (count > MifPropList::kMaxSize) throw std::length_error("MifTreeBuilder: too many statements");
    if (count == 0) return;
    auto** items = static_cast<MifProp**>(mArena->Allocate(count * sizeof(MifProp*)));
    std::memcpy(items, props, count * sizeof(MifProp*));
    object.props.mItems = items;
    object.props.mSize = static_cast<uint32_t>(count);
    if (&object == mRoot) IndexRoot();
}

void MifTreeBuilder::IndexRoot()
{
    // The first and last statement of each keyword, up to a null slot (which ends every lookup).
    std::map<int32, MifRootIndex::Entry> entries;
    for (uint32_t i = 0; i < mRoot->props.size() && mRoot->props[i]; ++i) {
        const int32 id = mRoot->props[i]->id;
        if (auto [it, added] = entries.try_emplace(id, MifRootIndex::Entry{id, i, i}); !added) it->second.last = i;
    }
    auto* kept = static_cast<MifRootIndex::Entry*>(mArena->Allocate(std::max<size_t>(1, entries.size()) * sizeof(MifRootIndex::Entry)));
    size_t n = 0;
    for (const auto& [id, entry] : entries) kept[n++] = entry;
    auto* index = reinterpret_cast<MifRootIndex*>(mRoot + 1);  // placed there by NewRoot
    index->entries = kept;
    index->count = static_cast<uint32>(n);
}

MifObject* MifTreeBuilder::ReleaseRoot()
{
    MifObject* root = mRoot;
    mRoot = nullptr;
    mArena = nullptr;
    return root;
}
