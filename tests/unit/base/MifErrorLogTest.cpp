// The error log the user sees, and the diagnostic log file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "ObjectModel.h"
#include "TestUtils.h"

#include "base/IMifErrorUtils.h"
#include "base/MifAssertLog.h"
#include "base/MifErrorLog.h"

TEST(MifErrorLog, Text_LinesDetailsAndSeparators)
{
    MifErrorLog log;
    EXPECT_TRUE(log.IsEmpty());
    log.AddParseError(3, "Unknown statement <Foo >, skipping", PMString());
    log.AddParseError(7, "Invalid unit", "furlong");
    log.AddError("Missing file", "a.tif");
    log.AddError("Plain", PMString());
    EXPECT_EQ(log.GetText().GetUTF8String(),
              "Line 3: Unknown statement <Foo >, skipping\r\nLine 7: Invalid unit: furlong\r\nMissing file: a.tif\r\nPlain");
    log.Clear();
    EXPECT_TRUE(log.IsEmpty());
}

class MifAssertLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mFolder = std::filesystem::temp_directory_path() / ("tessel-assert-" + std::to_string(::getpid()));
        std::filesystem::remove_all(mFolder);
        mSaved = std::getenv("TESSEL_LOG_DIR") ? std::getenv("TESSEL_LOG_DIR") : "";
        setenv("TESSEL_LOG_DIR", mFolder.c_str(), 1);
    }
    void TearDown() override
    {
        setenv("TESSEL_LOG_DIR", mSaved.c_str(), 1);
        std::filesystem::remove_all(mFolder);
    }
    std::string LogText() const { return ReadFile((mFolder / "orvane.log").string()); }

    std::filesystem::path mFolder;
    std::string mSaved;
};

// What is reported to the error utility reaches no one: not the error log of a parse that runs
// beside it (what the user sees), not the diagnostic log.
TEST_F(MifAssertLogTest, ErrorUtils_AcceptAndKeepNothing)
{
    ParsedMif mif("<MIFFile 2015>\n<Units Upt>\n");
    ASSERT_TRUE(mif.errors->IsEmpty()) << mif.ErrorText();
    std::string logged = LogText();  // the parse's own lines (it runs without a progress bar here)
    Utils<IMifErrorUtils> errorUtils;
    ASSERT_TRUE(static_cast<bool>(errorUtils));
    errorUtils->ReportError(4, "lost");
    errorUtils->ReportError("lost too");
    EXPECT_TRUE(mif.errors->IsEmpty()) << mif.ErrorText();
    EXPECT_EQ(LogText(), logged);
}

TEST_F(MifAssertLogTest, Line_TimeStampThenSourceAndExpression)
{
    MifAssertLog::Write("C:\\src\\mif\\MifParser.cpp", 399, "propVal.rawString", MifAssertLog::kNil);
    std::string text = LogText();
    EXPECT_THAT(text, ::testing::MatchesRegex("[0-9]{2}\\.[0-9]{2}\\.[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}:[0-9]{3}"
                                              "MifParser\\.cpp\\(399\\): propVal\\.rawString == nil\r\n"));
}

TEST_F(MifAssertLogTest, Kinds_FourFormatsAppended)
{
    const std::vector<int>* textModel = nullptr;
    std::vector<int> sectionList;
    MIF_LOG_NIL(textModel);  // the expression is quoted, and compiled, but never evaluated
    MIF_LOG_FALSE(sectionList.at(7) > 0);
    MifAssertLog::Write("/a/b/MifX.cpp", 1, "Open()", MifAssertLog::kFailed);
    MifAssertLog::Write("MifY.cpp", 2, "status", MifAssertLog::kNotSuccess);
    std::string text = LogText();
    EXPECT_NE(text.find("MifErrorLogTest.cpp("), std::string::npos);
    EXPECT_NE(text.find("): textModel == nil\r\n"), std::string::npos);
    EXPECT_NE(text.find("): sectionList.at(7) > 0 == false\r\n"), std::string::npos);
    EXPECT_NE(text.find("MifX.cpp(1): Open() failed\r\n"), std::string::npos);
    EXPECT_NE(text.find("MifY.cpp(2): status != kSuccess\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
}

TEST_F(MifAssertLogTest, File_CreatedAgainAfterDeletion)
{
    MifAssertLog::Write("MifA.cpp", 1, "a", MifAssertLog::kNil);
    std::filesystem::remove(mFolder / "orvane.log");
    MifAssertLog::Write("MifA.cpp", 2, "b", MifAssertLog::kNil);
    std::string text = LogText();
    EXPECT_EQ(text.find("MifA.cpp(1)"), std::string::npos);
    EXPECT_NE(text.find("MifA.cpp(2): b == nil"), std::string::npos);
}

TEST_F(MifAssertLogTest, Parser_LogsMissingProgressBarOnce)
{
    ParsedMif mif("<Pen 1> <Pen 2>");
    std::string text = LogText();
    EXPECT_NE(text.find("MifParser.cpp("), std::string::npos);
    EXPECT_NE(text.find("progressBarManager == nil"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
}
