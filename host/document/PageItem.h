// PageItem: an object placed on a spread or master spread: its place (ItemTransform), its outline
// (a rectangle in its own inner coordinates), its layer, how it is painted, and the import mark.
#pragma once

#include <algorithm>

#include "AnchoredObject.h"
#include "DocObject.h"
#include "GraphicAttributes.h"
#include "PMGeometry.h"

class PageItem : public DocObject {
public:
    UID spread = kInvalidUID;   // the spread or master spread whose pageItems list the item
    UID layer = kInvalidUID;    // the document layer; none means the frontmost layer
    // Maps the item's inner coordinates to spread coordinates (origin at the spine, half way
    // down the pages, y down).
    PMMatrix itemTransform;
    // The outline: a rectangle in inner coordinates, path points left-top, left-bottom,
    // right-bottom, right-top.
    PMRect pathBounds;
    // The group that holds the item, whose inner coordinates its transform maps to; none for an
    // item of the spread's own list.
    UID parent = kInvalidUID;
    GraphicAttributes graphics;
    // Set by the importer that made the item; kept in the package, read by nothing else.
    bool importMark = false;
    // The story the item is anchored in (at an anchor character), or none; an anchored item
    // stands on no spread: the composer places it with its anchor, by `anchorSettings`.
    UID anchorStory = kInvalidUID;
    AnchoredObjectSettings anchorSettings;

    // The bounding box of the outline in spread coordinates.
    PMRect GetBoundsInSpread() const { return itemTransform.TransformBounds(pathBounds); }
};
