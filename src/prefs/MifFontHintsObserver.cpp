#include "prefs/MifFontHintsObserver.h"

#include "CAlert.h"
#include "Dialog.h"
#include "OpenFileDialog.h"

#include "prefs/MifFileStatusAlert.h"
#include "prefs/MifPrefsDialogIDs.h"

void MifFontHintsObserver::Update(DialogChange change, WidgetID widget)
{
    if (change != DialogChange::kClicked) return;
    if (widget == kMifClearFontDataButtonWidgetID) {
        GetHints().Clear();
        ShowHints();
    } else if (widget == kMifLoadFontDataButtonWidgetID) {
        std::vector<IDFile> files =
            OpenFileDialog("OV#0xB40#kMifImportFontHintsFromMifKey", "OV#0xB40#kMifMifFilesKey", "mif", true).DoDialog();
        if (files.empty()) return;
        GetHints().AddFromFiles(files, [](MifFileStatus status, const IDFile& file) {
            PMString message = MifFileStatusAlert::GetMessage(status, file);
            if (!message.IsEmpty()) CAlert::ErrorAlert(message);
        });
        ShowHints();
    }
}

std::vector<DialogItem> MifFontHintsObserver::Items(const std::set<PMString>& values)
{
    std::vector<DialogItem> items;
    for (const PMString& value : values) items.push_back(DialogItem{value, false});
    return items;
}
