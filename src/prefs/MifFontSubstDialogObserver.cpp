#include "prefs/MifFontSubstDialogObserver.h"

#include "Dialog.h"

#include "prefs/MifFontSubstDialogController.h"
#include "prefs/MifPrefsDialogIDs.h"
#include "prefs/MifPrefsDialogObserver.h"

void MifFontSubstDialogObserver::Update(DialogChange change, WidgetID widget)
{
    if (change == DialogChange::kChosen && widget == kMifDesignFamilyWidgetID) {
        MifFontSubstDialogController::FillStyles(*GetDialog(), PMString());
        return;
    }
    MifFontHintsObserver::Update(change, widget);
}

MifFontHints& MifFontSubstDialogObserver::GetHints()
{
    Dialog* parent = GetDialog()->GetParent();
    auto* prefs = parent ? dynamic_cast<MifPrefsDialogObserver*>(parent->GetObserver()) : nullptr;
    return prefs ? prefs->GetSubstHints() : mOwnHints;
}

void MifFontSubstDialogObserver::ShowHints()
{
    MifFontHints& hints = GetHints();
    Dialog* dialog = GetDialog();
    dialog->SetItems(kMifFrameFamilyWidgetID, Items(hints.GetFamilies()));
    dialog->SetItems(kMifFrameAngleWidgetID, Items(hints.GetAngles()));
    dialog->SetItems(kMifFrameWeightWidgetID, Items(hints.GetWeights()));
    dialog->SetItems(kMifFrameVariationWidgetID, Items(hints.GetVariations()));
}
