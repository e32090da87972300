#include "TextWrap.h"

#include <algorithm>
#include <cmath>

#include "DataBase.h"
#include "PageItem.h"
#include "SplineItem.h"
#include "Spread.h"
#include "TextFrame.h"

namespace {

constexpr PMReal kEpsilon = 1e-8;
// The height of one strip of a contour, points, and the most strips one contour is cut into.
constexpr PMReal kStripHeight = 1;
constexpr int32 kMostStrips = 512;
// The straight pieces one curved segment of a path becomes.
constexpr int32 kCurvePieces = 16;

// The inverse of an affine map; false when it has none.
bool Invert(const PMMatrix& m, PMMatrix& inverse)
{
    PMReal det = m.a * m.d - m.b * m.c;
    if (!std::isfinite(det) || std::abs(det) < 1e-12) return false;
    inverse.a = m.d / det;
    inverse.b = -m.b / det;
    inverse.c = -m.c / det;
    inverse.d = m.a / det;
    inverse.tx = -(inverse.a * m.tx + inverse.c * m.ty);
    inverse.ty = -(inverse.b * m.tx + inverse.d * m.ty);
    return true;
}

bool SamePoint(PMPoint a, PMPoint b) { return a.x == b.x && a.y == b.y; }

// Appends the segment from `from` to `to` without its first point: a corner-to-corner segment as
// its end, a curved one as straight pieces.
void AppendSegment(const PMPathPoint& from, const PMPathPoint& to, std::vector<PMPoint>& out)
{
    if (SamePoint(from.right, from.anchor) && SamePoint(to.left, to.anchor)) {
        out.push_back(to.anchor);
        return;
    }
    const PMPoint p0 = from.anchor, p1 = from.right, p2 = to.left, p3 = to.anchor;
    for (int32 i = 1; i <= kCurvePieces; ++i) {
        PMReal t = PMReal(i) / kCurvePieces, u = 1 - t;
        PMReal w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        out.push_back({w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x, w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y});
    }
}

// The horizontal extent of the segments of `points` within [top, bottom]; false when none reaches
// into it.
bool ExtentWithin(const std::vector<PMPoint>& points, bool open, PMReal top, PMReal bottom, PMReal& xMin, PMReal& xMax)
{
    bool found = false;
    auto take = [&](PMReal x) {
        xMin = found ? std::min(xMin, x) : x;
        xMax = found ? std::max(xMax, x) : x;
        found = true;
    };
    const size_t n = points.size();
    const size_t segments = open ? n - 1 : n;
    if (n == 1 && points[0].y >= top && points[0].y <= bottom) take(points[0].x);
    for (size_t i = 0; n > 1 && i < segments; ++i) {
        PMPoint a = points[i], b = points[(i + 1) % n];
        if (a.y > b.y) std::swap(a, b);
        if (b.y < top || a.y > bottom) continue;
        if (b.y - a.y < kEpsilon) {
            take(a.x);
            take(b.x);
            continue;
        }
        // The part of the segment inside the band: its ends at the clipped heights.
        for (PMReal y : {std::max(a.y, top), std::min(b.y, bottom)}) take(a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y));
    }
    return found;
}

} // namespace

std::vector<PMRect> TextWrap::ContourStrips(const std::vector<PMPoint>& polygon, bool open, const PMRect& margins)
{
    std::vector<PMRect> strips;
    if (polygon.empty()) return strips;
    PMReal yMin = polygon[0].y, yMax = polygon[0].y;
    for (const PMPoint& p : polygon) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return strips;
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
    }
    // A point of the outline at y keeps text off [y - top margin, y + bottom margin].
    const PMReal zoneTop = yMin - margins.top, zoneBottom = yMax + margins.bottom;
    if (!std::isfinite(zoneTop) || !std::isfinite(zoneBottom) || zoneBottom < zoneTop) return strips;
    const PMReal height = zoneBottom - zoneTop;
    const int32 count = height < kEpsilon ? 1 : int32(std::min<PMReal>(kMostStrips, std::ceil(height / kStripHeight)));
    const PMReal step = height < kEpsilon ? 0 : height / count;
    for (int32 i = 0; i < count; ++i) {
        PMReal top = zoneTop + step * i, bottom = i + 1 == count ? zoneBottom : zoneTop + step * (i + 1);
        PMReal xMin = 0, xMax = 0;
        if (!ExtentWithin(polygon, open, top - margins.bottom, bottom + margins.top, xMin, xMax)) continue;
        PMRect strip(xMin - margins.left, top, xMax + margins.right, bottom);
        if (!strips.empty()) {
            PMRect& last = strips.back();
            if (std::abs(last.bottom - strip.top) < kEpsilon && std::abs(last.left - strip.left) < kEpsilon &&
                std::abs(last.right - strip.right) < kEpsilon) {
                last.bottom = strip.bottom;
                continue;
            }
        }
        strips.push_back(strip);
    }
    return strips;
}

