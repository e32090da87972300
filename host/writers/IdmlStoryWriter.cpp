#include "IdmlStoryWriter.h"

#include "DataBase.h"
#include "Document.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"
#include "Story.h"

namespace {

void WriteTags(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kTags, "Tags", "XML/Tags.xml");
    pugi::xml_node tag = root.append_child("XMLTag");
    IdmlXml::SetText(tag, "Self", IdmlIds::kRootXmlTag);
    IdmlXml::SetText(tag, "Name", "Root");
    IdmlXml::AddProperty(tag, "TagColor", "enumeration", "LightGray");
}

// A story element (`kind` "Story" or "XmlStory") with its settings and one paragraph of the
// default styles; answers the paragraph's character range, where the content goes.
pugi::xml_node AppendStory(pugi::xml_node root, const char* kind, const std::string& self)
{
    pugi::xml_node story = root.append_child(kind);
    IdmlXml::SetText(story, "Self", self);
    IdmlXml::SetText(story, "AppliedTOCStyle", IdmlIds::kNone);
    IdmlXml::SetBool(story, "TrackChanges", false);
    IdmlXml::SetText(story, "StoryTitle", "$ID/");
    IdmlXml::SetText(story, "AppliedNamedGrid", IdmlIds::kNone);
    pugi::xml_node paragraph = story.append_child("ParagraphStyleRange");
    IdmlXml::SetText(paragraph, "AppliedParagraphStyle", IdmlIds::kBasicParagraphStyle);
    pugi::xml_node characters = paragraph.append_child("CharacterStyleRange");
    IdmlXml::SetText(characters, "AppliedCharacterStyle", IdmlIds::kNoCharacterStyle);
    return characters;
}

void WriteBackingStory(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kBackingStory, "BackingStory", "XML/BackingStory.xml");
    pugi::xml_node characters = AppendStory(root, "XmlStory", IdmlIds::kBackingStory);
    pugi::xml_node element = characters.append_child("XMLElement");
    IdmlXml::SetText(element, "Self", IdmlIds::kRootXmlElement);
    IdmlXml::SetText(element, "MarkupTag", IdmlIds::kRootXmlTag);
}

// Runs of text between carriage returns become <Content>, each return a <Br/>; an empty story
// is one empty paragraph with no <Content> at all.
void WriteText(pugi::xml_node characters, const PMString& text)
{
    const std::u16string& utf16 = text.GetUTF16();
    size_t start = 0;
    while (start <= utf16.size()) {
        size_t end = utf16.find(u'\r', start);
        if (end == std::u16string::npos) end = utf16.size();
        if (end > start) characters.append_child("Content").text() = IdmlXml::CleanText(PMString(utf16.substr(start, end - start))).c_str();
        if (end == utf16.size()) break;
        characters.append_child("Br");
        start = end + 1;
    }
}

void WriteStory(IdmlContext& context, const Story& story)
{
    std::string self = IdmlIds::ForUID(story.GetUID());
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kStory, "Story", IdmlIds::StoryPart(story.GetUID()));
    pugi::xml_node characters = AppendStory(root, "Story", self);
    WriteText(characters, story.text);
    context.AddStory(self);
}

} // namespace

void IdmlStoryWriter::Write(IdmlContext& context)
{
    WriteTags(context);
    WriteBackingStory(context);
    for (UID uid : context.GetDocument().stories)
        if (const Story* story = context.GetDataBase().Get<Story>(uid); story && context.Claim(uid)) WriteStory(context, *story);
}
