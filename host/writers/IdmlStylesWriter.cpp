#include "IdmlStylesWriter.h"

#include <string_view>

#include "DataBase.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlTextAttributes.h"
#include "IdmlXml.h"
#include "Style.h"
#include "StyleUtils.h"

namespace {

// The name in a fixed Self: "$ID/[None]" from "ObjectStyle/$ID/[None]".
std::string FixedName(const std::string& self) { return self.substr(self.find('/') + 1); }

// <BasedOn>: a root style ("[No paragraph style]", "[None]", ...) by its name, as InDesign
// writes it; any other style by reference.
void SetBasedOn(pugi::xml_node style, const std::string& basedOn)
{
    for (const char* root : {IdmlIds::kNoParagraphStyle, IdmlIds::kNoCharacterStyle, IdmlIds::kNoTableStyle,
                             IdmlIds::kNoCellStyle, IdmlIds::kNoObjectStyle})
        if (basedOn == root) return IdmlXml::AddProperty(style, "BasedOn", "string", FixedName(basedOn));
    IdmlXml::AddProperty(style, "BasedOn", "object", basedOn);
}

// A style under its root group: Self, Name and, when given, the Self of the style it is based on.
pugi::xml_node AppendStyle(pugi::xml_node group, const char* kind, const std::string& self, const std::string& name,
                           const char* basedOn = nullptr)
{
    pugi::xml_node style = group.append_child(kind);
    IdmlXml::SetText(style, "Self", self);
    IdmlXml::SetText(style, "Name", name);
    // Only text styles record whether they came from another document.
    if (std::string_view(kind) == "ParagraphStyle" || std::string_view(kind) == "CharacterStyle") IdmlXml::SetBool(style, "Imported", false);
    if (basedOn) SetBasedOn(style, basedOn);
    return style;
}

pugi::xml_node AppendStyle(pugi::xml_node group, const char* kind, const char* self, const char* basedOn = nullptr)
{
    return AppendStyle(group, kind, self, FixedName(self), basedOn);
}

pugi::xml_node AppendGroup(pugi::xml_node root, const char* kind)
{
    pugi::xml_node group = root.append_child(kind);
    IdmlXml::SetText(group, "Self", std::string(kind) + "/Root");
    return group;
}

// The Self of the style `style` is based on; `root` when it is based on none, on a style the
// package lacks, or on a chain that leads back to itself (InDesign takes no such loop).
std::string ParentRef(const IdmlContext& context, const Style& style, const char* root)
{
    const DataBase& db = context.GetDataBase();
    size_t limit = db.GetObjects().size();
    for (const Style* parent = db.Get<Style>(style.basedOn); parent && limit-- > 0; parent = db.Get<Style>(parent->basedOn))
        if (parent == &style) return root;
    const IdmlCatalog& catalog = context.GetCatalog();
    std::string parent = style.kind == StyleKind::kParagraph ? catalog.ParagraphStyleRef(style.basedOn)
                                                              : catalog.CharacterStyleRef(style.basedOn);
    return parent.empty() ? std::string(root) : parent;
}

// The style's own attributes. A style that sets a font style but inherits the family names the
// family too, so that readers know which font the style means.
void WriteAttributes(const IdmlContext& context, const Style& style, pugi::xml_node element)
{
    AttributeBossList attributes = style.attributes;
    if (attributes.Contains(TextAttribute::kFontStyle) && !attributes.Contains(TextAttribute::kFontFamily))
        if (const AttributeValue* family = StyleUtils::GetInheritedAttribute(context.GetDataBase(), style.GetUID(), TextAttribute::kFontFamily))
            attributes.ApplyAttribute(TextAttribute::kFontFamily, *family);
    IdmlTextAttributes::Scope scope =
        style.kind == StyleKind::kParagraph ? IdmlTextAttributes::Scope::kParagraph : IdmlTextAttributes::Scope::kCharacter;
    IdmlTextAttributes::Write(context, attributes, scope, element);
}

void WriteCharacterStyles(const IdmlContext& context, pugi::xml_node root)
{
    pugi::xml_node group = AppendGroup(root, "RootCharacterStyleGroup");
    AppendStyle(group, "CharacterStyle", IdmlIds::kNoCharacterStyle);
    for (const IdmlCatalog::Entry& entry : context.GetCatalog().GetCharacterStyles()) {
        // "[No character style]" means the text's own attributes: it carries none.
        if (entry.self == IdmlIds::kNoCharacterStyle) continue;
        const Style& style = *context.GetDataBase().Get<Style>(entry.uid);
        pugi::xml_node element = AppendStyle(group, "CharacterStyle", entry.self, entry.name);
        SetBasedOn(element, ParentRef(context, style, IdmlIds::kNoCharacterStyle));
        WriteAttributes(context, style, element);
    }
}

void WriteParagraphStyles(const IdmlContext& context, pugi::xml_node root)
{
    pugi::xml_node group = AppendGroup(root, "RootParagraphStyleGroup");
    // The root of all paragraph styles holds the defaults every other style starts from.
    pugi::xml_node none = AppendStyle(group, "ParagraphStyle", IdmlIds::kNoParagraphStyle);
    IdmlXml::SetText(none, "NextStyle", IdmlIds::kNoParagraphStyle);
    IdmlXml::SetText(none, "FillColor", IdmlIds::kColorBlack);
    IdmlXml::SetText(none, "StrokeColor", IdmlIds::kSwatchNone);
    IdmlXml::SetReal(none, "PointSize", 12);
    IdmlXml::SetText(none, "Justification", "LeftAlign");
    pugi::xml_node basic = AppendStyle(group, "ParagraphStyle", IdmlIds::kBasicParagraphStyle, IdmlIds::kNoParagraphStyle);
    IdmlXml::SetText(basic, "NextStyle", IdmlIds::kBasicParagraphStyle);

    const IdmlCatalog& catalog = context.GetCatalog();
    for (const IdmlCatalog::Entry& entry : catalog.GetParagraphStyles()) {
        const Style& style = *context.GetDataBase().Get<Style>(entry.uid);
        pugi::xml_node element;
        if (entry.self == IdmlIds::kNoParagraphStyle) {
            element = none;  // the document's defaults over the built-in ones; it is its own next style
        } else {
            element = entry.self == IdmlIds::kBasicParagraphStyle ? basic : AppendStyle(group, "ParagraphStyle", entry.self, entry.name);
            if (element != basic) SetBasedOn(element, ParentRef(context, style, IdmlIds::kNoParagraphStyle));
            // No next style: the style follows itself.
            std::string next = catalog.ParagraphStyleRef(style.nextStyle);
            IdmlXml::SetText(element, "NextStyle", next.empty() ? entry.self : next);
        }
        WriteAttributes(context, style, element);
    }
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
    WriteCharacterStyles(context, root);
    WriteParagraphStyles(context, root);
    WriteCellStyles(root);
    WriteTableStyles(root);
    WriteObjectStyles(root);
}
