#include "layout/MifGraphicImporter.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "DataBase.h"
#include "ErrorUtils.h"
#include "FrameList.h"
#include "ObjectModel.h"
#include "PageItemCommands.h"
#include "Story.h"
#include "SwatchUtils.h"
#include "TextComposer.h"
#include "TextFrame.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "content/IMifContentImporter.h"
#include "layout/IMifLayoutImporter.h"
#include "layout/IMifPageItemUtils.h"
#include "layout/IMifTextFrameUtils.h"
#include "layout/MifArcPath.h"
#include "layout/MifMarkPageItemCmd.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifValueLimits.h"

namespace {

// Frames inside frames deeper than this are not followed: no file FrameMaker writes comes near.
constexpr int32 kMaxFrameDepth = 32;
// The temporary frame a text line is composed in.
constexpr PMReal kTextLineWidth = 1000;
constexpr PMReal kTextLineHeight = 100;
// Added to a text line's width so that the composer's rounding never breaks the line.
constexpr PMReal kTextLineSlack = 0.005;

PMRect BoundingBox(const PMMatrix& matrix, const PMRect& rect)
{
    PMPoint a = matrix.Transform({rect.left, rect.top}), b = matrix.Transform({rect.right, rect.bottom});
    PMPoint c = matrix.Transform({rect.left, rect.bottom}), d = matrix.Transform({rect.right, rect.top});
    return PMRect(std::min({a.x, b.x, c.x, d.x}), std::min({a.y, b.y, c.y, d.y}), std::max({a.x, b.x, c.x, d.x}),
                  std::max({a.y, b.y, c.y, d.y}));
}

PMPathPoint Transformed(const PMMatrix& m, const PMPathPoint& p)
{
    PMPathPoint out(m.Transform(p.anchor));
    out.left = m.Transform(p.left);
    out.right = m.Transform(p.right);
    return out;
}

bool IsShapeKind(int32 kind)
{
    return kind == kMifRectangle || kind == kMifRoundRect || kind == kMifEllipse || kind == kMifPolygon || kind == kMifPolyLine ||
           kind == kMifArc;
}

// Whether a TextLine holds something to show: a Char, or a String with a character other than
// white space.
bool HasVisibleText(const MifObject& mifTextLine)
{
    for (const MifProp* prop : mifTextLine.props) {
        if (!prop) continue;
        if (prop->id == kMifChar) return true;
        if (prop->id == kMifString && MifIsStringType(prop->type) && prop->value.rawString) {
            for (char16_t c : prop->value.rawString->GetUTF16())
                if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != 0xA0) return true;
        }
    }
    return false;
}

} // namespace

void MifGraphicImporter::Init(const Setup& setup)
{
    mSetup = setup;
    DataBase* db = setup.db;
    mState.Init(db ? SwatchUtils::GetNoneSwatch(*db) : kInvalidUID, db ? SwatchUtils::GetBlackSwatch(*db) : kInvalidUID,
                db ? SwatchUtils::GetPaperSwatch(*db) : kInvalidUID, setup.colors, setup.errors);
    mImages.Init(db, setup.errors, setup.mifFile, setup.uiFlags, setup.options);
}

std::vector<UIDRef> MifGraphicImporter::ImportObjects(const MifObject& container, const MifPlacement& placement)
{
    std::vector<UIDRef> made;
    for (const MifProp* prop : container.props) {
        if (!prop || prop->type != kMifTypeObject || !prop->value.object) continue;
        const MifObject& mifObject = *prop->value.object;
        mState.Update(mifObject);
        int32 kind = mifObject.id;
        // An object that shows nothing and pushes no text away is not made.
        if (IsShapeKind(kind) && mState.IsInvisible(mifObject)) continue;
        UIDRef item = ImportObject(mifObject, placement);
        if (!item.ExistsInDB()) continue;
        if (mSetup.itemObjects) (*mSetup.itemObjects)[item.GetUID()] = &mifObject;
        if (kind != kMifTextLine && kind != kMifFrame) ApplyAttributes(item, mifObject);
        made.push_back(item);
        Mark(item);
    }
    RotateItems(made);
    return made;
}

