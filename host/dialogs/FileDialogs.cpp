#include "DialogMgr.h"
#include "OpenFileDialog.h"
#include "SaveFileDialog.h"

namespace {
FileDialogRequest MakeRequest(FileDialogRequest::Mode mode, PMString title, PMString filterName,
                              const PMString& extension)
{
    title.Translate();
    filterName.Translate();
    return FileDialogRequest{mode, title, filterName, extension};
}
} // namespace

OpenFileDialog::OpenFileDialog(const PMString& title, const PMString& filterName, const PMString& extension,
                               bool several)
    : mTitle(title), mFilterName(filterName), mExtension(extension), mSeveral(several)
{
}

std::vector<IDFile> OpenFileDialog::DoDialog() const
{
    IDialogPresenter* presenter = DialogMgr::Get().GetPresenter();
    if (!presenter) return {};
    auto mode = mSeveral ? FileDialogRequest::Mode::kOpenSeveral : FileDialogRequest::Mode::kOpenOne;
    std::vector<IDFile> files = presenter->ChooseFiles(MakeRequest(mode, mTitle, mFilterName, mExtension));
    if (!mSeveral && files.size() > 1) files.resize(1);
    return files;
}

SaveFileDialog::SaveFileDialog(const PMString& title, const PMString& filterName, const PMString& extension)
    : mTitle(title), mFilterName(filterName), mExtension(extension)
{
}

bool SaveFileDialog::DoDialog(IDFile& file) const
{
    IDialogPresenter* presenter = DialogMgr::Get().GetPresenter();
    if (!presenter) return false;
    std::vector<IDFile> files =
        presenter->ChooseFiles(MakeRequest(FileDialogRequest::Mode::kSave, mTitle, mFilterName, mExtension));
    if (files.size() != 1) return false;
    file = files.front();
    if (!mExtension.IsEmpty() && !file.GetPath().has_extension()) {
        std::filesystem::path path = file.GetPath();
        path += "." + mExtension.GetUTF8String();
        file = IDFile(path);
    }
    return true;
}
