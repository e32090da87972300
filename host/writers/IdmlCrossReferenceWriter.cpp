#include "IdmlCrossReferenceWriter.h"

#include <algorithm>
#include <vector>

#include "CrossReference.h"
#include "CrossReferenceText.h"
#include "DataBase.h"
#include "Document.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"
#include "Style.h"
#include "StyleUtils.h"
#include "TextVariable.h"
#include "VariableText.h"

namespace {

const char* BlockType(CrossReferenceBlock::Kind kind)
{
    switch (kind) {
    case CrossReferenceBlock::Kind::kPageNumber: return "PageNumberBuildingBlock";
    case CrossReferenceBlock::Kind::kChapterNumber: return "ChapterNumberBuildingBlock";
    case CrossReferenceBlock::Kind::kFileName: return "FileNameBuildingBlock";
    case CrossReferenceBlock::Kind::kParagraphText: return "ParagraphTextBuildingBlock";
    case CrossReferenceBlock::Kind::kParagraphNumber: return "ParagraphNumberBuildingBlock";
    default: return "CustomStringBuildingBlock";
    }
}

std::string CharacterStyleRef(const IdmlContext& context, const PMString& name)
{
    UID style = name.IsEmpty() ? kInvalidUID : StyleUtils::FindStyle(context.GetDataBase(), StyleKind::kCharacter, name);
    std::string ref = style == kInvalidUID ? std::string() : context.GetCatalog().CharacterStyleRef(style);
    return ref.empty() ? IdmlIds::kNoCharacterStyle : ref;
}

std::string Slashed(const char* kind, UID uid) { return std::string(kind) + "/" + IdmlIds::ForUID(uid); }

void WriteTextVariable(IdmlContext& context, const TextVariable& variable)
{
    pugi::xml_node element = context.GetPackage().AddDesignMapElement(IdmlSlot::kTextVariable, "TextVariable");
    IdmlXml::SetText(element, "Self", IdmlIds::ForUID(variable.GetUID()));
    IdmlXml::SetText(element, "Name", variable.name);
    auto framed = [&](pugi::xml_node preference) {
        IdmlXml::SetText(preference, "TextBefore", variable.textBefore);
        IdmlXml::SetText(preference, "TextAfter", variable.textAfter);
        return preference;
    };
    switch (variable.baseType) {
    case kFileNameVariableType: {
        IdmlXml::SetText(element, "VariableType", "FileNameType");
        pugi::xml_node preference = framed(element.append_child("FileNameVariablePreference"));
        IdmlXml::SetBool(preference, "IncludePath", variable.includePath);
        IdmlXml::SetBool(preference, "IncludeExtension", variable.includeExtension);
        break;
    }
    case kLastPageNumberVariableType: {
        IdmlXml::SetText(element, "VariableType", "LastPageNumberType");
        pugi::xml_node preference = framed(element.append_child("PageNumberVariablePreference"));
        IdmlXml::SetText(preference, "Format", "Current");
        IdmlXml::SetText(preference, "Scope", variable.scope == 1 ? "DocumentScope" : "SectionScope");
        break;
    }
    case kRunningHeaderVariableType: {
        IdmlXml::SetText(element, "VariableType", "MatchParagraphStyleType");
        pugi::xml_node preference = framed(element.append_child("MatchParagraphStylePreference"));
        std::string style = context.GetCatalog().ParagraphStyleRef(variable.paragraphStyle);
        IdmlXml::SetText(preference, "AppliedParagraphStyle", style.empty() ? IdmlIds::kBasicParagraphStyle : style);
        IdmlXml::SetText(preference, "SearchStrategy", variable.use == 0 ? "FirstOnPage" : "LastOnPage");
        IdmlXml::SetText(preference, "ChangeCase", "None");
        IdmlXml::SetBool(preference, "DeleteEndPunctuation", variable.deleteEndPunctuation);
        break;
    }
    case kCurrentDateVariableType:
    case kModificationDateVariableType:
    case kCreationDateVariableType: {
        const char* type = variable.baseType == kCreationDateVariableType       ? "CreationDateType"
                           : variable.baseType == kModificationDateVariableType ? "ModificationDateType"
                                                                                : "OutputDateType";
        IdmlXml::SetText(element, "VariableType", type);
        pugi::xml_node preference = framed(element.append_child("DateVariablePreference"));
        IdmlXml::SetText(preference, "Format", variable.contents);
        break;
    }
    default: {
        // Custom text has no text before or after of its own: they become part of its contents.
        IdmlXml::SetText(element, "VariableType", "CustomTextType");
        PMString contents = variable.textBefore;
        contents.Append(variable.contents);
        contents.Append(variable.textAfter);
        pugi::xml_node preference = element.append_child("CustomTextVariablePreference");
        IdmlXml::AddProperty(preference, "Contents", "string", IdmlXml::CleanText(contents));
        break;
    }
    }
}

void WriteFormat(IdmlContext& context, const CrossReferenceFormat& format)
{
    pugi::xml_node element = context.GetPackage().AddDesignMapElement(IdmlSlot::kCrossReferenceFormat, "CrossReferenceFormat");
    IdmlXml::SetText(element, "Self", IdmlIds::ForUID(format.GetUID()));
    IdmlXml::SetText(element, "Name", format.name);
    IdmlXml::SetText(element, "AppliedCharacterStyle", IdmlIds::kNoCharacterStyle);
    std::vector<CrossReferenceBlock> blocks;
    CrossReferenceText::Parse(format.definition, blocks);
    PMString style;
    int32 index = 0;
    for (const CrossReferenceBlock& block : blocks) {
        if (block.kind == CrossReferenceBlock::Kind::kStyleStart) {
            style = block.text;
            continue;
        }
        if (block.kind == CrossReferenceBlock::Kind::kStyleEnd) {
            style.Clear();
            continue;
        }
        pugi::xml_node building = element.append_child("BuildingBlock");
        IdmlXml::SetText(building, "Self", IdmlIds::ForUID(format.GetUID()) + "/BuildingBlock/" + std::to_string(index++));
        IdmlXml::SetText(building, "BlockType", BlockType(block.kind));
        IdmlXml::SetText(building, "AppliedCharacterStyle", CharacterStyleRef(context, style));
        if (block.kind == CrossReferenceBlock::Kind::kText) IdmlXml::SetText(building, "CustomText", IdmlXml::CleanText(block.text));
        IdmlXml::SetText(building, "AppliedDelimiter", "$ID/");
        IdmlXml::SetBool(building, "IncludeDelimiter", false);
    }
}

void WriteHyperlink(IdmlContext& context, const CrossReferenceSource& source)
{
    pugi::xml_node element = context.GetPackage().AddDesignMapElement(IdmlSlot::kHyperlink, "Hyperlink");
    IdmlXml::SetText(element, "Self", Slashed("Hyperlink", source.GetUID()));
    // Names of hyperlinks are unique in a document.
    PMString name("Cross-reference ");
    name.Append(PMString(std::string_view(IdmlIds::ForUID(source.GetUID()))));
    IdmlXml::SetText(element, "Name", name);
    IdmlXml::SetText(element, "Source", Slashed("CrossReferenceSource", source.GetUID()));
    IdmlXml::SetBool(element, "Visible", false);
    IdmlXml::SetText(element, "Highlight", "None");
    IdmlXml::SetText(element, "Width", "Thin");
    IdmlXml::SetText(element, "BorderStyle", "Solid");
    IdmlXml::SetBool(element, "Hidden", false);
    IdmlXml::SetInteger(element, "DestinationUniqueKey", source.destination);
    IdmlXml::AddProperty(element, "Destination", "object", Slashed("HyperlinkTextDestination", source.destination));
}

bool InWrittenStory(const IdmlContext& context, UID story, UID item)
{
    const std::vector<UID>& stories = context.GetDocument().stories;
    return std::find(stories.begin(), stories.end(), story) != stories.end() &&
           CrossReferenceText::FindAnchor(context.GetDataBase(), story, item) >= 0;
}

} // namespace

