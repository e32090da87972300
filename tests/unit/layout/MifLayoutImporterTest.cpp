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
#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "PreviewWriter.h"
#include "Spread.h"
#include "TestUtils.h"

#include "host/IdmlPackage.h"
#include "host/PreviewImage.h"

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

// openjade's first page: a right page whose master is an OtherMasterPage (with the footer on it),
// in a two-sided file.
TEST_F(MifLayoutImporterTest, Masters_OtherMasterShowsOnEitherSide)
{
    DataBase* db = Import("<MIFFile 5.00>\n"
                          "<ColorCatalog <Color <ColorTag `Red'> <ColorCyan 0> <ColorMagenta 100> <ColorYellow 100> <ColorBlack 0>>>\n"
                          "<Document <DPageSize 612pt 792pt> <DTwoSides Yes> <DParity FirstRight>>\n"
                          "<Page <PageType BodyPage> <PageBackground `First'>>\n"
                          "<Page <PageType BodyPage> <PageBackground `First'>>\n"
                          "<Page <PageType OtherMasterPage> <PageTag `First'>\n"
                          " <Rectangle <Pen 15> <Fill 0> <ObColor `Red'> <ShapeRect 72pt 700pt 468pt 40pt>>>\n"
                          "<Page <PageType RightMasterPage> <PageTag `Right'>>\n"
                          "<Page <PageType LeftMasterPage> <PageTag `Left'>>\n");
    ASSERT_NE(db, nullptr);
    ASSERT_EQ(Applied(db), (std::vector<std::string>{"B-First", "B-First"}));
    const MasterSpread* first = db->Get<MasterSpread>(db->GetDocument()->masterSpreads.at(1));
    ASSERT_EQ(first->pages.size(), 1u);
    ASSERT_EQ(first->pageItems.size(), 1u);

    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    pugi::xml_node master = package.FindSelf(IdmlIds::ForUID(first->GetUID()));
    ASSERT_TRUE(master);
    EXPECT_STREQ(master.attribute("PageCount").value(), "1");
    EXPECT_EQ(std::distance(master.children("Page").begin(), master.children("Page").end()), 1);
    for (UID uid : db->GetDocument()->GetPages())
        EXPECT_EQ(package.FindSelf(IdmlIds::ForUID(uid)).attribute("AppliedMaster").value(), IdmlIds::ForUID(first->GetUID()));

    // Both pages, the right page 1 and the left page 2, draw the master's red footer band.
    PreviewOptions options;
    options.dpi = 72;
    std::vector<std::string> pngs;
    ASSERT_EQ(PreviewWriter::BuildPngs(*db, options, [&](int32, std::string_view png) {
                  pngs.emplace_back(png);
                  return kSuccess;
              }, nullptr),
              kSuccess);
    ASSERT_EQ(pngs.size(), 2u);
    for (const std::string& png : pngs) {
        PreviewImage image(png);
        ASSERT_TRUE(image.IsValid());
        EXPECT_TRUE(image.IsRed(306, 720));
        EXPECT_FALSE(image.IsInk(306, 680));
    }
}
