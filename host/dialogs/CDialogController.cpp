#include "CDialogController.h"

#include "Dialog.h"

void CDialogController::SetTextControlData(WidgetID widget, const PMString& text)
{
    if (mDialog) mDialog->SetText(widget, text);
}

PMString CDialogController::GetTextControlData(WidgetID widget) const
{
    return mDialog ? mDialog->GetText(widget) : PMString();
}

void CDialogController::SetSelectedIndex(WidgetID widget, int32 index)
{
    if (mDialog) mDialog->SetSelected(widget, index);
}

int32 CDialogController::GetSelectedIndex(WidgetID widget) const
{
    return mDialog ? mDialog->GetSelected(widget) : -1;
}
