// IdmlXml: small helpers that put model values into IDML elements (pugixml nodes).
//
// Numbers print through NumberFormatter, booleans as "true"/"false", text as UTF-8 without the
// characters XML 1.0 cannot hold (controls other than tab, line feed and carriage return; U+FFFE,
// U+FFFF; unpaired surrogates), which a reader would otherwise reject as a malformed part.
// Setting an attribute or a property that the element already has replaces its value, so that
// a writer may lay defaults down first and the model's values over them.
#pragma once

#include <pugixml.hpp>
#include <string>

#include "PMGeometry.h"
#include "PMString.h"

class IdmlXml {
public:
    static void SetText(pugi::xml_node element, const char* name, const PMString& text);
    static void SetText(pugi::xml_node element, const char* name, const std::string& utf8);
    static void SetText(pugi::xml_node element, const char* name, const char* utf8);
    static void SetReal(pugi::xml_node element, const char* name, PMReal value);
    static void SetInteger(pugi::xml_node element, const char* name, int64 value);
    static void SetBool(pugi::xml_node element, const char* name, bool value);

    // Sets <name type="type">value</name> in the element's <Properties>, which is created as
    // the element's first child when missing (readers expect it before any other child).
    static void AddProperty(pugi::xml_node element, const char* name, const char* type, const std::string& value);
    // The empty property <name type="type"/>, for properties with children (lists, records);
    // an old value of the property is dropped.
    static pugi::xml_node AddPropertyElement(pugi::xml_node element, const char* name, const char* type);

    // Appends the special character <?ACE code?> to a text-bearing element (<Content>). InDesign
    // reads every character inside <Content> as text, and the indenting serializer would put a
    // line break and tabs around an instruction that does not stand next to text: empty text
    // nodes on both sides keep it on the line.
    static void AppendSpecialCharacter(pugi::xml_node content, const char* code);

    // "a b c d tx ty".
    static std::string Matrix(const PMMatrix& matrix);
    // IDML bounds order: "top left bottom right".
    static std::string Bounds(const PMRect& bounds);
    // `text` as UTF-8, keeping only what XML 1.0 allows.
    static std::string CleanText(const PMString& text);
};
