#include "FileChooser.h"

namespace {

IFileChooser* gChooser = nullptr;
std::vector<IDFile>& SearchFolders()
{
    static std::vector<IDFile> folders;
    return folders;
}

} // namespace

void FileChooser::SetChooser(IFileChooser* chooser) { gChooser = chooser; }
IFileChooser* FileChooser::GetChooser() { return gChooser; }

std::vector<IDFile> FileChooser::ChooseFiles(const PMString& title) { return gChooser ? gChooser->ChooseFiles(title) : std::vector<IDFile>(); }

bool FileChooser::AskYesNo(const PMString& question, bool defaultAnswer)
{
    return gChooser ? gChooser->AskYesNo(question, defaultAnswer) : defaultAnswer;
}

void FileChooser::SetGraphicSearchFolders(std::vector<IDFile> folders) { SearchFolders() = std::move(folders); }
const std::vector<IDFile>& FileChooser::GetGraphicSearchFolders() { return SearchFolders(); }
