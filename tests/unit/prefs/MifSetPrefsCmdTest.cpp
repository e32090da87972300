// Setting the preferences: the command does, undoes and redoes, and what it sets survives the
// next session.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "CommandMgr.h"
#include "TestUtils.h"

#include "prefs/IMifPrefs.h"
#include "prefs/MifSetPrefsCmd.h"

namespace {

InterfacePtr<IMifPrefs> SessionPrefs() { return InterfacePtr<IMifPrefs>(GetSessionWorkspace(), IID_IMIFPREFS); }

std::shared_ptr<MifSetPrefsCmd> SetPrefs(const std::vector<const char*>& names, int32 current)
{
    std::vector<MifPresetRecord> presets;
    for (const char* name : names) {
        presets.emplace_back();
        if (*name) presets.back().SetName(name);
        presets.back().AddEncoding(name, 238);
    }
    auto setPrefsCmd = std::make_shared<MifSetPrefsCmd>();
    setPrefsCmd->GetData().SetPresets(presets);
    setPrefsCmd->GetData().SetCurrentPreset(current);
    return setPrefsCmd;
}

std::vector<std::string> Names()
{
    std::vector<std::string> names;
    for (const MifPresetRecord& preset : SessionPrefs()->GetPresets()) names.push_back(preset.GetName().GetUTF8String());
    return names;
}

} // namespace

TEST(MifSetPrefsCmd, Do_CopiesAndUndoRestores)
{
    FreshSession session;
    ASSERT_TRUE(SessionPrefs());
    auto setPrefsCmd = SetPrefs({"", "Book"}, 1);
    ASSERT_EQ(CmdUtils::ProcessCommand(setPrefsCmd), kSuccess);
    EXPECT_EQ(Names(), (std::vector<std::string>{"[Common]", "Book"}));
    EXPECT_EQ(SessionPrefs()->GetCurrentPreset(), 1);
    EXPECT_EQ(GetSessionCommandMgr().GetUndoName().GetUTF8String(), "Tessel Preferences");

    ASSERT_EQ(CmdUtils::ProcessCommand(SetPrefs({"Manual"}, 0)), kSuccess);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Manual"}));
    ASSERT_TRUE(GetSessionCommandMgr().Undo());
    EXPECT_EQ(Names(), (std::vector<std::string>{"[Common]", "Book"}));
    EXPECT_EQ(SessionPrefs()->GetCurrentPreset(), 1);
    ASSERT_TRUE(GetSessionCommandMgr().Undo());
    EXPECT_EQ(Names(), (std::vector<std::string>{"[Common]"}));
    EXPECT_EQ(SessionPrefs()->GetCurrentPreset(), 0);
    ASSERT_TRUE(GetSessionCommandMgr().Redo());
    EXPECT_EQ(Names(), (std::vector<std::string>{"[Common]", "Book"}));
}

TEST(MifSetPrefsCmd, Presets_SurviveTheNextSession)
{
    FreshSession session;
    ASSERT_EQ(CmdUtils::ProcessCommand(SetPrefs({"", "Book", "Manual"}, 2)), kSuccess);
    ASSERT_EQ(session.Restart(), kSuccess);
    EXPECT_EQ(Names(), (std::vector<std::string>{"[Common]", "Book", "Manual"}));
    EXPECT_EQ(SessionPrefs()->GetCurrentPreset(), 2);
    MifPresetRecord current = SessionPrefs()->GetPreset(SessionPrefs()->GetCurrentPreset());
    int32 encoding = 0;
    EXPECT_TRUE(current.FindEncoding("Manual", encoding));
    EXPECT_EQ(encoding, 238);
}
