#include "DialogCommands.h"

#include "CAlert.h"
#include "Document.h"

ErrorCode RefreshMissingFontsCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db) return kInvalidParameterError;
    db->GetDocument()->RefreshMissingFonts();
    return kSuccess;
}

ErrorCode OpenMapFontsCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db) return kInvalidParameterError;
    if (IUserPresenter* presenter = CAlert::GetPresenter()) presenter->MissingFonts(db->GetDocument()->missingFonts);
    return kSuccess;
}

ErrorCode OpenWarningsDlgCmd::Do()
{
    if (IUserPresenter* presenter = CAlert::GetPresenter()) presenter->Warnings(stringData);
    return kSuccess;
}