UIDRef MifGraphicImporter::ImportSingleObject(const MifObject& mifObject, const MifPlacement& placement)
{
    mState.Update(mifObject);
    UIDRef item = ImportObject(mifObject, placement);
    if (!item.ExistsInDB()) return UIDRef();
    if (mSetup.itemObjects) (*mSetup.itemObjects)[item.GetUID()] = &mifObject;
    Mark(item);
    RotateItems({item});
    // Only the run-around: the pen and fill of the frame are its own border's, already made, and
    // would repaint the one object of a frame that holds a single one.
    mState.Update(mifObject);
    ApplyRunaround(item);
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return item;
}

UIDRef MifGraphicImporter::ImportObject(const MifObject& mifObject, const MifPlacement& placement)
{
    switch (mifObject.id) {
    case kMifRectangle:
    case kMifRoundRect:
    case kMifEllipse: return MakeShape(mifObject, placement);
    case kMifPolygon:
    case kMifPolyLine: return MakePath(mifObject, placement);
    case kMifArc: return MakeArc(mifObject, placement);
    case kMifTextLine: return MakeTextLine(mifObject, placement);
    case kMifTextRect: return mSetup.makeTextRect ? mSetup.makeTextRect(mifObject, placement) : UIDRef();
    case kMifImportObject: return MakeImage(mifObject, placement);
    case kMifFrame: return MakeFrame(mifObject, placement);
    default: return UIDRef();   // Math, Group and statements of no object kind
    }
}

bool MifGraphicImporter::ShapeOf(const MifObject& mifObject, int32 keyword, PMRect& shape)
{
    const MifProp* rect = mifObject.FindProp(keyword);
    if (!rect || MifDimCount(rect->type) != 4) {
        MifProblemReporter(mSetup.errors)
            .Report({mifObject.line, keyword == kMifArcRect ? "Arc without ArcRect, skipped" : "Object without ShapeRect, skipped", PMString()});
        return false;
    }
    MifValueLimits limits(mSetup.errors);
    const double* dim = rect->value.dim;
    PMReal left = limits.Clamp(dim[0], MifValueLimits::kCoordinate, *rect, "left");
    PMReal top = limits.Clamp(dim[1], MifValueLimits::kCoordinate, *rect, "top");
    PMReal width = limits.Clamp(dim[2], MifValueLimits::kExtent, *rect, "width");
    PMReal height = limits.Clamp(dim[3], MifValueLimits::kExtent, *rect, "height");
    shape = PMRect(left, top, left + width, top + height);
    return true;
}

UIDRef MifGraphicImporter::MakeShape(const MifObject& mifObject, const MifPlacement& placement)
{
    PMRect shape;
    if (!ShapeOf(mifObject, kMifShapeRect, shape)) return UIDRef();
    PMRect bounds = BoundingBox(placement.toSpread, shape);
    auto createSplineCmd = std::make_shared<CreateSplineCmd>();
    createSplineCmd->kind = mifObject.id == kMifEllipse ? SplineKind::kOval : SplineKind::kRectangle;
    createSplineCmd->layer = placement.layer;
    createSplineCmd->bounds = PMRect(0, 0, bounds.Width(), bounds.Height());
    createSplineCmd->transform = PMMatrix::Translation(bounds.left, bounds.top);
    if (!MIF_RUN_COMMAND(createSplineCmd, UIDList(UIDRef(mSetup.db, placement.spread)))) return UIDRef();
    if (createSplineCmd->GetItemList().IsEmpty()) {
        MIF_LOG_FALSE(!createSplineCmd->GetItemList().IsEmpty());
        return UIDRef();
    }
    return createSplineCmd->GetItemList().GetRef(0);
}

