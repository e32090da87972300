#include "content/MifSetNextStyleCmd.h"

#include "Style.h"

#include "base/MifAssertLog.h"

ErrorCode MifSetNextStyleCmd::Do()
{
    DataBase* db = GetDataBase();
    if (!db || mItems.Length() != 1) return kInvalidParameterError;
    UIDRef styleRef = mItems.GetRef(0);
    Style* style = db->Get<Style>(styleRef.GetUID());
    if (!styleRef.ExistsInDB() || !style) {
        MIF_LOG_FALSE(styleRef.ExistsInDB());
        return kInvalidParameterError;
    }
    const Style* next = db->Get<Style>(uidData);
    if (style->kind != StyleKind::kParagraph || (uidData != kInvalidUID && (!next || next->kind != StyleKind::kParagraph)))
        return kInvalidParameterError;
    mPrevious = style->nextStyle;
    style->nextStyle = uidData;
    return kSuccess;
}

void MifSetNextStyleCmd::Undo()
{
    DataBase* db = GetDataBase();
    if (Style* style = db && mItems.Length() == 1 ? db->Get<Style>(mItems.At(0)) : nullptr) style->nextStyle = mPrevious;
}
