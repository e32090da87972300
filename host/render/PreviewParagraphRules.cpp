#include "PreviewParagraphRules.h"

#include <algorithm>
#include <cmath>

#include "DataBase.h"
#include "Story.h"
#include "StyleUtils.h"
#include "SwatchUtils.h"

namespace {

// A paragraph attribute: the paragraph's override, else its style's.
template <class T>
T Value(const DataBase& db, const TextFormat& paragraph, TextAttribute kind, T fallback)
{
    const AttributeValue* value = paragraph.overrides.QueryAttribute(kind);
    if (!value) value = StyleUtils::GetInheritedAttribute(db, paragraph.style, kind);
    const T* typed = value ? std::get_if<T>(value) : nullptr;
    return typed ? *typed : fallback;
}

} // namespace

void PreviewParagraphRules::Draw(cairo_t* cr, const Story& story, const std::vector<ComposedLine>& lines, PMReal columnWidth) const
{
    const TextModel& model = story.textModel;
    for (const ComposedLine& line : lines) {
        if (line.length <= 0) continue;
        const TextRange paragraph = model.GetParagraphRange(line.start);
        if (line.start == paragraph.start) DrawRule(cr, story, line, true, columnWidth);
        if (line.End() >= paragraph.End()) DrawRule(cr, story, line, false, columnWidth);
    }
}

void PreviewParagraphRules::DrawRule(cairo_t* cr, const Story& story, const ComposedLine& line, bool above, PMReal columnWidth) const
{
    const TextFormat* format = story.textModel.GetParagraphFormat(line.start);
    if (!format) return;
    const ParagraphRuleAttributes kinds = ParagraphRuleAttributes::Of(above);
    if (!Value<bool>(mDB, *format, kinds.on, false)) return;
    const PMReal weight = Value<PMReal>(mDB, *format, kinds.lineWeight, 1);
    const PMReal offset = Value<PMReal>(mDB, *format, kinds.offset, 0);
    PMReal left = Value<PMReal>(mDB, *format, kinds.leftIndent, 0);
    PMReal right = Value<PMReal>(mDB, *format, kinds.rightIndent, 0);
    if (Value<int32>(mDB, *format, kinds.width, 0) == 1) {
        left += Value<PMReal>(mDB, *format, TextAttribute::kLeftIndent, 0);
        right += Value<PMReal>(mDB, *format, TextAttribute::kRightIndent, 0);
    }
    const PMReal x0 = line.origin + left, x1 = line.origin + columnWidth - right;
    if (!(weight > 0) || !(x1 > x0) || !std::isfinite(offset)) return;
    PreviewColor color;
    UID swatch = Value<UID>(mDB, *format, kinds.color, kInvalidUID);
    if (swatch == kInvalidUID) swatch = SwatchUtils::GetBlackSwatch(mDB);
    if (!mColors.Resolve(swatch, color)) return;
    // A tint mixes the colour with the paper.
    color = Mixed(color, std::clamp<double>(Value<PMReal>(mDB, *format, kinds.tint, 100), 0, 100) / 100);
    const PMReal y = above ? line.baseline - offset - weight / 2 : line.baseline + offset + weight / 2;
    cairo_save(cr);
    cairo_set_source_rgb(cr, color.red, color.green, color.blue);
    cairo_set_line_width(cr, weight);
    cairo_move_to(cr, x0, y);
    cairo_line_to(cr, x1, y);
    cairo_stroke(cr);
    cairo_restore(cr);
}
