// tessel prefs, run as a user runs it: presets saved by one session are what the next run shows,
// and a damaged settings file is reported and left alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "CmdUtils.h"
#include "TestUtils.h"

#include "app/TesselRun.h"
#include "prefs/MifSetPrefsCmd.h"

TEST(PrefsCommand, ShowsThePresetsOfTheLastSession)
{
    FreshSession session;
    MifPresetRecord book;
    book.SetName("Book");
    book.SetLeading(1);
    book.AddSubstitution(MifFontKey("Times", "Italic", "", ""), MifIDFont("Minion Pro", ""));
    book.AddEncoding("Arial CE", 238);
    auto setPrefsCmd = std::make_shared<MifSetPrefsCmd>();
    setPrefsCmd->GetData().SetPresets({MifPresetRecord(), book});
    setPrefsCmd->GetData().SetCurrentPreset(1);
    ASSERT_EQ(CmdUtils::ProcessCommand(setPrefsCmd), kSuccess);
    PMString problem;
    ASSERT_EQ(Session::SaveWorkspace(problem), kSuccess);

    TesselRun list = Tessel(session.folder.Path(), "prefs list");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "  [Common]\n* Book\n");
    EXPECT_EQ(list.err, "");

    TesselRun show = Tessel(session.folder.Path(), "prefs show book");
    EXPECT_EQ(show.status, 0);
    EXPECT_NE(show.out.find("Preset: Book  (current)"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("Leading:           1  Convert to Auto Leading When Possible (Reusability)"), std::string::npos);
    // The companion cross-reference plug-in is installed beside the application: the stored
    // mode stands.
    EXPECT_NE(show.out.find("Cross-references:  2  "), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("  Times (A: Italic, W: (any), V: (any))  ->  Minion Pro (Don't change font style)"),
              std::string::npos);
    EXPECT_NE(show.out.find("  Arial CE  ->  238  East Europe (Win)"), std::string::npos);

    TesselRun missing = Tessel(session.folder.Path(), "prefs show Manual");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tessel prefs: there is no preset named 'Manual' (tessel prefs list shows them)\n");
}

TEST(PrefsCommand, DamagedSettingsAreReportedAndKept)
{
    TempFolder config("prefs-config");
    std::filesystem::path file = config.Path() / "workspace.dat";
    std::ofstream(file, std::ios::binary) << std::string("\x54\x53\x77\x73\x00\x01\x00\x00\x7f\xff", 10);
    TesselRun list = Tessel(config.Path(), "prefs list");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "* [Common]\n");
    EXPECT_EQ(list.err, "tessel: cannot read all the settings in " + file.string() +
                            " (it is damaged); the defaults stand in for what could not be read, and the file is "
                            "kept as it is until the settings change\n");
    EXPECT_EQ(ReadFile(file.string()).size(), 10u);
    EXPECT_FALSE(std::filesystem::exists(config.Path() / "workspace.dat.damaged"));
}
