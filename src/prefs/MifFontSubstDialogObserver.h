// MifFontSubstDialogObserver: the font-substitution entry dialog at work: choosing an InDesign
// family lists its faces in the style drop-down; the font-data buttons fill or clear the
// suggestions of the four FrameMaker combo boxes.
#pragma once

#include "prefs/MifFontHintsObserver.h"

class MifFontSubstDialogObserver : public MifFontHintsObserver {
public:
    void Update(DialogChange change, WidgetID widget) override;

protected:
    MifFontHints& GetHints() override;
    void ShowHints() override;
};
