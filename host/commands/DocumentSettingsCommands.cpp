#include "DocumentSettingsCommands.h"

#include "Document.h"

namespace {
// The document when the item list names it exactly.
Document* TargetDocument(DataBase* db, const UIDList& items)
{
    if (!db || items.Length() != 1 || items.At(0) != db->GetDocument()->GetUID()) return nullptr;
    return db->GetDocument();
}
} // namespace

ErrorCode SetDocNameCmd::Do()
{
    Document* document = TargetDocument(GetDataBase(), mItems);
    if (!document || stringData.IsEmpty()) return kInvalidParameterError;
    mPrevious = document->name;
    document->name = stringData;
    return kSuccess;
}

void SetDocNameCmd::Undo()
{
    if (Document* document = TargetDocument(GetDataBase(), mItems)) document->name = mPrevious;
}

ErrorCode SetSkipByLeadingCmd::Do()
{
    Document* document = TargetDocument(GetDataBase(), mItems);
    if (!document) return kInvalidParameterError;
    mPrevious = document->preferences.skipByLeading;
    document->preferences.skipByLeading = boolData;
    return kSuccess;
}

void SetSkipByLeadingCmd::Undo()
{
    if (Document* document = TargetDocument(GetDataBase(), mItems)) document->preferences.skipByLeading = mPrevious;
}

ErrorCode ModifySectionSettingsCmd::Do()
{
    DataBase* db = GetDataBase();
    Section* section = db && mItems.Length() == 1 ? db->Get<Section>(mItems.At(0)) : nullptr;
    if (!section || startPageNumber < 1 || startPageNumber > 999999) return kInvalidParameterError;
    mPrevious.continueNumbering = section->continueNumbering;
    mPrevious.pageNumberStart = section->pageNumberStart;
    mPrevious.numberingStyle = section->numberingStyle;
    section->continueNumbering = autoNumber;
    section->pageNumberStart = startPageNumber;
    section->numberingStyle = style;
    return kSuccess;
}

void ModifySectionSettingsCmd::Undo()
{
    DataBase* db = GetDataBase();
    if (Section* section = db && mItems.Length() == 1 ? db->Get<Section>(mItems.At(0)) : nullptr) {
        section->continueNumbering = mPrevious.continueNumbering;
        section->pageNumberStart = mPrevious.pageNumberStart;
        section->numberingStyle = mPrevious.numberingStyle;
    }
}
