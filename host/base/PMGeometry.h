// Geometry of the host: points, rectangles, path points and affine matrices, all in points.
#pragma once

#include <algorithm>

#include "PMTypes.h"

struct PMPoint {
    PMReal x = 0;
    PMReal y = 0;
    friend bool operator==(const PMPoint&, const PMPoint&) = default;
};

// A rectangle by its edges; y grows downwards.
struct PMRect {
    PMReal left = 0;
    PMReal top = 0;
    PMReal right = 0;
    PMReal bottom = 0;

    PMRect() = default;
    PMRect(PMReal l, PMReal t, PMReal r, PMReal b) : left(l), top(t), right(r), bottom(b) {}
    PMReal Width() const { return right - left; }
    PMReal Height() const { return bottom - top; }
    friend bool operator==(const PMRect&, const PMRect&) = default;
};

// A point of a path with its two direction handles (equal to the anchor for a corner).
struct PMPathPoint {
    PMPoint anchor;
    PMPoint left;
    PMPoint right;
    PMPathPoint() = default;
    explicit PMPathPoint(PMPoint p) : anchor(p), left(p), right(p) {}
};

// The affine map (x, y) -> (a x + c y + tx, b x + d y + ty).
struct PMMatrix {
    PMReal a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    PMPoint Transform(PMPoint p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // The bounding box of the rectangle `r` mapped.
    PMRect TransformBounds(const PMRect& r) const
    {
        const PMPoint corners[4] = {Transform({r.left, r.top}), Transform({r.left, r.bottom}), Transform({r.right, r.bottom}),
                                    Transform({r.right, r.top})};
        PMRect box(corners[0].x, corners[0].y, corners[0].x, corners[0].y);
        for (const PMPoint& p : corners) {
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x);
            box.bottom = std::max(box.bottom, p.y);
        }
        return box;
    }
    // This map followed by `then`.
    PMMatrix Then(const PMMatrix& then) const
    {
        return {a * then.a + b * then.c,  a * then.b + b * then.d,  c * then.a + d * then.c,
                c * then.b + d * then.d,  tx * then.a + ty * then.c + then.tx, tx * then.b + ty * then.d + then.ty};
    }
    static PMMatrix Translation(PMReal x, PMReal y) { return {1, 0, 0, 1, x, y}; }
    friend bool operator==(const PMMatrix&, const PMMatrix&) = default;
};
