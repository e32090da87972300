#include "IdmlGraphicWriter.h"

#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"

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

void SetSwatchAttributes(pugi::xml_node element, const char* name, bool editable)
{
    IdmlXml::SetText(element, "Name", name);
    IdmlXml::SetBool(element, "ColorEditable", editable);
    IdmlXml::SetBool(element, "ColorRemovable", false);
    IdmlXml::SetBool(element, "Visible", true);
    IdmlXml::SetText(element, "SwatchCreatorID", kBuiltInCreator);
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
}

} // namespace

void IdmlGraphicWriter::Write(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kGraphic, "Graphic", "Resources/Graphic.xml");
    WriteBuiltInColors(root);
    WriteProcessInks(root);
    WriteNoneSwatch(root);
    WriteStrokeStyles(root);
}
