// The text converter: escapes, the 8-bit tables of old files, the choice of a font family's
// encoding, and the parser's use of it.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "TestUtils.h"

#include "mif/IMifTextConverter.h"
#include "mif/MifTextConverter.h"
#include "prefs/MifSetPrefsCmd.h"

namespace {

InterfacePtr<IMifTextConverter> NewConverter()
{
    return InterfacePtr<IMifTextConverter>(CreateObject2<IMifTextConverter>(kMifParserBoss));
}

MifTextConverter& Impl(const InterfacePtr<IMifTextConverter>& converter)
{
    return *static_cast<MifTextConverter*>(converter.get());
}

std::u16string Convert(const char* text, int32 encoding)
{
    PMString s(text);
    NewConverter()->ConvertString(s, encoding);
    return s.GetUTF16();
}

std::u16string Decode(const char* text)
{
    PMString s(text);
    NewConverter()->DecodeEscapes(s);
    return s.GetUTF16();
}

std::u16string ConvertFont(IMifTextConverter& converter, const char* text, const char* family, const MifObject* root)
{
    PMString s(text);
    converter.ConvertFontString(s, family, root);
    return s.GetUTF16();
}

const char* kEncodingTable =
    "<MIFFile 7.00>\n"
    "<TQ_EncodingTable\n"
    " <TQ_FamilyEncoding `Broken'>\n"
    " <TQ_FamilyEncoding `,161'>\n"
    " <TQ_FamilyEncoding `Arial CE,238'>\n"
    " <TQ_FamilyEncoding `Arial CE,204'>\n"
    ">\n";

} // namespace

TEST(MifTextConverter, Escapes_WorkedExamples)
{
    EXPECT_EQ(Convert("Caf\\xd5 ", 0), u"Caf\u2019");
    EXPECT_EQ(Convert("Caf\\xD5 ", 0), u"Caf\u2019");
    EXPECT_EQ(Convert("Caf\\xd5 s", 0), u"Caf\u2019s");  // the blank after the digits goes
    EXPECT_EQ(Convert("\\\\b\\\\t", 0), u"\u2022\t");
    EXPECT_EQ(Convert("a\\>b\\Qc\\qd\\ze\\tf", 0), u"a>b`c'de\tf");
    EXPECT_EQ(Convert("a\\\\, b\\", 0), u"a\\, b");  // one backslash; a last lone one vanishes
}

TEST(MifTextConverter, Escapes_AnEscapedBlankIsABlank)
{
    // How SDF writes a code example: every blank escaped.
    EXPECT_EQ(Decode("`\\ \\ use\\ POSIX\\ qw(setsid);'"), u"`  use POSIX qw(setsid);'");
    EXPECT_EQ(Convert("\\ \\ x\\ ", 0), u"  x ");     // at the end of the string too
    EXPECT_EQ(Convert("\\\\ x", 0), u"\\ x");          // an escaped backslash, then a plain blank
}

TEST(MifTextConverter, Escapes_ShortOrBadByteEscapes)
{
    // At the very end of a string the blank may be missing: the byte is kept, not "d5".
    EXPECT_EQ(Convert("Caf\\xd5", 0), u"Caf\u2019");
    EXPECT_EQ(Convert("x\\x4", 0), u"x4");
    EXPECT_EQ(Convert("\\xg1 z", 0), u"g1 z");
}

TEST(MifTextConverter, Decode_KeepsOtherCharacters)
{
    EXPECT_EQ(Decode("\u00e9\\xd5 \\>\u20ac"), u"\u00e9\u00d5>\u20ac");
    // Only characters below U+0100 go through a table; others are Unicode already.
    EXPECT_EQ(Convert("\u0141\u00e9", 0), u"\u0141\u00c8");
}

TEST(MifTextConverter, Tables_EveryEncodingCode)
{
    EXPECT_EQ(Convert("\\x80 ", 204), u"\u0414");  // FrameRoman 0x80 is U+00C4, Windows-1252 0xC4
    EXPECT_EQ(Convert("\\xb9 ", 238), u"\u013d");
    EXPECT_EQ(Convert("\\xb9 ", 999), u"\u00bc");  // an unknown code is FrameRoman
    EXPECT_EQ(Convert("a\\xb6 ", 2), u"\u03b1\u2202");
    EXPECT_EQ(Convert("\x08", 0), u"\t");
    EXPECT_EQ(Convert("\\x81 ", 5), std::u16string(1, u'\0'));  // Mac Hebrew: a sequence it does not carry
}

