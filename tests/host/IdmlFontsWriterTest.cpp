// Fonts in the package come from the document alone: the document records which styles of each
// family the system had, with their PostScript names, when the family was added and when the
// fonts in use are refreshed; the writer reads that record and never this machine's fonts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "DataBase.h"
#include "Document.h"
#include "FontManager.h"
#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "Style.h"
#include "StyleUtils.h"

#include "host/IdmlPackage.h"
#include "host/TestDocument.h"

namespace {

using Strings = std::vector<std::string>;

Strings Fonts(const IdmlPackage& package, UID family, const char* attribute)
{
    Strings values;
    for (pugi::xml_node font : package.FindSelf(IdmlIds::ForUID(family)).children("Font")) values.push_back(font.attribute(attribute).value());
    return values;
}

FontFamily& AddFamily(TestDocument& doc, const char* name, Strings styles)
{
    FontFamily& family = *doc.DB().Create<FontFamily>();
    family.name = name;
    for (const std::string& style : styles) family.styles.push_back(PMString(style.c_str()));
    doc.Doc().fontFamilies.push_back(family.GetUID());
    return family;
}

IdmlPackage Build(const DataBase& db)
{
    std::string bytes;
    EXPECT_EQ(IdmlWriter::BuildPackage(db, &bytes), kSuccess);
    return IdmlPackage::FromBytes(bytes);
}

} // namespace

TEST(IdmlFontsWriter, Record_MadeWhenAddedAndRefreshed)
{
    FontManager::Get().AddFont(InstalledFont{"Tessel Record Serif", "Regular", "TesselRecordSerif-Rg"});
    TestDocument doc;
    DataBase& db = doc.DB();
    UID uid = DocFontMgr::GetFontFamilyUID(db, "Tessel Record Serif");
    UID missing = DocFontMgr::GetFontFamilyUID(db, "Tessel Record Nowhere");
    const FontFamily& family = *db.Get<FontFamily>(uid);
    EXPECT_TRUE(family.installed);
    ASSERT_EQ(family.installedFaces.size(), 1u);
    EXPECT_EQ(family.installedFaces[0].style, PMString("Regular"));
    EXPECT_EQ(family.installedFaces[0].postScriptName, PMString("TesselRecordSerif-Rg"));
    EXPECT_FALSE(db.Get<FontFamily>(missing)->installed);
    EXPECT_TRUE(db.Get<FontFamily>(missing)->installedFaces.empty());

    // The system gains a style and the family it lacked: a refresh records both.
    FontManager::Get().AddFont(InstalledFont{"Tessel Record Serif", "Bold", "TesselRecordSerif-Bd"});
    FontManager::Get().AddFont(InstalledFont{"Tessel Record Nowhere", "Italic", "TesselRecordNowhere-It"});
    EXPECT_EQ(family.installedFaces.size(), 1u);  // until the fonts are refreshed
    doc.Doc().RefreshMissingFonts();
    ASSERT_EQ(family.installedFaces.size(), 2u);
    EXPECT_EQ(family.installedFaces[1].postScriptName, PMString("TesselRecordSerif-Bd"));
    EXPECT_TRUE(db.Get<FontFamily>(missing)->installed);
    EXPECT_EQ(db.Get<FontFamily>(missing)->installedFaces.size(), 1u);
    EXPECT_TRUE(doc.Doc().missingFonts.empty());
}

// The model and this machine disagree on purpose: whatever the machine has, the package says
// what the document recorded.
TEST(IdmlFontsWriter, Package_FromTheDocumentNotTheSystem)
{
    // The machine has a family the document recorded as missing, and a style of another family
    // under another PostScript name than the document recorded.
    FontManager::Get().AddFont(InstalledFont{"Tessel Machine Sans", "Regular", "TMS-Machine"});
    FontManager::Get().AddFont(InstalledFont{"Tessel Model Serif", "Regular", "TesselModelSerif-Machine"});
    FontManager::Get().AddFont(InstalledFont{"Tessel Model Serif", "Bold", "TesselModelSerif-MachineBold"});
    TestDocument doc;
    doc.AddSpread(1);
    FontFamily& machine = AddFamily(doc, "Tessel Machine Sans", {"Regular"});
    FontFamily& model = AddFamily(doc, "Tessel Model Serif", {"Regular", "Bold"});
    model.installed = true;
    model.installedFaces = {FontFace{PMString("Regular"), PMString("TesselModelSerif-Rg")}};
    // A family the machine lacks but the document found installed where it was made.
    FontFamily& elsewhere = AddFamily(doc, "Tessel Elsewhere Mono", {"Regular"});
    elsewhere.installed = true;
    elsewhere.installedFaces = {FontFace{PMString("Regular"), PMString("TesselElsewhereMono")}};

    IdmlPackage package = Build(doc.DB());
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    EXPECT_EQ(Fonts(package, machine.GetUID(), "Status"), Strings{"NotAvailable"});
    EXPECT_EQ(Fonts(package, machine.GetUID(), "PostScriptName"), Strings{"TesselMachineSans-Regular"});
    EXPECT_EQ(Fonts(package, model.GetUID(), "Status"), (Strings{"Installed", "NotAvailable"}));
    EXPECT_EQ(Fonts(package, model.GetUID(), "PostScriptName"), (Strings{"TesselModelSerif-Rg", "TesselModelSerif-Bold"}));
    EXPECT_EQ(Fonts(package, elsewhere.GetUID(), "Status"), Strings{"Installed"});
    EXPECT_EQ(Fonts(package, elsewhere.GetUID(), "PostScriptName"), Strings{"TesselElsewhereMono"});
}

// The package says what the document recorded, whatever this machine has: fonts installed or
// taken away between two saves change nothing in it.
TEST(IdmlFontsWriter, Package_SameBytesWhateverTheMachineHas)
{
    TestDocument doc;
    doc.AddSpread(1);
    AddFamily(doc, "Tessel Later Sans", {"Regular", "Italic"});
    FontFamily& recorded = AddFamily(doc, "Tessel Later Serif", {"Regular"});
    recorded.installed = true;
    recorded.installedFaces = {FontFace{PMString("Regular"), PMString("TesselLaterSerif-Rg")}};
    std::string before;
    ASSERT_EQ(IdmlWriter::BuildPackage(doc.DB(), &before), kSuccess);

    FontManager::Get().AddFont(InstalledFont{"Tessel Later Sans", "Regular", "TesselLaterSans-Machine"});
    FontManager::Get().AddFont(InstalledFont{"Tessel Later Sans", "Italic", "TesselLaterSans-MachineIt"});
    FontManager::Get().AddFont(InstalledFont{"Tessel Later Serif", "Regular", "TesselLaterSerif-Machine"});
    std::string after;
    ASSERT_EQ(IdmlWriter::BuildPackage(doc.DB(), &after), kSuccess);
    EXPECT_TRUE(before == after) << "the package changed with the machine's fonts";
}
