#include "ScriptedPresenter.h"

#include "DialogMgr.h"

void ScriptedPresenter::RunModal(Dialog& dialog)
{
    mTitles.push_back(dialog.GetTitle());
    if (mScripts.empty()) {
        dialog.Cancel();
        return;
    }
    Script script = std::move(mScripts.front());
    mScripts.pop_front();
    script(dialog);
    dialog.Cancel();
}

int32 ScriptedPresenter::ModalAlert(AlertKind kind, const PMString& text, const std::vector<PMString>& buttons,
                                    int32 defaultButton)
{
    int32 answer = defaultButton;
    // Messages with only OK need no answer; the queued answers are for questions.
    if (kind == AlertKind::kQuestion && !mAnswers.empty()) {
        answer = mAnswers.front();
        mAnswers.pop_front();
    }
    mAlerts.push_back(Alert{kind, text, buttons, answer});
    if (mListener) mListener(mAlerts.back());
    return answer;
}

std::vector<IDFile> ScriptedPresenter::ChooseFiles(const FileDialogRequest& request)
{
    mFileDialogs.push_back(request);
    if (mFiles.empty()) return {};
    std::vector<IDFile> files = std::move(mFiles.front());
    mFiles.pop_front();
    return files;
}

DialogPresenterScope::DialogPresenterScope(IDialogPresenter* presenter)
    : mPrevious(DialogMgr::Get().GetPresenter())
{
    DialogMgr::Get().SetPresenter(presenter);
}

DialogPresenterScope::~DialogPresenterScope() { DialogMgr::Get().SetPresenter(mPrevious); }