bool IdmlCrossReferenceWriter::IsLinked(const IdmlContext& context, const CrossReferenceSource& source)
{
    const HyperlinkTextDestination* destination = context.GetDataBase().Get<HyperlinkTextDestination>(source.destination);
    return destination && InWrittenStory(context, source.story, source.GetUID()) &&
           InWrittenStory(context, destination->story, destination->GetUID());
}

void IdmlCrossReferenceWriter::Write(IdmlContext& context)
{
    const DataBase& db = context.GetDataBase();
    const Document& document = context.GetDocument();
    for (UID uid : document.textVariables)
        if (const TextVariable* variable = db.Get<TextVariable>(uid)) WriteTextVariable(context, *variable);
    for (UID uid : document.crossReferenceFormats)
        if (const CrossReferenceFormat* format = db.Get<CrossReferenceFormat>(uid)) WriteFormat(context, *format);
    for (UID uid : document.crossReferenceSources)
        if (const CrossReferenceSource* source = db.Get<CrossReferenceSource>(uid); source && IsLinked(context, *source))
            WriteHyperlink(context, *source);
}

void IdmlCrossReferenceWriter::WriteVariableInstance(IdmlContext& context, UID instance, pugi::xml_node characters)
{
    const DataBase& db = context.GetDataBase();
    const TextVariableInstance* placed = db.Get<TextVariableInstance>(instance);
    const TextVariable* variable = placed ? db.Get<TextVariable>(placed->variable) : nullptr;
    if (!variable) return;
    pugi::xml_node element = characters.append_child("TextVariableInstance");
    IdmlXml::SetText(element, "Self", IdmlIds::ForUID(instance));
    IdmlXml::SetText(element, "Name", variable->name);
    IdmlXml::SetText(element, "ResultText", IdmlXml::CleanText(VariableText::GetValue(db, *variable, VariableText::Now())));
    IdmlXml::SetText(element, "AssociatedTextVariable", IdmlIds::ForUID(variable->GetUID()));
}

