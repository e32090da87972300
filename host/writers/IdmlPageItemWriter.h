// IdmlPageItemWriter: the graphic page items of a spread or master spread: splines as
// <Rectangle>, <Oval>, <Polygon> (closed, or open with more than two points) and <GraphicLine>
// (an open path of two points), groups as <Group> holding their children, and the placed graphic
// of a frame as <Image>, <EPS> or <PDF> with its <Link>: LinkResourceURI the file as a "file:"
// URI; an embedded graphic also carries its bytes (Properties/Contents, base64) and the link's
// StoredState "Embedded", so the package does not need the file.
//
// The painting of any page item (text frames too): StrokeWeight, StrokeType, StrokeColor,
// StrokeTint, FillColor, FillTint (a colour of none is "Swatch/None"), rounded corners
// (CornerOption, CornerRadius, and per corner), LeftLineEnd and RightLineEnd (the path's start
// and end), the text wrap as <TextWrapPreference> with its TextWrapOffset, and the import mark
// as the label "TesselImported".
#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

class IdmlContext;
class PageItem;

class IdmlPageItemWriter {
public:
    // Writes `item` (no text frame) as a child of `parent`; false when it is of no kind this
    // writer knows.
    static bool WriteItem(IdmlContext& context, pugi::xml_node parent, const PageItem& item);
    // Sets the stroke, fill, corner and line-end attributes of `element` from `item`.
    static void SetGraphicAttributes(IdmlContext& context, pugi::xml_node element, const PageItem& item);
    // Adds the item's text wrap preference to `element` (after the elements that must come
    // before it) when it has a wrap or offsets; and its import mark to the element's Properties.
    static void AddWrapAndMark(pugi::xml_node element, const PageItem& item);
    // `bytes` in base64 (RFC 4648, with padding, no line breaks).
    static std::string Base64(const std::vector<unsigned char>& bytes);
    // An absolute path as a "file:" URI ("file:///a%20b/c.tif").
    static std::string FileURI(const std::string& path);
};
