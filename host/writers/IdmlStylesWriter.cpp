#include "IdmlStylesWriter.h"

#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"

namespace {

// A style under its root group: Self, Name ("$ID/[None]" from the Self "ObjectStyle/$ID/[None]")
// and, when given, the style it is based on.
pugi::xml_node AppendStyle(pugi::xml_node group, const char* kind, const char* self, const char* basedOn = nullptr)
{
    pugi::xml_node style = group.append_child(kind);
    std::string id(self);
    IdmlXml::SetText(style, "Self", id);
    IdmlXml::SetText(style, "Name", id.substr(id.find('/') + 1));
    IdmlXml::SetBool(style, "Imported", false);
    if (basedOn) IdmlXml::AddProperty(style, "BasedOn", "object", basedOn);
    return style;
}

pugi::xml_node AppendGroup(pugi::xml_node root, const char* kind)
{
    pugi::xml_node group = root.append_child(kind);
    IdmlXml::SetText(group, "Self", std::string(kind) + "/Root");
    return group;
}

void WriteCharacterStyles(pugi::xml_node root)
{
    pugi::xml_node group = AppendGroup(root, "RootCharacterStyleGroup");
    AppendStyle(group, "CharacterStyle", IdmlIds::kNoCharacterStyle);
}

void WriteParagraphStyles(pugi::xml_node root)
{
    pugi::xml_node group = AppendGroup(root, "RootParagraphStyleGroup");
    // The root of all paragraph styles holds the defaults every other style starts from.
    pugi::xml_node none = AppendStyle(group, "ParagraphStyle", IdmlIds::kNoParagraphStyle);
    IdmlXml::SetText(none, "FillColor", IdmlIds::kColorBlack);
    IdmlXml::SetText(none, "StrokeColor", IdmlIds::kSwatchNone);
    IdmlXml::SetReal(none, "PointSize", 12);
    IdmlXml::SetText(none, "Justification", "LeftAlign");
    pugi::xml_node basic = AppendStyle(group, "ParagraphStyle", IdmlIds::kBasicParagraphStyle, IdmlIds::kNoParagraphStyle);
    IdmlXml::SetText(basic, "NextStyle", IdmlIds::kBasicParagraphStyle);
}

void WriteCellStyles(pugi::xml_node root)
{
    pugi::xml_node group = AppendGroup(root, "RootCellStyleGroup");
    pugi::xml_node none = AppendStyle(group, "CellStyle", IdmlIds::kNoCellStyle);
    IdmlXml::SetText(none, "AppliedParagraphStyle", IdmlIds::kNoParagraphStyle);
}

void WriteTableStyles(pugi::xml_node root)
{
    pugi::xml_node group = AppendGroup(root, "RootTableStyleGroup");
    AppendStyle(group, "TableStyle", IdmlIds::kNoTableStyle);
    AppendStyle(group, "TableStyle", IdmlIds::kBasicTableStyle, IdmlIds::kNoTableStyle);
}

void WriteObjectStyles(pugi::xml_node root)
{
    pugi::xml_node group = AppendGroup(root, "RootObjectStyleGroup");
    pugi::xml_node none = AppendStyle(group, "ObjectStyle", IdmlIds::kNoObjectStyle);
    IdmlXml::SetText(none, "FillColor", IdmlIds::kSwatchNone);
    IdmlXml::SetText(none, "StrokeColor", IdmlIds::kSwatchNone);
    IdmlXml::SetReal(none, "StrokeWeight", 0);
    // A new graphics frame has a one-point black stroke; a text frame none.
    pugi::xml_node graphics = AppendStyle(group, "ObjectStyle", IdmlIds::kNormalGraphicsFrameStyle, IdmlIds::kNoObjectStyle);
    IdmlXml::SetText(graphics, "StrokeColor", IdmlIds::kColorBlack);
    IdmlXml::SetReal(graphics, "StrokeWeight", 1);
    AppendStyle(group, "ObjectStyle", IdmlIds::kNormalTextFrameStyle, IdmlIds::kNoObjectStyle);
}

} // namespace

void IdmlStylesWriter::Write(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kStyles, "Styles", "Resources/Styles.xml");
    WriteCharacterStyles(root);
    WriteParagraphStyles(root);
    WriteCellStyles(root);
    WriteTableStyles(root);
    WriteObjectStyles(root);
}
