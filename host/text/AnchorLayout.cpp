#include "AnchorLayout.h"

#include <algorithm>
#include <cmath>

#include "DataBase.h"
#include "PageItem.h"
#include "Spread.h"
#include "SpreadLayout.h"
#include "Story.h"
#include "TextFrame.h"
#include "TextModel.h"

namespace {

// How deep anchored frames may stand in one another's stories before the walk up gives up.
constexpr int32 kMaxNesting = 64;

struct ColumnBox {
    PMReal left = 0, right = 0, top = 0, bottom = 0;
};

// Column `column` of `frame`, in its outline coordinates, as the composer lays it out.
ColumnBox ColumnOf(const TextFrame& frame, int32 column)
{
    const PMRect& box = frame.pathBounds;
    PMReal left = box.left + frame.insets.left, right = box.right - frame.insets.right;
    int32 count = std::clamp(frame.columnCount, 1, 1000);
    PMReal gutter = std::max<PMReal>(0, frame.columnGutter);
    PMReal width = (right - left - gutter * (count - 1)) / count;
    column = std::clamp(column, 0, count - 1);
    ColumnBox c;
    c.left = left + column * (width + gutter);
    c.right = c.left + width;
    c.top = box.top + frame.insets.top;
    c.bottom = box.bottom - frame.insets.bottom;
    return c;
}

// The x of the anchor character on its line.
PMReal AnchorX(const ComposedLine& line, int32 index)
{
    for (const GlyphRun& run : line.runs)
        if (index >= run.start && index < run.start + run.length) return run.x;
    return line.left;
}

// The offset of the point `point` in a box of `w` × `h`.
PMPoint PointIn(AnchorPoint point, PMReal w, PMReal h)
{
    int32 p = std::clamp(static_cast<int32>(point), 0, 8);
    return {w * (p % 3) / 2, h * (p / 3) / 2};
}

PMReal Along(PMReal low, PMReal high, int32 where)   // 0 low end, 1 middle, 2 high end
{
    return where == 1 ? (low + high) / 2 : where == 2 ? high : low;
}

// The room an above-line item takes above its line's text.
PMReal AboveRoom(const PageItem& item)
{
    const AnchoredObjectSettings& s = item.anchorSettings;
    return std::max<PMReal>(0, s.spaceAbove) + AnchorLayout::SizeBox(item).Height() + std::max<PMReal>(0, s.yOffset);
}

// Whether `frame` stands on a left page of a facing spread, where spine-relative settings
// mirror. A frame on no page (on the pasteboard, or itself anchored) counts as on a right page.
bool OnLeftPage(const DataBase& db, const TextFrame& frame)
{
    if (frame.anchorStory != kInvalidUID) return false;
    const Page* page = db.Get<Page>(SpreadLayout::GetDrawingPage(db, frame));
    return page && SpreadLayout::IsLeftPage(db, *page);
}

// The settings as they stand on a left page: left and right swapped, so that what stands away
// from the spine on a right page does so on a left page as well.
AnchoredObjectSettings Mirrored(AnchoredObjectSettings s)
{
    if (s.horizontalAlignment == AnchorAlignment::kLeft) s.horizontalAlignment = AnchorAlignment::kRight;
    else if (s.horizontalAlignment == AnchorAlignment::kRight) s.horizontalAlignment = AnchorAlignment::kLeft;
    const int32 point = static_cast<int32>(s.anchorPoint);
    s.anchorPoint = static_cast<AnchorPoint>(point / 3 * 3 + (2 - point % 3));
    s.xOffset = -s.xOffset;
    return s;
}

} // namespace

AnchoredObjectSettings AnchorLayout::SettingsOnPage(const AnchoredObjectSettings& settings, bool leftPage)
{
    return settings.spineRelative && leftPage ? Mirrored(settings) : settings;
}

const PageItem* AnchorLayout::ItemAt(const DataBase& db, const TextModel& model, int32 index)
{
    if (index < 0 || index >= model.TotalLength() || model.GetChar(index) != kTextChar_ObjectReplacement) return nullptr;
    const PageItem* item = db.Get<PageItem>(model.GetOwnedItem(index));
    return item && item->anchorStory != kInvalidUID ? item : nullptr;
}

PMRect AnchorLayout::SizeBox(const PageItem& item)
{
    PMRect box = item.GetBoundsInSpread();
    if (!std::isfinite(box.Width()) || !std::isfinite(box.Height())) return PMRect();
    return box;
}

PMReal AnchorLayout::AdvanceOf(const DataBase& db, const TextModel& model, int32 index)
{
    const PageItem* item = ItemAt(db, model, index);
    if (!item || item->anchorSettings.position != AnchorPosition::kInline) return 0;
    return std::max<PMReal>(0, SizeBox(*item).Width());
}

void AnchorLayout::ReserveSpace(const DataBase& db, const TextModel& model, ComposedLine& line)
{
    model.ForEachOwnedItem(line.start, line.End(), [&](int32 index, UID) {
        const PageItem* item = ItemAt(db, model, index);
        if (!item) return;
        const AnchoredObjectSettings& s = item->anchorSettings;
        if (s.position == AnchorPosition::kInline) {
            PMReal up = std::max<PMReal>(0, SizeBox(*item).Height() + s.yOffset);
            line.ascent = std::max(line.ascent, up);
            line.leading = std::max(line.leading, up + line.descent);
        } else if (s.position == AnchorPosition::kAboveLine) {
            PMReal room = AboveRoom(*item);
            line.ascent += room;
            line.leading += room;
        }
    });
}