void IdmlCrossReferenceWriter::WriteDestination(IdmlContext& context, UID uid, pugi::xml_node characters)
{
    const HyperlinkTextDestination* destination = context.GetDataBase().Get<HyperlinkTextDestination>(uid);
    if (!destination) return;
    pugi::xml_node element = characters.append_child("HyperlinkTextDestination");
    IdmlXml::SetText(element, "Self", Slashed("HyperlinkTextDestination", uid));
    // Destination names are unique in a document: a second marker of a text gets its id added.
    PMString name = destination->name;
    for (UID other : context.GetDocument().textDestinations) {
        if (other == uid) break;
        if (const HyperlinkTextDestination* earlier = context.GetDataBase().Get<HyperlinkTextDestination>(other);
            earlier && earlier->name == destination->name) {
            name.Append(" ");
            name.Append(PMString(std::string_view(IdmlIds::ForUID(uid))));
            break;
        }
    }
    IdmlXml::SetText(element, "Name", IdmlXml::CleanText(name));
    IdmlXml::SetBool(element, "Hidden", false);
    IdmlXml::SetInteger(element, "DestinationUniqueKey", uid);
}

pugi::xml_node IdmlCrossReferenceWriter::OpenSource(IdmlContext& context, UID uid, pugi::xml_node characters)
{
    const CrossReferenceSource* source = context.GetDataBase().Get<CrossReferenceSource>(uid);
    if (!source) return characters;
    pugi::xml_node element = characters.append_child("CrossReferenceSource");
    IdmlXml::SetText(element, "Self", Slashed("CrossReferenceSource", uid));
    const bool hasFormat = context.GetDataBase().Get<CrossReferenceFormat>(source->format) != nullptr;
    IdmlXml::SetText(element, "AppliedFormat", hasFormat ? IdmlIds::ForUID(source->format) : std::string(IdmlIds::kNone));
    PMString name("Cross-reference ");
    name.Append(PMString(std::string_view(IdmlIds::ForUID(uid))));
    IdmlXml::SetText(element, "Name", name);
    IdmlXml::SetBool(element, "Hidden", false);
    pugi::xml_node inner = element.append_child("CharacterStyleRange");
    IdmlXml::SetText(inner, "AppliedCharacterStyle", characters.attribute("AppliedCharacterStyle").value());
    return inner;
}
