// ScriptedPresenter: a presenter that acts for the user from a script instead of showing
// anything: each dialog that opens runs the next script queued for it, each modal alert takes the
// next answer queued, each file dialog the next files queued. Everything shown is recorded, so
// that tests and commands can read back what the user would have seen.
//
//     ScriptedPresenter presenter;
//     presenter.AddDialog([](Dialog& prefs) { prefs.Click(kNewButton); prefs.Confirm(); });
//     presenter.AddDialog([](Dialog& name) { name.Type(kNameField, "Reuse"); name.Confirm(); });
//     DialogPresenterScope scope(&presenter);
//     ... open the first dialog ...
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "Dialog.h"
#include "IDialogPresenter.h"

class ScriptedPresenter : public IDialogPresenter {
public:
    using Script = std::function<void(Dialog&)>;

    struct Alert {
        AlertKind kind;
        PMString text;
        std::vector<PMString> buttons;
        int32 answer;
    };

    // The script for the next dialog that opens. A dialog left open by its script is cancelled;
    // a dialog with no script left is cancelled at once.
    void AddDialog(Script script) { mScripts.push_back(std::move(script)); }
    // The answer to the next question (a modal alert with buttons to choose from: a button index);
    // with none queued, its default button. Messages take no answer.
    void AddAlertAnswer(int32 button) { mAnswers.push_back(button); }
    // The files that the next file dialog chooses; with none queued it is cancelled.
    void AddFiles(std::vector<IDFile> files) { mFiles.push_back(std::move(files)); }
    // Called with every alert as it is shown (after it is recorded).
    void SetAlertListener(std::function<void(const Alert&)> listener) { mListener = std::move(listener); }

    // What was shown, in order.
    const std::vector<Alert>& GetAlerts() const { return mAlerts; }
    const std::vector<FileDialogRequest>& GetFileDialogs() const { return mFileDialogs; }
    // The titles of the dialogs opened.
    const std::vector<PMString>& GetDialogTitles() const { return mTitles; }
    // Whether every script was used.
    bool IsDone() const { return mScripts.empty(); }

    void RunModal(Dialog& dialog) override;
    int32 ModalAlert(AlertKind kind, const PMString& text, const std::vector<PMString>& buttons,
                     int32 defaultButton) override;
    std::vector<IDFile> ChooseFiles(const FileDialogRequest& request) override;

private:
    std::deque<Script> mScripts;
    std::deque<int32> mAnswers;
    std::deque<std::vector<IDFile>> mFiles;
    std::function<void(const Alert&)> mListener;
    std::vector<Alert> mAlerts;
    std::vector<FileDialogRequest> mFileDialogs;
    std::vector<PMString> mTitles;
};

// Installs a dialog presenter for the length of a scope, and puts back the one before.
class DialogPresenterScope {
public:
    explicit DialogPresenterScope(IDialogPresenter* presenter);
    ~DialogPresenterScope();
    DialogPresenterScope(const DialogPresenterScope&) = delete;
    DialogPresenterScope& operator=(const DialogPresenterScope&) = delete;

private:
    IDialogPresenter* mPrevious;
};
