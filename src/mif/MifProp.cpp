#include "mif/MifProp.h"

#include <memory>
#include <vector>

#include "mif/MifFacetList.h"
#include "mif/MifObject.h"

namespace {

// A free-list pool for MifProp: a tree holds millions of them, and a malloc header each would
// cost a third again of their size. Blocks are handed back to the pool, never to the system, so a
// process that parsed a large file keeps that memory for its next parse.
class PropPool {
public:
    void* Allocate()
    {
        if (!mFree) Grow();
        Slot* slot = mFree;
        mFree = slot->next;
        return slot;
    }
    void Free(void* p)
    {
        Slot* slot = static_cast<Slot*>(p);
        slot->next = mFree;
        mFree = slot;
    }

private:
    union Slot {
        Slot* next;
        alignas(MifProp) unsigned char bytes[sizeof(MifProp)];
    };
    static constexpr size_t kSlotsPerBlock = 4096;

    void Grow()
    {
        mBlocks.push_back(std::make_unique<Slot[]>(kSlotsPerBlock));
        Slot* block = mBlocks.back().get();
        for (size_t i = 0; i < kSlotsPerBlock; ++i) {
            block[i].next = mFree;
            mFree = &block[i];
        }
    }

    Slot* mFree = nullptr;
    std::vector<std::unique_ptr<Slot[]>> mBlocks;
};

PropPool& Pool()
{
    // Never destroyed: props may be freed by static destructors after the pool would be gone.
    static PropPool* pool = new PropPool;
    return *pool;
}

} // namespace

void* MifProp::operator new(size_t size)
{
    if (size != sizeof(MifProp)) return ::operator new(size);
    return Pool().Allocate();
}

void MifProp::operator delete(void* p, size_t size)
{
    if (!p) return;
    if (size != sizeof(MifProp)) {
        ::operator delete(p);
        return;
    }
    Pool().Free(p);
}

MifProp::~MifProp()
{
    if (MifIsStringType(type))
        delete value.rawString;
    else if (type == kMifTypeFacets)
        delete value.facets;
    else if (type == kMifTypeObject)
        delete value.object;
}
