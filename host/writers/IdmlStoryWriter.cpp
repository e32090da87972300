#include "IdmlStoryWriter.h"

#include <algorithm>
#include <unordered_map>

#include "AnchorLayout.h"
#include "CrossReference.h"
#include "DataBase.h"
#include "Document.h"
#include "IdmlContext.h"
#include "IdmlCrossReferenceWriter.h"
#include "IdmlIds.h"
#include "IdmlPageItemWriter.h"
#include "IdmlTableWriter.h"
#include "IdmlTextFrameWriter.h"
#include "IdmlTextAttributes.h"
#include "IdmlXml.h"
#include "Story.h"
#include "Table.h"
#include "TextFrame.h"
#include "TextVariable.h"

namespace {

void WriteTags(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kTags, "Tags", "XML/Tags.xml");
    pugi::xml_node tag = root.append_child("XMLTag");
    IdmlXml::SetText(tag, "Self", IdmlIds::kRootXmlTag);
    IdmlXml::SetText(tag, "Name", "Root");
    IdmlXml::AddProperty(tag, "TagColor", "enumeration", "LightGray");
}

// A story element (`kind` "Story" or "XmlStory") with its settings.
pugi::xml_node AppendStory(pugi::xml_node root, const char* kind, const std::string& self)
{
    pugi::xml_node story = root.append_child(kind);
    IdmlXml::SetText(story, "Self", self);
    IdmlXml::SetText(story, "AppliedTOCStyle", IdmlIds::kNone);
    IdmlXml::SetBool(story, "TrackChanges", false);
    IdmlXml::SetText(story, "StoryTitle", "$ID/");
    IdmlXml::SetText(story, "AppliedNamedGrid", IdmlIds::kNone);
    return story;
}

void WriteBackingStory(IdmlContext& context)
{
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kBackingStory, "BackingStory", "XML/BackingStory.xml");
    pugi::xml_node paragraph = AppendStory(root, "XmlStory", IdmlIds::kBackingStory).append_child("ParagraphStyleRange");
    IdmlXml::SetText(paragraph, "AppliedParagraphStyle", IdmlIds::kBasicParagraphStyle);
    pugi::xml_node characters = paragraph.append_child("CharacterStyleRange");
    IdmlXml::SetText(characters, "AppliedCharacterStyle", IdmlIds::kNoCharacterStyle);
    pugi::xml_node element = characters.append_child("XMLElement");
    IdmlXml::SetText(element, "Self", IdmlIds::kRootXmlElement);
    IdmlXml::SetText(element, "MarkupTag", IdmlIds::kRootXmlTag);
}

// The characters of one character run, as IDML keeps them: text in <Content>, a paragraph's
// return as <Br/> (none after a thread's last paragraph), a forced line break as U+2028, the
// page number as <?ACE 18?>, a footnote marker as the <Footnote> that holds the footnote's text,
// a table character as the <Table> it anchors.
using ThreadMap = std::unordered_map<UID, TextRange>;

class RunWriter {
public:
    RunWriter(IdmlContext& context, const TextModel& model, const ThreadMap& threads, pugi::xml_node characters)
        : mContext(context), mModel(model), mThreads(threads), mCharacters(characters) {}

