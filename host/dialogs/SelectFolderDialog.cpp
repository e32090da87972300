#include "SelectFolderDialog.h"

#include <algorithm>

#include "DialogMgr.h"

SelectFolderDialog::SelectFolderDialog(const PMString& title) : mTitle(title) {}

std::vector<IDFile> SelectFolderDialog::DoDialog() const
{
    IDialogPresenter* presenter = DialogMgr::Get().GetPresenter();
    if (!presenter) return {};
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::kSelectFolder;
    request.title = mTitle;
    request.title.Translate();
    std::vector<IDFile> folders = presenter->ChooseFiles(request);
    std::erase_if(folders, [](const IDFile& folder) { return !folder.IsDirectory(); });
    return folders;
}
