#include "XRefCommands.h"

#include <algorithm>

#include "CmdUtils.h"
#include "CrossReference.h"
#include "CrossReferenceText.h"
#include "Document.h"
#include "Story.h"
#include "TextCommands.h"
#include "XRefFormatsList.h"
#include "XRefKeys.h"

namespace {

bool InsertAt(const UIDList& story, int32 index, const std::u16string& text)
{
    auto insertCmd = std::make_shared<InsertTextCmd>();
    insertCmd->SetItemList(story);
    insertCmd->index = index;
    insertCmd->text = text;
    return CmdUtils::ProcessCommand(insertCmd) == kSuccess;
}

// The first destination of this document whose marker has the key `key` and is still in its
// story.
UID FindDestination(const DataBase& db, const PMString& key)
{
    for (UID uid : db.GetDocument()->textDestinations) {
        const HyperlinkTextDestination* destination = db.Get<HyperlinkTextDestination>(uid);
        if (destination && XRefKeys::KeyOf(destination->name) == key && CrossReferenceText::FindAnchor(db, destination->story, uid) >= 0)
            return uid;
    }
    return kInvalidUID;
}

} // namespace

ErrorCode XRefAddFormatCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || !TargetsDocument() || formatData.name.IsEmpty()) return kInvalidParameterError;
    Document* document = db->GetDocument();
    CrossReferenceFormat* format = db->Create<CrossReferenceFormat>();
    format->name = formatData.name;
    format->definition = formatData.definition;
    document->crossReferenceFormats.push_back(format->GetUID());
    for (UID uid : document->crossReferenceSources)
        if (CrossReferenceSource* source = db->Get<CrossReferenceSource>(uid);
            source && !db->Get<CrossReferenceFormat>(source->format) && source->formatName == format->name)
            source->format = format->GetUID();
    return kSuccess;
}

ErrorCode XRefDeleteFormatCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || !TargetsDocument()) return kInvalidParameterError;
    const CrossReferenceFormat* format = XRefFormatsList::FormatAt(*db, intData);
    if (!format) return kInvalidParameterError;
    std::vector<UID>& formats = db->GetDocument()->crossReferenceFormats;
    formats.erase(formats.begin() + intData);
    db->Delete(format->GetUID());
    return kSuccess;
}

ErrorCode XRefInsertCrossRefCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = db && mItems.Length() == 1 ? db->Get<Story>(mItems.At(0)) : nullptr;
    if (!story || formatData.name.IsEmpty() || stringData.IsEmpty()) return kInvalidParameterError;
    const int32 index = rangeData.start;
    if (index < 0 || index >= story->textModel.TotalLength()) return kInvalidParameterError;
    Document* document = db->GetDocument();

    int32 existing = XRefFormatsList::Find(*db, formatData.name);
    CrossReferenceFormat* format = existing >= 0 ? XRefFormatsList::FormatAt(*db, existing) : nullptr;
    if (!format) {
        format = db->Create<CrossReferenceFormat>();
        format->name = formatData.name;
        format->definition = formatData.definition;
        document->crossReferenceFormats.push_back(format->GetUID());
    }
    if (!InsertAt(mItems, index, {kTextChar_CrossReferenceStart, kTextChar_CrossReferenceEnd})) return kInvalidParameterError;
    CrossReferenceSource* source = db->Create<CrossReferenceSource>();
    source->story = story->GetUID();
    source->format = format->GetUID();
    source->formatName = format->name;
    source->key = stringData;
    if (hasSysFileData) source->file = sysFileData.GetPathString();
    else source->destination = FindDestination(*db, stringData);
    story->textModel.SetOwnedItem(index, source->GetUID());
    document->crossReferenceSources.push_back(source->GetUID());
    // The text it shows now; page numbers follow once the document is composed.
    std::u16string text = CrossReferenceText::GetText(*db, *source).GetUTF16();
    if (!text.empty()) InsertAt(mItems, index + 1, text);
    mItems = UIDList(db);
    mItems.Append(source->GetUID());
    return kSuccess;
}

ErrorCode XRefInsertSourceMarkerCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = db && mItems.Length() == 1 ? db->Get<Story>(mItems.At(0)) : nullptr;
    if (!story || stringData.IsEmpty()) return kInvalidParameterError;
    const int32 index = rangeData.start;
    if (index < 0 || index >= story->textModel.TotalLength()) return kInvalidParameterError;
    if (!InsertAt(mItems, index, std::u16string(1, kTextChar_TextDestination))) return kInvalidParameterError;
    Document* document = db->GetDocument();
    HyperlinkTextDestination* destination = db->Create<HyperlinkTextDestination>();
    destination->story = story->GetUID();
    destination->name = stringData;
    story->textModel.SetOwnedItem(index, destination->GetUID());
    document->textDestinations.push_back(destination->GetUID());
    // The cross-references made before their marker (their text follows at the next update).
    const PMString key = XRefKeys::KeyOf(stringData);
    for (UID uid : document->crossReferenceSources)
        if (CrossReferenceSource* source = db->Get<CrossReferenceSource>(uid);
            source && source->file.IsEmpty() && source->key == key && !db->Get<HyperlinkTextDestination>(source->destination))
            source->destination = destination->GetUID();
    mItems = UIDList(db);
    mItems.Append(destination->GetUID());
    return kSuccess;
}
