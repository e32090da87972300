#include "PageItemCommands.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_set>

#include "Document.h"
#include "GroupItem.h"
#include "Spread.h"
#include "Story.h"
#include "Swatch.h"
#include "TextFrame.h"

namespace {

bool Finite(PMReal value) { return std::isfinite(value); }
bool FiniteMatrix(const PMMatrix& m)
{
    for (PMReal value : {m.a, m.b, m.c, m.d, m.tx, m.ty})
        if (!Finite(value)) return false;
    return true;
}
bool FinitePoint(const PMPoint& p) { return Finite(p.x) && Finite(p.y); }

// The page items of `items`, all of them; empty when any is missing or no page item.
std::vector<PageItem*> ItemsOf(DataBase* db, const UIDList& items)
{
    std::vector<PageItem*> result;
    if (!db || items.IsEmpty()) return result;
    for (UID uid : items.GetUIDs()) {
        PageItem* item = db->Get<PageItem>(uid);
        if (!item) return {};
        result.push_back(item);
    }
    return result;
}

bool IsSwatch(DataBase& db, const std::optional<UID>& swatch) { return !swatch || db.Get<Swatch>(*swatch); }
bool IsPercent(const std::optional<PMReal>& value) { return !value || (Finite(*value) && *value >= 0 && *value <= 100); }
bool IsLength(const std::optional<PMReal>& value) { return !value || (Finite(*value) && *value >= 0); }

} // namespace

ErrorCode CreateSplineCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.Length() != 1) return kInvalidParameterError;
    Spread* spread = db->Get<Spread>(mItems.At(0));
    if (!spread || (layer != kInvalidUID && !db->Get<Layer>(layer)) || !FiniteMatrix(transform)) return kInvalidParameterError;
    PMRect outline = bounds;
    if (kind == SplineKind::kRectangle || kind == SplineKind::kOval) {
        if (!FinitePoint({bounds.left, bounds.top}) || !FinitePoint({bounds.right, bounds.bottom}) || !(bounds.Width() >= 0) ||
            !(bounds.Height() >= 0) || !Finite(bounds.Width()) || !Finite(bounds.Height()))
            return kInvalidParameterError;
    } else {
        if (path.empty()) return kInvalidParameterError;
        for (const PMPathPoint& point : path)
            if (!FinitePoint(point.anchor) || !FinitePoint(point.left) || !FinitePoint(point.right)) return kInvalidParameterError;
        outline = SplineItem::BoundsOf(path);
        if (!Finite(outline.Width()) || !Finite(outline.Height())) return kInvalidParameterError;
    }
    SplineItem* item = db->Create<SplineItem>();
    item->kind = kind;
    item->spread = spread->GetUID();
    item->layer = layer;
    item->itemTransform = transform;
    item->pathBounds = outline;
    if (kind == SplineKind::kPolygon || kind == SplineKind::kGraphicLine) item->path = path;
    spread->pageItems.push_back(item->GetUID());
    mItems = UIDList(db);
    mItems.Append(item->GetUID());
    return kSuccess;
}

ErrorCode GfxApplyMultAttributesCmd::Do()
{
    DataBase* db = GetDataBase();
    std::vector<PageItem*> items = ItemsOf(db, mItems);
    const GraphicAttributeList& a = attributes;
    if (items.empty() || !IsSwatch(*db, a.strokeColor) || !IsSwatch(*db, a.fillColor) || !IsPercent(a.strokeTint) ||
        !IsPercent(a.fillTint) || !IsLength(a.strokeWeight) || !IsLength(a.cornerRadius))
        return kInvalidParameterError;
    for (PageItem* item : items) {
        GraphicAttributes& g = item->graphics;
        if (a.strokeWeight) g.strokeWeight = *a.strokeWeight;
        if (a.solidStroke) g.solidStroke = *a.solidStroke;
        if (a.strokeColor) g.strokeColor = *a.strokeColor;
        if (a.fillColor) g.fillColor = *a.fillColor;
        if (a.strokeTint) g.strokeTint = *a.strokeTint;
        if (a.fillTint) g.fillTint = *a.fillTint;
        if (a.cornerRadius) g.cornerRadius = *a.cornerRadius;
        if (a.roundedCorners) g.roundedCorners = *a.roundedCorners;
        if (a.startLineEnd) g.startLineEnd = *a.startLineEnd;
        if (a.endLineEnd) g.endLineEnd = *a.endLineEnd;
    }
    return kSuccess;
}

ErrorCode StandOffModeCmd::Do()
{
    std::vector<PageItem*> items = ItemsOf(GetDataBase(), mItems);
    if (items.empty() || (mode != TextWrapMode::kNone && mode != TextWrapMode::kBoundingBox && mode != TextWrapMode::kContour))
        return kInvalidParameterError;
    for (PageItem* item : items) item->graphics.wrapMode = mode;
    return kSuccess;
}

ErrorCode StandOffMarginCmd::Do()
{
    std::vector<PageItem*> items = ItemsOf(GetDataBase(), mItems);
    if (items.empty() || !FinitePoint({margins.left, margins.top}) || !FinitePoint({margins.right, margins.bottom}))
        return kInvalidParameterError;
    for (PageItem* item : items) item->graphics.wrapMargins = margins;
    return kSuccess;
}

