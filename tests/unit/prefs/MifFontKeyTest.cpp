// Font substitution keys: their order, which is the order of the substitution table, and their
// display.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "prefs/MifFontKey.h"
#include "prefs/MifIDFont.h"

namespace {

MifFontKey Key(const char* family, const char* angle, const char* weight = "", const char* variation = "")
{
    return MifFontKey(family, angle, weight, variation);
}

} // namespace

TEST(MifFontKey, Order_EmptyThenRegularThenOthersIgnoringCase)
{
    EXPECT_LT(Key("Times", ""), Key("Times", "Italic"));
    EXPECT_LT(Key("Times", ""), Key("Times", "Regular"));
    EXPECT_LT(Key("Times", "regular"), Key("Times", "Bold"));
    EXPECT_EQ(Key("Times", "italic"), Key("Times", "Italic"));
    EXPECT_EQ(Key("Times", "REGULAR"), Key("Times", "Regular"));
    EXPECT_LT(Key("Arial", "Oblique"), Key("Times", ""));  // family first
    EXPECT_LT(Key("Times", "Italic", "Bold"), Key("Times", "Italic", "Light"));
    EXPECT_LT(Key("Times", "Italic", "Bold", ""), Key("Times", "Italic", "Bold", "Narrow"));
    EXPECT_FALSE(Key("Times", "") == Key("times", ""));  // families keep their case
}

TEST(MifFontKey, Order_IsAStrictWeakOrderAcrossCases)
{
    // "J" lies between "Italic" and "italic" in UTF-16 order; the table must still order "J"
    // the same way against both, or lookups in it fail.
    std::vector<MifFontKey> keys = {Key("T", "italic"), Key("T", "J"), Key("T", "Italic"), Key("T", ""),
                                    Key("T", "Regular"), Key("T", "bold"), Key("T", "Bold")};
    for (const MifFontKey& a : keys)
        for (const MifFontKey& b : keys) {
            EXPECT_EQ(a.Compare(b), -b.Compare(a));
            for (const MifFontKey& c : keys) {
                if (a < b && b < c) {
                    EXPECT_LT(a, c);
                }
            }
        }
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys.front().GetAngle(), PMString(""));
    EXPECT_EQ(keys[1].GetAngle(), PMString("Regular"));
    EXPECT_EQ(keys.back().GetAngle(), PMString("J"));
}

TEST(MifFontKey, Display_AnyForEmptyFields)
{
    EXPECT_EQ(Key("Times", "Italic", "", "Narrow").GetStyleDisplay().GetUTF8String(), "A: Italic, W: (any), V: Narrow");
    EXPECT_EQ(MifIDFont("Minion Pro", "").GetStyleDisplay().GetUTF8String(), "Don't change font style");
    EXPECT_EQ(MifIDFont("Minion Pro", "Bold").GetStyleDisplay().GetUTF8String(), "Bold");
}
