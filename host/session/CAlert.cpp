#include "CAlert.h"

namespace {
IUserPresenter* gPresenter = nullptr;

void Show(const PMString& text, bool warning)
{
    if (!gPresenter) return;
    PMString translated(text);
    translated.Translate();
    gPresenter->Alert(translated, warning);
}
} // namespace

void CAlert::InformationAlert(const PMString& text) { Show(text, false); }
void CAlert::WarningAlert(const PMString& text) { Show(text, true); }
void CAlert::SetPresenter(IUserPresenter* presenter) { gPresenter = presenter; }
IUserPresenter* CAlert::GetPresenter() { return gPresenter; }
