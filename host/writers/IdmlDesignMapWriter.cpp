#include "IdmlDesignMapWriter.h"

#include "DataBase.h"
#include "Document.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"
#include "Section.h"
#include "Spread.h"
#include "Style.h"

namespace {

void WriteDocumentAttributes(IdmlContext& context)
{
    pugi::xml_node document = context.GetPackage().GetDesignMap();
    IdmlXml::SetText(document, "Self", IdmlIds::kDocument);
    std::string stories;
    for (const std::string& story : context.GetStories()) stories += (stories.empty() ? "" : " ") + story;
    IdmlXml::SetText(document, "StoryList", stories);
    if (!context.GetDocument().name.IsEmpty()) IdmlXml::SetText(document, "Name", context.GetDocument().name);
    IdmlXml::SetText(document, "ActiveLayer", context.LayerRef(kInvalidUID));
    IdmlXml::SetText(document, "SolidColorIntent", "UseColorSettings");
    IdmlXml::SetText(document, "AfterBlendingIntent", "UseColorSettings");
    IdmlXml::SetText(document, "DefaultImageIntent", "UseColorSettings");
    IdmlXml::SetText(document, "RGBPolicy", "PreserveEmbeddedProfiles");
    IdmlXml::SetText(document, "CMYKPolicy", "CombinationOfPreserveAndSafeCmyk");
    IdmlXml::SetBool(document, "AccurateLABSpots", false);
}

void WriteLanguage(IdmlContext& context)
{
    pugi::xml_node language = context.GetPackage().AddDesignMapElement(IdmlSlot::kLanguage, "Language");
    IdmlXml::SetText(language, "Self", IdmlIds::kLanguage);
    IdmlXml::SetText(language, "Name", "$ID/English: USA");
    IdmlXml::SetText(language, "SingleQuotes", "\u2018\u2019");
    IdmlXml::SetText(language, "DoubleQuotes", "\u201C\u201D");
    IdmlXml::SetText(language, "PrimaryLanguageName", "$ID/English");
    IdmlXml::SetText(language, "SublanguageName", "$ID/USA");
    IdmlXml::SetInteger(language, "Id", 269);
    IdmlXml::SetText(language, "HyphenationVendor", "Hunspell");
    IdmlXml::SetText(language, "SpellingVendor", "Hunspell");
}

void WriteNumberingList(IdmlContext& context, const std::string& self, const std::string& name, const NumberingList* list)
{
    pugi::xml_node element = context.GetPackage().AddDesignMapElement(IdmlSlot::kNumberingList, "NumberingList");
    IdmlXml::SetText(element, "Self", self);
    IdmlXml::SetText(element, "Name", name);
    IdmlXml::SetBool(element, "ContinueNumbersAcrossStories", list && list->continueAcrossStories);
    IdmlXml::SetBool(element, "ContinueNumbersAcrossDocuments", list && list->continueFromPreviousDocument);
}

// The default list, which every document has, then the document's own lists.
void WriteNumberingLists(IdmlContext& context)
{
    const IdmlCatalog& catalog = context.GetCatalog();
    const DataBase& db = context.GetDataBase();
    std::string defaultSelf = IdmlIds::kDefaultNumberingList;
    UID defaultList = kInvalidUID;
    for (const IdmlCatalog::Entry& entry : catalog.GetLists())
        if (entry.self == defaultSelf) defaultList = entry.uid;
    WriteNumberingList(context, defaultSelf, "$ID/[Default]", db.Get<NumberingList>(defaultList));
    for (const IdmlCatalog::Entry& entry : catalog.GetLists())
        if (entry.self != defaultSelf) WriteNumberingList(context, entry.self, entry.name, db.Get<NumberingList>(entry.uid));
}

void WriteLayer(IdmlContext& context, const std::string& self, const PMString& name, bool visible, bool locked)
{
    pugi::xml_node layer = context.GetPackage().AddDesignMapElement(IdmlSlot::kLayer, "Layer");
    IdmlXml::SetText(layer, "Self", self);
    IdmlXml::AddProperty(layer, "LayerColor", "enumeration", "LightBlue");
    IdmlXml::SetText(layer, "Name", name);
    IdmlXml::SetBool(layer, "Visible", visible);
    IdmlXml::SetBool(layer, "Locked", locked);
    IdmlXml::SetBool(layer, "IgnoreWrap", false);
    IdmlXml::SetBool(layer, "ShowGuides", true);
    IdmlXml::SetBool(layer, "LockGuides", false);
    IdmlXml::SetBool(layer, "UI", true);
    IdmlXml::SetBool(layer, "Expendable", true);
    IdmlXml::SetBool(layer, "Printable", true);
}

void WriteLayers(IdmlContext& context)
{
    const std::vector<UID>& layers = context.GetLayers();
    if (layers.empty()) WriteLayer(context, IdmlIds::kDefaultLayer, PMString("Layer 1"), true, false);
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
        const Layer* layer = context.GetDataBase().Get<Layer>(*it);
        WriteLayer(context, IdmlIds::ForUID(*it), layer->name, layer->visible, layer->locked);
    }
}

void WriteSections(IdmlContext& context)
{
    const PageNumbering& numbering = context.GetNumbering();
    for (const PageNumbering::Run& run : numbering.GetRuns()) {
        const Section* section = context.GetDataBase().Get<Section>(run.section);
        bool continues = section ? section->continueNumbering : true;
        pugi::xml_node element = context.GetPackage().AddDesignMapElement(IdmlSlot::kSection, "Section");
        IdmlXml::SetText(element, "Self", section ? IdmlIds::ForUID(run.section) : IdmlIds::kImpliedSection);
        IdmlXml::AddProperty(element, "PageNumberStyle", "enumeration", PageNumbering::StyleName(run.style));
        IdmlXml::SetInteger(element, "Length", run.length);
        IdmlXml::SetText(element, "Name", "");
        IdmlXml::SetBool(element, "ContinueNumbering", continues);
        if (!continues) IdmlXml::SetInteger(element, "PageNumberStart", run.firstNumber);
        IdmlXml::SetBool(element, "IncludeSectionPrefix", false);
        IdmlXml::SetText(element, "Marker", section ? section->marker : PMString());
        IdmlXml::SetText(element, "PageStart", IdmlIds::ForUID(numbering.GetPages()[static_cast<size_t>(run.firstPage)]));
        IdmlXml::SetText(element, "SectionPrefix", "");
    }
}

} // namespace

void IdmlDesignMapWriter::Write(IdmlContext& context)
{
    WriteDocumentAttributes(context);
    WriteLanguage(context);
    WriteNumberingLists(context);
    WriteLayers(context);
    WriteSections(context);
}
