// The batch conversion: the folder the user chooses, the walk of its tree, and what each MIF
// file becomes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CAlert.h"
#include "CmdUtils.h"
#include "Document.h"
#include "DocumentList.h"
#include "ErrorUtils.h"
#include "MifImportFixture.h"
#include "ScriptedPresenter.h"
#include "TaskProgressBar.h"
#include "TempFolder.h"
#include "TestUtils.h"

#include "../host/IdmlPackage.h"
#include "base/MifAssertLog.h"
#include "import/MifSetUndoSupportCmd.h"
#include "plugin/MifBatchConvertCmd.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = TESSEL_TEST_DATA_DIR;

// Records the task texts of the batch's progress bar.
struct TaskRecorder : IProgressRenderer {
    void Update(const PMString& title, const PMString& taskText, double) override
    {
        std::string text = taskText.GetUTF8String();
        if (title.GetUTF8String() == "Converting" && !text.empty() && (tasks.empty() || tasks.back() != text))
            tasks.push_back(text);
    }
    void End() override {}
    std::vector<std::string> tasks;
};

class MifBatchConvertCmdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CAlert::SetPresenter(&warnings);
        ProgressBarManager::SetRenderer(&recorder);
    }
    void TearDown() override
    {
        ProgressBarManager::SetRenderer(nullptr);
        CAlert::SetPresenter(nullptr);
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    // Copies a MIF file of the test data to `name` under the folder.
    fs::path Copy(const char* data, const fs::path& name)
    {
        fs::path target = folder.Path() / name;
        fs::create_directories(target.parent_path());
        fs::copy_file(kData / data, target);
        return target;
    }
    // Runs the batch command with `answer` chosen in the folder dialog (none: cancelled).
    ErrorCode Run(std::vector<IDFile> answer)
    {
        if (!answer.empty()) presenter.AddFiles(std::move(answer));
        DialogPresenterScope scope(&presenter);
        ErrorCode result = CmdUtils::ProcessCommand(std::make_shared<MifBatchConvertCmd>());
        CmdUtils::ProcessScheduledCmds();
        return result;
    }
    // The files under the folder, relative to it, sorted.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder.Path()))
            if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), folder.Path()).string());
        std::sort(files.begin(), files.end());
        return files;
    }

    TempFolder folder{"batch"};
    ScriptedPresenter presenter;
    WarningsPresenter warnings;
    TaskRecorder recorder;
};

TEST_F(MifBatchConvertCmdTest, AsksForAFolder_CancelAndEmptyFoldersConvertNothing)
{
    EXPECT_EQ(Run({}), kSuccess);
    ASSERT_EQ(presenter.GetFileDialogs().size(), 1u);
    EXPECT_EQ(presenter.GetFileDialogs()[0].mode, FileDialogRequest::Mode::kSelectFolder);
    EXPECT_EQ(presenter.GetFileDialogs()[0].title.GetUTF8String(), "Please choose folder to convert");
    EXPECT_TRUE(recorder.tasks.empty());

    // An empty folder, then one holding only hidden entries, a file answered instead of a folder.
    EXPECT_EQ(Run({IDFile(folder.Path())}), kSuccess);
    Copy("cjk-fallback.mif", ".hidden.mif");
    Copy("cjk-fallback.mif", ".hidden/a.mif");
    EXPECT_EQ(Run({IDFile(folder.Path()), IDFile(folder / ".hidden.mif")}), kSuccess);
    EXPECT_EQ(Files(), (std::vector<std::string>{".hidden.mif", ".hidden/a.mif"}));
    EXPECT_TRUE(recorder.tasks.empty());
    EXPECT_TRUE(DocumentList::GetDocuments().empty());
}

