// DialogWidget: one widget of a host dialog, as data: what it is, what it says and what it holds.
// A presenter shows widgets and hands the user's changes back to the dialog; the dialog's
// controller and observer read and write the values.
#pragma once

#include <vector>

#include "PMString.h"
#include "PMTypes.h"

using WidgetID = uint32;
constexpr WidgetID kInvalidWidgetID = 0;
// The buttons that close every modal dialog.
constexpr WidgetID kOKButtonWidgetID = 1;
constexpr WidgetID kCancelButtonWidgetID = 2;

enum class WidgetKind {
    kStaticText,  // a label or an information text
    kButton,      // clicked; its label may be empty when it shows an icon (then its tip says what it does)
    kTextField,   // an editable text
    kDropDown,    // one of `items` is selected; separators cannot be
    kRadioGroup,  // a titled group of radio buttons, one of `items` selected
    kListBox,     // rows of `columns.size()` cells; one row may be selected
    kComboBox,    // an editable text with `items` as suggestions
    kPanelSwitch, // a drop-down whose choice shows one of the dialog's panels
};

struct DialogItem {
    PMString text;
    bool separator = false;
};

struct DialogWidget {
    WidgetID id = kInvalidWidgetID;
    WidgetKind kind = WidgetKind::kStaticText;
    PMString label;                           // translated: the text shown on or before the widget
    PMString tip;                             // translated
    int32 panel = 0;                          // 0: always shown; n: shown while panel n is
    std::vector<DialogItem> items;            // drop-down, radio and combo-box choices
    std::vector<PMString> columns;            // list box headings
    std::vector<std::vector<PMString>> rows;  // list box cells
    int32 selected = -1;                      // the item or row chosen; -1 for none
    PMString text;                            // text field and combo box value
    bool enabled = true;

    // Widgets as dialog resources write them; `label`, `tip` and the items are string keys or texts.
    static DialogWidget Static(WidgetID id, const char* label, int32 panel = 0)
    {
        return Make(id, WidgetKind::kStaticText, label, "", panel);
    }
    static DialogWidget Button(WidgetID id, const char* label, const char* tip, int32 panel = 0)
    {
        return Make(id, WidgetKind::kButton, label, tip, panel);
    }
    static DialogWidget TextField(WidgetID id, const char* label, int32 panel = 0)
    {
        return Make(id, WidgetKind::kTextField, label, "", panel);
    }
    static DialogWidget ComboBox(WidgetID id, const char* label, int32 panel = 0)
    {
        return Make(id, WidgetKind::kComboBox, label, "", panel);
    }
    static DialogWidget DropDown(WidgetID id, const char* label, int32 panel = 0)
    {
        return Make(id, WidgetKind::kDropDown, label, "", panel);
    }
    static DialogWidget RadioGroup(WidgetID id, const char* title, const char* first, const char* second, int32 panel)
    {
        DialogWidget w = Make(id, WidgetKind::kRadioGroup, title, "", panel);
        w.items = {DialogItem{PMString(first)}, DialogItem{PMString(second)}};
        w.selected = 0;
        return w;
    }
    static DialogWidget ListBox(WidgetID id, const char* first, const char* second, int32 panel)
    {
        DialogWidget w = Make(id, WidgetKind::kListBox, "", "", panel);
        w.columns = {PMString(first), PMString(second)};
        return w;
    }
    static DialogWidget PanelSwitch(WidgetID id, std::vector<const char*> panels)
    {
        DialogWidget w = Make(id, WidgetKind::kPanelSwitch, "", "", 0);
        for (const char* panel : panels) w.items.push_back(DialogItem{PMString(panel)});
        w.selected = 0;
        return w;
    }

private:
    static DialogWidget Make(WidgetID id, WidgetKind kind, const char* label, const char* tip, int32 panel)
    {
        DialogWidget w;
        w.id = id;
        w.kind = kind;
        w.label = PMString(label);
        w.tip = PMString(tip);
        w.panel = panel;
        return w;
    }
};