    void Write(int32 start, int32 end, int32 threadEnd)
    {
        std::u16string text = mModel.GetText(start, end - start);
        for (size_t i = 0; i < text.size(); ++i) {
            char16_t c = text[i];
            int32 index = start + static_cast<int32>(i);
            switch (c) {
            case kTextChar_CR:
                Close();
                if (index != threadEnd - 1) mCharacters.append_child("Br");
                break;
            case kTextChar_LF: mPending.push_back(u'\u2028'); break;
            case kTextChar_PageNumber:
                FlushText();
                IdmlXml::AppendSpecialCharacter(Content(), "18");
                break;
            case kTextChar_FootnoteMarker:
                Close();
                if (UID footnote = mModel.GetOwnedItem(index)) WriteFootnote(footnote);
                break;
            case kTextChar_Table:
                Close();
                if (UID table = mModel.GetOwnedItem(index)) WriteTable(table);
                break;
            case kTextChar_ObjectReplacement:
                Close();
                if (UID item = mModel.GetOwnedItem(index)) WriteAnchoredItem(item);
                break;
            case kTextChar_TextVariable:
                Close();
                if (UID instance = mModel.GetOwnedItem(index)) IdmlCrossReferenceWriter::WriteVariableInstance(mContext, instance, mCharacters);
                break;
            case kTextChar_TextDestination:
                Close();
                if (UID destination = mModel.GetOwnedItem(index)) IdmlCrossReferenceWriter::WriteDestination(mContext, destination, mCharacters);
                break;
            // A cross-reference's text goes inside its source element.
            case kTextChar_CrossReferenceStart:
                Close();
                EndSource();
                if (UID source = mModel.GetOwnedItem(index)) {
                    mOuter = mCharacters;
                    mCharacters = IdmlCrossReferenceWriter::OpenSource(mContext, source, mCharacters);
                }
                break;
            case kTextChar_CrossReferenceEnd:
                Close();
                EndSource();
                break;
            default: mPending.push_back(c); break;
            }
        }
        Close();
        EndSource();
    }

private:
    pugi::xml_node Content()
    {
        if (!mContent) mContent = mCharacters.append_child("Content");
        return mContent;
    }
    // The text collected so far goes into the open <Content>.
    void FlushText()
    {
        if (mPending.empty()) return;
        std::string clean = IdmlXml::CleanText(PMString(mPending));
        if (!clean.empty()) Content().append_child(pugi::node_pcdata).set_value(clean.c_str());
        mPending.clear();
    }
    // Ends the open <Content>, before an element that stands beside it.
    void Close()
    {
        FlushText();
        mContent = pugi::xml_node();
    }
    void WriteFootnote(UID footnote);
    void WriteTable(UID table);
    void WriteAnchoredItem(UID item);
    // Leaves an open cross-reference source: what follows goes beside it again.
    void EndSource()
    {
        if (!mOuter) return;
        mCharacters = mOuter;
        mOuter = pugi::xml_node();
    }

    IdmlContext& mContext;
    const TextModel& mModel;
    const ThreadMap& mThreads;
    pugi::xml_node mCharacters;
    pugi::xml_node mOuter;  // the run's own element while a cross-reference source is open
    pugi::xml_node mContent;
    std::u16string mPending;
};

// How many paragraphs of a story's own thread are written out of the part's tree at a time.
constexpr int32 kParagraphsPerWrite = 256;

// The paragraphs of the thread `range` as ParagraphStyleRange elements of `parent`, each with
// its style and overrides, holding its character runs. `writeOut`: the paragraphs are written
// out of the part's tree as they are done (a story's own thread, which may be a book long).
void WriteThread(IdmlContext& context, const TextModel& model, const ThreadMap& threads, const TextRange& range,
                 pugi::xml_node parent, bool footnote, bool writeOut = false)
{
    const IdmlCatalog& catalog = context.GetCatalog();
    bool first = true;
    int32 written = 0;
    model.ForEachParagraph(range.start, range.End(), [&](int32 start, int32 length, const TextFormat& paragraphFormat) {
        if (writeOut && ++written % kParagraphsPerWrite == 0) context.GetPackage().WriteOut(parent);
        pugi::xml_node paragraph = parent.append_child("ParagraphStyleRange");
        std::string style = catalog.ParagraphStyleRef(paragraphFormat.style);
        IdmlXml::SetText(paragraph, "AppliedParagraphStyle", style.empty() ? IdmlIds::kBasicParagraphStyle : style);
        IdmlTextAttributes::Write(context, paragraphFormat.overrides, IdmlTextAttributes::Scope::kParagraph, paragraph);
        const int32 end = start + length;
        model.ForEachCharacterRun(start, end, [&](int32 runStart, int32 runLength, const TextFormat& characterFormat) {
            pugi::xml_node characters = paragraph.append_child("CharacterStyleRange");
            std::string characterStyle = catalog.CharacterStyleRef(characterFormat.style);
            IdmlXml::SetText(characters, "AppliedCharacterStyle", characterStyle.empty() ? IdmlIds::kNoCharacterStyle : characterStyle);
            IdmlTextAttributes::Write(context, characterFormat.overrides, IdmlTextAttributes::Scope::kCharacter, characters);
            if (footnote && first) {
                // The footnote's number, which InDesign draws at the start of its text.
                IdmlXml::AppendSpecialCharacter(characters.append_child("Content"), "4");
                first = false;
            }
            RunWriter(context, model, threads, characters).Write(std::max(start, runStart), std::min(end, runStart + runLength), range.End());
        });
    });
}