UIDRef MifGraphicImporter::MakeSpline(int32 kind, const std::vector<PMPathPoint>& spreadPoints, const MifPlacement& placement)
{
    // The path is kept relative to the top left of its bounds, which the transform places.
    PMRect box = SplineItem::BoundsOf(spreadPoints);
    PMMatrix toInner = PMMatrix::Translation(-box.left, -box.top);
    auto createSplineCmd = std::make_shared<CreateSplineCmd>();
    createSplineCmd->kind = kind == kMifPolyLine || kind == kMifArc ? SplineKind::kGraphicLine : SplineKind::kPolygon;
    createSplineCmd->layer = placement.layer;
    for (const PMPathPoint& point : spreadPoints) createSplineCmd->path.push_back(Transformed(toInner, point));
    createSplineCmd->transform = PMMatrix::Translation(box.left, box.top);
    if (!MIF_RUN_COMMAND(createSplineCmd, UIDList(UIDRef(mSetup.db, placement.spread)))) return UIDRef();
    if (createSplineCmd->GetItemList().IsEmpty()) {
        MIF_LOG_FALSE(!createSplineCmd->GetItemList().IsEmpty());
        return UIDRef();
    }
    return createSplineCmd->GetItemList().GetRef(0);
}

UIDRef MifGraphicImporter::MakePath(const MifObject& mifObject, const MifPlacement& placement)
{
    MifValueLimits limits(mSetup.errors);
    std::vector<PMPathPoint> pathPointList;
    for (const MifProp* prop : mifObject.props) {
        if (!prop || prop->id != kMifPoint || MifDimCount(prop->type) != 2) continue;
        PMPoint point{limits.Clamp(prop->value.dim[0], MifValueLimits::kCoordinate, *prop, "x"),
                      limits.Clamp(prop->value.dim[1], MifValueLimits::kCoordinate, *prop, "y")};
        pathPointList.emplace_back(placement.toSpread.Transform(point));
    }
    if (pathPointList.empty()) {
        MIF_LOG_FALSE(pathPointList.size() > 0);
        MifProblemReporter(mSetup.errors)
            .Report({mifObject.line, mifObject.id == kMifPolygon ? "Polygon without Point, skipped" : "PolyLine without Point, skipped",
                     PMString()});
        return UIDRef();
    }
    return MakeSpline(mifObject.id, pathPointList, placement);
}

