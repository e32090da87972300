// MifImportFixture: tests that run MIF text through the whole import, as opening a file does.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "Story.h"
#include "TempFolder.h"
#include "WarningsPresenter.h"

#include "base/MifDocInterface.h"
#include "layout/IMifLayoutImporter.h"

// Collects the warnings while a test runs and closes its documents afterwards.
class MifImportFixture : public ::testing::Test {
protected:
    void SetUp() override { CAlert::SetPresenter(&presenter); }
    void TearDown() override
    {
        CAlert::SetPresenter(nullptr);
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    // Writes `mif` to `name` in a folder of this process's own (tests run in parallel) and opens
    // it without dialogs; `db` is the new document and `story` the story of text rect 1.
    void OpenMif(const std::string& name, const std::string& mif)
    {
        TempFolder folder{"import-test"};
        auto path = folder / name;
        mifText = mif;
        std::ofstream(path, std::ios::binary) << mif;
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        db = document.GetDataBase();
        InterfacePtr<IMifLayoutImporter> layout = MifDocInterface<IMifLayoutImporter>(db);
        ASSERT_TRUE(layout);
        story = db->Get<Story>(layout->GetStoryOfTextRect(1).GetUID());
        ASSERT_NE(story, nullptr);
    }
    // True when one warning line reads exactly `line`: for warnings about the document as a whole.
    ::testing::AssertionResult Warned(const std::string& line) const { return presenter.HasLine(line); }
    // True when one warning line reads "Line N: `message`", N being the line of the file opened
    // last that first holds `anchor`.
    ::testing::AssertionResult WarnedAt(const std::string& anchor, const std::string& message) const
    {
        return presenter.HasLine(WarningLineOf(mifText, anchor) + message);
    }
    // True when any warning holds `piece`: for checks that a kind of warning did not come.
    ::testing::AssertionResult Mentioned(const std::string& piece) const { return presenter.Mentions(piece); }

    WarningsPresenter presenter;
    DataBase* db = nullptr;
    Story* story = nullptr;
    std::string mifText;   // the file opened last
};
