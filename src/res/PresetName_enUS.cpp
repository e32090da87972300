// The preset-name dialog: "New Preset" or "Rename Preset" (its opener sets the title).
#include <memory>

#include "prefs/MifPresetNameDialogController.h"
#include "res/MifDialogParts.h"
#include "res/MifDialogs.h"

void BuildPresetNameDialog_enUS(Dialog& dialog)
{
    dialog.SetTitle("OV#0xB40#kMifNewPresetKey");
    dialog.AddWidget(DialogWidget::TextField(kMifPresetNameWidgetID, "OV#0xB40#kMifPresetNameColonKey"));
    AddOKCancel(dialog);
    dialog.SetController(std::make_unique<MifPresetNameDialogController>());
    dialog.SetDataObject(kMifPresetDataBoss);
}
