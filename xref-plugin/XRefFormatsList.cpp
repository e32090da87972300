#include "XRefFormatsList.h"

#include "CrossReference.h"
#include "CrossReferenceText.h"
#include "Document.h"
#include "Story.h"

CrossReferenceFormat* XRefFormatsList::FormatAt(const DataBase& db, int32 index)
{
    const std::vector<UID>& formats = db.GetDocument()->crossReferenceFormats;
    if (index < 0 || index >= static_cast<int32>(formats.size())) return nullptr;
    return db.Get<CrossReferenceFormat>(formats[static_cast<size_t>(index)]);
}

int32 XRefFormatsList::Find(const DataBase& db, const PMString& name)
{
    const std::vector<UID>& formats = db.GetDocument()->crossReferenceFormats;
    for (size_t i = 0; i < formats.size(); ++i)
        if (const CrossReferenceFormat* format = db.Get<CrossReferenceFormat>(formats[i]); format && format->name == name)
            return static_cast<int32>(i);
    return -1;
}

int32 XRefFormatsList::FindFormat(const PMString& name) const
{
    DataBase* db = GetDataBase();
    return db ? Find(*db, name) : -1;
}

int32 XRefFormatsList::GetFormatCount() const
{
    DataBase* db = GetDataBase();
    return db ? static_cast<int32>(db->GetDocument()->crossReferenceFormats.size()) : 0;
}

XRefFormatData XRefFormatsList::GetFormat(int32 index) const
{
    DataBase* db = GetDataBase();
    const CrossReferenceFormat* format = db ? FormatAt(*db, index) : nullptr;
    return format ? XRefFormatData{format->name, format->definition} : XRefFormatData{};
}

int32 XRefCrossReference::GetTextLength(UID crossRef) const
{
    DataBase* db = GetDataBase();
    const CrossReferenceSource* source = db ? db->Get<CrossReferenceSource>(crossRef) : nullptr;
    const Story* story = source ? db->Get<Story>(source->story) : nullptr;
    const int32 start = story ? CrossReferenceText::FindAnchor(*db, source->story, crossRef) : -1;
    if (start < 0) return -1;
    int32 end = start + 1;
    while (end < story->textModel.TotalLength() && story->textModel.GetChar(end) != kTextChar_CrossReferenceEnd) ++end;
    return end - start - 1;
}
