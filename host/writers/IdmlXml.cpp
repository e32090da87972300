#include "IdmlXml.h"

#include "NumberFormatter.h"

void IdmlXml::SetText(pugi::xml_node element, const char* name, const PMString& text)
{
    SetText(element, name, CleanText(text));
}

namespace {

pugi::xml_attribute Attribute(pugi::xml_node element, const char* name)
{
    pugi::xml_attribute attribute = element.attribute(name);
    return attribute ? attribute : element.append_attribute(name);
}

} // namespace

void IdmlXml::SetText(pugi::xml_node element, const char* name, const std::string& utf8)
{
    Attribute(element, name).set_value(utf8.c_str());
}

void IdmlXml::SetText(pugi::xml_node element, const char* name, const char* utf8)
{
    Attribute(element, name).set_value(utf8);
}

void IdmlXml::SetReal(pugi::xml_node element, const char* name, PMReal value)
{
    SetText(element, name, NumberFormatter::FormatReal(value));
}

void IdmlXml::SetInteger(pugi::xml_node element, const char* name, int64 value)
{
    SetText(element, name, NumberFormatter::FormatInteger(value));
}

void IdmlXml::SetBool(pugi::xml_node element, const char* name, bool value)
{
    Attribute(element, name).set_value(value ? "true" : "false");
}

void IdmlXml::AppendSpecialCharacter(pugi::xml_node content, const char* code)
{
    content.append_child(pugi::node_pcdata);
    pugi::xml_node instruction = content.append_child(pugi::node_pi);
    instruction.set_name("ACE");
    instruction.set_value(code);
    content.append_child(pugi::node_pcdata);
}

void IdmlXml::AddProperty(pugi::xml_node element, const char* name, const char* type, const std::string& value)
{
    AddPropertyElement(element, name, type).text().set(value.c_str());
}

pugi::xml_node IdmlXml::AddPropertyElement(pugi::xml_node element, const char* name, const char* type)
{
    pugi::xml_node properties = element.child("Properties");
    if (!properties) properties = element.prepend_child("Properties");
    // A property set again keeps its place and loses its old content.
    pugi::xml_node property = properties.child(name);
    if (property) {
        pugi::xml_node replacement = properties.insert_child_before(name, property);
        properties.remove_child(property);
        property = replacement;
    } else {
        property = properties.append_child(name);
    }
    property.append_attribute("type").set_value(type);
    return property;
}

std::string IdmlXml::Matrix(const PMMatrix& m)
{
    std::string text;
    for (PMReal value : {m.a, m.b, m.c, m.d, m.tx, m.ty}) {
        if (!text.empty()) text += ' ';
        text += NumberFormatter::FormatReal(value);
    }
    return text;
}

std::string IdmlXml::Bounds(const PMRect& r)
{
    return NumberFormatter::FormatReal(r.top) + ' ' + NumberFormatter::FormatReal(r.left) + ' ' +
           NumberFormatter::FormatReal(r.bottom) + ' ' + NumberFormatter::FormatReal(r.right);
}

std::string IdmlXml::CleanText(const PMString& text)
{
    PMString clean;
    const std::u16string& units = text.GetUTF16();
    for (size_t i = 0; i < units.size(); ++i) {
        char16_t c = units[i];
        bool high = c >= 0xD800 && c <= 0xDBFF;
        bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            clean.AppendW(c);
            clean.AppendW(units[++i]);
            continue;
        }
        if (high || low || c == 0xFFFE || c == 0xFFFF) continue;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
        clean.AppendW(c);
    }
    return clean.GetUTF8String();
}
