// MifFontEncDialogObserver: the font-encoding entry dialog at work: the font-data buttons fill or
// clear the suggestions of its family combo box.
#pragma once

#include "prefs/MifFontHintsObserver.h"

class MifFontEncDialogObserver : public MifFontHintsObserver {
protected:
    MifFontHints& GetHints() override;
    void ShowHints() override;
};
