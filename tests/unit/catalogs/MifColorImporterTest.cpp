// The color catalog as swatches: process and spot, reserved names, tints in any order,
// invisible colors of the current view.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "NewDocCmd.h"
#include "SwatchUtils.h"
#include "TestUtils.h"

#include "base/MifDocInterface.h"
#include "catalogs/IMifColorImporter.h"

namespace {

class MifColorImporterTest : public ::testing::Test {
protected:
    void Import(const std::string& mif)
    {
        mParsed = std::make_unique<ParsedMif>(mif);
        auto newDocCmd = std::make_shared<NewDocCmd>();
        ASSERT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
        db = newDocCmd->GetItemList().GetDataBase();
        importer = MifDocInterface<IMifColorImporter>(db);
        ASSERT_TRUE(importer);
        importer->SetRoot(mParsed->root.get());
        importer->Import();
    }
    void TearDown() override
    {
        importer = InterfacePtr<IMifColorImporter>();
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    const Swatch* SwatchOf(const char* name) { return db->Get<Swatch>(importer->GetColorUID(name)); }

    std::unique_ptr<ParsedMif> mParsed;
    DataBase* db = nullptr;
    InterfacePtr<IMifColorImporter> importer;
};

std::string Color(const char* tag, double c, double m, double y, double k)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "<Color <ColorTag `%s'> <ColorCyan %g> <ColorMagenta %g> <ColorYellow %g> <ColorBlack %g>>", tag, c, m, y, k);
    return text;
}

} // namespace

TEST_F(MifColorImporterTest, Colors_ProcessOrSpot)
{
    Import("<Document <DPrintProcessColor `Brand'>> <ColorCatalog " + Color("Brand", 100, 40, 0, 10) +
           Color("Accent", 0, 80, 95, 0) + "<Color <ColorCyan 5>>>");
    const Swatch* brand = SwatchOf("Brand");
    ASSERT_NE(brand, nullptr);
    EXPECT_EQ(brand->kind, SwatchKind::kProcess);
    EXPECT_DOUBLE_EQ(brand->magenta, 0.4);
    EXPECT_DOUBLE_EQ(brand->black, 0.1);
    ASSERT_NE(SwatchOf("Accent"), nullptr);
    EXPECT_EQ(SwatchOf("Accent")->kind, SwatchKind::kSpot);
    EXPECT_EQ(importer->GetColorUID("Missing"), kInvalidUID);
}

TEST_F(MifColorImporterTest, Reserved_MatchedByValueOrRenamed)
{
    Import("<ColorCatalog " + Color("Black", 0, 0, 0, 100) + Color("Cyan", 100, 0, 0, 0) + Color("Paper", 0, 0, 0, 0) +
           Color("Yellow", 0, 10, 100, 0) + ">");
    const size_t expected = 7 + 1;  // the new document's own swatches, and the renamed Yellow
    EXPECT_EQ(importer->GetColorUID("Black"), SwatchUtils::GetBlackSwatch(*db));
    EXPECT_EQ(SwatchOf("Cyan")->name, PMString("C=100 M=0 Y=0 K=0"));
    EXPECT_EQ(importer->GetColorUID("Paper"), SwatchUtils::GetPaperSwatch(*db));
    EXPECT_EQ(SwatchOf("Yellow")->name, PMString("C=0 M=10 Y=100 K=0"));
    EXPECT_EQ(db->GetDocument()->swatches.size(), expected);
}

