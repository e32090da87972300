// Font table CSV files: the exact text written, what reading keeps and passes over (line ends,
// empty items, missing fields, numbers), the 8-bit character set, and large or binary input.
#include <gtest/gtest.h>

#include <fstream>

#include "TempFolder.h"
#include "TestUtils.h"

#include "prefs/MifFontTableCsv.h"
#include "prefs/MifWindows1252.h"

using namespace std::string_literals;

namespace {

// The substitution table as "family,angle,weight,variation>family,style" lines.
std::vector<std::string> Substitutions(const MifPresetRecord& preset)
{
    std::vector<std::string> lines;
    for (int32 i = 0; i < preset.GetSubstitutionCount(); ++i) {
        const MifFontKey& key = preset.GetSubstitutionKey(i);
        const MifIDFont& font = preset.GetSubstitutionFont(i);
        lines.push_back(key.GetFamily().GetUTF8String() + "," + key.GetAngle().GetUTF8String() + "," +
                        key.GetWeight().GetUTF8String() + "," + key.GetVariation().GetUTF8String() + ">" +
                        font.GetFamily().GetUTF8String() + "," + font.GetStyle().GetUTF8String());
    }
    return lines;
}

std::vector<std::string> Encodings(const MifPresetRecord& preset)
{
    std::vector<std::string> lines;
    for (int32 i = 0; i < preset.GetEncodingCount(); ++i)
        lines.push_back(preset.GetEncodingFamily(i).GetUTF8String() + "=" + std::to_string(preset.GetEncoding(i)));
    return lines;
}

MifPresetRecord FromSubstitutions(std::string_view text)
{
    MifPresetRecord preset;
    MifFontTableCsv::AddSubstitutions(text, preset);
    return preset;
}

MifPresetRecord FromEncodings(std::string_view text)
{
    MifPresetRecord preset;
    MifFontTableCsv::AddEncodings(text, preset);
    return preset;
}

} // namespace

TEST(MifFontTableCsv, Write_ExactLinesAndRoundTrip)
{
    MifPresetRecord preset;
    preset.AddSubstitution(MifFontKey("Times", "", "Bold", ""), MifIDFont("Minion Pro", "Bold"));
    preset.AddSubstitution(MifFontKey("Helvetica", "Oblique", "", "Narrow"), MifIDFont("Arial", ""));
    preset.AddEncoding("Arial CE", 238);
    preset.AddEncoding("Symbol", 2);
    const std::string substitutions = MifFontTableCsv::SubstitutionText(preset);
    EXPECT_EQ(substitutions, "Helvetica,Oblique,,Narrow,Arial,\r\nTimes,,Bold,,Minion Pro,Bold");
    EXPECT_EQ(MifFontTableCsv::EncodingText(preset), "Arial CE,238\r\nSymbol,2");

    EXPECT_EQ(Substitutions(FromSubstitutions(substitutions)), Substitutions(preset));
    EXPECT_EQ(Encodings(FromEncodings(MifFontTableCsv::EncodingText(preset))), Encodings(preset));
    EXPECT_EQ(MifFontTableCsv::SubstitutionText(MifPresetRecord()), "");
    EXPECT_EQ(MifFontTableCsv::EncodingText(MifPresetRecord()), "");
}

TEST(MifFontTableCsv, Read_LineEndsAndBlankLinesAlike)
{
    const std::vector<std::string> expected = {"Arial,,,>Helvetica,", "Times,,Bold,>Minion Pro,Bold"};
    for (const char* text : {"Times,,Bold,,Minion Pro,Bold\nArial,,,,Helvetica",
                             "Times,,Bold,,Minion Pro,Bold\r\nArial,,,,Helvetica\r\n",
                             "Times,,Bold,,Minion Pro,Bold\rArial,,,,Helvetica\r",
                             "\r\n\r\nTimes,,Bold,,Minion Pro,Bold\n\n\r\r\nArial,,,,Helvetica\n\n"})
        EXPECT_EQ(Substitutions(FromSubstitutions(text)), expected) << text;
}