std::vector<PMPoint> TextWrap::ContourOf(const PageItem& item, bool& open)
{
    std::vector<PMPoint> outline;
    open = false;
    const GraphicAttributes& g = item.graphics;
    if (g.wrapMode != TextWrapMode::kContour || g.wrapForm == TextWrapForm::kBoundingBox) return outline;
    std::vector<PMPathPoint> path;
    if (const auto* spline = dynamic_cast<const SplineItem*>(&item)) {
        path = spline->GetPathPoints();
        open = spline->IsOpen();
    } else if (dynamic_cast<const TextFrame*>(&item)) {
        const PMRect& b = item.pathBounds;
        path = {PMPathPoint({b.left, b.top}), PMPathPoint({b.left, b.bottom}), PMPathPoint({b.right, b.bottom}),
                PMPathPoint({b.right, b.top})};
    }
    // Groups and anything else: their bounding box.
    if (path.empty()) return outline;
    outline.push_back(path[0].anchor);
    for (size_t i = 1; i < path.size(); ++i) AppendSegment(path[i - 1], path[i], outline);
    if (!open && path.size() > 1) {
        AppendSegment(path.back(), path.front(), outline);
        outline.pop_back();   // the first point again
    }
    for (PMPoint& p : outline) p = item.itemTransform.Transform(p);
    return outline;
}

const std::vector<PMRect>& TextWrap::Of(UID frameUID)
{
    auto [entry, added] = mBoxes.try_emplace(frameUID);
    if (!added) return entry->second;
    std::vector<PMRect>& boxes = entry->second;
    const TextFrame* frame = mDB.Get<TextFrame>(frameUID);
    if (!frame || frame->graphics.ignoreWrap || frame->anchorStory != kInvalidUID) return boxes;
    const Spread* spread = mDB.Get<Spread>(frame->spread);
    PMMatrix toFrame;
    if (!spread || !Invert(frame->itemTransform, toFrame)) return boxes;
    const PMRect& outline = frame->pathBounds;
    auto keep = [&](const PMRect& box) {
        if (!std::isfinite(box.left + box.top + box.right + box.bottom)) return;
        if (box.right <= outline.left || box.left >= outline.right || box.bottom <= outline.top || box.top >= outline.bottom) return;
        boxes.push_back(box);
    };
    for (UID uid : spread->pageItems) {
        const PageItem* item = mDB.Get<PageItem>(uid);
        if (!item || uid == frameUID || item->graphics.wrapMode == TextWrapMode::kNone) continue;
        if (const auto* other = dynamic_cast<const TextFrame*>(item); other && other->story == frame->story) continue;
        const PMRect& m = item->graphics.wrapMargins;
        bool open = false;
        std::vector<PMPoint> contour = ContourOf(*item, open);
        if (!contour.empty()) {
            for (PMPoint& p : contour) p = toFrame.Transform(p);
            for (const PMRect& strip : ContourStrips(contour, open, m)) keep(strip);
            continue;
        }
        PMRect box = item->GetBoundsInSpread();
        box = PMRect(box.left - m.left, box.top - m.top, box.right + m.right, box.bottom + m.bottom);
        keep(toFrame.TransformBounds(box));
    }
    return boxes;
}

bool TextWrap::Narrow(const std::vector<PMRect>& boxes, PMReal top, PMReal bottom, PMReal& left, PMReal& right, PMReal& below)
{
    bool crossed = false;
    PMReal l = left, r = right;
    size_t lowest = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const PMRect& box = boxes[i];
        if (box.bottom <= top || box.top >= bottom || box.right <= l || box.left >= r) continue;
        if (!crossed || box.bottom > below) {
            below = box.bottom;
            lowest = i;
        }
        crossed = true;
        // The wider side of the box stays.
        if (box.left - l >= r - box.right) r = std::max(l, box.left);
        else l = std::min(r, box.right);
    }
    if (!crossed) return false;
    // A line that did not fit beside the boxes does not fit beside the strips right below them
    // that leave it no more room: it goes below those as well.
    const PMReal room = r - l;
    for (size_t i = lowest + 1; i < boxes.size(); ++i) {
        const PMRect& box = boxes[i];
        if (std::abs(box.top - below) > 1e-6 || box.right <= left || box.left >= right) break;
        if (std::max(box.left - left, right - box.right) > room + kEpsilon) break;
        below = box.bottom;
    }
    left = l;
    right = r;
    return true;
}