TEST_F(MifColorImporterTest, Tints_AfterBasesAndClamped)
{
    Import("<ColorCatalog"
           " <Color <ColorTag `Light'> <ColorTintPercentage 30> <ColorTintBaseColor `Brand'>>"
           " <Color <ColorTag `Over'> <ColorTintPercentage 150%> <ColorTintBaseColor `Brand'>>"
           " <Color <ColorTag `Under'> <ColorTintPercentage -5> <ColorTintBaseColor `Brand'>>"
           " <Color <ColorTag `Orphan'> <ColorTintPercentage 20> <ColorTintBaseColor `Nowhere'>>"
           " <Color <ColorTag `NoBase'> <ColorTintPercentage 20>>" +
           Color("Brand", 100, 40, 0, 10) + ">");
    UID brand = importer->GetColorUID("Brand");
    const Swatch* light = SwatchOf("Light");
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->kind, SwatchKind::kTint);
    EXPECT_EQ(light->base, brand);
    EXPECT_DOUBLE_EQ(light->tint, 30);
    EXPECT_DOUBLE_EQ(SwatchOf("Over")->tint, 100);
    EXPECT_DOUBLE_EQ(SwatchOf("Under")->tint, 0);
    EXPECT_EQ(SwatchOf("Orphan")->base, SwatchUtils::GetDefaultSwatch(*db));
    EXPECT_EQ(importer->GetColorUID("NoBase"), kInvalidUID);
    // What was changed is the file's problem, and the user is told.
    InterfacePtr<IMifErrorLog> importErrors = MifDocInterface<IMifErrorLog>(db);
    ASSERT_TRUE(importErrors);
    EXPECT_EQ(importErrors->GetText().GetUTF8String(),
              "Line 1: ColorTintPercentage out of range (0 to 100%), set to 100%: 150%\r\n"
              "Line 1: ColorTintPercentage out of range (0 to 100%), set to 0%: -5%\r\n"
              "Line 1: ColorTintBaseColor names no color of the catalog, the tint is based on Black: Nowhere");
    // The same tint is asked for again: the existing swatch answers.
    EXPECT_EQ(importer->GetTintUID(UIDRef(db, brand), 30), importer->GetColorUID("Light"));
}

TEST_F(MifColorImporterTest, Views_InvisibleColorsAreNone)
{
    Import("<Document <DCurrentView 2>> <Views <View <ViewNumber 1> <ViewInvisible `Blue'>>"
           " <View <ViewNumber 2> <ViewInvisible `Red'>>> <ColorCatalog " +
           Color("Red", 0, 100, 100, 0) + Color("Blue", 100, 100, 0, 0) + ">");
    EXPECT_EQ(importer->GetColorUID("Red"), SwatchUtils::GetNoneSwatch(*db));
    EXPECT_NE(importer->GetColorUID("Blue"), SwatchUtils::GetNoneSwatch(*db));
    EXPECT_NE(SwatchUtils::FindSwatch(*db, "Red"), kInvalidUID);  // the swatch itself exists
}

TEST_F(MifColorImporterTest, Standard_ColorsTheCatalogLacksAreFrameMakers)
{
    // No catalog at all, as other programs write MIF: FrameMaker's colors are still there.
    Import("<Document <DTwoSides No>>");
    const size_t before = db->GetDocument()->swatches.size();
    EXPECT_EQ(importer->GetColorUID("Black"), SwatchUtils::GetBlackSwatch(*db));
    const Swatch* white = SwatchOf("White");
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->name, PMString("White"));
    EXPECT_TRUE(white->HasValues(0, 0, 0, 0));
    EXPECT_TRUE(SwatchOf("Forest Green")->HasValues(0.41, 0, 0.41, 0.46));
    // Made once, and only what was asked for; other names stay unknown.
    EXPECT_EQ(importer->GetColorUID("White"), white->GetUID());
    EXPECT_EQ(db->GetDocument()->swatches.size(), before + 2);
    EXPECT_EQ(importer->GetColorUID("white"), kInvalidUID);
    EXPECT_EQ(importer->GetColorUID("Teal"), kInvalidUID);
    // A tint of a standard color the catalog lacks has its base.
    Import("<ColorCatalog <Color <ColorTag `Pale Red'> <ColorTintPercentage 20> <ColorTintBaseColor `Red'>>>");
    const Swatch* paleRed = SwatchOf("Pale Red");
    ASSERT_NE(paleRed, nullptr);
    EXPECT_EQ(paleRed->base, importer->GetColorUID("Red"));
    // The catalog's own definition wins.
    Import("<ColorCatalog " + Color("Red", 0, 90, 80, 5) + ">");
    EXPECT_TRUE(SwatchOf("Red")->HasValues(0, 0.9, 0.8, 0.05));
}
