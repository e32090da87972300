#include "DocumentSettingsCommands.h"

#include "Document.h"


ErrorCode SetDocNameCmd::Do()
{
    Document* document = (TargetsDocument() ? GetDataBase()->GetDocument() : nullptr);
    if (!document || stringData.IsEmpty()) return kInvalidParameterError;
    mPrevious = document->name;
    document->name = stringData;
    return kSuccess;
}

void SetDocNameCmd::Undo()
{
    if (Document* document = (TargetsDocument() ? GetDataBase()->GetDocument() : nullptr)) document->name = mPrevious;
}

ErrorCode SetSkipByLeadingCmd::Do()
{
    Document* document = (TargetsDocument() ? GetDataBase()->GetDocument() : nullptr);
    if (!document) return kInvalidParameterError;
    mPrevious = document->preferences.skipByLeading;
    document->preferences.skipByLeading = boolData;
    return kSuccess;
}

void SetSkipByLeadingCmd::Undo()
{
    if (Document* document = (TargetsDocument() ? GetDataBase()->GetDocument() : nullptr)) document->preferences.skipByLeading = mPrevious;
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
