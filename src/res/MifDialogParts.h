// Widgets that several of the plug-in's dialogs share.
#pragma once

#include "Dialog.h"

#include "prefs/MifPrefsDialogIDs.h"

inline void AddOKCancel(Dialog& dialog)
{
    dialog.AddWidget(DialogWidget::Button(kOKButtonWidgetID, "OK", ""));
    dialog.AddWidget(DialogWidget::Button(kCancelButtonWidgetID, "Cancel", ""));
}

// The buttons of the font entry dialogs that fill and clear the suggestions from MIF files, and help.
inline void AddFontDataButtons(Dialog& dialog)
{
    dialog.AddWidget(DialogWidget::Button(kMifLoadFontDataButtonWidgetID, "OV#0xB40#kMifLoadFontDataKey", ""));
    dialog.AddWidget(DialogWidget::Button(kMifClearFontDataButtonWidgetID, "OV#0xB40#kMifClearFontDataKey", ""));
    dialog.AddWidget(DialogWidget::Button(kMifEntryHelpButtonWidgetID, "?", ""));
}
