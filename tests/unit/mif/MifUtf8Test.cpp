// The UTF-8 step of every MIF string: good text as it is, every bad sequence as one U+FFFD with
// the text after it kept.
#include <gtest/gtest.h>

#include "TestUtils.h"

#include "mif/MifKeywords.h"
#include "mif/MifUtf8.h"

namespace {

std::u16string Decoded(std::string_view bytes)
{
    PMString text;
    MifUtf8::Decode(bytes, text);
    return text.GetUTF16();
}

} // namespace

TEST(MifUtf8, Decode_ValidSequences)
{
    EXPECT_EQ(Decoded("plain"), u"plain");
    EXPECT_EQ(Decoded("Caf\xC3\xA9 \xE2\x80\x99 \xE2\x82\xAC"), u"Caf\u00E9 \u2019 \u20AC");
    EXPECT_EQ(Decoded("\xF0\x9F\x98\x80!"), u"\U0001F600!");  // a surrogate pair
    EXPECT_EQ(Decoded("\xEF\xBF\xBD"), u"\uFFFD");
    EXPECT_EQ(Decoded("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
}

TEST(MifUtf8, Decode_BadSequencesKeepWhatFollows)
{
    const std::u16string bad(1, u'\uFFFD');
    // A sequence cut short by a byte that starts a character: that byte is kept.
    EXPECT_EQ(Decoded("abc\xE2\x82XYZ"), u"abc" + bad + u"XYZ");
    EXPECT_EQ(Decoded("\xC3" "a"), bad + u"a");
    EXPECT_EQ(Decoded("\xE2\x82\xC3\xA9"), bad + u"\u00E9");
    // Bytes that never start a character.
    EXPECT_EQ(Decoded("a\xFF" "b"), u"a" + bad + u"b");
    EXPECT_EQ(Decoded("a\x80\x80\x80" "b"), u"a" + bad + u"b");  // one stray run, one mark
    EXPECT_EQ(Decoded("\xFE\xFF"), bad + bad);
    // Overlong forms never become the character they disguise, NUL least of all.
    EXPECT_EQ(Decoded("a\xC0\x80" "b"), u"a" + bad + u"b");
    EXPECT_EQ(Decoded("\xE0\x80\xAF" "/"), bad + u"/");
    EXPECT_EQ(Decoded("\xF0\x82\x82\xAC"), bad);
    // Surrogates and code points past U+10FFFF.
    EXPECT_EQ(Decoded("\xED\xA0\x80" "x"), bad + u"x");
    EXPECT_EQ(Decoded("\xF4\x90\x80\x80" "x"), bad + u"x");
    EXPECT_EQ(Decoded("\xF8\x88\x80\x80\x80" "x"), bad + u"x");
    // A sequence that the string's end cuts short still leaves a mark.
    EXPECT_EQ(Decoded("end\xE2\x82"), u"end" + bad);
    EXPECT_EQ(Decoded("end\xF0"), u"end" + bad);
}

TEST(MifUtf8, Decode_NeverYieldsNul)
{
    std::u16string text = Decoded(std::string_view("a\0b\xC0\x80", 5));
    EXPECT_EQ(text, u"a\uFFFDb\uFFFD");
    // Through the parser, as a string value.
    const char raw[] = "<MIFFile 9.0><String `x\0y'> <PgfTag `\xC0\x80'>";
    std::string mif(raw, sizeof raw - 1);
    ParsedMif parsed(mif);
    ASSERT_NE(parsed.Prop(kMifString), nullptr);
    EXPECT_EQ(parsed.Prop(kMifString)->value.rawString->GetUTF16(), u"x\uFFFDy");
    EXPECT_EQ(parsed.Prop(kMifPgfTag)->value.rawString->GetUTF16(), u"\uFFFD");
}
