#include "content/MifFrameAnchoring.h"

#include <cmath>
#include <memory>

#include "AnchoredObjectCommands.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "ErrorUtils.h"
#include "PageItem.h"
#include "Story.h"
#include "TextCommands.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifValueType.h"

namespace {

constexpr PMReal kAnchorPointSize = 2;

int32 KeywordOf(const MifObject& mifObject, int32 id, int32 fallback)
{
    const MifProp* prop = mifObject.FindProp(id);
    return prop && prop->type == kMifTypeKeyword && prop->value.keyword >= 0 ? prop->value.keyword : fallback;
}

PMReal LengthOf(const MifObject& mifObject, int32 id)
{
    const MifProp* prop = mifObject.FindProp(id);
    if (!prop || MifDimCount(prop->type) < 1 || !std::isfinite(prop->value.dim[0])) return 0;
    return prop->value.dim[0];
}

// The settings of a frame that stands beside the text on the left (`left`) or the right.
AnchoredObjectSettings Beside(const MifFrameAnchoring::FrameAnchor& anchor, bool left, bool spineRelative)
{
    AnchoredObjectSettings s;
    s.position = AnchorPosition::kAnchored;
    s.horizontalReference = anchor.beside == kMifColumn ? AnchorHorizontalReference::kColumnEdge : AnchorHorizontalReference::kTextFrame;
    s.horizontalAlignment = left ? AnchorAlignment::kLeft : AnchorAlignment::kRight;
    s.anchorPoint = left ? AnchorPoint::kTopRight : AnchorPoint::kTopLeft;
    s.xOffset = left ? -anchor.nsOffset : anchor.nsOffset;
    s.verticalReference = AnchorVerticalReference::kLineBaseline;
    s.yOffset = -anchor.blOffset;
    s.spineRelative = spineRelative;
    return s;
}

AnchorAlignment AlignmentOf(int32 align)
{
    if (align == kMifCenter) return AnchorAlignment::kCenter;
    if (align == kMifRight || align == kMifOutside) return AnchorAlignment::kRight;
    return AnchorAlignment::kLeft;
}

} // namespace

MifFrameAnchoring::FrameAnchor MifFrameAnchoring::Read(const MifObject& mifFrame)
{
    FrameAnchor anchor;
    anchor.frameType = KeywordOf(mifFrame, kMifFrameType, kMifInline);
    anchor.align = KeywordOf(mifFrame, kMifAnchorAlign, kMifLeft);
    anchor.beside = KeywordOf(mifFrame, kMifAnchorBeside, kMifTextFrame);
    anchor.nsOffset = LengthOf(mifFrame, kMifNSOffset);
    anchor.blOffset = LengthOf(mifFrame, kMifBLOffset);
    anchor.gap = std::max<PMReal>(0, LengthOf(mifFrame, kMifRunaroundGap));
    if (const MifProp* shape = mifFrame.FindProp(kMifShapeRect); shape && MifDimCount(shape->type) == 4) {
        anchor.width = std::isfinite(shape->value.dim[2]) ? std::max(0.0, shape->value.dim[2]) : 0;
        anchor.height = std::isfinite(shape->value.dim[3]) ? std::max(0.0, shape->value.dim[3]) : 0;
    }
    return anchor;
}

bool MifFrameAnchoring::IsSideType(int32 frameType)
{
    switch (frameType) {
    case kMifLeft:
    case kMifRight:
    case kMifOutside:
    case kMifInside:
    case kMifNear:
    case kMifFar: return true;
    default: return false;
    }
}

AnchoredObjectSettings MifFrameAnchoring::SettingsFor(const FrameAnchor& anchor)
{
    AnchoredObjectSettings s;
    switch (anchor.frameType) {
    case kMifBelow:
        s.position = AnchorPosition::kAboveLine;
        s.horizontalAlignment = AlignmentOf(anchor.align);
        return s;
    case kMifTop:
    case kMifBottom: {
        const bool top = anchor.frameType == kMifTop;
        s.position = AnchorPosition::kAnchored;
        s.horizontalReference = AnchorHorizontalReference::kColumnEdge;
        s.horizontalAlignment = AlignmentOf(anchor.align);
        s.verticalReference = AnchorVerticalReference::kColumnEdge;
        s.verticalAlignment = top ? AnchorVerticalAlignment::kTop : AnchorVerticalAlignment::kBottom;
        const int32 column = s.horizontalAlignment == AnchorAlignment::kCenter ? 1 : s.horizontalAlignment == AnchorAlignment::kRight ? 2 : 0;
        s.anchorPoint = static_cast<AnchorPoint>((top ? 0 : 6) + column);
        s.spineRelative = anchor.align == kMifInside || anchor.align == kMifOutside;
        return s;
    }
    case kMifLeft: return Beside(anchor, true, false);
    case kMifRight: return Beside(anchor, false, false);
    case kMifOutside:
    case kMifNear: return Beside(anchor, false, true);
    case kMifInside:
    case kMifFar: return Beside(anchor, true, true);
    case kMifRunIntoParagraph:
        s.position = AnchorPosition::kAnchored;
        s.horizontalReference = AnchorHorizontalReference::kColumnEdge;
        s.horizontalAlignment = anchor.align == kMifRight ? AnchorAlignment::kRight : AnchorAlignment::kLeft;
        s.anchorPoint = anchor.align == kMifRight ? AnchorPoint::kTopRight : AnchorPoint::kTopLeft;
        s.verticalReference = AnchorVerticalReference::kTopOfLeading;
        return s;
    default:
        // Inline, and any type this import does not know: on its line.
        s.position = AnchorPosition::kInline;
        s.yOffset = anchor.blOffset;
        return s;
    }
}

