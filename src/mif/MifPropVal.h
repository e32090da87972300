// MifPropVal: the value of one MIF statement, read according to its MifValueType.
//
// A plain union: copies share the pointers, and only the MifProp that holds the original owns
// what they point to.
#pragma once

#include "PMString.h"
#include "PMTypes.h"

class MifFacetList;
class MifObject;

union MifPropVal {
    PMString* rawString;  // string kinds 1, 3, 4
    PMString* tagString;  // kind 2 (same slot as rawString)
    int32 boolean;        // 0 or 1
    int32 id;             // integers and identifiers
    int32 keyword;        // keyword id of the value word, -1 when unknown
    double number;        // numbers, angles and percentages as written
    double dim[4];        // lengths in points
    MifFacetList* facets; // inset facets
    MifObject* object;    // child statements

    MifPropVal() : dim{0, 0, 0, 0} {}
};

static_assert(sizeof(MifPropVal) == 32, "a MIF value is four doubles wide");
