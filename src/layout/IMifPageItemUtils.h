// IMifPageItemUtils: the changes to page items that the graphics import makes, each through a
// host command. A refused command is written to the diagnostic log and its error code returned
// (the host's global error code is reset afterwards), and the item stays as it was.
#pragma once

#include "GraphicAttributes.h"
#include "IPMUnknown.h"
#include "PMGeometry.h"
#include "UIDRef.h"

#include "base/TesselID.h"

class IMifPageItemUtils : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFPAGEITEMUTILS };

    // Whether the text of the text frame `item` ignores the wrap of other items.
    virtual ErrorCode SetIgnoreWrap(const UIDRef& item, bool ignore) const = 0;
    // How the text of other frames wraps around `item`.
    virtual ErrorCode SetWrapMode(const UIDRef& item, TextWrapMode mode) const = 0;
    // The wrap offsets of `item`, points.
    virtual ErrorCode SetWrapMargins(const UIDRef& item, PMReal left, PMReal top, PMReal right, PMReal bottom) const = 0;
    // What the contour wrap of `item` follows (its bounding box, its own path, ...).
    virtual ErrorCode SetWrapForm(const UIDRef& item, TextWrapForm form) const = 0;
    // The width of the item's outline (points, above 0), its left edge kept.
    virtual ErrorCode SetWidth(const UIDRef& item, PMReal width) const = 0;
    // The width of the item's outline; 0 when there is no such item.
    virtual PMReal GetWidth(const UIDRef& item) const = 0;
    virtual ErrorCode SetHeight(const UIDRef& item, PMReal height) const = 0;
    virtual PMReal GetHeight(const UIDRef& item) const = 0;
    // The bounding box of the item in the coordinates its transform maps to (the spread's or
    // its group's); the empty rectangle when there is no such item.
    virtual PMRect GetBounds(const UIDRef& item) const = 0;
};
