// CDialogController: the part of a dialog that fills its widgets when it opens, checks them when
// the user confirms, and takes their values when the check passes.
#pragma once

#include "DialogWidget.h"

class Dialog;

class CDialogController {
public:
    virtual ~CDialogController() = default;

    // Fills the widgets; called once as the dialog opens, after its observer attached.
    virtual void InitializeDialogFields() {}
    // Checks the widgets when the user confirms: kInvalidWidgetID when they are good, else the
    // widget to correct (the dialog stays open with that widget focused). Says why itself, with an
    // alert, where the user needs to be told.
    virtual WidgetID ValidateDialogFields() { return kInvalidWidgetID; }
    // Takes the values of the widgets, once they passed the check, just before the dialog closes.
    virtual void ApplyDialogFields() {}

    void SetDialog(Dialog* dialog) { mDialog = dialog; }
    Dialog* GetDialog() const { return mDialog; }

protected:
    // Shortcuts to the widgets of the dialog.
    void SetTextControlData(WidgetID widget, const PMString& text);
    PMString GetTextControlData(WidgetID widget) const;
    void SetSelectedIndex(WidgetID widget, int32 index);
    int32 GetSelectedIndex(WidgetID widget) const;

private:
    Dialog* mDialog = nullptr;
};
