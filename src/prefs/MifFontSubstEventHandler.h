// MifFontSubstEventHandler: a double click on a row of the font substitution list edits it, as
// the Edit button does.
#pragma once

#include "CEventHandler.h"
#include "Dialog.h"

#include "prefs/MifPrefsDialogIDs.h"

class MifFontSubstEventHandler : public CEventHandler {
public:
    bool LButtonDblClk(int32 row) override
    {
        (void)row;  // the dialog selected it
        return GetDialog() && GetDialog()->Click(kMifEditFontSubstButtonWidgetID);
    }
};