AttributeBossList MifFrameAnchoring::RoomFor(const FrameAnchor& anchor, PMReal leftIndent, PMReal rightIndent)
{
    AttributeBossList room;
    if (anchor.frameType != kMifRunIntoParagraph) return room;
    const PMReal width = anchor.width + anchor.gap;
    if (anchor.align == kMifRight) room.ApplyAttribute(TextAttribute::kRightIndent, std::max<PMReal>(0, rightIndent) + width);
    else room.ApplyAttribute(TextAttribute::kLeftIndent, std::max<PMReal>(0, leftIndent) + width);
    return room;
}

bool MifFrameAnchoring::Anchor(const UIDRef& story, int32 index, const UIDRef& item, const AnchoredObjectSettings& settings)
{
    if (!story.ExistsInDB() || !item.ExistsInDB()) {
        MIF_LOG_FALSE(story.ExistsInDB() && item.ExistsInDB());
        return false;
    }
    DataBase* db = story.GetDataBase();
    const PageItem* pageItem = db->Get<PageItem>(item.GetUID());
    if (!pageItem || pageItem->anchorStory != kInvalidUID) {
        MIF_LOG_FALSE(pageItem && pageItem->anchorStory == kInvalidUID);
        return false;
    }
    const Story* target = db->Get<Story>(story.GetUID());
    if (!target || index < 0 || index >= target->textModel.TotalLength()) {
        MIF_LOG_FALSE(target && index >= 0 && index < target->textModel.TotalLength());
        return false;
    }
    auto removeFromHierarchyCmd = std::make_shared<RemoveFromHierarchyCmd>();
    if (!MIF_RUN_COMMAND(removeFromHierarchyCmd, UIDList(item))) {
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return false;
    }
    auto insertCmd = std::make_shared<InsertAnchoredObjectCmd>();
    insertCmd->index = index;
    insertCmd->item = item.GetUID();
    if (!MIF_RUN_COMMAND(insertCmd, UIDList(story))) {
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return false;
    }
    auto changeAnchoredObjectDataCmd = std::make_shared<ChangeAnchoredObjectDataCmd>();
    changeAnchoredObjectDataCmd->anchoredObjectData = settings;
    MIF_RUN_COMMAND(changeAnchoredObjectDataCmd, UIDList(item));
    // The anchor character is small, so that it does not make its line taller.
    const Story* textModel = db->Get<Story>(story.GetUID());
    const TextFormat* format = textModel ? textModel->textModel.GetCharacterFormat(index) : nullptr;
    const PMReal* size = format ? format->overrides.Get<PMReal>(TextAttribute::kPointSize) : nullptr;
    if (!size || *size > kAnchorPointSize + 1e-8) {
        auto applyCmd = std::make_shared<ApplyTextAttributesCmd>();
        applyCmd->attributes.ApplyAttribute(TextAttribute::kPointSize, kAnchorPointSize);
        applyCmd->index = index;
        applyCmd->length = 1;
        MIF_RUN_COMMAND(applyCmd, UIDList(story));
    }
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return true;
}

UIDRef MifFrameAnchoring::CreateHeadFrame(const UIDRef& story, int32 index, PMReal width, PMReal height,
                                          const AnchoredObjectSettings& settings)
{
    auto createAnchoredObjectCmd = std::make_shared<CreateAnchoredObjectCmd>();
    createAnchoredObjectCmd->rangeData = TextRange{index, 0};
    createAnchoredObjectCmd->width = width;
    createAnchoredObjectCmd->height = height;
    createAnchoredObjectCmd->anchoredObjectData = settings;
    if (!story.ExistsInDB() || !MIF_RUN_COMMAND(createAnchoredObjectCmd, UIDList(story)) || createAnchoredObjectCmd->GetItemList().IsEmpty()) {
        MIF_LOG_FAILED(createAnchoredObjectCmd);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return UIDRef();
    }
    UIDRef frame = createAnchoredObjectCmd->GetItemList().GetRef(0);
    auto applyCmd = std::make_shared<ApplyTextAttributesCmd>();
    applyCmd->attributes.ApplyAttribute(TextAttribute::kPointSize, kAnchorPointSize);
    applyCmd->index = index;
    applyCmd->length = 1;
    MIF_RUN_COMMAND(applyCmd, UIDList(story));
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return frame;
}

AnchoredObjectSettings MifFrameAnchoring::RunInSettings()
{
    AnchoredObjectSettings s;
    s.position = AnchorPosition::kInline;
    return s;
}

AnchoredObjectSettings MifFrameAnchoring::SideheadSettings(int32 placement, PMReal gap, int32 placementStyle)
{
    AnchoredObjectSettings s;
    const bool left = placement != kMifRight;
    s.position = AnchorPosition::kAnchored;
    s.horizontalReference = AnchorHorizontalReference::kColumnEdge;
    s.horizontalAlignment = left ? AnchorAlignment::kLeft : AnchorAlignment::kRight;
    s.xOffset = left ? -gap : gap;
    if (placementStyle == kMifSideheadLastBaseline) {
        // Its last line ends on the baseline of the text beside it.
        s.anchorPoint = left ? AnchorPoint::kBottomRight : AnchorPoint::kBottomLeft;
        s.verticalReference = AnchorVerticalReference::kLineBaseline;
    } else {
        s.anchorPoint = left ? AnchorPoint::kTopRight : AnchorPoint::kTopLeft;
        s.verticalReference = AnchorVerticalReference::kTopOfLeading;
    }
    return s;
}
