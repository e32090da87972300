// MifArcPath: an elliptical arc as Bézier path points, the way FrameMaker draws an Arc: on the
// ellipse inscribed in its ArcRect, from ArcTheta sweeping ArcDTheta degrees, angles measured
// from 12 o'clock and growing clockwise as seen on the page.
#pragma once

#include <vector>

#include "PMGeometry.h"

class MifArcPath {
public:
    // The arc's path points in the coordinates of `rect` (y down): one Bézier segment for at
    // most every 90 degrees of sweep, the first point at the start angle. A sweep beyond a full
    // turn either way is cut to one turn; a sweep of 0 gives the one point at the start. Angles
    // must be finite.
    static std::vector<PMPathPoint> Build(const PMRect& rect, double thetaDegrees, double sweepDegrees);
    // The point of the ellipse of `rect` at `degrees`.
    static PMPoint PointAt(const PMRect& rect, double degrees);
};
