#include "layout/MifArcPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

} // namespace

PMPoint MifArcPath::PointAt(const PMRect& rect, double degrees)
{
    double cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    double rx = rect.Width() / 2, ry = rect.Height() / 2;
    double angle = degrees * kRadiansPerDegree;
    // 0 is at the top; 90 at the right (clockwise on a page whose y grows downwards).
    return {cx + rx * std::sin(angle), cy - ry * std::cos(angle)};
}

std::vector<PMPathPoint> MifArcPath::Build(const PMRect& rect, double thetaDegrees, double sweepDegrees)
{
    // Large angles lose nothing by being taken modulo a turn first.
    double start = std::fmod(thetaDegrees, 360.0);
    double sweep = std::clamp(sweepDegrees, -360.0, 360.0);
    std::vector<PMPathPoint> points;
    points.emplace_back(PointAt(rect, start));
    if (std::abs(sweep) < 1e-8) return points;
    int segments = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / 90.0 - 1e-9)));
    double step = sweep / segments;
    double rx = rect.Width() / 2, ry = rect.Height() / 2;
    // The handle length of a Bézier segment that follows a circular arc of `step`.
    double handle = 4.0 / 3.0 * std::tan(step * kRadiansPerDegree / 4);
    // The derivative of PointAt with respect to the angle (in radians).
    auto tangent = [&](double degrees) {
        double angle = degrees * kRadiansPerDegree;
        return PMPoint{rx * std::cos(angle), ry * std::sin(angle)};
    };
    for (int i = 0; i < segments; ++i) {
        double a = start + step * i, b = a + step;
        PMPoint ta = tangent(a), tb = tangent(b);
        PMPathPoint& from = points.back();
        from.right = {from.anchor.x + handle * ta.x, from.anchor.y + handle * ta.y};
        PMPathPoint to(PointAt(rect, b));
        to.left = {to.anchor.x - handle * tb.x, to.anchor.y - handle * tb.y};
        points.push_back(to);
    }
    return points;
}
