#include "IdmlPreferencesWriter.h"

#include "Document.h"
#include "IdmlContext.h"
#include "IdmlXml.h"

namespace {

void WriteDocumentPreference(IdmlContext& context, pugi::xml_node root)
{
    const DocumentPreferences& prefs = context.GetDocument().preferences;
    pugi::xml_node element = root.append_child("DocumentPreference");
    IdmlXml::SetReal(element, "PageHeight", prefs.pageHeight);
    IdmlXml::SetReal(element, "PageWidth", prefs.pageWidth);
    IdmlXml::SetInteger(element, "PagesPerDocument", static_cast<int64>(context.GetNumbering().GetPages().size()));
    IdmlXml::SetBool(element, "FacingPages", prefs.facingPages);
    // The format has no orientation of its own: a page wider than high is landscape.
    IdmlXml::SetText(element, "PageBinding", "LeftToRight");
    IdmlXml::SetBool(element, "AllowPageShuffle", true);
    for (const char* bleed : {"DocumentBleedTopOffset", "DocumentBleedBottomOffset", "DocumentBleedInsideOrLeftOffset",
                              "DocumentBleedOutsideOrRightOffset"})
        IdmlXml::SetReal(element, bleed, 0);
}

void WriteTextPreference(IdmlContext& context, pugi::xml_node root)
{
    pugi::xml_node element = root.append_child("TextPreference");
    // "Skip by leading": text pushed below a wrapped object starts on the next baseline.
    IdmlXml::SetBool(element, "AbutTextToTextWrap", context.GetDocument().preferences.skipByLeading);
}

} // namespace

void IdmlPreferencesWriter::Write(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kPreferences, "Preferences", "Resources/Preferences.xml");
    WriteDocumentPreference(context, root);
    WriteTextPreference(context, root);
}
