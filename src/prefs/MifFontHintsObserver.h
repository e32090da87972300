// MifFontHintsObserver: what the two font entry dialogs share: the buttons that load font hints
// from MIF files into the suggestion lists of their combo boxes and that clear them. The hints
// belong to the preferences dialog that opened the entry dialog, so they last while it is open.
#pragma once

#include <set>
#include <vector>

#include "CDialogObserver.h"

#include "prefs/MifFontHints.h"

class MifFontHintsObserver : public CDialogObserver {
public:
    void AutoAttach() override { ShowHints(); }
    void Update(DialogChange change, WidgetID widget) override;

protected:
    // The hints this dialog offers: those its preferences dialog keeps for it, else its own.
    virtual MifFontHints& GetHints() = 0;
    // Puts the hints into the suggestion lists.
    virtual void ShowHints() = 0;
    MifFontHints mOwnHints;

    static std::vector<DialogItem> Items(const std::set<PMString>& values);
};
