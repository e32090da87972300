#include "mif/MifPropList.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

MifPropList::~MifPropList()
{
    if (!InArena()) delete[] mItems;
}

void MifPropList::push_back(MifProp* prop)
{
    if (InArena()) throw std::logic_error("MifPropList: a parsed tree is not changed");
    if (mSize == mCapacity) {
        if (mSize >= kMaxSize) throw std::length_error("MifPropList: too many statements");
        size_t capacity = std::min<size_t>(std::max<size_t>(size_t(mSize) * 2, 4), kMaxSize);
        auto* items = new MifProp*[capacity];
        if (mSize) std::memcpy(items, mItems, mSize * sizeof(MifProp*));
        delete[] mItems;
        mItems = items;
        mCapacity = static_cast<uint32_t>(capacity);
    }
    mItems[mSize++] = prop;
}

const MifPropList& MifPropList::Empty()
{
    static const MifPropList empty;
    return empty;
}
