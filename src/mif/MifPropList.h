// MifPropList: the child statements of a MifObject, in file order, as a compact array of MifProp
// pointers. It reads like the vector it replaces (range-based for, size, [], push_back).
//
// A list either owns its array, which grows on the heap (trees made by hand, and the parser's
// Scan), or points into the arena of a parsed tree, where the array was made once at its final
// size. Which one it is also tells the MifObject how its props are to be freed.
#pragma once

#include <cstddef>
#include <cstdint>

class MifProp;

class MifPropList {
public:
    MifPropList() = default;
    ~MifPropList();
    MifPropList(const MifPropList&) = delete;
    MifPropList& operator=(const MifPropList&) = delete;

    MifProp* const* begin() const { return mItems; }
    MifProp* const* end() const { return mItems + mSize; }
    MifProp* const* data() const { return mItems; }
    size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    MifProp* operator[](size_t i) const { return mItems[i]; }
    // Appends to an owned array (doubling it); throws std::length_error past kMaxSize, and
    // std::logic_error for a list in an arena: a parsed tree is read as it is.
    void push_back(MifProp* prop);

    // An empty list, for code that reads "this object's props or none".
    static const MifPropList& Empty();

    static constexpr size_t kMaxSize = UINT32_C(0x7FFFFFFF);

private:
    friend class MifObject;
    friend class MifTreeBuilder;

    // Values of mCapacity that mark a list whose array is in an arena.
    static constexpr uint32_t kInArena = UINT32_MAX;       // a body inside a parsed tree
    static constexpr uint32_t kArenaRoot = UINT32_MAX - 1; // the root, which owns the arena
    bool InArena() const { return mCapacity >= kArenaRoot; }

    MifProp** mItems = nullptr;
    uint32_t mSize = 0;
    uint32_t mCapacity = 0;  // of an owned array; kInArena or kArenaRoot otherwise
};
