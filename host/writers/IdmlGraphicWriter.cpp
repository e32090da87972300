#include "IdmlGraphicWriter.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"
#include "NumberFormatter.h"
#include "Swatch.h"

namespace {

// Swatches a layout program makes itself carry this creator id.
constexpr const char* kBuiltInCreator = "7937";

struct BuiltInColor {
    const char* self;
    const char* name;
    const char* model;
    const char* value;      // C M Y K, in percent
    const char* override;   // how the colour is special
    bool editable;
};

const BuiltInColor kColors[] = {
    {IdmlIds::kColorBlack, "Black", "Process", "0 0 0 100", "Specialblack", false},
    {IdmlIds::kColorPaper, "Paper", "Process", "0 0 0 0", "Specialpaper", true},
    {IdmlIds::kColorRegistration, "Registration", "Registration", "100 100 100 100", "Specialregistration", false},
};

struct ProcessInk {
    const char* name;
    const char* angle;
    const char* frequency;
    const char* neutralDensity;
    int trapOrder;
};

const ProcessInk kInks[] = {
    {"Process Cyan", "75", "70", "0.61", 1},
    {"Process Magenta", "15", "70", "0.76", 2},
    {"Process Yellow", "0", "70", "0.16", 3},
    {"Process Black", "45", "70", "1.7", 4},
};

void SetSwatchAttributes(pugi::xml_node element, const std::string& name, bool editable, bool removable = false)
{
    IdmlXml::SetText(element, "Name", name);
    IdmlXml::SetBool(element, "ColorEditable", editable);
    IdmlXml::SetBool(element, "ColorRemovable", removable);
    IdmlXml::SetBool(element, "Visible", true);
    IdmlXml::SetText(element, "SwatchCreatorID", kBuiltInCreator);
}

// "c m y k" in percent, each 0..100.
std::string ColorValue(const Swatch& color)
{
    std::string value;
    for (double component : {color.cyan, color.magenta, color.yellow, color.black}) {
        if (!value.empty()) value += ' ';
        value += NumberFormatter::FormatReal(std::clamp(component, 0.0, 1.0) * 100);
    }
    return value;
}

// How a color or tint is special (not at all) and its alternate color (none).
void SetPlainColor(pugi::xml_node element)
{
    IdmlXml::SetText(element, "ColorOverride", "Normal");
    IdmlXml::SetText(element, "AlternateSpace", "NoAlternateColor");
    IdmlXml::SetText(element, "AlternateColorValue", "");
}

// Model, Space and ColorValue of a color.
void SetColorSpace(pugi::xml_node element, const Swatch& color)
{
    const char* model = "Process";
    if (color.kind == SwatchKind::kSpot) model = "Spot";
    if (color.kind == SwatchKind::kRegistration) model = "Registration";
    IdmlXml::SetText(element, "Model", model);
    IdmlXml::SetText(element, "Space", "CMYK");
    IdmlXml::SetText(element, "ColorValue", ColorValue(color));
    SetPlainColor(element);
}

void WriteDocumentColors(pugi::xml_node root, const IdmlCatalog& catalog)
{
    for (const IdmlCatalog::SwatchEntry& entry : catalog.GetSwatches()) {
        if (entry.element != IdmlCatalog::SwatchElement::kColor) continue;
        pugi::xml_node element = root.append_child("Color");
        IdmlXml::SetText(element, "Self", entry.self);
        SetColorSpace(element, *entry.color);
        SetSwatchAttributes(element, entry.name, true, true);
    }
}

// The lowest neutral density an ink can have: even the palest ink darkens the paper a little.
constexpr double kMinNeutralDensity = 0.001;

// A spot color prints on an ink of its own name. Its neutral density (how dark the ink prints,
// which trapping uses) is estimated from the process inks the color is made of.
void WriteSpotInks(pugi::xml_node root, const IdmlCatalog& catalog)
{
    int trapOrder = static_cast<int>(std::size(kInks));
    for (const IdmlCatalog::SwatchEntry& entry : catalog.GetSwatches()) {
        if (entry.element != IdmlCatalog::SwatchElement::kColor || entry.color->kind != SwatchKind::kSpot) continue;
        const Swatch& color = *entry.color;
        double density = 0.61 * std::clamp(color.cyan, 0.0, 1.0) + 0.76 * std::clamp(color.magenta, 0.0, 1.0) +
                         0.16 * std::clamp(color.yellow, 0.0, 1.0) + 1.7 * std::clamp(color.black, 0.0, 1.0);
        pugi::xml_node element = root.append_child("Ink");
        IdmlXml::SetText(element, "Self", "Ink/" + entry.name);
        IdmlXml::SetText(element, "Name", entry.name);
        IdmlXml::SetText(element, "Angle", "45");
        IdmlXml::SetBool(element, "ConvertToProcess", false);
        IdmlXml::SetText(element, "Frequency", "70");
        IdmlXml::SetReal(element, "NeutralDensity", std::round(std::clamp(density, kMinNeutralDensity, 2.0) * 1000) / 1000);
        IdmlXml::SetBool(element, "PrintInk", true);
        IdmlXml::SetInteger(element, "TrapOrder", ++trapOrder);
        IdmlXml::SetText(element, "InkType", "Normal");
    }
}

// A tint has no name of its own ("$ID/"); InDesign shows it as its color and percentage. Its
// model and values are those of its base color, so it carries none of its own.
void WriteTints(pugi::xml_node root, const IdmlCatalog& catalog)
{
    for (const IdmlCatalog::SwatchEntry& entry : catalog.GetSwatches()) {
        if (entry.element != IdmlCatalog::SwatchElement::kTint) continue;
        pugi::xml_node element = root.append_child("Tint");
        IdmlXml::SetText(element, "Self", entry.self);
        SetPlainColor(element);
        SetSwatchAttributes(element, "$ID/", true, true);
        IdmlXml::SetReal(element, "TintValue", entry.tint);
        IdmlXml::SetText(element, "BaseColor", entry.baseSelf);
    }
}

void WriteBuiltInColors(pugi::xml_node root)
{
    for (const BuiltInColor& color : kColors) {
        pugi::xml_node element = root.append_child("Color");
        IdmlXml::SetText(element, "Self", color.self);
        IdmlXml::SetText(element, "Model", color.model);
        IdmlXml::SetText(element, "Space", "CMYK");
        IdmlXml::SetText(element, "ColorValue", color.value);
        IdmlXml::SetText(element, "ColorOverride", color.override);
        IdmlXml::SetText(element, "AlternateSpace", "NoAlternateColor");
        IdmlXml::SetText(element, "AlternateColorValue", "");
        SetSwatchAttributes(element, color.name, color.editable);
    }
}

void WriteProcessInks(pugi::xml_node root)
{
    for (const ProcessInk& ink : kInks) {
        pugi::xml_node element = root.append_child("Ink");
        IdmlXml::SetText(element, "Self", std::string("Ink/$ID/") + ink.name);
        IdmlXml::SetText(element, "Name", std::string("$ID/") + ink.name);
        IdmlXml::SetText(element, "Angle", ink.angle);
        IdmlXml::SetBool(element, "ConvertToProcess", false);
        IdmlXml::SetText(element, "Frequency", ink.frequency);
        IdmlXml::SetText(element, "NeutralDensity", ink.neutralDensity);
        IdmlXml::SetBool(element, "PrintInk", true);
        IdmlXml::SetInteger(element, "TrapOrder", ink.trapOrder);
        IdmlXml::SetText(element, "InkType", "Normal");
    }
}

void WriteNoneSwatch(pugi::xml_node root)
{
    pugi::xml_node element = root.append_child("Swatch");
    IdmlXml::SetText(element, "Self", IdmlIds::kSwatchNone);
    SetSwatchAttributes(element, "None", false);
}

void WriteStrokeStyles(pugi::xml_node root)
{
    pugi::xml_node element = root.append_child("StrokeStyle");
    IdmlXml::SetText(element, "Self", IdmlIds::kStrokeSolid);
    IdmlXml::SetText(element, "Name", "$ID/Solid");
    // The double line of table rulings.
    element = root.append_child("StrokeStyle");
    IdmlXml::SetText(element, "Self", IdmlIds::kStrokeThinThin);
    IdmlXml::SetText(element, "Name", "$ID/ThinThin");
}

} // namespace

void IdmlGraphicWriter::Write(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kGraphic, "Graphic", "Resources/Graphic.xml");
    const IdmlCatalog& catalog = context.GetCatalog();
    WriteBuiltInColors(root);
    WriteDocumentColors(root, catalog);
    WriteProcessInks(root);
    WriteSpotInks(root, catalog);
    WriteTints(root, catalog);
    WriteNoneSwatch(root);
    WriteStrokeStyles(root);
}