void RunWriter::WriteFootnote(UID footnote)
{
    auto thread = mThreads.find(footnote);
    if (thread == mThreads.end()) return;
    WriteThread(mContext, mModel, mThreads, thread->second, mCharacters.append_child("Footnote"), true);
}

void RunWriter::WriteTable(UID uid)
{
    const Table* table = mContext.GetDataBase().Get<Table>(uid);
    if (!table) return;
    IdmlTableWriter::Write(mContext, mModel, *table, mCharacters, [&](const TextRange& thread, pugi::xml_node cell) {
        WriteThread(mContext, mModel, mThreads, thread, cell, false);
    });
}

// An anchored page item stands in its character run, where the composer put it, with the
// settings that keep it with its anchor.
void RunWriter::WriteAnchoredItem(UID uid)
{
    const PageItem* item = mContext.GetDataBase().Get<PageItem>(uid);
    if (!item || item->anchorStory == kInvalidUID || !mContext.Claim(uid)) return;
    if (const auto* frame = dynamic_cast<const TextFrame*>(item)) IdmlTextFrameWriter::WriteTextFrame(mContext, mCharacters, *frame);
    else if (!IdmlPageItemWriter::WriteItem(mContext, mCharacters, *item)) return;
    pugi::xml_node element = mCharacters.last_child();
    PMMatrix placed;
    if (AnchorLayout::PlacedTransform(mContext.GetDataBase(), *item, placed))
        element.attribute("ItemTransform").set_value(IdmlXml::Matrix(placed).c_str());
    const AnchoredObjectSettings& s = item->anchorSettings;
    // The settings come before what the item holds (its image, a group's items).
    pugi::xml_node contents;
    for (pugi::xml_node child : element.children()) {
        const std::string name = child.name();
        if (name != "Properties" && name != "TextWrapPreference" && name != "TextFramePreference" && name != "TextPath") {
            contents = child;
            break;
        }
    }
    pugi::xml_node setting = contents ? element.insert_child_before("AnchoredObjectSetting", contents)
                                      : element.append_child("AnchoredObjectSetting");
    IdmlXml::SetText(setting, "AnchoredPosition", AnchorPositionName(s.position));
    IdmlXml::SetBool(setting, "SpineRelative", s.spineRelative);
    IdmlXml::SetBool(setting, "LockPosition", false);
    IdmlXml::SetBool(setting, "PinPosition", true);
    IdmlXml::SetText(setting, "AnchorPoint", AnchorPointName(s.anchorPoint));
    IdmlXml::SetText(setting, "HorizontalAlignment", AnchorAlignmentName(s.horizontalAlignment));
    IdmlXml::SetText(setting, "HorizontalReferencePoint", AnchorHorizontalReferenceName(s.horizontalReference));
    IdmlXml::SetText(setting, "VerticalAlignment", AnchorVerticalAlignmentName(s.verticalAlignment));
    IdmlXml::SetText(setting, "VerticalReferencePoint", AnchorVerticalReferenceName(s.verticalReference));
    // An inline item's offset raises it, as a baseline shift does; the others' go down.
    IdmlXml::SetReal(setting, "AnchorXoffset", s.xOffset);
    IdmlXml::SetReal(setting, "AnchorYoffset", s.yOffset);
    IdmlXml::SetReal(setting, "AnchorSpaceAbove", s.spaceAbove);
}

void WriteStory(IdmlContext& context, const Story& story)
{
    std::string self = IdmlIds::ForUID(story.GetUID());
    pugi::xml_node root = context.GetPackage().AddPart(IdmlSlot::kStory, "Story", IdmlIds::StoryPart(story.GetUID()));
    pugi::xml_node element = AppendStory(root, "Story", self);
    ThreadMap threads;
    story.textModel.ForEachThread([&](const TextRange& range, const TextThread& thread) {
        if (thread.owner != kInvalidUID) threads.emplace(thread.owner, range);
    });
    WriteThread(context, story.textModel, threads, story.textModel.GetThreadRange(0), element, false, true);
    context.AddStory(self);
    context.GetPackage().SealParts();
}

} // namespace

void IdmlStoryWriter::Write(IdmlContext& context)
{
    WriteTags(context);
    WriteBackingStory(context);
    for (UID uid : context.GetDocument().stories)
        if (const Story* story = context.GetDataBase().Get<Story>(uid); story && context.Claim(uid)) WriteStory(context, *story);
}