UIDRef MifGraphicImporter::MakeArc(const MifObject& mifObject, const MifPlacement& placement)
{
    PMRect rect;
    if (!ShapeOf(mifObject, kMifArcRect, rect)) return UIDRef();
    auto angle = [&](int32 keyword, double fallback) {
        const MifProp* prop = mifObject.FindProp(keyword);
        if (!prop) return fallback;
        double value = prop->value.number;
        if (std::isfinite(value)) return value;
        MifProblemReporter(mSetup.errors).Report({prop->line, "Angle is no number, taken as 0", PMString()});
        return 0.0;
    };
    double theta = angle(kMifArcTheta, 0), sweep = angle(kMifArcDTheta, 90);
    std::vector<PMPathPoint> points = MifArcPath::Build(rect, theta, sweep);
    // FrameMaker fills an arc as the wedge between the arc and the ellipse's centre, which is
    // how pie charts are written: a filled arc becomes that closed wedge.
    int32 kind = kMifArc;
    if (mState.GetFill() != MifGraphicState::kPatternNone && points.size() > 1) {
        points.emplace_back(PMPoint{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
        kind = kMifPolygon;
    }
    for (PMPathPoint& point : points) point = Transformed(placement.toSpread, point);
    return MakeSpline(kind, points, placement);
}

UIDRef MifGraphicImporter::MakeTextLine(const MifObject& mifObject, const MifPlacement& placement)
{
    const MifProp* origin = mifObject.FindProp(kMifTLOrigin);
    if (!HasVisibleText(mifObject) || !origin || MifDimCount(origin->type) != 2) return UIDRef();
    MifValueLimits limits(mSetup.errors);
    PMPoint at = placement.toSpread.Transform({limits.Clamp(origin->value.dim[0], MifValueLimits::kCoordinate, *origin, "x"),
                                               limits.Clamp(origin->value.dim[1], MifValueLimits::kCoordinate, *origin, "y")});
    Utils<IMifTextFrameUtils> textFrameUtils;
    Utils<IMifPageItemUtils> pageItemUtils;
    if (!mSetup.layout || !mSetup.content || !textFrameUtils || !pageItemUtils) {
        MIF_LOG_FALSE(mSetup.layout && mSetup.content && textFrameUtils && pageItemUtils);
        return UIDRef();
    }
    UIDRef frame = mSetup.layout->CreateTextFrame(PMRect(at.x, at.y, at.x + kTextLineWidth, at.y + kTextLineHeight), placement.spread,
                                                  placement.layer);
    if (!frame.ExistsInDB()) {
        MIF_LOG_FALSE(frame.ExistsInDB());
        return UIDRef();
    }
    pageItemUtils->SetIgnoreWrap(frame, true);
    TextFrame* textFrame = mSetup.db->Get<TextFrame>(frame.GetUID());
    mSetup.content->ImportTextItems(UIDRef(mSetup.db, textFrame->story), &mifObject);
    textFrameUtils->FitFrameToContent(frame, true);
    // The composed line gives the text's width and where its baseline lies in the frame.
    PMReal width = 0, baseline = 0;
    if (Story* story = mSetup.db->Get<Story>(textFrame->story)) {
        TextComposer::Get().Compose(*story);
        const std::vector<ComposedFrame>& composed = story->frameList.GetFrames();
        if (!composed.empty() && !composed.front().lines.empty()) {
            const ComposedLine& line = composed.front().lines.front();
            width = line.left + line.width;
            baseline = line.baseline;
        }
    }
    if (width > 0) {
        pageItemUtils->SetWidth(frame, width + kTextLineSlack);
        // Laid out again at its width; should the line break after all, the frame keeps room.
        if (Story* story = mSetup.db->Get<Story>(textFrame->story)) {
            TextComposer::Get().Compose(*story);
            const std::vector<ComposedFrame>& composed = story->frameList.GetFrames();
            if (composed.empty() || composed.front().lines.size() > 1 || story->frameList.Overflows()) {
                pageItemUtils->SetWidth(frame, kTextLineWidth);
                TextComposer::Get().Compose(*story);
            }
        }
    }
    MifPropVal propVal;
    int32 alignment = mifObject.GetPropVal(kMifTLAlignment, propVal) ? propVal.keyword : kMifLeft;
    PMReal dx = alignment == kMifCenter ? -width / 2 : alignment == kMifRight ? -width : 0;
    // The origin is where FrameMaker sets the line's baseline: the frame goes up by the
    // baseline's depth in it, so the text stands where it stood.
    auto moveCmd = std::make_shared<TransformPageItemsCmd>();
    moveCmd->transform = PMMatrix::Translation(dx, -baseline);
    MIF_RUN_COMMAND(moveCmd, UIDList(frame));
    mTextLineOrigins[frame.GetUID()] = at;
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return frame;
}

UIDRef MifGraphicImporter::MakeImage(const MifObject& mifObject, const MifPlacement& placement)
{
    PMRect shape;
    if (!ShapeOf(mifObject, kMifShapeRect, shape)) return UIDRef();
    PMRect bounds = BoundingBox(placement.toSpread, shape);
    if (!(bounds.Width() > 1e-8) || !(bounds.Height() > 1e-8)) {
        MifProblemReporter(mSetup.errors).Report({mifObject.line, "ImportObject without width or height, skipped", PMString()});
        return UIDRef();
    }
    UIDRef frame = mImages.Import(mifObject, bounds, placement.spread, placement.layer);
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return frame;
}

UIDRef MifGraphicImporter::MakeFrame(const MifObject& mifObject, const MifPlacement& placement)
{
    PMRect shape;
    if (!ShapeOf(mifObject, kMifShapeRect, shape)) return UIDRef();
    if (!(shape.Width() > 1e-8) || !(shape.Height() > 1e-8)) {
        MIF_LOG_FALSE(shape.Width() > 1e-8 && shape.Height() > 1e-8);
        return UIDRef();
    }
    if (mDepth >= kMaxFrameDepth) {
        MifProblemReporter(mSetup.errors).Report({mifObject.line, "Frames nested too deeply, skipped", PMString()});
        return UIDRef();
    }
    std::vector<UIDRef> items;
    // The frame's own border and background, when it has any, stand behind its contents.
    if (mState.GetPen() != MifGraphicState::kPatternNone || mState.GetFill() != MifGraphicState::kPatternNone) {
        if (!mState.IsInvisible(mifObject)) {
            UIDRef border = MakeShape(mifObject, placement);
            if (border.ExistsInDB()) {
                ApplyAttributes(border, mifObject);
                Mark(border);
                items.push_back(border);
            }
        }
    }
    MifPlacement inner = placement;
    inner.toSpread = PMMatrix::Translation(shape.left, shape.top).Then(placement.toSpread);
    ++mDepth;
    std::vector<UIDRef> contents = ImportObjects(mifObject, inner);
    --mDepth;
    items.insert(items.end(), contents.begin(), contents.end());
    if (items.empty()) return UIDRef();
    if (items.size() == 1) return items.front();
    UIDList itemList(mSetup.db);
    for (const UIDRef& item : items) itemList.Append(item.GetUID());
    auto groupCmd = std::make_shared<GroupCmd>();
    if (!MIF_RUN_COMMAND(groupCmd, itemList)) return UIDRef();
    if (groupCmd->GetItemList().IsEmpty()) {
        MIF_LOG_FALSE(!groupCmd->GetItemList().IsEmpty());
        return UIDRef();
    }
    return groupCmd->GetItemList().GetRef(0);
}

void MifGraphicImporter::ApplyAttributes(const UIDRef& item, const MifObject& mifObject)
{
    auto gfxApplyMultAttributesCmd = std::make_shared<GfxApplyMultAttributesCmd>();
    gfxApplyMultAttributesCmd->attributes = mState.AttributesFor(mifObject);
    MIF_RUN_COMMAND(gfxApplyMultAttributesCmd, UIDList(item));
    ApplyRunaround(item);
}

void MifGraphicImporter::ApplyRunaround(const UIDRef& item)
{
    Utils<IMifPageItemUtils> pageItemUtils;
    if (!pageItemUtils) {
        MIF_LOG_NIL(pageItemUtils);
        return;
    }
    PMReal gap = mState.GetRunaroundGap();
    TextWrapMode mode = mState.GetRunaroundMode();
    pageItemUtils->SetWrapMode(item, mode);
    pageItemUtils->SetWrapMargins(item, gap, gap, gap, gap);
    // A contour run-around keeps text off the object's own shape, not its bounding box.
    if (mode == TextWrapMode::kContour) pageItemUtils->SetWrapForm(item, TextWrapForm::kGraphicFrame);
}

void MifGraphicImporter::Mark(const UIDRef& item)
{
    auto markPageItemCmd = std::make_shared<MifMarkPageItemCmd>();
    markPageItemCmd->boolData = true;
    MIF_RUN_COMMAND(markPageItemCmd, UIDList(item));
}

void MifGraphicImporter::RotateItems(const std::vector<UIDRef>& items)
{
    for (const UIDRef& item : items) {
        const MifObject* mifObject = mSetup.itemObjects ? [&]() -> const MifObject* {
            auto found = mSetup.itemObjects->find(item.GetUID());
            return found == mSetup.itemObjects->end() ? nullptr : found->second;
        }()
                                                       : nullptr;
        const MifProp* angle = mifObject ? mifObject->FindProp(kMifAngle) : nullptr;
        if (!angle) continue;
        double degrees = angle->value.number;
        if (!std::isfinite(degrees)) {
            MifProblemReporter(mSetup.errors).Report({angle->line, "Angle is no number, the object is not rotated", PMString()});
            continue;
        }
        degrees = std::fmod(degrees, 360.0);
        if (std::abs(degrees) < 1e-8) continue;   // 0 and 360 leave the item as it is
        const PageItem* pageItem = mSetup.db->Get<PageItem>(item.GetUID());
        if (!pageItem) continue;
        PMRect bounds = pageItem->GetBoundsInSpread();
        PMPoint pivot{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
        if (auto origin = mTextLineOrigins.find(item.GetUID()); origin != mTextLineOrigins.end()) pivot = origin->second;
        auto transformCmd = std::make_shared<TransformPageItemsCmd>();
        transformCmd->transform = TransformPageItemsCmd::RotationAbout(pivot, degrees);
        MIF_RUN_COMMAND(transformCmd, UIDList(item));
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    }
}
