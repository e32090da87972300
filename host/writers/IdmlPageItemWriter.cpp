#include "IdmlPageItemWriter.h"

#include <filesystem>

#include "DataBase.h"
#include "GroupItem.h"
#include "IdmlCatalog.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlTextFrameWriter.h"
#include "IdmlXml.h"
#include "NumberFormatter.h"
#include "PlacedGraphic.h"
#include "SplineItem.h"
#include "Swatch.h"
#include "TextFrame.h"

namespace {

std::string Point(const PMPoint& p) { return NumberFormatter::FormatReal(p.x) + " " + NumberFormatter::FormatReal(p.y); }

std::string ColorRef(IdmlContext& context, UID swatch)
{
    std::string ref = swatch == kInvalidUID ? std::string() : context.GetCatalog().SwatchRef(swatch);
    return ref.empty() ? IdmlIds::kSwatchNone : ref;
}

void WritePath(pugi::xml_node element, const std::vector<PMPathPoint>& points, bool open)
{
    pugi::xml_node geometry = IdmlXml::AddPropertyElement(element, "PathGeometry", "");
    geometry.remove_attribute("type");
    pugi::xml_node path = geometry.append_child("GeometryPathType");
    IdmlXml::SetBool(path, "PathOpen", open);
    pugi::xml_node array = path.append_child("PathPointArray");
    for (const PMPathPoint& point : points) {
        pugi::xml_node node = array.append_child("PathPointType");
        IdmlXml::SetText(node, "Anchor", Point(point.anchor));
        IdmlXml::SetText(node, "LeftDirection", Point(point.left));
        IdmlXml::SetText(node, "RightDirection", Point(point.right));
    }
}

const char* ElementName(const SplineItem& spline)
{
    switch (spline.kind) {
    case SplineKind::kRectangle: return "Rectangle";
    case SplineKind::kOval: return "Oval";
    case SplineKind::kPolygon: return "Polygon";
    case SplineKind::kGraphicLine: return spline.path.size() == 2 ? "GraphicLine" : "Polygon";
    }
    return "Polygon";
}

void WriteGraphic(IdmlContext& context, pugi::xml_node frame, const PlacedGraphic& graphic)
{
    const char* name = graphic.kind == GraphicKind::kEPS ? "EPS" : graphic.kind == GraphicKind::kPDF ? "PDF" : "Image";
    pugi::xml_node element = frame.append_child(name);
    IdmlXml::SetText(element, "Self", IdmlIds::ForUID(graphic.GetUID()));
    IdmlXml::SetText(element, "ItemTransform", IdmlXml::Matrix(graphic.itemTransform));
    if (graphic.kind == GraphicKind::kImage && !graphic.format.empty()) IdmlXml::SetText(element, "ImageTypeName", "$ID/" + graphic.format);
    pugi::xml_node properties = element.prepend_child("Properties");
    if (graphic.embedded && !graphic.data.empty())
        properties.append_child("Contents").append_child(pugi::node_cdata).set_value(IdmlPageItemWriter::Base64(graphic.data).c_str());
    pugi::xml_node bounds = properties.append_child("GraphicBounds");
    IdmlXml::SetReal(bounds, "Left", graphic.graphicBounds.left);
    IdmlXml::SetReal(bounds, "Top", graphic.graphicBounds.top);
    IdmlXml::SetReal(bounds, "Right", graphic.graphicBounds.right);
    IdmlXml::SetReal(bounds, "Bottom", graphic.graphicBounds.bottom);
    pugi::xml_node link = element.append_child("Link");
    IdmlXml::SetText(link, "Self", IdmlIds::ForUID(graphic.GetUID()) + "Link");
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(graphic.file.GetPath(), error);
    IdmlXml::SetText(link, "LinkResourceURI", IdmlPageItemWriter::FileURI((error ? graphic.file.GetPath() : absolute).string()));
    if (!graphic.format.empty()) IdmlXml::SetText(link, "LinkResourceFormat", "$ID/" + graphic.format);
    IdmlXml::SetText(link, "StoredState", graphic.embedded ? "Embedded" : "Normal");
}

void WriteSpline(IdmlContext& context, pugi::xml_node parent, const SplineItem& spline)
{
    pugi::xml_node element = parent.append_child(ElementName(spline));
    IdmlXml::SetText(element, "Self", IdmlIds::ForUID(spline.GetUID()));
    const PlacedGraphic* graphic = context.GetDataBase().Get<PlacedGraphic>(spline.graphic);
    IdmlXml::SetText(element, "ContentType", graphic ? "GraphicType" : "Unassigned");
    IdmlXml::SetText(element, "AppliedObjectStyle", IdmlIds::kNoObjectStyle);
    IdmlXml::SetText(element, "ItemLayer", context.LayerRef(spline.layer));
    IdmlXml::SetBool(element, "Visible", true);
    IdmlXml::SetText(element, "ItemTransform", IdmlXml::Matrix(spline.itemTransform));
    IdmlPageItemWriter::SetGraphicAttributes(context, element, spline);
    WritePath(element, spline.GetPathPoints(), spline.IsOpen());
    IdmlPageItemWriter::AddWrapAndMark(element, spline);
    if (graphic && context.Claim(graphic->GetUID())) WriteGraphic(context, element, *graphic);
}

void WriteGroup(IdmlContext& context, pugi::xml_node parent, const GroupItem& group)
{
    pugi::xml_node element = parent.append_child("Group");
    IdmlXml::SetText(element, "Self", IdmlIds::ForUID(group.GetUID()));
    IdmlXml::SetText(element, "AppliedObjectStyle", IdmlIds::kNoObjectStyle);
    IdmlXml::SetText(element, "ItemLayer", context.LayerRef(group.layer));
    IdmlXml::SetBool(element, "Visible", true);
    IdmlXml::SetText(element, "ItemTransform", IdmlXml::Matrix(group.itemTransform));
    IdmlPageItemWriter::AddWrapAndMark(element, group);
    for (UID uid : group.children) {
        const PageItem* child = context.GetDataBase().Get<PageItem>(uid);
        if (!child || !context.Claim(uid)) continue;
        if (const auto* frame = dynamic_cast<const TextFrame*>(child))
            IdmlTextFrameWriter::WriteTextFrame(context, element, *frame);
        else
            IdmlPageItemWriter::WriteItem(context, element, *child);
    }
}

} // namespace

