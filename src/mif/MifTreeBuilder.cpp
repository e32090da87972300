#include "mif/MifTreeBuilder.h"

#include <cstring>
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
    mArena = MifTreeArena::Create(sizeof(MifObject));
    if (!mArena) throw std::bad_alloc();
    mRoot = ::new (mArena->GetHead()) MifObject(0, line);
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
}

MifObject* MifTreeBuilder::ReleaseRoot()
{
    MifObject* root = mRoot;
    mRoot = nullptr;
    mArena = nullptr;
    return root;
}
