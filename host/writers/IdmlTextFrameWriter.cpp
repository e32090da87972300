#include "IdmlTextFrameWriter.h"

#include "DataBase.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlPageItemWriter.h"
#include "IdmlXml.h"
#include "NumberFormatter.h"
#include "Spread.h"
#include "TextFrame.h"

namespace {

std::string Ref(UID uid) { return uid == kInvalidUID ? IdmlIds::kNone : IdmlIds::ForUID(uid); }

std::string Point(PMReal x, PMReal y) { return NumberFormatter::FormatReal(x) + " " + NumberFormatter::FormatReal(y); }

void WritePathGeometry(pugi::xml_node frame, const PMRect& bounds)
{
    pugi::xml_node geometry = IdmlXml::AddPropertyElement(frame, "PathGeometry", "");
    geometry.remove_attribute("type");
    pugi::xml_node path = geometry.append_child("GeometryPathType");
    IdmlXml::SetBool(path, "PathOpen", false);
    pugi::xml_node points = path.append_child("PathPointArray");
    const PMPoint corners[4] = {{bounds.left, bounds.top}, {bounds.left, bounds.bottom}, {bounds.right, bounds.bottom}, {bounds.right, bounds.top}};
    for (const PMPoint& corner : corners) {
        pugi::xml_node point = points.append_child("PathPointType");
        std::string anchor = Point(corner.x, corner.y);
        IdmlXml::SetText(point, "Anchor", anchor);
        IdmlXml::SetText(point, "LeftDirection", anchor);
        IdmlXml::SetText(point, "RightDirection", anchor);
    }
}

void WritePreference(pugi::xml_node frame, const TextFrame& textFrame)
{
    pugi::xml_node preference = frame.append_child("TextFramePreference");
    IdmlXml::SetInteger(preference, "TextColumnCount", textFrame.columnCount);
    IdmlXml::SetReal(preference, "TextColumnGutter", textFrame.columnGutter);
    IdmlXml::SetText(preference, "FirstBaselineOffset", FirstBaselineOffsetName(textFrame.firstBaselineOffset));
    pugi::xml_node insets = IdmlXml::AddPropertyElement(preference, "InsetSpacing", "list");
    for (PMReal inset : {textFrame.insets.top, textFrame.insets.left, textFrame.insets.bottom, textFrame.insets.right}) {
        pugi::xml_node item = insets.append_child("ListItem");
        item.append_attribute("type") = "unit";
        item.text() = NumberFormatter::FormatReal(inset).c_str();
    }
}

} // namespace

void IdmlTextFrameWriter::WriteTextFrame(IdmlContext& context, pugi::xml_node parent, const TextFrame& textFrame)
{
    pugi::xml_node frame = parent.append_child("TextFrame");
    IdmlXml::SetText(frame, "Self", IdmlIds::ForUID(textFrame.GetUID()));
    IdmlXml::SetText(frame, "ParentStory", Ref(textFrame.story));
    IdmlXml::SetText(frame, "PreviousTextFrame", Ref(textFrame.previousFrame));
    IdmlXml::SetText(frame, "NextTextFrame", Ref(textFrame.nextFrame));
    IdmlXml::SetText(frame, "ContentType", "TextType");
    IdmlXml::SetText(frame, "AppliedObjectStyle", IdmlIds::kNormalTextFrameStyle);
    IdmlXml::SetText(frame, "ItemLayer", context.LayerRef(textFrame.layer));
    IdmlXml::SetBool(frame, "Visible", true);
    IdmlXml::SetText(frame, "ItemTransform", IdmlXml::Matrix(textFrame.itemTransform));
    IdmlPageItemWriter::SetGraphicAttributes(context, frame, textFrame);
    WritePathGeometry(frame, textFrame.pathBounds);
    WritePreference(frame, textFrame);
    IdmlPageItemWriter::AddWrapAndMark(frame, textFrame);
}

void IdmlTextFrameWriter::WritePageItems(IdmlContext& context, pugi::xml_node spreadElement, const Spread& spread)
{
    for (UID uid : spread.pageItems) {
        const PageItem* item = context.GetDataBase().Get<PageItem>(uid);
        if (!item || !context.Claim(uid)) continue;
        if (const auto* textFrame = dynamic_cast<const TextFrame*>(item))
            WriteTextFrame(context, spreadElement, *textFrame);
        else
            IdmlPageItemWriter::WriteItem(context, spreadElement, *item);
    }
}
