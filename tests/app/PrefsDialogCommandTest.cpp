// tessel prefs changing the presets through the preferences dialog, as a user runs it: a preset
// made, set up and used for a conversion, moved to another installation, and the refusals that
// leave the stored preferences as they were.
#include <gtest/gtest.h>

#include "TestUtils.h"

#include "app/TesselRun.h"
#include "host/IdmlPackage.h"

namespace {
std::string Corpus(const char* file) { return std::string(TESSEL_CORPUS_DIR) + "/" + file; }
} // namespace

TEST(PrefsDialogCommand, ReusePresetConvertsAndMovesToAnotherInstallation)
{
    TempFolder config("prefs-reuse"), second("prefs-reuse-second"), work("prefs-reuse-work");
    TesselRun made = Tessel(config.Path(), "prefs new Reuse");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(Tessel(config.Path(), "prefs set leading auto").status, 0);
    TesselRun subst = Tessel(config.Path(), "prefs subst add Times --to 'Nimbus Roman'");
    ASSERT_EQ(subst.status, 0) << subst.err;
    EXPECT_EQ(Tessel(config.Path(), "prefs use '[Common]'").status, 0);

    std::string package = (work.Path() / "harbour.idml").string();
    TesselRun convert = Tessel(config.Path(), "convert '" + Corpus("generated/sdf/harbour-guide.mif") + "' -o '" +
                                                  package + "' --preset Reuse");
    ASSERT_EQ(convert.status, 0) << convert.err;
    IdmlPackage idml = IdmlPackage::Open(package);
    ASSERT_TRUE(idml.IsOpen()) << idml.GetError();
    std::string styles = idml.Entry("Resources/Styles.xml"), fonts = idml.Entry("Resources/Fonts.xml");
    EXPECT_NE(styles.find(">Auto</Leading>"), std::string::npos) << "auto leading";
    EXPECT_NE(styles.find("Nimbus Roman"), std::string::npos) << "Times became Nimbus Roman";
    EXPECT_EQ(styles.find(">Times<"), std::string::npos);
    EXPECT_NE(fonts.find("Nimbus Roman"), std::string::npos);

    std::string presetsFile = (work.Path() / "reuse.tqp").string();
    TesselRun exported = Tessel(config.Path(), "prefs export '" + presetsFile + "'");
    ASSERT_EQ(exported.status, 0) << exported.err;
    TesselRun imported = Tessel(second.Path(), "prefs import '" + presetsFile + "'");
    ASSERT_EQ(imported.status, 0) << imported.err;
    TesselRun shownHere = Tessel(config.Path(), "prefs show Reuse");
    TesselRun shownThere = Tessel(second.Path(), "prefs show Reuse");
    EXPECT_EQ(shownThere.status, 0);
    EXPECT_EQ(shownThere.out, shownHere.out);
    EXPECT_NE(shownThere.out.find("Times (A: (any), W: (any), V: (any))  ->  Nimbus Roman"), std::string::npos)
        << shownThere.out;
    EXPECT_EQ(Tessel(second.Path(), "prefs list").out, "* [Common]\n  Reuse\n");
}

