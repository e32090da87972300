// The catalogs of every corpus file arrive in the IDML package: each named color as a swatch with
// its values, each named character and paragraph format as a style with a sample of its
// converted attributes, compared against the MIF statements themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "CmdUtils.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IdmlPackage.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "TestUtils.h"

namespace {

std::string Str(const MifObject& object, int32 id)
{
    const MifProp* prop = object.FindProp(id);
    return prop && MifIsStringType(prop->type) && prop->value.rawString ? prop->value.rawString->GetUTF8String() : "";
}

// The last statement of each name in a catalog: a later format of a name replaces an earlier one.
std::map<std::string, const MifObject*> Named(const MifObject* catalog, int32 statement, int32 tag)
{
    std::map<std::string, const MifObject*> named;
    if (!catalog) return named;
    for (const MifProp* prop : catalog->props)
        if (prop->id == statement && prop->type == kMifTypeObject && !Str(*prop->value.object, tag).empty())
            named[Str(*prop->value.object, tag)] = prop->value.object;
    return named;
}

// Elements of `kind` in the package by their Name.
std::map<std::string, pugi::xml_node> ByName(const IdmlPackage& idml, const char* kind)
{
    std::map<std::string, pugi::xml_node> byName;
    for (pugi::xml_node node : idml.FindAll(kind)) byName[node.attribute("Name").value()] = node;
    return byName;
}

// An attribute of a style, as an element attribute or a property.
std::string StyleValue(pugi::xml_node style, const char* name)
{
    if (pugi::xml_attribute attr = style.attribute(name)) return attr.value();
    return style.child("Properties").child(name).text().get();
}

bool Near(const std::string& text, double expected) { return !text.empty() && std::fabs(std::stod(text) - expected) < 1e-3; }

const char* const kReservedColors[] = {"Cyan", "Magenta", "Yellow", "Black", "Paper", "Registration", "None"};

} // namespace

TEST(CorpusCatalog, EveryFile_ColorsFormatsAndStylesArrive)
{
    std::vector<std::filesystem::path> files = CorpusFiles();
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        SCOPED_TRACE(path.string());
        ParsedMif mif(ReadFile(path.string()));
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess);
        CmdUtils::ProcessScheduledCmds();
        std::string package;
        ASSERT_EQ(IdmlWriter::BuildPackage(*document.GetDataBase(), &package), kSuccess);
        DocumentList::Close(document.GetDataBase());
        IdmlPackage idml = IdmlPackage::FromBytes(package);
        ASSERT_TRUE(idml.IsOpen());

        auto colors = ByName(idml, "Color");
        for (const auto& [name, color] : Named(mif.root->GetObject(kMifColorCatalog), kMifColor, kMifColorTag)) {
            if (color->FindProp(kMifColorTintPercentage) ||
                std::find(std::begin(kReservedColors), std::end(kReservedColors), name) != std::end(kReservedColors))
                continue;
            ASSERT_TRUE(colors.count(name)) << "color " << name;
            std::istringstream values(colors[name].attribute("ColorValue").value());
            double c, m, y, k;
            values >> c >> m >> y >> k;
            MifPropVal v;
            EXPECT_NEAR(c, color->GetPropVal(kMifColorCyan, v) ? v.number : 0, 1e-3) << name;
            EXPECT_NEAR(k, color->GetPropVal(kMifColorBlack, v) ? v.number : 0, 1e-3) << name;
        }

        auto charStyles = ByName(idml, "CharacterStyle");
        for (const auto& [name, font] : Named(mif.root->GetObject(kMifFontCatalog), kMifFont, kMifFTag)) {
            ASSERT_TRUE(charStyles.count(name)) << "character style " << name;
            MifPropVal size;
            if (font->GetPropVal(kMifFSize, size)) {
                EXPECT_TRUE(Near(StyleValue(charStyles[name], "PointSize"), size.dim[0])) << name;
            }
            MifPropVal underlining;
            if (font->GetPropVal(kMifFUnderlining, underlining)) {
                EXPECT_EQ(StyleValue(charStyles[name], "Underline"), underlining.keyword == kMifFNoUnderlining ? "false" : "true") << name;
            }
        }

        auto paraStyles = ByName(idml, "ParagraphStyle");
        for (const auto& [tag, pgf] : Named(mif.root->GetObject(kMifPgfCatalog), kMifPgf, kMifPgfTag)) {
            std::string name = tag == "[No paragraph style]" ? "No paragraph style" : tag;
            ASSERT_TRUE(paraStyles.count(name)) << "paragraph style " << name;
            pugi::xml_node style = paraStyles[name];
            MifPropVal v;
            if (pgf->GetPropVal(kMifPgfSpBefore, v)) {
                // A separator above adds its frame's height to the space.
                if (StyleValue(style, "RuleAbove") == "true")
                    EXPECT_GT(std::stod(StyleValue(style, "SpaceBefore")), std::max(v.dim[0], 0.0)) << name;
                else
                    EXPECT_TRUE(Near(StyleValue(style, "SpaceBefore"), std::max(v.dim[0], 0.0))) << name;
            }
            if (pgf->GetPropVal(kMifPgfLIndent, v)) {
                EXPECT_TRUE(Near(StyleValue(style, "LeftIndent"), v.dim[0])) << name;
            }
            if (const MifObject* font = pgf->GetObject(kMifPgfFont); font && font->GetPropVal(kMifFSize, v)) {
                EXPECT_TRUE(Near(StyleValue(style, "PointSize"), v.dim[0])) << name;
            }
            if (pgf->GetPropVal(kMifPgfAlignment, v)) {
                const char* expected = v.keyword == kMifCenter ? "CenterAlign" : v.keyword == kMifRight ? "RightAlign"
                                       : v.keyword == kMifLeftRight ? "LeftJustified" : "LeftAlign";
                EXPECT_EQ(StyleValue(style, "Justification"), expected) << name;
            }
        }
    }
}
