// The preferences dialog, "Tessel": the preset row, the panel switch and its three panels.
#include <memory>

#include "Dialog.h"

#include "prefs/MifFontEncEventHandler.h"
#include "prefs/MifFontSubstEventHandler.h"
#include "prefs/MifPrefsDialogController.h"
#include "prefs/MifPrefsDialogIDs.h"
#include "prefs/MifPrefsDialogObserver.h"
#include "res/MifDialogs.h"

void BuildPrefsDialog_enUS(Dialog& dialog)
{
    using W = DialogWidget;
    dialog.SetTitle("OV#0xB40#kMifPrefsTitleKey");
    dialog.AddWidget(W::DropDown(kMifPresetDropDownWidgetID, "OV#0xB40#kMifCurrentPresetKey"));
    dialog.AddWidget(W::Button(kMifNewPresetButtonWidgetID, "", "OV#0xB40#kMifNewPresetTipKey"));
    dialog.AddWidget(W::Button(kMifRenamePresetButtonWidgetID, "", "OV#0xB40#kMifRenamePresetTipKey"));
    dialog.AddWidget(W::Button(kMifDeletePresetButtonWidgetID, "", "OV#0xB40#kMifDeletePresetTipKey"));
    dialog.AddWidget(W::Button(kMifLoadPresetsButtonWidgetID, "", "OV#0xB40#kMifLoadPresetsTipKey"));
    dialog.AddWidget(W::Button(kMifSavePresetsButtonWidgetID, "", "OV#0xB40#kMifSavePresetsTipKey"));
    dialog.AddWidget(W::PanelSwitch(kMifPanelDropDownWidgetID, {"OV#0xB40#kMifConversionPrefsKey",
                                                               "OV#0xB40#kMifFontSubstTableKey",
                                                               "OV#0xB40#kMifFontEncTableKey"}));

    dialog.AddWidget(W::RadioGroup(kMifLeadingGroupWidgetID, "OV#0xB40#kMifLeadingValueKey",
                                   "OV#0xB40#kMifConvertToAutoLeadingKey", "OV#0xB40#kMifUseAlwaysFixedLeadingKey",
                                   kMifConversionPanel));
    dialog.AddWidget(W::RadioGroup(kMifComposerGroupWidgetID, "OV#0xB40#kMifParagraphComposerKey",
                                   "OV#0xB40#kMifUseAdobeParagraphComposerKey",
                                   "OV#0xB40#kMifUseSingleLineComposerKey", kMifConversionPanel));
    dialog.AddWidget(W::RadioGroup(kMifCrossRefsGroupWidgetID, "OV#0xB40#kMifCrossReferencesKey",
                                   "OV#0xB40#kMifConvertCrossRefsToTextKey", "OV#0xB40#kMifUseCrossReferencesKey",
                                   kMifConversionPanel));
    dialog.AddWidget(W::RadioGroup(kMifVariablesGroupWidgetID, "OV#0xB40#kMifVariablesKey",
                                   "OV#0xB40#kMifConvertVariablesToTextKey", "OV#0xB40#kMifUseVariablesKey",
                                   kMifConversionPanel));
    dialog.AddWidget(W::RadioGroup(kMifConditionsGroupWidgetID, "OV#0xB40#kMifConditionalTextKey",
                                   "OV#0xB40#kMifConvertConditionalsToTextKey", "OV#0xB40#kMifUseConditionalsKey",
                                   kMifConversionPanel));

    dialog.AddWidget(W::ListBox(kMifFontSubstListWidgetID, "OV#0xB40#kMifFrameMakerFontKey",
                                "OV#0xB40#kMifInDesignFontKey", kMifFontSubstPanel));
    dialog.AddWidget(W::Button(kMifAddFontSubstButtonWidgetID, "", "OV#0xB40#kMifAddFontSubstTipKey", kMifFontSubstPanel));
    dialog.AddWidget(W::Button(kMifEditFontSubstButtonWidgetID, "", "OV#0xB40#kMifEditFontSubstTipKey", kMifFontSubstPanel));
    dialog.AddWidget(
        W::Button(kMifDeleteFontSubstButtonWidgetID, "", "OV#0xB40#kMifDeleteFontSubstTipKey", kMifFontSubstPanel));
    dialog.AddWidget(
        W::Button(kMifImportFontSubstButtonWidgetID, "", "OV#0xB40#kMifImportFontSubstTipKey", kMifFontSubstPanel));
    dialog.AddWidget(
        W::Button(kMifExportFontSubstButtonWidgetID, "", "OV#0xB40#kMifExportFontSubstTipKey", kMifFontSubstPanel));

    dialog.AddWidget(W::ListBox(kMifFontEncListWidgetID, "OV#0xB40#kMifFrameMakerFontKey",
                                "OV#0xB40#kMifEncodingColumnKey", kMifFontEncPanel));
    dialog.AddWidget(W::Button(kMifAddFontEncButtonWidgetID, "", "OV#0xB40#kMifAddFontEncTipKey", kMifFontEncPanel));
    dialog.AddWidget(W::Button(kMifEditFontEncButtonWidgetID, "", "OV#0xB40#kMifEditFontEncTipKey", kMifFontEncPanel));
    dialog.AddWidget(W::Button(kMifDeleteFontEncButtonWidgetID, "", "OV#0xB40#kMifDeleteFontEncTipKey", kMifFontEncPanel));
    dialog.AddWidget(W::Button(kMifImportFontEncButtonWidgetID, "", "OV#0xB40#kMifImportFontEncTipKey", kMifFontEncPanel));
    dialog.AddWidget(W::Button(kMifExportFontEncButtonWidgetID, "", "OV#0xB40#kMifExportFontEncTipKey", kMifFontEncPanel));

    dialog.AddWidget(W::Button(kMifPrefsHelpButtonWidgetID, "?", ""));
    dialog.AddWidget(W::Button(kOKButtonWidgetID, "OK", ""));
    dialog.AddWidget(W::Button(kCancelButtonWidgetID, "Cancel", ""));

    dialog.SetController(std::make_unique<MifPrefsDialogController>());
    dialog.SetObserver(std::make_unique<MifPrefsDialogObserver>());
    dialog.AddEventHandler(kMifFontSubstListWidgetID, std::make_unique<MifFontSubstEventHandler>());
    dialog.AddEventHandler(kMifFontEncListWidgetID, std::make_unique<MifFontEncEventHandler>());
}
