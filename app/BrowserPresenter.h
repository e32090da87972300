// BrowserPresenter: shows the host's dialogs, alerts and file dialogs on the page of tessel ui.
// Each one is published as JSON in the page's state (UiState) and waits, in the host's modal
// loop (UiEventLoop::RunUntil), for what the user does on the page; the server posts the user's
// actions to the host thread, where they act on the dialog through its user side, so the same
// controllers, observers and messages run as through the command line.
//
// Everything here runs on the host thread, except the constructor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Dialog.h"
#include "DialogWidget.h"
#include "IDialogPresenter.h"
#include "JsonValue.h"
#include "UiEventLoop.h"
#include "UiState.h"

class BrowserPresenter : public IDialogPresenter {
public:
    // What the user did to a widget of an open dialog.
    struct DialogEvent {
        int64_t dialog = 0;    // the id the state gave the dialog
        std::string event;     // click, choose, type, doubleclick, confirm, cancel
        WidgetID widget = kInvalidWidgetID;
        int32 index = -1;
        PMString text;
    };

    BrowserPresenter(UiEventLoop& loop, UiState& state);

    void RunModal(Dialog& dialog) override;
    int32 ModalAlert(AlertKind kind, const PMString& text, const std::vector<PMString>& buttons,
                     int32 defaultButton) override;
    std::vector<IDFile> ChooseFiles(const FileDialogRequest& request) override;

    // Acts on the innermost dialog as the user; false when refused (another dialog, a widget
    // hidden, disabled or of another kind, a choice out of range, an alert or file dialog open
    // above it). The caller publishes the dialogs after it.
    bool ApplyDialogEvent(const DialogEvent& event);
    // Whether the outermost dialog was just confirmed or cancelled (its modal loop has yet to
    // return): what it changed is taken, and can be saved before the page sees it closed.
    bool IsClosingAll() const { return !mDialogs.empty() && !mDialogs.front().dialog->IsOpen(); }
    // Answers the alert shown (`alert` its id) with `button`; false when it is not shown.
    bool AnswerAlert(int64_t alert, int32 button);
    // The request of the file dialog shown when its id is `chooser`.
    std::optional<FileDialogRequest> GetChooser(int64_t chooser) const;
    // Answers that file dialog with `files` (none: cancelled); false when it is not shown.
    bool AnswerChooser(int64_t chooser, std::vector<IDFile> files);

    // Whether nothing modal is shown: no dialog, alert or file dialog. A menu entry can be
    // chosen only then, as a desktop program's menus wait for its modal dialogs.
    bool IsIdle() const { return mDialogs.empty() && !IsBlocked(); }

    // Publishes the open dialogs again (after anything that may have changed a widget).
    void Publish();

    // A widget as the page reads it.
    static JsonValue DescribeWidget(const Dialog& dialog, const DialogWidget& widget);

private:
    struct Shown {
        Dialog* dialog;
        int64_t id;
    };
    struct Alert {
        int64_t id;
        int32 answer;
        bool answered;
    };
    struct Chooser {
        int64_t id;
        FileDialogRequest request;
        std::vector<IDFile> files;
        bool answered;
    };

    // Whether the page's modal things above the dialogs (an alert, a file dialog) are shown.
    bool IsBlocked() const { return mAlert.has_value() || mChooser.has_value(); }

    UiEventLoop& mLoop;
    UiState& mState;
    int64_t mNextID = 1;
    std::vector<Shown> mDialogs;
    std::optional<Alert> mAlert;
    std::optional<Chooser> mChooser;
};
