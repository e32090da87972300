// MifObject: the body of one MIF container statement (or of the whole file, the root): its
// child statements in file order. The root owns the whole tree: a tree made by hand holds heap
// allocations, each freed with its owner; a parsed tree lives in an arena that its root owns and
// frees at once (MifTreeArena). Either is freed with `delete root`.
//
// Lookups answer false, null or 0 when a statement is absent, so that callers test once and fall
// back to their default. "First" means the earliest statement in file order.
#pragma once

#include <iterator>
#include <new>

#include "PMString.h"

#include "mif/MifProp.h"
#include "mif/MifPropList.h"

class MifObject;

// The bodies of the container statements of one keyword directly inside an object, in file order,
// as a range for a range-based for: `for (const MifObject& mifPage : mifRoot.Children(kMifPage))`.
// Statements of that keyword that are no containers (or have no body) are passed over.
class MifChildren {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = MifObject;
        using difference_type = std::ptrdiff_t;
        using pointer = const MifObject*;
        using reference = const MifObject&;

        iterator() = default;
        iterator(MifProp* const* at, MifProp* const* end, int32 id) : mAt(at), mEnd(end), mId(id) { Settle(); }
        reference operator*() const { return *(*mAt)->value.object; }
        pointer operator->() const { return (*mAt)->value.object; }
        iterator& operator++()
        {
            ++mAt;
            Settle();
            return *this;
        }
        iterator operator++(int)
        {
            iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const iterator& a, const iterator& b) { return a.mAt == b.mAt; }

    private:
        // Moves to the next matching statement; a null slot ends the list, as in every lookup.
        void Settle()
        {
            for (; mAt != mEnd; ++mAt) {
                if (!*mAt) {
                    mAt = mEnd;
                    return;
                }
                if ((*mAt)->id == mId && (*mAt)->type == kMifTypeObject && (*mAt)->value.object) return;
            }
        }

        MifProp* const* mAt = nullptr;
        MifProp* const* mEnd = nullptr;
        int32 mId = 0;
    };

    MifChildren(const MifPropList& props, int32 id) : mBegin(props.begin()), mEnd(props.end()), mId(id) {}
    iterator begin() const { return iterator(mBegin, mEnd, mId); }
    iterator end() const { return iterator(mEnd, mEnd, mId); }
    bool empty() const { return begin() == end(); }

private:
    MifProp* const* mBegin;
    MifProp* const* mEnd;
    int32 mId;
};

// Where the statements of each keyword stand among a parsed root's: the root of a long file holds
// a statement per page, and the importers ask it for its catalogs per table, cell and font. It
// lives in the arena right after the root; a root made by hand has none and is searched in order.
struct MifRootIndex {
    struct Entry {
        int32 id;
        uint32 first;  // the positions of the first and last statement `id` in the root's props
        uint32 last;
    };
    const Entry* entries = nullptr;  // by id; null until the root's props are set
    uint32 count = 0;
};

class MifObject {
public:
    MifObject(int32 id, int32 line) : id(id), line(line) {}
    ~MifObject();
    MifObject(const MifObject&) = delete;
    MifObject& operator=(const MifObject&) = delete;
    // `delete` frees an object made with new, and a parsed tree's root with its whole arena; a
    // body inside a parsed tree is only destroyed, its memory going with the arena.
    static void operator delete(MifObject* object, std::destroying_delete_t);

    // Takes ownership of `prop`, made with new (for trees made by hand; a parsed tree is not changed).
    void AddProp(MifProp* prop) { props.push_back(prop); }

    int32 GetPropCount() const { return static_cast<int32>(props.size()); }
    // The i-th child statement; null when out of range.
    MifProp* GetProp(int32 i) const;
    // A copy of the i-th value; all zero when out of range.
    MifPropVal GetPropValAt(int32 i) const;
    // The first (or, with first false, the last) statement with keyword `id`; null if none.
    MifProp* FindProp(int32 id, bool first = true) const;
    // Copies the value of the matching statement into `propVal`; false if none.
    bool GetPropVal(int32 id, MifPropVal& propVal, bool first = true) const;
    // The body of the first container statement `id`; null when absent or not a container.
    MifObject* GetObject(int32 id) const;
    // The bodies of every container statement `id` directly inside this one, in file order.
    MifChildren Children(int32 id) const { return MifChildren(props, id); }
    // The first statement `id` as a boolean; false when absent or not a Yes/No statement.
    bool GetBool(int32 id) const;
    // The text of the first statement `id`; null when absent, not a string or without text.
    const PMString* GetString(int32 id) const;
    // The object that directly holds an integer or ID statement `id` with the value `value`,
    // searching container statements `depth` levels down, in file order; null if none.
    const MifObject* FindObjectWithId(int32 id, int32 value, int32 depth) const;
    // The same, for a statement whose string value equals `value`.
    const MifObject* FindObjectWithString(int32 id, const PMString& value, int32 depth) const;
    // GetPropVal here, else in each container statement in order, `depth` levels down.
    bool GetPropValDeep(int32 id, MifPropVal& propVal, bool first, int32 depth) const;
    // Resolves `id` through a local override, a format and a catalog default: looks in `top`, then
    // `middle`, then `base` (null objects are passed over); false if none holds it.
    static bool GetPropValCascade(int32 id, MifPropVal& propVal, const MifObject* base, const MifObject* middle,
                                  const MifObject* top);

    // The index of a parsed root, which stands right after it in its arena; null for any other.
    const MifRootIndex* GetRootIndex() const
    {
        return props.mCapacity == MifPropList::kArenaRoot ? reinterpret_cast<const MifRootIndex*>(this + 1) : nullptr;
    }
    int32 id;                     // keyword of the container statement; 0 for the root
    int32 line;                   // line at which the body began
    MifPropList props;            // child statements in file order, owned
};
