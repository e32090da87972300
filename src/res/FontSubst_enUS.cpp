// The font-substitution entry dialog: "New Font Substitution" or "Edit Font Substitution".
#include <memory>

#include "prefs/MifFontSubstDialogController.h"
#include "prefs/MifFontSubstDialogObserver.h"
#include "res/MifDialogParts.h"
#include "res/MifDialogs.h"

void BuildFontSubstDialog_enUS(Dialog& dialog)
{
    using W = DialogWidget;
    dialog.SetTitle("OV#0xB40#kMifNewFontSubstKey");
    dialog.AddWidget(W::Static(kInvalidWidgetID, "OV#0xB40#kMifFrameMakerFontKey"));
    dialog.AddWidget(W::ComboBox(kMifFrameFamilyWidgetID, "OV#0xB40#kMifFamilyColonKey"));
    dialog.AddWidget(W::ComboBox(kMifFrameAngleWidgetID, "OV#0xB40#kMifAngleColonKey"));
    dialog.AddWidget(W::ComboBox(kMifFrameWeightWidgetID, "OV#0xB40#kMifWeightColonKey"));
    dialog.AddWidget(W::ComboBox(kMifFrameVariationWidgetID, "OV#0xB40#kMifVariationColonKey"));
    dialog.AddWidget(W::Static(kInvalidWidgetID, "OV#0xB40#kMifInDesignFontKey"));
    dialog.AddWidget(W::DropDown(kMifDesignFamilyWidgetID, "OV#0xB40#kMifFamilyColonKey"));
    dialog.AddWidget(W::DropDown(kMifDesignStyleWidgetID, "OV#0xB40#kMifStyleColonKey"));
    dialog.AddWidget(W::Static(kInvalidWidgetID, "OV#0xB40#kMifFontSubstInfoKey"));
    AddFontDataButtons(dialog);
    AddOKCancel(dialog);
    dialog.SetController(std::make_unique<MifFontSubstDialogController>());
    dialog.SetObserver(std::make_unique<MifFontSubstDialogObserver>());
    dialog.SetDataObject(kMifSubstDataBoss);
}
