// Pages and master pages: master spreads for the MIF's master pages, masters applied by
// PageBackground (wherever the master page stands in the file), reference pages left out, the
// scratch spread gone after the import.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "Spread.h"
#include "TestUtils.h"

namespace {

class MifLayoutImporterTest : public ::testing::Test {
protected:
    DataBase* Import(const std::string& mif)
    {
        auto path = mFolder / "layout-test.mif";   // test programs run side by side
        std::ofstream(path, std::ios::binary) << mif;
        UIDRef document;
        PMString message;
        EXPECT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        CmdUtils::ProcessScheduledCmds();
        std::filesystem::remove(path);
        return document.GetDataBase();
    }
    void TearDown() override
    {
        for (DataBase* db : DocumentList::GetDocuments()) DocumentList::Close(db);
    }
    TempFolder mFolder{"layout"};
    // The full names of the document's master spreads, in order.
    static std::vector<std::string> Masters(const DataBase* db)
    {
        std::vector<std::string> names;
        for (UID uid : db->GetDocument()->masterSpreads) names.push_back(db->Get<MasterSpread>(uid)->GetName().GetUTF8String());
        return names;
    }
    // The master applied to each document page ("" for none).
    static std::vector<std::string> Applied(const DataBase* db)
    {
        std::vector<std::string> names;
        for (UID uid : db->GetDocument()->GetPages()) {
            const MasterSpread* master = db->Get<MasterSpread>(db->Get<Page>(uid)->appliedMaster);
            names.push_back(master ? master->GetName().GetUTF8String() : "");
        }
        return names;
    }
};

} // namespace

TEST_F(MifLayoutImporterTest, Masters_OtherMasterPagesAndBackgrounds)
{
    DataBase* db = Import("<MIFFile 9.00>\n"
                          "<Page <PageType RightMasterPage> <PageTag `Right'>>\n"
                          "<Page <PageType OtherMasterPage> <PageTag `  Chapter '>>\n"
                          "<Page <PageType OtherMasterPage> <PageTag `Index'>>\n"
                          "<Page <PageType BodyPage> <PageBackground `  Chapter '>>\n"
                          "<Page <PageBackground `Chapter'>>\n"
                          "<Page <PageBackground `Default'>>\n"
                          "<Page <PageBackground `None'>>\n"
                          "<Page <PageBackground `Index'>>\n"
                          "<Page <PageBackground `Later'>>\n"
                          "<Page <PageType OtherMasterPage> <PageTag `Later'>>\n"
                          "<Page <PageType ReferencePage> <PageTag `Reference'> <TextRect <ID 1>>>\n");
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(Masters(db), (std::vector<std::string>{"A-Master", "B-Chapter", "C-Index", "D-Later"}));
    // A body page finds a master that stands after it in the file, as FrameMaker does.
    EXPECT_EQ(Applied(db), (std::vector<std::string>{"B-Chapter", "", "A-Master", "", "C-Index", "D-Later"}));
    EXPECT_EQ(db->GetDocument()->spreads.size(), 6u);  // the scratch spread is gone
}

TEST_F(MifLayoutImporterTest, Masters_UntaggedMasterPageEndsTheWalk)
{
    DataBase* db = Import("<MIFFile 9.00>\n"
                          "<Page <PageType OtherMasterPage> <PageTag `First'>>\n"
                          "<Page <PageType OtherMasterPage>>\n"
                          "<Page <PageType OtherMasterPage> <PageTag `Never'>>\n"
                          "<Page>\n");
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(Masters(db), (std::vector<std::string>{"A-Master", "B-First"}));
    EXPECT_EQ(db->GetDocument()->GetPageCount(), 1);
}

TEST_F(MifLayoutImporterTest, Masters_ManyGetNumberedRounds)
{
    std::string mif = "<MIFFile 9.00>\n";
    for (int i = 0; i < 53; ++i) mif += "<Page <PageType OtherMasterPage> <PageTag `M" + std::to_string(i) + "'>>\n";
    mif += "<Page <PageBackground `M52'>>\n";
    DataBase* db = Import(mif);
    ASSERT_NE(db, nullptr);
    std::vector<std::string> masters = Masters(db);
    ASSERT_EQ(masters.size(), 54u);
    EXPECT_EQ(masters[1], "B-M0");
    EXPECT_EQ(masters[51], "z-M50");
    EXPECT_EQ(masters[52], "B-M51 (2)");  // the second round of letters carries a number
    EXPECT_EQ(Applied(db), (std::vector<std::string>{"C-M52 (2)"}));
}
