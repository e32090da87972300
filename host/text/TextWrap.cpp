#include "TextWrap.h"

#include <algorithm>
#include <cmath>

#include "DataBase.h"
#include "PageItem.h"
#include "Spread.h"
#include "TextFrame.h"

namespace {

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

} // namespace

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
    for (UID uid : spread->pageItems) {
        const PageItem* item = mDB.Get<PageItem>(uid);
        if (!item || uid == frameUID || item->graphics.wrapMode == TextWrapMode::kNone) continue;
        if (const auto* other = dynamic_cast<const TextFrame*>(item); other && other->story == frame->story) continue;
        PMRect box = item->GetBoundsInSpread();
        const PMRect& m = item->graphics.wrapMargins;
        box = PMRect(box.left - m.left, box.top - m.top, box.right + m.right, box.bottom + m.bottom);
        box = toFrame.TransformBounds(box);
        const PMRect& outline = frame->pathBounds;
        if (!std::isfinite(box.left + box.top + box.right + box.bottom)) continue;
        if (box.right <= outline.left || box.left >= outline.right || box.bottom <= outline.top || box.top >= outline.bottom) continue;
        boxes.push_back(box);
    }
    return boxes;
}

bool TextWrap::Narrow(const std::vector<PMRect>& boxes, PMReal top, PMReal bottom, PMReal& left, PMReal& right, PMReal& below)
{
    bool crossed = false;
    PMReal l = left, r = right;
    for (const PMRect& box : boxes) {
        if (box.bottom <= top || box.top >= bottom || box.right <= l || box.left >= r) continue;
        below = crossed ? std::max(below, box.bottom) : box.bottom;
        crossed = true;
        // The wider side of the box stays.
        if (box.left - l >= r - box.right) r = std::max(l, box.left);
        else l = std::min(r, box.right);
    }
    if (crossed) {
        left = l;
        right = r;
    }
    return crossed;
}
