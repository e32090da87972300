// MifProp: one statement inside a container's body: its keyword id, value kind, value, and the
// line at which it ended. It owns what its value points to (string, facets, child object).
#pragma once

#include "mif/MifPropVal.h"
#include "mif/MifValueType.h"

class MifProp {
public:
    MifProp(int32 id, int32 type, const MifPropVal& value, int32 line)
        : id(static_cast<int16>(id)), type(static_cast<int16>(type)), line(line), value(value)
    {
    }
    ~MifProp();
    MifProp(const MifProp&) = delete;
    MifProp& operator=(const MifProp&) = delete;

    // Props made with new are many and small: they come from a shared pool rather than one
    // allocation each. Those of a parsed tree are in its arena.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);

    // Keyword ids are below 1024 and value kinds below 32 (MifKeywordTable): 16 bits each keep
    // a prop at 40 bytes, a tree holds millions of them.
    int16 id;
    int16 type;
    int32 line;
    MifPropVal value;
};

static_assert(sizeof(MifProp) == 40, "a prop is its value and 8 bytes");