TEST_F(MifBatchConvertCmdTest, NestedFolders_DepthFirstWithEachPackageBesideItsFile)
{
    fs::path top = Copy("cjk-fallback.mif", "top.mif");
    fs::path middle = Copy("unknown-family.mif", "sub/middle.mif");
    fs::path deep = Copy("cjk-fallback.mif", "sub/deeper/deep.mif");
    EXPECT_EQ(Run({IDFile(folder.Path())}), kSuccess);
    EXPECT_EQ(Files(), (std::vector<std::string>{"sub/deeper/deep.idml", "sub/deeper/deep.mif", "sub/middle.idml",
                                                 "sub/middle.mif", "top.idml", "top.mif"}));
    // The task text is each file's full path; a folder's tree is converted before its next entry.
    ASSERT_EQ(recorder.tasks.size(), 3u);
    auto at = [&](const fs::path& p) { return std::find(recorder.tasks.begin(), recorder.tasks.end(), p.string()) - recorder.tasks.begin(); };
    EXPECT_EQ(std::abs(at(middle) - at(deep)), 1) << recorder.tasks[0] << "\n" << recorder.tasks[1];
    EXPECT_LT(at(top), 3);
    EXPECT_TRUE(DocumentList::GetDocuments().empty());
    IdmlPackage package = IdmlPackage::Open((folder / "sub/middle.idml").string());
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    EXPECT_TRUE(package.CheckPackage().empty());
}

TEST_F(MifBatchConvertCmdTest, FailingFileIsPassedOver_NameTestIsCaseSensitive)
{
    Copy("maker-binary.mif", "x.mif");
    Copy("cjk-fallback.mif", "y.mif");
    Copy("cjk-fallback.mif", "X.MIF");
    Copy("cjk-fallback.mif", "a.mif.bak");
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    EXPECT_EQ(Run({IDFile(folder.Path())}), kSuccess);
    EXPECT_EQ(Files(), (std::vector<std::string>{"X.MIF", "a.mif.bak", "a.mif.bak.idml", "x.mif", "y.idml", "y.mif"}));
    EXPECT_EQ(recorder.tasks.size(), 3u);
    EXPECT_TRUE(DocumentList::GetDocuments().empty());
    EXPECT_EQ(ErrorUtils::PMGetGlobalErrorCode(), kSuccess);
}

TEST_F(MifBatchConvertCmdTest, SaveThatFails_DocumentClosedAndBatchGoesOn)
{
    // A folder stands where the first package would go: that save fails.
    Copy("cjk-fallback.mif", "first/a.mif");
    fs::create_directories(folder / "first/a.idml");
    Copy("cjk-fallback.mif", "second/b.mif");
    int64 before = MifAssertLog::GetWrittenLineCount();
    EXPECT_EQ(Run({IDFile(folder / "first"), IDFile(folder / "second")}), kSuccess);
    EXPECT_TRUE(fs::is_directory(folder / "first/a.idml"));
    EXPECT_TRUE(fs::exists(folder / "second/b.idml"));
    EXPECT_TRUE(DocumentList::GetDocuments().empty());
    EXPECT_EQ(ErrorUtils::PMGetGlobalErrorCode(), kSuccess);
    EXPECT_GE(MifAssertLog::GetWrittenLineCount() - before, 1);  // the failed save
}

TEST_F(MifBatchConvertCmdTest, SetUndoSupport_OnlyOnExactlyOneDocument)
{
    DataBase* db = DocumentList::NewDataBase();
    UIDRef document(db, db->GetDocument()->GetUID());
    auto cmd = std::make_shared<MifSetUndoSupportCmd>();
    cmd->boolData = false;
    cmd->SetItemList(UIDList(document));
    EXPECT_EQ(CmdUtils::ProcessCommand(cmd), kSuccess);
    EXPECT_FALSE(db->GetCommandMgr().GetUndoSupport());

    UIDList two(document);
    two.Append(document.GetUID());
    for (const UIDList& bad : {UIDList(), two}) {
        int64 before = MifAssertLog::GetWrittenLineCount();
        auto badCmd = std::make_shared<MifSetUndoSupportCmd>();
        badCmd->SetItemList(bad);
        EXPECT_NE(CmdUtils::ProcessCommand(badCmd), kSuccess);
        EXPECT_EQ(MifAssertLog::GetWrittenLineCount() - before, 1);
        EXPECT_FALSE(db->GetCommandMgr().GetUndoSupport());
    }
}

} // namespace
