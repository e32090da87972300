// MifTreeBuilder: makes the parts of a statement tree for the parser, in one of two ways.
//
// In an arena (Parse), every object, prop, props array and string head of the tree is carved out
// of a MifTreeArena that the root owns; each body's props array is made once, at its final size,
// when the body is complete. On the heap (Scan, where the visitor frees most statements at once),
// each part is its own allocation, as in a tree made by hand, so that memory follows what is kept.
#pragma once

#include <cstddef>

#include "PMString.h"

#include "mif/MifPropVal.h"

class MifObject;
class MifProp;
class MifTreeArena;

class MifTreeBuilder {
public:
    explicit MifTreeBuilder(bool inArena) : mInArena(inArena) {}
    // Frees the arena of a root that was never handed over.
    ~MifTreeBuilder();
    MifTreeBuilder(const MifTreeBuilder&) = delete;
    MifTreeBuilder& operator=(const MifTreeBuilder&) = delete;

    bool InArena() const { return mInArena; }

    // The root (id 0), made first; in an arena it owns the arena from here on.
    MifObject* NewRoot(int32 line);
    MifObject* NewObject(int32 id, int32 line);
    MifProp* NewProp(int32 id, int32 type, const MifPropVal& value, int32 line);
    PMString* NewString();
    // Gives `object` the `count` props at `props`, in that order (in an arena; on the heap, the
    // parser adds each prop as it comes).
    void SetProps(MifObject& object, MifProp* const* props, size_t count);
    // Hands the root over to the caller, who frees it with `delete`.
    MifObject* ReleaseRoot();

private:
    // Makes the root's index of its statements by keyword, once its props are set.
    void IndexRoot();
    bool mInArena;
    MifTreeArena* mArena = nullptr;
    MifObject* mRoot = nullptr;
};
