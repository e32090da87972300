#include "prefs/MifPresetNameDialogController.h"

#include <vector>

#include "CAlert.h"
#include "Dialog.h"
#include "InterfacePtr.h"

#include "base/MifAssertLog.h"
#include "prefs/IMifPresetData.h"
#include "prefs/MifPrefsDialogIDs.h"
#include "prefs/MifPrefsDialogObserver.h"

namespace {

// The presets of the preferences dialog that opened `dialog`; null when it was opened alone.
const std::vector<MifPresetRecord>* PresetsOfParent(const Dialog* dialog)
{
    Dialog* parent = dialog->GetParent();
    auto* observer = parent ? dynamic_cast<MifPrefsDialogObserver*>(parent->GetObserver()) : nullptr;
    return observer ? &observer->GetPresets() : nullptr;
}

int32 RenamedIndex(const Dialog* dialog)
{
    InterfacePtr<IMifPresetData> presetData(dialog->GetDataObject(), IID_IMIFPRESETDATA);
    if (!presetData) {
        MIF_LOG_NIL(presetData);
        return -1;
    }
    return presetData->Get();
}

bool HasControlCharacters(const PMString& name)
{
    for (char16_t c : name.GetUTF16())
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) return true;
    return false;
}

} // namespace

void MifPresetNameDialogController::InitializeDialogFields()
{
    int32 index = RenamedIndex(GetDialog());
    const std::vector<MifPresetRecord>* presets = PresetsOfParent(GetDialog());
    PMString name;
    if (presets && index >= 0 && index < static_cast<int32>(presets->size())) name = (*presets)[index].GetName();
    SetTextControlData(kMifPresetNameWidgetID, name);
}

WidgetID MifPresetNameDialogController::ValidateDialogFields()
{
    PMString name = GetTextControlData(kMifPresetNameWidgetID);
    if (name.IsEmpty()) return kMifPresetNameWidgetID;
    if (HasControlCharacters(name)) {
        CAlert::WarningAlert("OV#0xB40#kMifPresetNameInvalidKey");
        return kMifPresetNameWidgetID;
    }
    if (name.CharCount() > kMaxNameLength) {
        PMString tooLong("OV#0xB40#kMifPresetNameTooLongKey");
        tooLong.Translate();
        StringUtils::ReplaceStringParameters(&tooLong, PMString(std::to_string(kMaxNameLength)));
        CAlert::WarningAlert(tooLong);
        return kMifPresetNameWidgetID;
    }
    PMString common("OV#0xB40#kMifCommonPresetNameKey");
    common.Translate();
    if (name.IsEqualNoCase(common)) {
        CAlert::WarningAlert("OV#0xB40#kMifPresetNameReservedKey");
        return kMifPresetNameWidgetID;
    }
    int32 renamed = RenamedIndex(GetDialog());
    if (const std::vector<MifPresetRecord>* presets = PresetsOfParent(GetDialog())) {
        for (int32 i = 0; i < static_cast<int32>(presets->size()); ++i) {
            if (i != renamed && name.IsEqualNoCase((*presets)[i].GetName())) {
                CAlert::WarningAlert("OV#0xB40#kMifPresetNameUsedKey");
                return kMifPresetNameWidgetID;
            }
        }
    }
    return kInvalidWidgetID;
}