bool IdmlPageItemWriter::WriteItem(IdmlContext& context, pugi::xml_node parent, const PageItem& item)
{
    if (const auto* spline = dynamic_cast<const SplineItem*>(&item)) {
        WriteSpline(context, parent, *spline);
        return true;
    }
    if (const auto* group = dynamic_cast<const GroupItem*>(&item)) {
        WriteGroup(context, parent, *group);
        return true;
    }
    return false;
}

void IdmlPageItemWriter::SetGraphicAttributes(IdmlContext& context, pugi::xml_node element, const PageItem& item)
{
    const GraphicAttributes& g = item.graphics;
    IdmlXml::SetText(element, "FillColor", ColorRef(context, g.fillColor));
    if (g.fillTint >= 0 && g.fillColor != kInvalidUID) IdmlXml::SetReal(element, "FillTint", g.fillTint);
    IdmlXml::SetText(element, "StrokeColor", ColorRef(context, g.strokeColor));
    if (g.strokeTint >= 0 && g.strokeColor != kInvalidUID) IdmlXml::SetReal(element, "StrokeTint", g.strokeTint);
    IdmlXml::SetReal(element, "StrokeWeight", g.strokeWeight);
    if (g.solidStroke) IdmlXml::SetText(element, "StrokeType", "StrokeStyle/$ID/Solid");
    IdmlXml::SetText(element, "LeftLineEnd", LineEndName(g.startLineEnd));
    IdmlXml::SetText(element, "RightLineEnd", LineEndName(g.endLineEnd));
    if (g.roundedCorners && g.cornerRadius > 0) {
        IdmlXml::SetText(element, "CornerOption", "RoundedCorner");
        IdmlXml::SetReal(element, "CornerRadius", g.cornerRadius);
        for (const char* corner : {"TopLeft", "TopRight", "BottomLeft", "BottomRight"}) {
            IdmlXml::SetText(element, (std::string(corner) + "CornerOption").c_str(), "RoundedCorner");
            IdmlXml::SetReal(element, (std::string(corner) + "CornerRadius").c_str(), g.cornerRadius);
        }
    }
}

void IdmlPageItemWriter::AddWrapAndMark(pugi::xml_node element, const PageItem& item)
{
    if (item.importMark) {
        pugi::xml_node properties = element.child("Properties");
        if (!properties) properties = element.prepend_child("Properties");
        pugi::xml_node pair = properties.append_child("Label").append_child("KeyValuePair");
        IdmlXml::SetText(pair, "Key", "TesselImported");
        IdmlXml::SetText(pair, "Value", "true");
    }
    const GraphicAttributes& g = item.graphics;
    const PMRect& m = g.wrapMargins;
    if (g.wrapMode == TextWrapMode::kNone && m.left == 0 && m.top == 0 && m.right == 0 && m.bottom == 0) return;
    pugi::xml_node wrap = element.append_child("TextWrapPreference");
    IdmlXml::SetText(wrap, "TextWrapMode", TextWrapModeName(g.wrapMode));
    pugi::xml_node offset = wrap.append_child("Properties").append_child("TextWrapOffset");
    IdmlXml::SetReal(offset, "Top", m.top);
    IdmlXml::SetReal(offset, "Left", m.left);
    IdmlXml::SetReal(offset, "Bottom", m.bottom);
    IdmlXml::SetReal(offset, "Right", m.right);
    // What a contour wrap follows; a bounding-box wrap has no contour.
    if (g.wrapMode == TextWrapMode::kContour) {
        pugi::xml_node contour = wrap.append_child("ContourOption");
        IdmlXml::SetText(contour, "ContourType", TextWrapFormName(g.wrapForm));
        IdmlXml::SetBool(contour, "IncludeInsideEdges", false);
    }
}

std::string IdmlPageItemWriter::Base64(const std::vector<unsigned char>& bytes)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        uint32 v = (uint32(bytes[i]) << 16) | (uint32(bytes[i + 1]) << 8) | bytes[i + 2];
        for (int shift : {18, 12, 6, 0}) out.push_back(kAlphabet[(v >> shift) & 63]);
    }
    if (size_t rest = bytes.size() - i; rest > 0) {
        uint32 v = uint32(bytes[i]) << 16;
        if (rest == 2) v |= uint32(bytes[i + 1]) << 8;
        out.push_back(kAlphabet[(v >> 18) & 63]);
        out.push_back(kAlphabet[(v >> 12) & 63]);
        out.push_back(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

std::string IdmlPageItemWriter::FileURI(const std::string& path)
{
    std::string uri = "file://";
    if (path.empty() || path[0] != '/') uri += '/';
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : path) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                     c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}
