// MifFontEncEventHandler: a double click on a row of the font encoding list edits it, as the Edit
// button does.
#pragma once

#include "CEventHandler.h"
#include "Dialog.h"

#include "prefs/MifPrefsDialogIDs.h"

class MifFontEncEventHandler : public CEventHandler {
public:
    bool LButtonDblClk(int32 row) override
    {
        (void)row;  // the dialog selected it
        return GetDialog() && GetDialog()->Click(kMifEditFontEncButtonWidgetID);
    }
};
