#include "prefs/MifFontEncDialogObserver.h"

#include "Dialog.h"

#include "prefs/MifPrefsDialogIDs.h"
#include "prefs/MifPrefsDialogObserver.h"

MifFontHints& MifFontEncDialogObserver::GetHints()
{
    Dialog* parent = GetDialog()->GetParent();
    auto* prefs = parent ? dynamic_cast<MifPrefsDialogObserver*>(parent->GetObserver()) : nullptr;
    return prefs ? prefs->GetEncHints() : mOwnHints;
}

void MifFontEncDialogObserver::ShowHints()
{
    GetDialog()->SetItems(kMifFrameFamilyWidgetID, Items(GetHints().GetFamilies()));
}
