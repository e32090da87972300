#include "content/MifParagraphRules.h"

#include <cmath>
#include <vector>

#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

namespace {

constexpr int32 kPatternNone = 15;
constexpr double kMaxWeight = 1000;

const PMString* StringOf(const MifProp* prop)
{
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

// A length property of the line, else of its frame; `fallback` when neither has one.
double Length(const MifObject& line, const MifObject& frame, int32 id, double fallback)
{
    for (const MifObject* object : {&line, &frame})
        if (const MifProp* prop = object->FindProp(id); prop && MifDimCount(prop->type) > 0 && std::isfinite(prop->value.dim[0]))
            return prop->value.dim[0];
    return fallback;
}

} // namespace

MifParagraphRules::MifParagraphRules(const MifObject& root)
{
    for (const MifObject& page : root.Children(kMifPage)) {
        MifPropVal type;
        if (!page.GetPropVal(kMifPageType, type) || type.keyword != kMifReferencePage) continue;
        for (const MifObject& frame : page.Children(kMifFrame))
            if (const PMString* tag = StringOf(frame.FindProp(kMifTag)); tag && !tag->IsEmpty())
                mFrames.emplace(tag->GetUTF16(), &frame);  // the first frame of a tag is the one drawn
    }
}

MifParagraphRules::Found MifParagraphRules::Find(const PMString& tag, Rule& rule) const
{
    auto it = mFrames.find(tag.GetUTF16());
    if (it == mFrames.end()) return Found::kNoFrame;
    const MifObject& frame = *it->second;
    // The frame's one drawn object must be a horizontal line of two points.
    const MifObject* line = nullptr;
    int32 objects = 0;
    for (const MifProp* prop : frame.props) {
        if (!prop || prop->type != kMifTypeObject || !prop->value.object) continue;
        const int32 id = prop->id;
        if (id == kMifPolyLine || id == kMifPolygon || id == kMifRectangle || id == kMifEllipse || id == kMifArc ||
            id == kMifTextLine || id == kMifFrame || id == kMifGroup || id == kMifImportObject || id == kMifRoundRect ||
            id == kMifTextRect || id == kMifMath) {
            ++objects;
            line = id == kMifPolyLine ? prop->value.object : nullptr;
        }
    }
    if (objects != 1 || !line) return Found::kNotALine;
    std::vector<const MifProp*> points;
    for (const MifProp* prop : line->props)
        if (prop && prop->id == kMifPoint && MifDimCount(prop->type) == 2) points.push_back(prop);
    if (points.size() != 2) return Found::kNotALine;
    const double x0 = points[0]->value.dim[0], y0 = points[0]->value.dim[1];
    const double x1 = points[1]->value.dim[0], y1 = points[1]->value.dim[1];
    if (!std::isfinite(x0 + y0 + x1 + y1) || std::fabs(y1 - y0) > 0.01 || std::fabs(x1 - x0) < 0.01) return Found::kNotALine;

    MifPropVal pen;
    if (line->GetPropVal(kMifPen, pen) && pen.id == kPatternNone) return Found::kInvisible;
    rule.weight = std::fmin(kMaxWeight, std::fmax(0, Length(*line, frame, kMifPenWidth, 1)));
    rule.color = PMString("Black");
    for (const MifObject* object : {line, &frame})
        if (const PMString* color = StringOf(object->FindProp(kMifObColor)); color && !color->IsEmpty()) {
            rule.color = *color;
            break;
        }
    MifPropVal tint;
    rule.tint = line->GetPropVal(kMifObTint, tint) && std::isfinite(tint.number) ? std::fmin(100, std::fmax(0, tint.number)) : 100;
    double width = 0;
    if (const MifProp* shape = frame.FindProp(kMifShapeRect); shape && MifDimCount(shape->type) == 4) {
        width = std::isfinite(shape->value.dim[2]) ? std::fmax(0, shape->value.dim[2]) : 0;
        rule.frameHeight = std::isfinite(shape->value.dim[3]) ? std::fmax(0, shape->value.dim[3]) : 0;
    }
    rule.lineY = y0;
    rule.leftIndent = std::fmax(0, std::fmin(x0, x1));
    rule.rightIndent = std::fmax(0, width - std::fmax(x0, x1));
    return Found::kRule;
}

bool MifParagraphRules::FirstReport(const PMString& tag) { return mReported.insert(tag.GetUTF16()).second; }