TEST(PrefsDialogCommand, RefusalsSayTheDialogsMessageAndChangeNothing)
{
    TempFolder config("prefs-refusals");
    ASSERT_EQ(Tessel(config.Path(), "prefs new Book").status, 0);
    std::string settings = ReadFile((config.Path() / "workspace.dat").string());

    TesselRun reserved = Tessel(config.Path(), "prefs new '[common]'");
    EXPECT_EQ(reserved.status, 1);
    EXPECT_EQ(reserved.err, "tessel prefs: This preset name is reserved, please use another name.\n");
    TesselRun used = Tessel(config.Path(), "prefs new BOOK");
    EXPECT_EQ(used.err, "tessel prefs: This preset name is already used, please use another name.\n");
    TesselRun family = Tessel(config.Path(), "prefs subst add '' --to 'Nimbus Roman'");
    EXPECT_EQ(family.status, 2) << "an empty family is wrong usage";
    TesselRun control = Tessel(config.Path(), "prefs new \"$(printf 'a\\tb')\"");
    EXPECT_EQ(control.status, 1);
    EXPECT_NE(control.err.find("control characters"), std::string::npos) << control.err;
    TesselRun longName = Tessel(config.Path(), "prefs new " + std::string(10000, 'n'));
    EXPECT_EQ(longName.status, 1);
    EXPECT_NE(longName.err.find("longer than 255"), std::string::npos);
    TesselRun common = Tessel(config.Path(), "prefs delete '[Common]'");
    EXPECT_EQ(common.status, 1);
    TesselRun notInstalled = Tessel(config.Path(), "prefs subst add Times --to 'No Such Family'");
    EXPECT_EQ(notInstalled.status, 1);
    EXPECT_NE(notInstalled.err.find("not an installed font family"), std::string::npos);
    TesselRun encoding = Tessel(config.Path(), "prefs enc add 'Arial CE' Klingon");
    EXPECT_EQ(encoding.status, 1);
    TesselRun badFile = Tessel(config.Path(), "prefs import '" + (config.Path() / "none.tqp").string() + "'");
    EXPECT_EQ(badFile.status, 1);
    EXPECT_EQ(badFile.err, "tessel prefs: Can't open file '" + (config.Path() / "none.tqp").string() + "'.\n");
    EXPECT_EQ(Tessel(config.Path(), "prefs set leading 3").status, 2);
    EXPECT_EQ(Tessel(config.Path(), "prefs frobnicate").status, 2);
    EXPECT_EQ(ReadFile((config.Path() / "workspace.dat").string()), settings) << "nothing was written";

    // The settings file cannot be replaced: the change is reported as not saved.
    std::filesystem::permissions(config.Path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    TesselRun unwritable = Tessel(config.Path(), "prefs new Manual");
    std::filesystem::permissions(config.Path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    if (geteuid() != 0) {
        EXPECT_EQ(unwritable.status, 1);
        EXPECT_EQ(ReadFile((config.Path() / "workspace.dat").string()), settings);
    }
}

TEST(PrefsDialogCommand, TablesModesFilesAndHints)
{
    TempFolder config("prefs-tables"), work("prefs-tables-work");
    ASSERT_EQ(Tessel(config.Path(), "prefs new Book").status, 0);
    ASSERT_EQ(Tessel(config.Path(), "prefs use '[Common]'").status, 0);
    EXPECT_EQ(Tessel(config.Path(), "prefs set --preset book composer paragraph").status, 0);
    EXPECT_EQ(Tessel(config.Path(), "prefs subst add --preset Book Times --weight Bold --to 'Nimbus Roman' --style Bold").status, 0);
    EXPECT_EQ(Tessel(config.Path(), "prefs enc add --preset Book 'Arial CE' 'East Europe (Win)'").status, 0);
    EXPECT_EQ(Tessel(config.Path(), "prefs enc add --preset Book 'Arial Cyr' 204").status, 0);
    EXPECT_EQ(Tessel(config.Path(), "prefs enc delete --preset Book 'Arial Cyr'").status, 0);
    TesselRun show = Tessel(config.Path(), "prefs show Book");
    EXPECT_NE(show.out.find("Composer:          1"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("Times (A: (any), W: Bold, V: (any))  ->  Nimbus Roman (Bold)"), std::string::npos);
    EXPECT_NE(show.out.find("Arial CE  ->  238  East Europe (Win)"), std::string::npos);
    EXPECT_EQ(show.out.find("Arial Cyr"), std::string::npos);
    EXPECT_EQ(Tessel(config.Path(), "prefs list").out, "* [Common]\n  Book\n") << "--preset leaves the current one";

    std::string csv = (work.Path() / "subst.csv").string();
    ASSERT_EQ(Tessel(config.Path(), "prefs subst export --preset Book '" + csv + "'").status, 0);
    EXPECT_EQ(ReadFile(csv), "Times,,Bold,,Nimbus Roman,Bold");
    ASSERT_EQ(Tessel(config.Path(), "prefs subst import '" + csv + "'").status, 0);
    EXPECT_NE(Tessel(config.Path(), "prefs show").out.find("Nimbus Roman (Bold)"), std::string::npos);
    EXPECT_EQ(Tessel(config.Path(), "prefs subst delete Times --weight bold").status, 0);
    EXPECT_EQ(Tessel(config.Path(), "prefs show").out.find("Nimbus Roman"), std::string::npos);

    TesselRun hints = Tessel(config.Path(), "prefs hints '" + std::string(TESSEL_TEST_DATA_DIR) + "/maker-binary.mif' '" +
                                                Corpus("generated/sdf/harbour-guide.mif") + "'");
    EXPECT_EQ(hints.status, 1) << "one file could not be scanned";
    EXPECT_NE(hints.err.find("maker-binary.mif' is not a MIF file."), std::string::npos) << hints.err;
    EXPECT_NE(hints.out.find("Families:\n"), std::string::npos);
    EXPECT_NE(hints.out.find("  Times\n"), std::string::npos) << hints.out;

    TesselRun menu = Tessel(config.Path(), "prefs menu");
    EXPECT_EQ(menu.status, 0);
    EXPECT_NE(menu.out.find("Edit > Preferences > ----------  (position 5000.0)\n"
                            "Edit > Preferences > Tessel...  (position 5000.1, action 0xB401F)\n"),
              std::string::npos)
        << menu.out;
    TesselRun help = Tessel(config.Path(), "prefs --help");
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"list", "show", "menu", "new", "rename", "delete", "use", "set", "subst", "enc",
                                "export", "import", "hints"})
        EXPECT_NE(help.out.find(std::string("  ") + command), std::string::npos) << command;
}
