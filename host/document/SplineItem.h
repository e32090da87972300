// SplineItem: a page item drawn by its outline: a rectangle, an oval, a polygon or an open path
// (polyline, line, arc), and the frame that holds a placed image.
#pragma once

#include <vector>

#include "PageItem.h"

enum class SplineKind {
    kRectangle,     // the outline is pathBounds, its corners rounded by the graphics
    kOval,          // the ellipse inscribed in pathBounds
    kPolygon,       // the path points, closed
    kGraphicLine,   // the path points, open
};

class SplineItem : public PageItem {
public:
    SplineKind kind = SplineKind::kRectangle;
    // The path in inner coordinates, for polygons and lines (at least one point); rectangles and
    // ovals take theirs from pathBounds. A point whose directions equal its anchor is a corner.
    std::vector<PMPathPoint> path;
    UID graphic = kInvalidUID;   // the PlacedGraphic shown in the frame; none for none

    bool IsOpen() const { return kind == SplineKind::kGraphicLine; }
    // The outline as path points in inner coordinates, whatever the kind: rectangles left-top,
    // left-bottom, right-bottom, right-top; ovals by four Bézier points from the top clockwise
    // seen on the page (top, right, bottom, left in y-down coordinates).
    std::vector<PMPathPoint> GetPathPoints() const;
    // The bounding box of the anchors and directions of `points`.
    static PMRect BoundsOf(const std::vector<PMPathPoint>& points);
};
