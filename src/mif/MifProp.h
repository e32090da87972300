// MifProp: one statement inside a container's body: its keyword id, value kind, value, and the
// line at which it ended. It owns what its value points to (string, facets, child object).
#pragma once

#include "mif/MifPropVal.h"
#include "mif/MifValueType.h"

class MifProp {
public:
    MifProp(int32 id, int32 type, const MifPropVal& value, int32 line) : id(id), type(type), value(value), line(line) {}
    ~MifProp();
    MifProp(const MifProp&) = delete;
    MifProp& operator=(const MifProp&) = delete;

    // Props are many and small: they come from a shared pool rather than one allocation each.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);

    int32 id;
    int32 type;
    MifPropVal value;
    int32 line;
};