void AnchorLayout::PlaceAnchors(const DataBase& db, const TextModel& model, ComposedFrame& frame)
{
    frame.anchors.clear();
    const TextFrame* textFrame = db.Get<TextFrame>(frame.frame);
    if (!textFrame) return;
    const bool leftPage = OnLeftPage(db, *textFrame);
    for (const ComposedLine& line : frame.lines) {
        const ColumnBox col = ColumnOf(*textFrame, line.column);
        PMReal aboveTop = line.baseline - line.ascent;   // where the next above-line item starts
        model.ForEachOwnedItem(line.start, line.End(), [&](int32 index, UID) {
            const PageItem* item = ItemAt(db, model, index);
            if (!item) return;
            const AnchoredObjectSettings s = SettingsOnPage(item->anchorSettings, leftPage);
            const PMRect size = SizeBox(*item);
            const PMReal w = size.Width(), h = size.Height();
            PMReal left = 0, top = 0;
            switch (s.position) {
            case AnchorPosition::kInline:
                left = AnchorX(line, index);
                top = line.baseline - s.yOffset - h;
                break;
            case AnchorPosition::kAboveLine: {
                int32 align = s.horizontalAlignment == AnchorAlignment::kCenter ? 1 : s.horizontalAlignment == AnchorAlignment::kRight ? 2 : 0;
                left = Along(col.left, col.right - w, align);
                top = aboveTop + std::max<PMReal>(0, s.spaceAbove);
                aboveTop += AboveRoom(*item);
                break;
            }
            case AnchorPosition::kAnchored: {
                int32 hAlign = s.horizontalAlignment == AnchorAlignment::kCenter ? 1 : s.horizontalAlignment == AnchorAlignment::kRight ? 2 : 0;
                int32 vAlign = static_cast<int32>(s.verticalAlignment);
                PMReal refX = 0, refY = 0;
                switch (s.horizontalReference) {
                case AnchorHorizontalReference::kAnchorLocation: refX = AnchorX(line, index); break;
                case AnchorHorizontalReference::kColumnEdge: refX = Along(col.left, col.right, hAlign); break;
                default: refX = Along(textFrame->pathBounds.left, textFrame->pathBounds.right, hAlign); break;
                }
                switch (s.verticalReference) {
                case AnchorVerticalReference::kLineBaseline: refY = line.baseline; break;
                case AnchorVerticalReference::kTopOfLeading: refY = line.baseline - line.leading; break;
                case AnchorVerticalReference::kColumnEdge: refY = Along(col.top, col.bottom, vAlign); break;
                default: refY = Along(textFrame->pathBounds.top, textFrame->pathBounds.bottom, vAlign); break;
                }
                PMPoint at = PointIn(s.anchorPoint, w, h);
                left = refX + s.xOffset - at.x;
                top = refY + s.yOffset - at.y;
                break;
            }
            }
            frame.anchors.push_back({index, item->GetUID(), PMRect(left, top, left + w, top + h)});
        });
    }
}

void AnchorLayout::DamageAnchor(DataBase& db, const PageItem& item)
{
    Story* story = db.Get<Story>(item.anchorStory);
    if (!story) return;
    int32 anchor = -1;
    story->textModel.ForEachOwnedItem(0, story->textModel.TotalLength(), [&](int32 index, UID owned) {
        if (owned == item.GetUID() && anchor < 0) anchor = index;
    });
    if (anchor >= 0 && story->frameList.IsComposed()) story->frameList.Damage(anchor);
    else story->frameList.Reset();
}

bool AnchorLayout::PlacedTransform(const DataBase& db, const PageItem& item, PMMatrix& toSpread, UID* spread)
{
    const PageItem* current = &item;
    PMMatrix transform = item.itemTransform;
    for (int32 depth = 0; depth < kMaxNesting; ++depth) {
        if (current->anchorStory == kInvalidUID) {
            toSpread = transform;
            if (spread) *spread = current->spread;
            return current->spread != kInvalidUID;
        }
        const Story* story = db.Get<Story>(current->anchorStory);
        if (!story || !story->frameList.IsComposed()) return false;
        const PlacedAnchor* placed = nullptr;
        const TextFrame* frame = nullptr;
        for (const ComposedFrame& composed : story->frameList.GetFrames()) {
            for (const PlacedAnchor& anchor : composed.anchors)
                if (anchor.item == current->GetUID()) {
                    placed = &anchor;
                    frame = db.Get<TextFrame>(composed.frame);
                    break;
                }
            if (placed) break;
        }
        if (!placed || !frame) return false;
        // The item's box moves onto the place the composer gave it in the frame, and from there
        // with the frame.
        const PMRect box = SizeBox(*current);
        transform = transform.Then(PMMatrix::Translation(placed->bounds.left - box.left, placed->bounds.top - box.top))
                        .Then(frame->itemTransform);
        current = frame;
    }
    return false;
}
