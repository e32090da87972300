// The installed fonts: the character set each family counts as.
#include <gtest/gtest.h>

#include <set>

#include "FontManager.h"

TEST(FontManager, CharSet_FromSymbolFlagAndCoverage)
{
    auto covers = [](std::set<UTF32TextChar> chars) { return [chars](UTF32TextChar c) { return chars.count(c) > 0; }; };
    EXPECT_EQ(FontManager::GetCharSet(true, covers({'A', 'Z', 'a', 'z'})), 2);
    EXPECT_EQ(FontManager::GetCharSet(false, covers({'A', 'Z', 'a', 'z', 0x0416, 0x03A9})), 0);  // Latin first
    EXPECT_EQ(FontManager::GetCharSet(false, covers({'0', 0x0416})), 204);
    EXPECT_EQ(FontManager::GetCharSet(false, covers({0x03A9})), 161);
    EXPECT_EQ(FontManager::GetCharSet(false, covers({0x05D0})), 177);
    EXPECT_EQ(FontManager::GetCharSet(false, covers({0x0627})), 178);
    EXPECT_EQ(FontManager::GetCharSet(false, covers({0x0E01})), 222);
    EXPECT_EQ(FontManager::GetCharSet(false, covers({0x4E00})), 0);
}

TEST(FontManager, CharSet_OfThisSystemsFamilies)
{
    const FontManager& fonts = FontManager::Get();
    EXPECT_EQ(fonts.GetCharSet("No Such Family"), 0);
    if (fonts.HasFamily("DejaVu Sans")) {
        EXPECT_EQ(fonts.GetCharSet("DejaVu Sans"), 0);
    }
    // The stand-ins for the PostScript base fonts (fonts-urw-base35): Symbol's is symbol-encoded,
    // and fontconfig serves it for "Symbol".
    if (!fonts.HasFamily("Standard Symbols PS")) GTEST_SKIP() << "no Standard Symbols PS here";
    EXPECT_EQ(fonts.GetCharSet("Standard Symbols PS"), 2);
    EXPECT_EQ(fonts.GetCharSet("Symbol"), 2);
    EXPECT_EQ(fonts.GetCharSet("symbol"), 0);  // family names are exact
    EXPECT_EQ(fonts.GetCharSet("Nimbus Roman"), 0);
}
