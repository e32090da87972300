// PageNumbering: sections turned into runs of pages, and the numbers pages show.
#include <gtest/gtest.h>

#include "PageNumbering.h"

#include "host/TestDocument.h"

namespace {

std::string Name(int32 number, PageNumberStyle style) { return PageNumbering::FormatNumber(number, style).GetUTF8String(); }

std::vector<std::string> PageNames(TestDocument& doc)
{
    PageNumbering numbering(doc.DB());
    std::vector<std::string> names;
    for (UID page : numbering.GetPages()) names.push_back(numbering.GetPageName(page).GetUTF8String());
    return names;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(PageNumbering, Format_Styles)
{
    EXPECT_EQ(Name(1994, PageNumberStyle::kLowerRoman), "mcmxciv");
    EXPECT_EQ(Name(3999, PageNumberStyle::kUpperRoman), "MMMCMXCIX");
    EXPECT_EQ(Name(4, PageNumberStyle::kUpperRoman), "IV");
    EXPECT_EQ(Name(4000, PageNumberStyle::kUpperRoman), "4000");  // no roman numeral
    EXPECT_EQ(Name(1, PageNumberStyle::kUpperLetters), "A");
    EXPECT_EQ(Name(26, PageNumberStyle::kLowerLetters), "z");
    EXPECT_EQ(Name(27, PageNumberStyle::kLowerLetters), "aa");
    EXPECT_EQ(Name(52, PageNumberStyle::kUpperLetters), "AZ");
    EXPECT_EQ(Name(53, PageNumberStyle::kUpperLetters), "BA");
    EXPECT_EQ(Name(703, PageNumberStyle::kUpperLetters), "AAA");
    EXPECT_EQ(Name(0, PageNumberStyle::kLowerRoman), "0");
    EXPECT_EQ(Name(-3, PageNumberStyle::kLowerLetters), "-3");
    EXPECT_EQ(Name(123456, PageNumberStyle::kArabic), "123456");
}

TEST(PageNumbering, Runs_ContinueAndRestart)
{
    TestDocument doc;
    Spread& first = doc.AddSpread(2);
    Spread& second = doc.AddSpread(3);
    doc.AddSection(doc.PageOf(first, 0), PageNumberStyle::kLowerRoman, true);
    doc.AddSection(doc.PageOf(second, 0), PageNumberStyle::kArabic, false, 10);
    doc.AddSection(doc.PageOf(second, 2), PageNumberStyle::kArabic, true);
    PageNumbering numbering(doc.DB());
    ASSERT_EQ(numbering.GetRuns().size(), 3u);
    EXPECT_EQ(numbering.GetRuns()[0].length, 2);
    EXPECT_EQ(numbering.GetRuns()[1].firstPage, 2);
    EXPECT_EQ(numbering.GetRuns()[1].length, 2);
    EXPECT_EQ(numbering.GetRuns()[2].firstNumber, 12);
    EXPECT_EQ(PageNames(doc), (Strings{"i", "ii", "10", "11", "12"}));
    EXPECT_EQ(numbering.FindRun(doc.PageOf(second, 1).GetUID())->section, doc.Doc().sections[1]);
}

TEST(PageNumbering, Runs_BadSectionsAreMended)
{
    TestDocument doc;
    Spread& spread = doc.AddSpread(4);
    MasterSpread& master = doc.AddMaster("A", "Master", 1);
    doc.AddSection(doc.PageOf(spread, 2), PageNumberStyle::kUpperRoman, false, 0);   // start below 1
    doc.AddSection(doc.PageOf(spread, 2), PageNumberStyle::kArabic, false, 7);       // same page: loses
    doc.AddSection(doc.PageOf(master, 0), PageNumberStyle::kArabic, false, 50);      // not a document page
    doc.AddSection(doc.PageOf(spread, 3), PageNumberStyle::kArabic, false, 2000000); // above the maximum
    PageNumbering numbering(doc.DB());
    ASSERT_EQ(numbering.GetRuns().size(), 3u);
    EXPECT_EQ(numbering.GetRuns()[0].section, kInvalidUID);  // the implied first section
    EXPECT_EQ(numbering.GetRuns()[0].length, 2);
    EXPECT_EQ(numbering.GetRuns()[1].section, doc.Doc().sections[0]);
    EXPECT_EQ(PageNames(doc), (Strings{"1", "2", "I", "999999"}));
    EXPECT_TRUE(numbering.GetPageName(master.pages[0]).IsEmpty());
    EXPECT_EQ(numbering.FindRun(master.pages[0]), nullptr);
}

TEST(PageNumbering, Runs_NoPages)
{
    TestDocument doc;
    Spread& spread = doc.AddSpread(1);
    doc.DB().Delete(spread.pages[0]);  // a spread that names a page that is gone
    PageNumbering numbering(doc.DB());
    EXPECT_TRUE(numbering.GetPages().empty());
    EXPECT_TRUE(numbering.GetRuns().empty());
}

TEST(PageNumbering, Pages_ManySectionsAndPagesListedTwice)
{
    // Page names are looked up by page, not by walking the pages: a long document with many
    // sections gives every page its number, and a page listed in two spreads keeps its first place.
    TestDocument doc;
    std::vector<UID> pages;
    for (int i = 0; i < 1500; ++i) {
        Spread& spread = doc.AddSpread(2);
        pages.insert(pages.end(), spread.pages.begin(), spread.pages.end());
        if (i % 100 == 0) doc.AddSection(doc.PageOf(spread, 0), i % 200 ? PageNumberStyle::kLowerRoman : PageNumberStyle::kArabic, i % 200 != 0, 1);
    }
    doc.AddSpread(0).pages.push_back(pages[5]);
    PageNumbering numbering(doc.DB());
    ASSERT_EQ(numbering.GetPages().size(), 3001u);
    ASSERT_EQ(numbering.GetRuns().size(), 15u);
    EXPECT_EQ(numbering.IndexOf(pages[5]), 5);
    EXPECT_EQ(numbering.IndexOf(pages[2999]), 2999);
    EXPECT_EQ(numbering.IndexOf(kInvalidUID), -1);
    EXPECT_EQ(numbering.GetPageName(pages[0]).GetUTF8String(), "1");
    EXPECT_EQ(numbering.GetPageName(pages[199]).GetUTF8String(), "200");
    EXPECT_EQ(numbering.GetPageName(pages[200]).GetUTF8String(), "cci");     // continues, in roman
    EXPECT_EQ(numbering.GetPageName(pages[399]).GetUTF8String(), "cd");
    EXPECT_EQ(numbering.GetPageName(pages[400]).GetUTF8String(), "1");       // starts again
    EXPECT_EQ(numbering.GetPageName(pages[2999]).GetUTF8String(), "200");
    EXPECT_EQ(numbering.FindRun(pages[2999]), &numbering.GetRuns().back());
    EXPECT_EQ(numbering.FindRun(pages[399])->firstPage, 200);
}
