#include "prefs/MifFontEncDialogController.h"

#include <string>
#include <vector>

#include "CAlert.h"
#include "Dialog.h"
#include "InterfacePtr.h"

#include "base/MifAssertLog.h"
#include "mif/MifEncodingNames.h"
#include "prefs/IMifEncData.h"
#include "prefs/MifPrefsDialogIDs.h"

void MifFontEncDialogController::InitializeDialogFields()
{
    Dialog* dialog = GetDialog();
    InterfacePtr<IMifEncData> encData(dialog->GetDataObject(), IID_IMIFENCDATA);
    if (!encData) {
        MIF_LOG_NIL(encData);
        return;
    }
    SetTextControlData(kMifFrameFamilyWidgetID, encData->GetFamily());
    std::vector<DialogItem> items;
    int32 chosen = 0;
    for (int32 i = 0; i < MifEncodingNames::GetOfferedCount(); ++i) {
        int32 code = MifEncodingNames::GetOfferedCode(i);
        items.push_back(DialogItem{MifEncodingNames::GetName(code), false});
        if (code == encData->GetEncoding()) chosen = i;
    }
    // An entry read from a file may hold a code the list does not offer: it is shown as its number,
    // so that editing the family keeps it.
    if (!encData->GetFamily().IsEmpty() && MifEncodingNames::GetName(encData->GetEncoding()).IsEmpty()) {
        items.push_back(DialogItem{PMString(std::to_string(encData->GetEncoding())), false});
        chosen = static_cast<int32>(items.size()) - 1;
    }
    dialog->SetItems(kMifEncodingWidgetID, std::move(items));
    SetSelectedIndex(kMifEncodingWidgetID, chosen);
}

WidgetID MifFontEncDialogController::ValidateDialogFields()
{
    if (GetTextControlData(kMifFrameFamilyWidgetID).IsEmpty()) {
        CAlert::WarningAlert("OV#0xB40#kMifEnterFrameMakerFamilyKey");
        return kMifFrameFamilyWidgetID;
    }
    return kInvalidWidgetID;
}

void MifFontEncDialogController::ApplyDialogFields()
{
    InterfacePtr<IMifEncData> encData(GetDialog()->GetDataObject(), IID_IMIFENCDATA);
    if (!encData) {
        MIF_LOG_NIL(encData);
        return;
    }
    int32 chosen = GetSelectedIndex(kMifEncodingWidgetID);
    int32 encoding = chosen < MifEncodingNames::GetOfferedCount() ? MifEncodingNames::GetOfferedCode(chosen)
                                                                   : encData->GetEncoding();
    if (encoding < 0) encoding = encData->GetEncoding();
    encData->Set(GetTextControlData(kMifFrameFamilyWidgetID), encoding);
}
