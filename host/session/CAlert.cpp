#include "CAlert.h"

#include "DialogMgr.h"

namespace {
IUserPresenter* gPresenter = nullptr;

void Show(const PMString& text, AlertKind kind)
{
    PMString translated(text);
    translated.Translate();
    if (IDialogPresenter* dialogs = DialogMgr::Get().GetPresenter()) {
        PMString ok("OK");
        dialogs->ModalAlert(kind, translated, {ok}, 0);
        return;
    }
    if (gPresenter) gPresenter->Alert(translated, kind != AlertKind::kInformation);
}
} // namespace

void CAlert::InformationAlert(const PMString& text) { Show(text, AlertKind::kInformation); }
void CAlert::WarningAlert(const PMString& text) { Show(text, AlertKind::kWarning); }
void CAlert::ErrorAlert(const PMString& text) { Show(text, AlertKind::kError); }

int32 CAlert::ModalAlert(const PMString& text, const std::vector<PMString>& buttons, int32 defaultButton)
{
    IDialogPresenter* dialogs = DialogMgr::Get().GetPresenter();
    if (!dialogs || buttons.empty()) return defaultButton;
    PMString translated(text);
    translated.Translate();
    std::vector<PMString> labels = buttons;
    for (PMString& label : labels) label.Translate();
    int32 chosen = dialogs->ModalAlert(AlertKind::kQuestion, translated, labels, defaultButton);
    return chosen >= 0 && chosen < static_cast<int32>(buttons.size()) ? chosen : defaultButton;
}

void CAlert::SetPresenter(IUserPresenter* presenter) { gPresenter = presenter; }
IUserPresenter* CAlert::GetPresenter() { return gPresenter; }
