// The host string: UTF-8 in and out, number conversions, string-table translation.
#include <gtest/gtest.h>

#include "PMString.h"
#include "StringTable.h"

TEST(PMString, UTF8_RoundTripAndBadBytes)
{
    PMString s("Caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(s.CharCount(), 7);
    EXPECT_EQ(s.GetUTF8String(), "Caf\xC3\xA9 \xF0\x9F\x98\x80");
    PMString bad(std::string_view("a\xFF" "b\xE2\x82", 5));
    EXPECT_EQ(bad.GetUTF8String(), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD");
    PMString lone;
    lone.AppendW(0xD800);
    EXPECT_EQ(lone.GetUTF8String(), "\xEF\xBF\xBD");
}

TEST(PMString, Numbers_WholeTextOnly)
{
    int32 error = -1;
    EXPECT_EQ(PMString(" 42 ").GetAsNumber(&error), 42);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(PMString("-7").GetAsNumber(&error), -7);
    for (const char* bad : {"", "4x", "x", "2147483648", "1.5", "\xC3\xA9"}) {
        EXPECT_EQ(PMString(bad).GetAsNumber(&error), 0) << bad;
        EXPECT_EQ(error, 1) << bad;
    }
    EXPECT_DOUBLE_EQ(PMString("12.5").GetAsDouble(&error), 12.5);
    EXPECT_EQ(error, 0);
    for (const char* bad : {"inf", "nan", "1e999", "0x10", "1,5"}) {
        EXPECT_EQ(PMString(bad).GetAsDouble(&error), 0) << bad;
        EXPECT_EQ(error, 1) << bad;
    }
}

TEST(PMString, Translate_KeysAndParameters)
{
    static const StringTableEntry entries[] = {{"OV#0xB40#kTestKey", "Converted ^1 of ^2"}};
    StringTable::Get().Register("enUS", entries, 1);
    PMString text("OV#0xB40#kTestKey");
    text.Translate();
    StringUtils::ReplaceStringParameters(&text, "3", "7");
    EXPECT_EQ(text.GetUTF8String(), "Converted 3 of 7");
    PMString plain("not a key ^1");
    plain.Translate();
    EXPECT_EQ(plain.GetUTF8String(), "not a key ^1");

    StringTable::Get().SetLocale("deDE");  // falls back to English
    PMString again("OV#0xB40#kTestKey");
    again.Translate();
    EXPECT_EQ(again.GetUTF8String(), "Converted ^1 of ^2");
    StringTable::Get().SetLocale("enUS");
}

TEST(PMString, Compare_CaseAndSearch)
{
    EXPECT_TRUE(PMString("Times Roman").IsEqualNoCase("TIMES roman"));
    EXPECT_TRUE(PMString("\xC3\x89t\xC3\xA9").IsEqualNoCase("\xC3\xA9T\xC3\x89"));
    EXPECT_FALSE(PMString("Times").IsEqualNoCase("Time"));
    EXPECT_EQ(PMString("a.mif.bak").IndexOf(".mif"), 1);
    EXPECT_EQ(PMString("abc").IndexOf("x"), -1);
    EXPECT_EQ(PMString("Report.mif").Substring(0, 6).GetUTF8String(), "Report");
}