TEST(MifFontTableCsv, Read_EmptyItemsKeepTheirPlaceAndIncompleteLinesArePassedOver)
{
    MifPresetRecord preset = FromSubstitutions("Times,Italic,,,Arial,\n"  // style empty, one item too few is fine
                                               "Courier,,,Narrow,Courier New\n"
                                               ",,Bold,,Arial,Bold\n"      // no FrameMaker family
                                               "Palatino,,Bold,,,Bold\n"   // no InDesign family
                                               "Garamond,Italic\n"
                                               "Optima,,,,Arial,Regular,extra,items\n");
    EXPECT_EQ(Substitutions(preset), (std::vector<std::string>{"Courier,,,Narrow>Courier New,", "Optima,,,>Arial,Regular",
                                                               "Times,Italic,,>Arial,"}));

    EXPECT_EQ(Encodings(FromEncodings("Arial CE,238\nGreek, 161 \nSymbol,two\nHebrew\nArabic,\n,238\nCyrillic,204,x")),
              (std::vector<std::string>{"Arial CE=238", "Cyrillic=204", "Greek=161"}));
}

TEST(MifFontTableCsv, Read_AddsToTheTableAndReplacesEqualKeys)
{
    MifPresetRecord preset;
    preset.AddSubstitution(MifFontKey("Times", "italic", "", ""), MifIDFont("Minion Pro", "Italic"));
    preset.AddSubstitution(MifFontKey("Courier", "", "", ""), MifIDFont("Courier New", ""));
    preset.AddEncoding("Symbol", 2);
    MifFontTableCsv::AddSubstitutions("Times,Italic,,,Garamond,Italic\nTimes,Italic,,,Palatino,Italic", preset);
    EXPECT_EQ(Substitutions(preset),
              (std::vector<std::string>{"Courier,,,>Courier New,", "Times,Italic,,>Palatino,Italic"}));  // the last line wins
    MifFontTableCsv::AddEncodings("Symbol,0\nsymbol,2", preset);
    EXPECT_EQ(Encodings(preset), (std::vector<std::string>{"Symbol=0", "symbol=2"}));  // families match in case only
    MifFontTableCsv::AddSubstitutions("", preset);
    EXPECT_EQ(preset.GetSubstitutionCount(), 2);
}

TEST(MifFontTableCsv, Charset_Windows1252BothWays)
{
    std::string bytes;
    EXPECT_TRUE(MifWindows1252::Encode(PMString(u"Caf\u00e9 \u20ac\u2014\u0178"), bytes));
    EXPECT_EQ(bytes, "Caf\xE9 \x80\x97\x9F");
    EXPECT_FALSE(MifWindows1252::Encode(PMString(u"\u0141\u00f3d\u017a"), bytes));  // Ł has no byte
    EXPECT_EQ(bytes, "Caf\xE9 \x80\x97\x9F");  // unchanged
    EXPECT_EQ(MifWindows1252::Decode("\xE9\x80\x81\x9F").GetUTF16(), std::u16string(u"\u00e9\u20ac\u0081\u0178"));

    MifPresetRecord preset;
    preset.AddEncoding(PMString(u"Caf\u00e9"), 0);
    preset.AddEncoding(PMString(u"\u0141\u00f3d\u017a CE"), 238);  // not in the character set: left out
    preset.AddEncoding("Odd, Family", 0);                            // a comma would split it: left out
    EXPECT_EQ(MifFontTableCsv::EncodingText(preset), "Caf\xE9,0");
    EXPECT_EQ(Encodings(FromEncodings("Caf\xE9,0")), (std::vector<std::string>{"Caf\u00e9=0"}));
    // A file that declares itself UTF-8 with a byte-order mark is read as UTF-8.
    EXPECT_EQ(Encodings(FromEncodings("\xEF\xBB\xBF\xC5\x81\xC3\xB3""d\xC5\xBA CE,238\nCaf\xC3\xA9,0")),
              (std::vector<std::string>{"Caf\u00e9=0", "\u0141\u00f3d\u017a CE=238"}));
}

