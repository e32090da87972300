// CDialogObserver: the part of a dialog that reacts while it is open: a button clicked, a choice
// made, a text typed. The dialog calls Update for every change the user makes.
#pragma once

#include "DialogWidget.h"

class Dialog;

enum class DialogChange {
    kClicked,   // a button
    kChosen,    // a drop-down, radio group, panel switch or list row selection
    kEdited,    // a text field or a combo box text
};

class CDialogObserver {
public:
    virtual ~CDialogObserver() = default;

    // Called as the dialog opens (before its controller fills it) and as it closes.
    virtual void AutoAttach() {}
    virtual void AutoDetach() {}
    // The user changed `widget`.
    virtual void Update(DialogChange change, WidgetID widget) { (void)change, (void)widget; }

    void SetDialog(Dialog* dialog) { mDialog = dialog; }
    Dialog* GetDialog() const { return mDialog; }

private:
    Dialog* mDialog = nullptr;
};