ErrorCode StandOffFormCmd::Do()
{
    std::vector<PageItem*> items = ItemsOf(GetDataBase(), mItems);
    if (items.empty() || (form != TextWrapForm::kBoundingBox && form != TextWrapForm::kGraphicFrame && form != TextWrapForm::kSameAsClipping))
        return kInvalidParameterError;
    for (PageItem* item : items) item->graphics.wrapForm = form;
    return kSuccess;
}

ErrorCode SetIgnoreWrapCmd::Do()
{
    DataBase* db = GetDataBase();
    std::vector<PageItem*> items = ItemsOf(db, mItems);
    if (items.empty()) return kInvalidParameterError;
    for (PageItem* item : items)
        if (!dynamic_cast<TextFrame*>(item)) return kInvalidParameterError;
    for (PageItem* item : items) item->graphics.ignoreWrap = boolData;
    return kSuccess;
}

ErrorCode GroupCmd::Do()
{
    DataBase* db = GetDataBase();
    std::vector<PageItem*> items = ItemsOf(db, mItems);
    if (items.empty()) return kInvalidParameterError;
    Spread* spread = db->Get<Spread>(items.front()->spread);
    std::unordered_set<UID> members;
    for (PageItem* item : items) {
        // Only items of the spread's own list, each named once, group together.
        if (!spread || item->spread != spread->GetUID() || item->parent != kInvalidUID || !members.insert(item->GetUID()).second)
            return kInvalidParameterError;
    }
    std::vector<UID>& list = spread->pageItems;
    std::vector<UID> children;
    size_t front = 0;
    for (size_t i = 0; i < list.size(); ++i)
        if (members.count(list[i])) {
            children.push_back(list[i]);
            front = i;
        }
    if (children.size() != members.size()) return kInvalidParameterError;
    GroupItem* group = db->Create<GroupItem>();
    group->spread = spread->GetUID();
    group->layer = items.front()->layer;
    group->children = children;
    bool first = true;
    for (UID uid : children) {
        PageItem* child = db->Get<PageItem>(uid);
        child->parent = group->GetUID();
        PMRect box = child->GetBoundsInSpread();
        if (first) group->pathBounds = box;
        first = false;
        group->pathBounds = PMRect(std::min(group->pathBounds.left, box.left), std::min(group->pathBounds.top, box.top),
                                   std::max(group->pathBounds.right, box.right), std::max(group->pathBounds.bottom, box.bottom));
    }
    list[front] = group->GetUID();
    list.erase(std::remove_if(list.begin(), list.end(), [&members](UID uid) { return members.count(uid) != 0; }), list.end());
    mItems = UIDList(db);
    mItems.Append(group->GetUID());
    return kSuccess;
}

PMMatrix TransformPageItemsCmd::RotationAbout(PMPoint pivot, PMReal degrees)
{
    PMReal radians = degrees * std::numbers::pi / 180;
    PMReal cosine = std::cos(radians), sine = std::sin(radians);
    // Counterclockwise on a page whose y grows downwards: (1, 0) turns towards (0, -1).
    PMMatrix rotation{cosine, -sine, sine, cosine, 0, 0};
    return PMMatrix::Translation(-pivot.x, -pivot.y).Then(rotation).Then(PMMatrix::Translation(pivot.x, pivot.y));
}

ErrorCode TransformPageItemsCmd::Do()
{
    std::vector<PageItem*> items = ItemsOf(GetDataBase(), mItems);
    PMReal determinant = transform.a * transform.d - transform.b * transform.c;
    if (items.empty() || !FiniteMatrix(transform) || !(std::abs(determinant) > 1e-12)) return kInvalidParameterError;
    for (PageItem* item : items) {
        PMMatrix result = item->itemTransform.Then(transform);
        if (!FiniteMatrix(result)) return kInvalidParameterError;
    }
    for (PageItem* item : items) item->itemTransform = item->itemTransform.Then(transform);
    return kSuccess;
}

ErrorCode ResizePageItemCmd::Do()
{
    std::vector<PageItem*> items = ItemsOf(GetDataBase(), mItems);
    auto valid = [](const std::optional<PMReal>& v) { return !v || (Finite(*v) && *v > 0); };
    if (items.empty() || (!width && !height) || !valid(width) || !valid(height)) return kInvalidParameterError;
    for (PageItem* item : items)
        if ((width && !(item->pathBounds.Width() > 0)) || (height && !(item->pathBounds.Height() > 0)) ||
            dynamic_cast<GroupItem*>(item))
            return kInvalidParameterError;
    for (PageItem* item : items) {
        PMRect& b = item->pathBounds;
        PMReal sx = width ? *width / b.Width() : 1, sy = height ? *height / b.Height() : 1;
        if (auto* spline = dynamic_cast<SplineItem*>(item)) {
            auto scale = [&](PMPoint& p) { p = {b.left + (p.x - b.left) * sx, b.top + (p.y - b.top) * sy}; };
            for (PMPathPoint& point : spline->path) {
                scale(point.anchor);
                scale(point.left);
                scale(point.right);
            }
        }
        if (width) b.right = b.left + *width;
        if (height) b.bottom = b.top + *height;
        // A text frame of another size holds other lines: its story is composed anew.
        if (auto* frame = dynamic_cast<TextFrame*>(item))
            if (Story* story = GetDataBase()->Get<Story>(frame->story)) story->frameList.Reset();
        // A text frame of another size lays its text out anew.
        if (auto* frame = dynamic_cast<TextFrame*>(item))
            if (Story* story = GetDataBase()->Get<Story>(frame->story)) story->frameList.Reset();
    }
    return kSuccess;
}