TEST(MifTextConverter, Choice_FileTableThenInstalledFonts)
{
    FreshSession session;
    ParsedMif mif(kEncodingTable);
    auto converter = NewConverter();
    Impl(converter).SetInstalledFonts({{"Symbol", 2}, {"Arial CE", 204}});
    // The first entry that names the family, in any case; malformed entries are passed over.
    EXPECT_EQ(Impl(converter).ChooseEncoding("arial ce", mif.root.get()), 238);
    EXPECT_EQ(ConvertFont(*converter, "\\xb9 ", "ARIAL CE", mif.root.get()), u"\u013d");
    EXPECT_EQ(Impl(converter).ChooseEncoding("Arial CE", nullptr), 204);  // no file: the installed font
    // Installed fonts match exactly; neither listed nor installed is FrameRoman.
    EXPECT_EQ(ConvertFont(*converter, "a\\xb6 ", "Symbol", mif.root.get()), u"\u03b1\u2202");
    EXPECT_EQ(ConvertFont(*converter, "a\\xb6 ", "symbol", mif.root.get()), u"a\u00b9");
    EXPECT_EQ(Impl(converter).ChooseEncoding("Nowhere Sans", mif.root.get()), 0);
}

TEST(MifTextConverter, Choice_ThePresetTableComesFirst)
{
    ParsedMif mif(kEncodingTable);
    auto converter = NewConverter();
    converter->SetPresetEncodings({{"Arial CE", 161}, {"Negative", -7}});
    EXPECT_EQ(Impl(converter).ChooseEncoding("arial ce", mif.root.get()), 161);
    EXPECT_EQ(Impl(converter).ChooseEncoding("Negative", mif.root.get()), 0);
    // A new table replaces the old one: without an entry the file's table decides.
    converter->SetPresetEncodings({});
    EXPECT_EQ(Impl(converter).ChooseEncoding("arial ce", mif.root.get()), 238);
}

TEST(MifTextConverter, Choice_MalformedFileEntriesAreLoggedAndPassedOver)
{
    std::string log = (std::filesystem::path(std::getenv("TESSEL_LOG_DIR")) / "orvane.log").string();
    size_t before = ReadFile(log).size();
    ParsedMif mif(kEncodingTable);
    auto converter = NewConverter();
    EXPECT_EQ(Impl(converter).ChooseEncoding("Arial CE", mif.root.get()), 238);
    EXPECT_EQ(Impl(converter).ChooseEncoding("Arial CE", mif.root.get()), 238);
    std::string written = ReadFile(log).substr(before);
    // Once for each malformed entry of the file's table, however often it is read.
    size_t lines = 0;
    for (size_t at = written.find("MifTextConverter.cpp("); at != std::string::npos;
         at = written.find("MifTextConverter.cpp(", at + 1))
        ++lines;
    EXPECT_EQ(lines, 2u) << written;
    EXPECT_NE(written.find("): item2.get() == nil"), std::string::npos);
    EXPECT_NE(written.find("): item1.get() == nil"), std::string::npos);
}

TEST(MifTextConverter, Parser_ConvertsStringsOfOldFilesOnly)
{
    ParsedMif old("<MIFFile 7.00> <PgfTag `Caf\\xd5 '> <String `Caf\\xd5 '>");
    EXPECT_EQ(old.Prop(kMifPgfTag)->value.rawString->GetUTF16(), u"Caf\u2019");
    EXPECT_EQ(old.Prop(kMifString)->value.rawString->GetUTF16(), u"Caf\\xd5 ");  // decoded later, by font
    ParsedMif unversioned("<PgfTag `\\xd5 '>");  // 5.5 until a MIFFile statement says otherwise
    EXPECT_EQ(unversioned.Prop(kMifPgfTag)->value.rawString->GetUTF16(), u"\u2019");
    ParsedMif current("<MIFFile 8.00> <PgfTag `Caf\\xd5 \u00e9'>");
    EXPECT_EQ(current.Prop(kMifPgfTag)->value.rawString->GetUTF16(), u"Caf\\xd5 \u00e9");
}
