#include "layout/MifGraphicState.h"

#include <cmath>

#include "base/IMifErrorLog.h"
#include "base/MifProblemReporter.h"
#include "catalogs/IMifColorImporter.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifValueLimits.h"

namespace {

// The tint (percent) that stands for each pattern. 0-6 are shades and 7 is white. InDesign
// fills with no patterns, so the hatches and textures 8-14 become the tint of their grey, the
// share of the area the pattern inks, roughly:
//   8-11   hatches in one direction                 25
//   12-13  cross-hatches, square or on the diagonal 50
//   14     a close two-way texture                  50
constexpr PMReal kPatternTints[15] = {100, 90, 70, 50, 30, 10, 3, 0, 25, 25, 25, 25, 50, 50, 50};
// The widest pen a page item takes, points.
constexpr PMReal kMaxPenWidth = 1000;

PMString Number(double value)
{
    PMString text;
    text.AppendNumber(value);
    return text;
}

} // namespace

PMReal MifGraphicState::PatternTint(int32 pattern) { return pattern >= 0 && pattern < kPatternNone ? kPatternTints[pattern] : -1; }

void MifGraphicState::Init(UID noneSwatch, UID blackSwatch, UID paperSwatch, IMifColorImporter* colors, IMifErrorLog* errors)
{
    mNone = noneSwatch;
    mBlack = blackSwatch;
    mPaper = paperSwatch;
    mColors = colors;
    mErrors = errors;
    Reset();
}

void MifGraphicState::Reset()
{
    mPen = 0;
    mFill = kPatternNone;
    mPenWidth = 0;
    mColor = kInvalidUID;
    mRunaroundGap = 0;
    mRunaroundMode = TextWrapMode::kNone;
    mHeadCap = mTailCap = LineEnd::kNone;
}

void MifGraphicState::Update(const MifObject& mifObject)
{
    // A pattern outside 0-15 is none (15): nothing is painted that the file did not ask for.
    auto pattern = [this](const MifProp& prop, int32& into) {
        if (prop.value.id >= 0 && prop.value.id <= kPatternNone) {
            into = prop.value.id;
            return;
        }
        MifProblemReporter(mErrors).Report({prop.line, "Pattern out of range (0 to 15), taken as 15 (none)", Number(prop.value.id)});
        into = kPatternNone;
    };
    if (const MifProp* pen = mifObject.FindProp(kMifPen)) pattern(*pen, mPen);
    if (const MifProp* fill = mifObject.FindProp(kMifFill)) pattern(*fill, mFill);
    if (const MifProp* width = mifObject.FindProp(kMifPenWidth)) {
        double value = width->value.dim[0];
        if (!std::isfinite(value) || value < 0 || value > kMaxPenWidth) {
            double taken = std::isfinite(value) && value > kMaxPenWidth ? kMaxPenWidth : 0;
            MifProblemReporter(mErrors).Report(
                {width->line, value < 0 ? "PenWidth below 0, taken as 0 pt" : "PenWidth out of range (0 to 1000 pt), set to the nearest",
                 Number(value)});
            value = taken;
        }
        mPenWidth = value;
    }
    if (const MifProp* color = mifObject.FindProp(kMifObColor); color && MifIsStringType(color->type) && color->value.tagString &&
                                                                 !color->value.tagString->IsEmpty()) {
        UID swatch = mColors ? mColors->GetColorUID(*color->value.tagString) : kInvalidUID;
        // "None" is the invisible colour even where the catalog does not list it.
        if (swatch == kInvalidUID && *color->value.tagString == PMString("None")) swatch = mNone;
        if (swatch == kInvalidUID)
            MifProblemReporter(mErrors).Report({color->line, "ObColor names no color of the color catalog, black is used", *color->value.tagString});
        mColor = swatch;
    }
    if (const MifProp* gap = mifObject.FindProp(kMifRunaroundGap)) {
        MifValueLimits limits(mErrors);
        mRunaroundGap = limits.Clamp(gap->value.dim[0], MifValueLimits::kGap, *gap);
    }
    MifPropVal propVal;
    if (mifObject.GetPropVal(kMifRunaroundType, propVal))
        mRunaroundMode = propVal.keyword == kMifBox       ? TextWrapMode::kBoundingBox
                         : propVal.keyword == kMifContour ? TextWrapMode::kContour
                                                          : TextWrapMode::kNone;
    if (mifObject.GetPropVal(kMifHeadCap, propVal, false))
        mHeadCap = propVal.keyword == kMifArrowHead ? LineEnd::kSimpleArrowHead : LineEnd::kNone;
    if (mifObject.GetPropVal(kMifTailCap, propVal, false))
        mTailCap = propVal.keyword == kMifArrowHead ? LineEnd::kSimpleArrowHead : LineEnd::kNone;
}

bool MifGraphicState::IsInvisible(const MifObject& mifObject) const
{
    if (mColor == kInvalidUID || mColor != mNone) return false;
    MifPropVal propVal;
    return !mifObject.GetPropVal(kMifRunaroundType, propVal) || (propVal.keyword != kMifBox && propVal.keyword != kMifContour);
}

GraphicAttributeList MifGraphicState::AttributesFor(const MifObject& mifObject) const
{
    GraphicAttributeList list;
    list.strokeWeight = mPenWidth;
    list.solidStroke = true;
    UID base = mColor != kInvalidUID ? mColor : mBlack;
    auto colorOf = [&](int32 pattern) { return pattern == kPatternNone ? mNone : pattern == kPatternWhite ? mPaper : base; };
    list.strokeColor = colorOf(mPen);
    list.fillColor = colorOf(mFill);
    // ObTint is the tint of the object's colour, which the pattern's shade then lightens
    // further: FrameMaker writes ObTint 100% on every object, which must not wipe out the
    // shade its pattern gives.
    const MifProp* obTint = mifObject.FindProp(kMifObTint);
    PMReal tint = -1;
    if (obTint && std::isfinite(obTint->value.number) && obTint->value.number < 100) {
        MifValueLimits limits(mErrors);
        tint = limits.Clamp(obTint->value.number, MifValueLimits::kPercent, *obTint);
    }
    auto tintOf = [&](int32 pattern) -> std::optional<PMReal> {
        if (pattern == kPatternNone || pattern == kPatternWhite) return std::nullopt;
        PMReal shade = PatternTint(pattern);
        if (shade < 0) return tint >= 0 ? std::optional<PMReal>(tint) : std::nullopt;
        return tint >= 0 ? shade * tint / 100 : shade;
    };
    list.fillTint = tintOf(mFill);
    list.strokeTint = tintOf(mPen);
    if (const MifProp* radius = mifObject.FindProp(kMifRadius); radius && radius->value.dim[0] > 0) {
        MifValueLimits limits(mErrors);
        list.cornerRadius = limits.Clamp(radius->value.dim[0], MifValueLimits::kExtent, *radius);
        list.roundedCorners = true;
    }
    if (mHeadCap != LineEnd::kNone) list.startLineEnd = mHeadCap;
    if (mTailCap != LineEnd::kNone) list.endLineEnd = mTailCap;
    return list;
}
