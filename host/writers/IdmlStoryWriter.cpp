#include "IdmlStoryWriter.h"

#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"

namespace {

void WriteTags(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kTags, "Tags", "XML/Tags.xml");
    pugi::xml_node tag = root.append_child("XMLTag");
    IdmlXml::SetText(tag, "Self", IdmlIds::kRootXmlTag);
    IdmlXml::SetText(tag, "Name", "Root");
    IdmlXml::AddProperty(tag, "TagColor", "enumeration", "LightGray");
}

void WriteBackingStory(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kBackingStory, "BackingStory", "XML/BackingStory.xml");
    pugi::xml_node story = root.append_child("XmlStory");
    IdmlXml::SetText(story, "Self", IdmlIds::kBackingStory);
    IdmlXml::SetText(story, "AppliedTOCStyle", IdmlIds::kNone);
    IdmlXml::SetBool(story, "TrackChanges", false);
    IdmlXml::SetText(story, "StoryTitle", "$ID/");
    IdmlXml::SetText(story, "AppliedNamedGrid", IdmlIds::kNone);
    pugi::xml_node paragraph = story.append_child("ParagraphStyleRange");
    IdmlXml::SetText(paragraph, "AppliedParagraphStyle", IdmlIds::kBasicParagraphStyle);
    pugi::xml_node characters = paragraph.append_child("CharacterStyleRange");
    IdmlXml::SetText(characters, "AppliedCharacterStyle", IdmlIds::kNoCharacterStyle);
    pugi::xml_node element = characters.append_child("XMLElement");
    IdmlXml::SetText(element, "Self", IdmlIds::kRootXmlElement);
    IdmlXml::SetText(element, "MarkupTag", IdmlIds::kRootXmlTag);
}

} // namespace

void IdmlStoryWriter::Write(IdmlContext& context)
{
    WriteTags(context);
    WriteBackingStory(context);
}
