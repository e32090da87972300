// CEventHandler: handles the mouse events of one widget before the dialog's default handling.
#pragma once

#include "DialogWidget.h"

class Dialog;

class CEventHandler {
public:
    virtual ~CEventHandler() = default;

    // A double click on row `row` of the widget (a list box); true when handled.
    virtual bool LButtonDblClk(int32 row) { (void)row; return false; }

    void Attach(Dialog* dialog, WidgetID widget)
    {
        mDialog = dialog;
        mWidget = widget;
    }
    Dialog* GetDialog() const { return mDialog; }
    WidgetID GetWidget() const { return mWidget; }

private:
    Dialog* mDialog = nullptr;
    WidgetID mWidget = kInvalidWidgetID;
};
