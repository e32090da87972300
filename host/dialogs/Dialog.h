// Dialog: one modal dialog of the host, kept as data: a title, widgets addressed by widget ID,
// and the plug-in's controller, observer and event handlers that give it behaviour. A presenter
// (IDialogPresenter) shows it and hands the user's actions back through the "user side" below;
// the controller and observer work on the values through the "code side", which notifies no one.
//
// A dialog is made by DialogMgr from a resource that a plug-in registered; Open runs it modally.
#pragma once

#include <memory>
#include <vector>

#include "CDialogController.h"
#include "CDialogObserver.h"
#include "CEventHandler.h"
#include "DialogWidget.h"
#include "IPMUnknown.h"
#include "InterfacePtr.h"

class Dialog {
public:
    enum class State { kClosed, kOpen, kConfirmed, kCancelled };

    explicit Dialog(uint32 resourceID) : mResourceID(resourceID) {}
    ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // --- Built by the dialog's resource ---
    void SetTitle(const PMString& title);
    // Adds a widget; its label and tip are translated.
    DialogWidget& AddWidget(DialogWidget widget);
    void SetController(std::unique_ptr<CDialogController> controller);
    void SetObserver(std::unique_ptr<CDialogObserver> observer);
    void AddEventHandler(WidgetID widget, std::unique_ptr<CEventHandler> handler);
    // Gives the dialog an object of `classID` whose interfaces carry the data that the dialog edits
    // (the caller fills it before Open and reads it after).
    void SetDataObject(ClassID classID);

    // --- What it is ---
    uint32 GetResourceID() const { return mResourceID; }
    const PMString& GetTitle() const { return mTitle; }
    const std::vector<DialogWidget>& GetWidgets() const { return mWidgets; }
    const DialogWidget* FindWidget(WidgetID widget) const;
    CDialogController* GetController() const { return mController.get(); }
    CDialogObserver* GetObserver() const { return mObserver.get(); }
    // The object carrying the dialog's data (no reference added); null when it has none.
    IPMUnknown* GetDataObject() const { return mData.get(); }
    // The dialog that was open when this one opened; null for a dialog opened on its own.
    Dialog* GetParent() const { return mParent; }
    State GetState() const { return mState; }
    bool IsOpen() const { return mState == State::kOpen; }
    // The panel shown: 1 for the first choice of the panel switch; 0 when there is no switch.
    int32 GetShownPanel() const;
    // Whether the widget is shown now (always, or on the panel shown).
    bool IsShown(WidgetID widget) const;
    // The widget the user is asked to correct after a refused confirmation.
    WidgetID GetFocus() const { return mFocus; }

    // --- Code side: the controller and observer set and read values; no one is notified ---
    void SetText(WidgetID widget, const PMString& text);
    PMString GetText(WidgetID widget) const;
    void SetItems(WidgetID widget, std::vector<DialogItem> items);
    void SetRows(WidgetID widget, std::vector<std::vector<PMString>> rows);
    void SetSelected(WidgetID widget, int32 index);
    int32 GetSelected(WidgetID widget) const;
    void SetEnabled(WidgetID widget, bool enabled);

    // --- User side: what a presenter does for the user. Each answers false, changing nothing,
    // when the dialog is not open, the widget is missing, hidden, disabled or of another kind, or
    // the choice is out of range or a separator. ---
    bool Click(WidgetID button);
    bool Choose(WidgetID widget, int32 index);
    // Chooses the first item or row whose text (its first cell, for a list) is `text`, else the
    // first whose text is `text` in another letter case (as a user names a preset or a font).
    bool ChooseText(WidgetID widget, const PMString& text);
    bool Type(WidgetID widget, const PMString& text);
    // A double click on a list row: selects it, then lets the widget's event handler act.
    bool DoubleClick(WidgetID list, int32 row);
    // OK: the controller checks the widgets; when they pass it takes them and the dialog closes
    // (true); otherwise it stays open (false) with the focus on the widget to correct.
    bool Confirm();
    // Cancel: the dialog closes and nothing is taken.
    void Cancel();

    // Runs the dialog modally: the observer attaches, the controller fills the widgets, the
    // presenter shows it until it closes, the observer detaches. True when it was confirmed.
    // Without a presenter the dialog is cancelled at once.
    bool Open();

private:
    DialogWidget* Find(WidgetID widget);
    DialogWidget* FindForUser(WidgetID widget, WidgetKind kind);
    void Notify(DialogChange change, WidgetID widget);

    uint32 mResourceID;
    PMString mTitle;
    std::vector<DialogWidget> mWidgets;
    std::unique_ptr<CDialogController> mController;
    std::unique_ptr<CDialogObserver> mObserver;
    std::vector<std::pair<WidgetID, std::unique_ptr<CEventHandler>>> mEventHandlers;
    InterfacePtr<IPMUnknown> mData;
    Dialog* mParent = nullptr;
    State mState = State::kClosed;
    WidgetID mFocus = kInvalidWidgetID;
};
