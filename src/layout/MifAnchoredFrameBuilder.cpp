#include "layout/MifAnchoredFrameBuilder.h"

#include <algorithm>

#include "DataBase.h"
#include "ErrorUtils.h"
#include "Spread.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifProblemReporter.h"
#include "layout/MifGraphicImporter.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifValueType.h"

namespace {

constexpr PMReal kTolerance = 1e-8;
constexpr PMReal kSpacing = 5;   // between packed frames, across and down

// The page area of a scratch spread (its one page), in spread coordinates.
bool PageArea(const DataBase& db, UID spreadUID, PMRect& area)
{
    const Spread* spread = db.Get<Spread>(spreadUID);
    if (!spread || spread->pages.empty()) return false;
    const Page* page = db.Get<Page>(spread->pages.front());
    if (!page) return false;
    area = page->boundsInSpread;
    return true;
}

} // namespace

void MifAnchoredFrameBuilder::BuildAll(const MifObject& aframes)
{
    for (const MifProp* prop : aframes.props) {
        if (!prop) break;
        if (prop->id != kMifFrame || prop->type != kMifTypeObject || !prop->value.object) continue;
        Build(*prop->value.object);
        // One frame the host refused does not fail the ones after it.
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    }
}

UIDRef MifAnchoredFrameBuilder::Build(const MifObject& mifFrame)
{
    if (!mSetup.db || !mSetup.graphics || !mSetup.lastSpread || !mSetup.newSpread) {
        MIF_LOG_NIL(mifFrame);
        return UIDRef();
    }
    DataBase& db = *mSetup.db;
    const MifProp* shapeRect = mifFrame.FindProp(kMifShapeRect);
    if (!shapeRect || MifDimCount(shapeRect->type) != 4) {
        MifProblemReporter(mSetup.errors).Report({mifFrame.line, "Anchored frame without ShapeRect, skipped", PMString()});
        return UIDRef();
    }
    const PMReal left = shapeRect->value.dim[0], top = shapeRect->value.dim[1];
    const PMReal width = shapeRect->value.dim[2], height = shapeRect->value.dim[3];
    UID spread = mSetup.lastSpread();
    if (spread == kInvalidUID) {
        spread = mSetup.newSpread();
        ResetCursor();
    }
    PMRect spreadBounds;
    if (!PageArea(db, spread, spreadBounds)) {
        MIF_LOG_FALSE(PageArea(db, spread, spreadBounds));
        return UIDRef();
    }
    // A frame must fit on a scratch page; one exactly as wide as the page fits (a chart the size
    // of its page is common).
    if (!(width <= spreadBounds.Width() + kTolerance)) {
        MIF_LOG_FALSE(width <= spreadBounds.Width() + kTolerance);
        MifProblemReporter(mSetup.errors).Report({mifFrame.line, "Anchored frame wider than the page, skipped", PMString()});
        return UIDRef();
    }
    if (!(height <= spreadBounds.Height() + kTolerance)) {
        MIF_LOG_FALSE(height <= spreadBounds.Height() + kTolerance);
        MifProblemReporter(mSetup.errors).Report({mifFrame.line, "Anchored frame taller than the page, skipped", PMString()});
        return UIDRef();
    }
    // Shelf packing: a new row when the frame does not fit across, a new spread when the row
    // does not fit down.
    if (mCursorX + width > spreadBounds.Width() + kTolerance) {
        mCursorX = 0;
        mCursorY += mRowHeight;
        mRowHeight = 0;
    }
    if (mCursorY + height > spreadBounds.Height() + kTolerance) {
        spread = mSetup.newSpread();
        ResetCursor();
        if (!PageArea(db, spread, spreadBounds)) {
            MIF_LOG_FALSE(PageArea(db, spread, spreadBounds));
            return UIDRef();
        }
    }
    MifPlacement placement;
    placement.spread = spread;
    placement.toSpread = PMMatrix::Translation(-left, -top).Then(
        PMMatrix::Translation(spreadBounds.left + mCursorX, spreadBounds.top + mCursorY));
    mCursorX += width + kSpacing;
    mRowHeight = std::max(mRowHeight, height + kSpacing);
    UIDRef item = mSetup.graphics->ImportSingleObject(mifFrame, placement);
    if (!item.ExistsInDB()) return UIDRef();
    // A frame without ID is built but can never be anchored.
    if (const MifProp* idProp = mifFrame.FindProp(kMifID); idProp && MifIsIntegerType(idProp->type)) {
        const int32 id = idProp->value.id;
        if (mItems.count(id)) MifProblemReporter(mSetup.errors).Report({idProp->line, "Anchored frame ID used twice, the later frame is kept", PMString()});
        mItems[id] = item;
    }
    return item;
}

UIDRef MifAnchoredFrameBuilder::GetItemOfId(int32 id) const
{
    auto found = mItems.find(id);
    return found == mItems.end() ? UIDRef() : found->second;
}
