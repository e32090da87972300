#include "IdmlFontsWriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "DataBase.h"
#include "Document.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"
#include "Style.h"
#include "StyleUtils.h"

namespace {

constexpr size_t kMaxPostScriptName = 63;

// The styles of `family` the document uses: those it records, then those its styles set.
std::vector<PMString> StylesInUse(const DataBase& db, const FontFamily& family)
{
    std::vector<PMString> styles = family.styles;
    auto add = [&](const PMString& style) {
        if (!style.IsEmpty() && std::find(styles.begin(), styles.end(), style) == styles.end()) styles.push_back(style);
    };
    const Document& document = *db.GetDocument();
    for (const std::vector<UID>* list : {&document.paragraphStyles, &document.characterStyles}) {
        for (UID uid : *list) {
            const Style* style = db.Get<Style>(uid);
            const PMString* fontStyle = style ? style->attributes.Get<PMString>(TextAttribute::kFontStyle) : nullptr;
            if (!fontStyle) continue;
            // The family the style's text shows in: its own, or the one it inherits.
            const AttributeValue* familyValue = StyleUtils::GetInheritedAttribute(db, uid, TextAttribute::kFontFamily);
            const UID* familyUID = familyValue ? std::get_if<UID>(familyValue) : nullptr;
            if (familyUID && *familyUID == family.GetUID()) add(*fontStyle);
        }
    }
    if (styles.empty()) styles.push_back(PMString("Regular"));
    return styles;
}

// The face of exactly this style that the document found installed; null when the system
// lacked it. (Styles name fonts by family and style, so a face of another spelling would not be
// found either.)
const FontFace* FindInstalled(const FontFamily& family, const PMString& style)
{
    for (const FontFace& face : family.installedFaces)
        if (face.style == style) return &face;
    return nullptr;
}

std::string PostScriptPart(const PMString& name)
{
    std::string part;
    for (char16_t c : name.GetUTF16())
        if (c > 32 && c < 127 && !std::strchr("[](){}<>/%", static_cast<char>(c))) part += static_cast<char>(c);
    return part;
}

} // namespace

std::string IdmlFontsWriter::GuessPostScriptName(const PMString& family, const PMString& style)
{
    std::string name = PostScriptPart(family);
    if (name.empty()) name = "Font";
    std::string stylePart = PostScriptPart(style);
    if (!stylePart.empty()) name += "-" + stylePart;
    return name.substr(0, kMaxPostScriptName);
}

void IdmlFontsWriter::Write(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kFonts, "Fonts", "Resources/Fonts.xml");
    const DataBase& db = context.GetDataBase();
    std::vector<UID> written;
    for (UID uid : context.GetDocument().fontFamilies) {
        const FontFamily* family = db.Get<FontFamily>(uid);
        if (!family || family->name.IsEmpty() || std::find(written.begin(), written.end(), uid) != written.end()) continue;
        written.push_back(uid);
        pugi::xml_node familyElement = root.append_child("FontFamily");
        IdmlXml::SetText(familyElement, "Self", IdmlIds::ForUID(uid));
        IdmlXml::SetText(familyElement, "Name", family->name);
        std::vector<PMString> styles = StylesInUse(db, *family);
        for (size_t i = 0; i < styles.size(); ++i) {
            const FontFace* installed = FindInstalled(*family, styles[i]);
            PMString fullName(family->name);
            fullName.Append(" ");
            fullName.Append(styles[i]);
            pugi::xml_node font = familyElement.append_child("Font");
            IdmlXml::SetText(font, "Self", IdmlIds::Font(uid, i));
            IdmlXml::SetText(font, "FontFamily", family->name);
            IdmlXml::SetText(font, "Name", fullName);
            if (installed && !installed->postScriptName.IsEmpty())
                IdmlXml::SetText(font, "PostScriptName", installed->postScriptName);
            else
                IdmlXml::SetText(font, "PostScriptName", GuessPostScriptName(family->name, styles[i]));
            IdmlXml::SetText(font, "Status", installed ? "Installed" : "NotAvailable");
            IdmlXml::SetText(font, "FontStyleName", styles[i]);
        }
    }
}
