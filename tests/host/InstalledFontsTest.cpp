// The installed fonts: the character set each family counts as.
#include <gtest/gtest.h>

#include <set>

#include "InstalledFonts.h"

namespace {

const InstalledFontFamily* Find(const char* name)
{
    for (const InstalledFontFamily& family : InstalledFonts::GetFamilies())
        if (family.name == PMString(name)) return &family;
    return nullptr;
}

} // namespace

TEST(InstalledFonts, CharSet_FromSymbolFlagAndCoverage)
{
    auto covers = [](std::set<UTF32TextChar> chars) { return [chars](UTF32TextChar c) { return chars.count(c) > 0; }; };
    EXPECT_EQ(InstalledFonts::GetCharSet(true, covers({'A', 'Z', 'a', 'z'})), 2);
    EXPECT_EQ(InstalledFonts::GetCharSet(false, covers({'A', 'Z', 'a', 'z', 0x0416, 0x03A9})), 0);  // Latin first
    EXPECT_EQ(InstalledFonts::GetCharSet(false, covers({'0', 0x0416})), 204);
    EXPECT_EQ(InstalledFonts::GetCharSet(false, covers({0x03A9})), 161);
    EXPECT_EQ(InstalledFonts::GetCharSet(false, covers({0x05D0})), 177);
    EXPECT_EQ(InstalledFonts::GetCharSet(false, covers({0x0627})), 178);
    EXPECT_EQ(InstalledFonts::GetCharSet(false, covers({0x0E01})), 222);
    EXPECT_EQ(InstalledFonts::GetCharSet(false, covers({0x4E00})), 0);
}

TEST(InstalledFonts, Families_OfThisSystem)
{
    const auto& families = InstalledFonts::GetFamilies();
    if (families.empty()) GTEST_SKIP() << "fontconfig lists no fonts here";
    for (size_t i = 1; i < families.size(); ++i) EXPECT_LT(families[i - 1].name, families[i].name);
    if (const InstalledFontFamily* dejaVu = Find("DejaVu Sans")) {
        EXPECT_EQ(dejaVu->charSet, 0);
    }
    // The stand-in for Symbol of the PostScript base fonts (fonts-urw-base35).
    const InstalledFontFamily* standIn = Find("Standard Symbols PS");
    if (!standIn) GTEST_SKIP() << "no Standard Symbols PS here";
    EXPECT_EQ(standIn->charSet, 2);
    const InstalledFontFamily* symbol = Find("Symbol");
    ASSERT_TRUE(symbol) << "fontconfig substitutes Standard Symbols PS for Symbol";
    EXPECT_EQ(symbol->charSet, 2);
    if (const InstalledFontFamily* roman = Find("Nimbus Roman")) {
        EXPECT_EQ(roman->charSet, 0);
    }
}
