// DialogMgr: makes the host's dialogs from the resources that plug-ins register, and runs them
// through the presenter the application installed.
//
//     std::unique_ptr<Dialog> dialog = DialogMgr::Get().CreateNewDialog(kMyDialogRsrcID);
//     if (dialog && dialog->Open()) { ... read what it took ... }
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "Dialog.h"
#include "IDialogPresenter.h"

class DialogMgr {
public:
    // Fills a new dialog: title, widgets, controller, observer, event handlers, data object.
    using Resource = std::function<void(Dialog&)>;

    static DialogMgr& Get();

    // Registers the dialog resource `resourceID`; a second registration replaces the first.
    void RegisterDialog(uint32 resourceID, Resource resource);
    void UnregisterDialog(uint32 resourceID);
    // A new, closed dialog made from the resource; null when no plug-in registered it.
    std::unique_ptr<Dialog> CreateNewDialog(uint32 resourceID) const;

    // The presenter that shows dialogs, alerts and file dialogs (not owned); null for none, and
    // then every dialog is cancelled, every file dialog chooses nothing and every alert answers
    // its default button.
    void SetPresenter(IDialogPresenter* presenter) { mPresenter = presenter; }
    IDialogPresenter* GetPresenter() const { return mPresenter; }

    // The dialogs open now, the innermost last (Dialog::Open keeps it).
    const std::vector<Dialog*>& GetOpenDialogs() const { return mOpen; }

private:
    friend class Dialog;
    std::map<uint32, Resource> mResources;
    IDialogPresenter* mPresenter = nullptr;
    std::vector<Dialog*> mOpen;
};