TEST(MifFontTableCsv, BadInput_LargeBinaryAndLongLines)
{
    // 100,000 lines in reverse order: all kept, sorted.
    std::string text;
    for (int i = 99999; i >= 0; --i) text += "Family" + std::to_string(100000 + i) + ",,,,Arial,\n";
    MifPresetRecord many = FromSubstitutions(text);
    ASSERT_EQ(many.GetSubstitutionCount(), 100000);
    EXPECT_EQ(many.GetSubstitutionKey(0).GetFamily().GetUTF8String(), "Family100000");
    EXPECT_EQ(many.GetSubstitutionKey(99999).GetFamily().GetUTF8String(), "Family199999");

    // NUL bytes and other control characters: that line is passed over, the others kept.
    EXPECT_EQ(Encodings(FromEncodings("Ari\0al,0\nSymbol,2\nTab\tFamily,0\n\0\0\0\n"s)),
              (std::vector<std::string>{"Symbol=2"}));
    // Items longer than a font name can be: the line is passed over; the longest allowed is kept.
    const std::string longest(MifFontTableCsv::kMaxFieldLength, 'x');
    EXPECT_EQ(FromEncodings(longest + ",0\n" + longest + "y,1\n").GetEncodingCount(), 1);
    const std::string huge(64 * 1024 + 1, 'x');
    EXPECT_EQ(Encodings(FromEncodings(huge + ",0\nSymbol,2\n" + huge + "\nGreek,161")),
              (std::vector<std::string>{"Greek=161", "Symbol=2"}));
    MifPresetRecord longEntry;
    longEntry.AddEncoding(PMString(longest + "y"), 0);
    EXPECT_EQ(MifFontTableCsv::EncodingText(longEntry), "");  // it would not read back
}

TEST(MifFontTableCsv, Files_ExportImportAndFailures)
{
    TempFolder folder("csv");
    MifPresetRecord preset;
    preset.AddSubstitution(MifFontKey("Times", "", "Bold", ""), MifIDFont("Minion Pro", "Bold"));
    const IDFile file(folder / "subst.csv");
    ASSERT_EQ(MifFontTableCsv::ExportSubstitutions(file, preset), MifFileStatus::kDone);
    EXPECT_EQ(ReadFile(file.GetPath().string()), "Times,,Bold,,Minion Pro,Bold");
    MifPresetRecord imported;
    ASSERT_EQ(MifFontTableCsv::ImportSubstitutions(file, imported), MifFileStatus::kDone);
    EXPECT_EQ(Substitutions(imported), Substitutions(preset));

    // An empty table makes an empty file, and an empty file adds nothing.
    const IDFile empty(folder / "enc.csv");
    ASSERT_EQ(MifFontTableCsv::ExportEncodings(empty, MifPresetRecord()), MifFileStatus::kDone);
    EXPECT_EQ(std::filesystem::file_size(empty.GetPath()), 0u);
    imported.AddEncoding("Symbol", 2);
    ASSERT_EQ(MifFontTableCsv::ImportEncodings(empty, imported), MifFileStatus::kDone);
    EXPECT_EQ(Encodings(imported), (std::vector<std::string>{"Symbol=2"}));

    // Folders and missing files: the preset stays as it was, no file is made.
    EXPECT_EQ(MifFontTableCsv::ImportSubstitutions(IDFile(folder.Path()), imported), MifFileStatus::kCantOpen);
    EXPECT_EQ(MifFontTableCsv::ImportEncodings(IDFile(folder / "missing.csv"), imported), MifFileStatus::kCantOpen);
    EXPECT_EQ(Substitutions(imported), Substitutions(preset));
    EXPECT_EQ(MifFontTableCsv::ExportEncodings(IDFile(folder.Path()), imported), MifFileStatus::kCantSave);
    EXPECT_EQ(MifFontTableCsv::ExportSubstitutions(IDFile(folder / "no" / "x.csv"), imported), MifFileStatus::kCantSave);
    EXPECT_EQ(folder.List(), (std::vector<std::string>{"enc.csv", "subst.csv"}));
}
