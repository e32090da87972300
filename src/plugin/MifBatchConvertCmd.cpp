#include "plugin/MifBatchConvertCmd.h"

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentFileCommands.h"
#include "DocumentOpener.h"
#include "ErrorUtils.h"
#include "IImportProvider.h"
#include "SelectFolderDialog.h"
#include "TaskProgressBar.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"

namespace {

// The import names a document after its MIF file with ".indd"; the host saves IDML packages,
// which layout programs open only under ".idml".
PMString PackageName(const PMString& documentName)
{
    std::string name = documentName.GetUTF8String();
    if (name.ends_with(".indd")) name.resize(name.size() - 5);
    return PMString(name + ".idml");
}

} // namespace

ErrorCode MifBatchConvertCmd::Do()
{
    SelectFolderDialog selectFolderDialog("OV#0xB40#kMifChooseFolderToConvertKey");
    std::vector<IDFile> folders = selectFolderDialog.DoDialog();
    if (folders.empty()) return kSuccess;
    TaskProgressBar progressBar("OV#0xB40#kMifConvertingKey", 1);
    for (const IDFile& folder : folders) WalkFolder(folder, &progressBar);
    return kSuccess;
}

void MifBatchConvertCmd::WalkFolder(const IDFile& folder, TaskProgressBar* progressBar)
{
    std::error_code ec;
    std::filesystem::directory_iterator entries(folder.GetPath(), ec);
    if (ec) {
        MIF_LOG_FAILED(entries);
        return;
    }
    for (const std::filesystem::directory_entry& entry : entries) {
        std::string name = entry.path().filename().string();
        if (name.starts_with(".")) continue;
        // A link to a folder is not followed: it could lead back up the tree.
        if (entry.is_directory(ec) && !entry.is_symlink(ec)) {
            WalkFolder(IDFile(entry.path()), progressBar);
            continue;
        }
        if (!entry.is_regular_file(ec) || name.find(".mif") == std::string::npos) continue;
        if (!progressBar) {
            MIF_LOG_NIL(progressBar);
            return;
        }
        IDFile file(entry.path());
        PMString path = file.GetPathString();
        path.SetTranslated();  // a path, not a string key
        progressBar->SetTaskText(path);
        ConvertFile(file);
    }
}

void MifBatchConvertCmd::ConvertFile(const IDFile& file)
{
    UIDRef document;
    PMString message;
    if (DocumentOpener::OpenFile(file, kSuppressUI, document, message) != kSuccess) {
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return;
    }
    DataBase* db = document.GetDataBase();
    if (!db || !db->GetDocument()) {
        MIF_LOG_NIL(document);
        return;
    }
    auto saveDocCmd = std::make_shared<SaveDocAsCmd>();
    saveDocCmd->file = file.GetParent().Child(PackageName(db->GetDocument()->name));
    MIF_RUN_COMMAND(saveDocCmd, UIDList(document));
    auto closeDocCmd = std::make_shared<CloseDocCmd>();
    MIF_RUN_COMMAND(closeDocCmd, UIDList(document));
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}
