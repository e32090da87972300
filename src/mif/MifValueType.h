// The kinds of value a MIF statement carries; the keyword table gives each keyword its kind, and
// the parser reads the value by it.
#pragma once

#include "PMTypes.h"

enum MifValueType : int32 {
    kMifTypeSkip = -1,      // content skipped; the prop is kept with an all-zero value
    kMifTypeNone = 0,       // no value: words that occur only as values of keyword properties
    kMifTypeString = 1,     // quoted string, decoded
    kMifTypeTag = 2,        // quoted string, decoded; the name of a format or object
    kMifTypeRawString = 3,  // quoted string kept with its escapes, decoded later by font
    kMifTypeString2 = 4,    // as kMifTypeString
    kMifTypeBool = 5,       // Yes / No
    kMifTypeInt = 6,        // integer
    kMifTypeID = 7,         // integer identifier of an object
    kMifTypeDim = 8,        // one length, in points
    kMifTypeNumber = 9,     // real number (angles, versions)
    kMifTypePercent = 10,   // real number written with a trailing %
    kMifTypeInt2 = 11,      // as kMifTypeInt
    kMifTypeSize = 12,      // width, height
    kMifTypeDim2 = 13,      // two lengths
    kMifTypePoint = 14,     // x, y
    kMifTypeMargins = 15,   // left, top, right, bottom
    kMifTypeRect = 16,      // left, top, width, height
    kMifTypeRect2 = 17,     // four lengths
    kMifTypeKeyword = 18,   // a keyword of the table, as its id
    kMifTypeFacets = 19,    // the facets of an inset
    kMifTypeObject = 20,    // child statements
};

// Whether values of `type` are strings owned by their prop.
inline bool MifIsStringType(int32 type) { return type >= kMifTypeString && type <= kMifTypeString2; }
// Whether values of `type` are integers (counts and identifiers).
inline bool MifIsIntegerType(int32 type) { return type == kMifTypeInt || type == kMifTypeID || type == kMifTypeInt2; }
// How many lengths a value of `type` holds (0 for types that are no lengths).
inline int32 MifDimCount(int32 type)
{
    switch (type) {
    case kMifTypeDim: return 1;
    case kMifTypeSize: case kMifTypeDim2: case kMifTypePoint: return 2;
    case kMifTypeMargins: case kMifTypeRect: case kMifTypeRect2: return 4;
    default: return 0;
    }
}
