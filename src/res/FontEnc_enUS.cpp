// The font-encoding entry dialog: "New Font Encoding" or "Edit Font Encoding".
#include <memory>

#include "prefs/MifFontEncDialogController.h"
#include "prefs/MifFontEncDialogObserver.h"
#include "res/MifDialogParts.h"
#include "res/MifDialogs.h"

void BuildFontEncDialog_enUS(Dialog& dialog)
{
    using W = DialogWidget;
    dialog.SetTitle("OV#0xB40#kMifNewFontEncKey");
    dialog.AddWidget(W::ComboBox(kMifFrameFamilyWidgetID, "OV#0xB40#kMifFamilyColonKey"));
    dialog.AddWidget(W::DropDown(kMifEncodingWidgetID, "OV#0xB40#kMifEncodingColonKey"));
    dialog.AddWidget(W::Static(kInvalidWidgetID, "OV#0xB40#kMifFontEncInfoKey"));
    AddFontDataButtons(dialog);
    AddOKCancel(dialog);
    dialog.SetController(std::make_unique<MifFontEncDialogController>());
    dialog.SetObserver(std::make_unique<MifFontEncDialogObserver>());
    dialog.SetDataObject(kMifEncDataBoss);
}
