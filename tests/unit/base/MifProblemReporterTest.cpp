// Problems reach the user's error log in one form, and commands that fail reach the diagnostic log,
// whichever importer meets them.
#include <gtest/gtest.h>

#include "CommandRecorder.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"
#include "TestUtils.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "base/TesselID.h"
#include "prefs/MifSetPrefsCmd.h"

TEST(MifProblemReporter, LineTranslatedMessageAndDetail)
{
    InterfacePtr<IMifErrorLog> log(CreateObject2<IMifErrorLog>(kMifParserBoss));
    ASSERT_TRUE(log);
    MifProblemReporter report(log.get());
    report({12, "Table import: missing <TblNumColumns > statement", "Tbl 4"});
    report({0, "A file without a line", PMString()});
    report({7, "OV#0xB40#kMifTableIDUsedBeforeKey", PMString()});
    std::string text = log->GetText().GetUTF8String();
    EXPECT_EQ(text.substr(0, text.rfind("\r\n")),
              "Line 12: Table import: missing <TblNumColumns > statement: Tbl 4\r\nA file without a line");
    std::string keyed = text.substr(text.rfind("\r\n") + 2);
    EXPECT_EQ(keyed.rfind("Line 7: ", 0), 0u) << keyed;
    EXPECT_EQ(keyed.find("OV#"), std::string::npos) << "the key was not translated: " << keyed;
}

TEST(MifProblemReporter, WithoutAnErrorLogOnlyTheDiagnosticLogHears)
{
    int64 before = MifAssertLog::GetWrittenLineCount();
    MifProblemReporter report(nullptr);
    report({1, "lost", PMString()});
    EXPECT_EQ(MifAssertLog::GetWrittenLineCount() - before, 1);
}

TEST(MifCommandRunner, RefusedCommandIsLoggedAndReported)
{
    FreshSession session;
    CommandRecorder recorder;
    auto setPrefsCmd = std::make_shared<MifSetPrefsCmd>();
    setPrefsCmd->GetData().SetPresets({MifPresetRecord()});
    EXPECT_TRUE(MIF_RUN_COMMAND(setPrefsCmd));

    recorder.Refuse<MifSetPrefsCmd>();
    int64 before = MifAssertLog::GetWrittenLineCount();
    auto refusedCmd = std::make_shared<MifSetPrefsCmd>();
    EXPECT_FALSE(MIF_RUN_COMMAND(refusedCmd));
    EXPECT_EQ(MifAssertLog::GetWrittenLineCount() - before, 1);

    ASSERT_EQ(recorder.Count<MifSetPrefsCmd>(), 2u);
    EXPECT_EQ(recorder.GetEntries()[0].result, kSuccess);
    EXPECT_EQ(recorder.GetEntries()[1].result, kFailure);
}
