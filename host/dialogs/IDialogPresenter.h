// IDialogPresenter: shows the host's dialogs, alerts and file dialogs to the user. The host has no
// drawing toolkit of its own: the application installs a presenter (a script for tests and
// commands, a terminal, a browser page) and the host hands everything the user sees to it.
#pragma once

#include <vector>

#include "IDFile.h"
#include "PMString.h"

class Dialog;

enum class AlertKind { kInformation, kWarning, kError, kQuestion };

// What a file dialog asks for: its title, its filter's name and extension, whether it opens
// (one or several files), saves, or chooses folders (kSelectFolder: the answer is folders, and
// the filter is empty).
struct FileDialogRequest {
    enum class Mode { kOpenOne, kOpenSeveral, kSave, kSelectFolder } mode = Mode::kOpenOne;
    PMString title;       // translated
    PMString filterName;  // translated ("Tessel Presets")
    PMString extension;   // without the dot ("tqp")
};

class IDialogPresenter {
public:
    virtual ~IDialogPresenter() = default;
    // Shows `dialog` until it is closed (confirmed or cancelled); a presenter that stops showing
    // it cancels it.
    virtual void RunModal(Dialog& dialog) = 0;
    // A modal alert (translated text) with `buttons` (translated); the index of the button chosen.
    virtual int32 ModalAlert(AlertKind kind, const PMString& text, const std::vector<PMString>& buttons,
                             int32 defaultButton) = 0;
    // A file dialog: the files (or folders) chosen; none when cancelled.
    virtual std::vector<IDFile> ChooseFiles(const FileDialogRequest& request) = 0;
};
