#include "SplineItem.h"

#include <algorithm>

namespace {

// The distance of a Bézier handle from its anchor, per unit of radius, for a quarter ellipse.
constexpr PMReal kEllipseHandle = 0.5522847498;

PMPathPoint Smooth(PMPoint anchor, PMPoint left, PMPoint right)
{
    PMPathPoint point(anchor);
    point.left = left;
    point.right = right;
    return point;
}

} // namespace

std::vector<PMPathPoint> SplineItem::GetPathPoints() const
{
    const PMRect& b = pathBounds;
    if (kind == SplineKind::kRectangle)
        return {PMPathPoint({b.left, b.top}), PMPathPoint({b.left, b.bottom}), PMPathPoint({b.right, b.bottom}),
                PMPathPoint({b.right, b.top})};
    if (kind == SplineKind::kOval) {
        PMReal cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
        PMReal hx = b.Width() / 2 * kEllipseHandle, hy = b.Height() / 2 * kEllipseHandle;
        // Each point's left direction comes before it along the path, its right one after.
        return {Smooth({cx, b.top}, {cx - hx, b.top}, {cx + hx, b.top}),
                Smooth({b.right, cy}, {b.right, cy - hy}, {b.right, cy + hy}),
                Smooth({cx, b.bottom}, {cx + hx, b.bottom}, {cx - hx, b.bottom}),
                Smooth({b.left, cy}, {b.left, cy + hy}, {b.left, cy - hy})};
    }
    return path;
}

PMRect SplineItem::BoundsOf(const std::vector<PMPathPoint>& points)
{
    if (points.empty()) return PMRect();
    PMRect box(points[0].anchor.x, points[0].anchor.y, points[0].anchor.x, points[0].anchor.y);
    for (const PMPathPoint& point : points)
        for (const PMPoint& p : {point.anchor, point.left, point.right}) {
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x);
            box.bottom = std::max(box.bottom, p.y);
        }
    return box;
}
