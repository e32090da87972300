// Presets: defaults, the modes as the import reads them, both tables, copies and the stream form.
#include <gtest/gtest.h>

#include "MemoryStreamRead.h"
#include "MemoryStreamWrite.h"
#include "ObjectModel.h"

#include "base/TesselID.h"
#include "prefs/MifPresetRecord.h"

namespace {

MifPresetRecord Sample()
{
    MifPresetRecord preset;
    preset.SetName("Book");
    preset.SetLeading(1);
    preset.SetComposer(1);
    preset.SetVariables(1);
    preset.AddSubstitution(MifFontKey("Times", "Italic", "", ""), MifIDFont("Minion Pro", "Italic"));
    preset.AddSubstitution(MifFontKey("Times", "", "", ""), MifIDFont("Minion Pro", ""));
    preset.AddEncoding("Symbol", 2);
    preset.AddEncoding("Arial CE", 238);
    return preset;
}

std::vector<uchar> Bytes(MifPresetRecord preset)
{
    MemoryStreamWrite out;
    EXPECT_EQ(preset.ReadWrite(out), MifPresetRecord::kStreamDone);
    return out.GetBytes();
}

} // namespace

TEST(MifPresetRecord, Defaults_CommonWithSecondChoicesAndEmptyTables)
{
    MifPresetRecord preset;
    EXPECT_EQ(preset.GetName().GetUTF8String(), "[Common]");
    EXPECT_EQ(preset.GetLeading(), 2);
    EXPECT_EQ(preset.GetComposer(), 2);
    EXPECT_EQ(preset.GetStoredCrossReferences(), 2);
    EXPECT_EQ(preset.GetVariables(), 2);
    EXPECT_EQ(preset.GetStoredConditionalText(), 2);
    EXPECT_EQ(preset.GetSubstitutionCount(), 0);
    EXPECT_EQ(preset.GetEncodingCount(), 0);
}

TEST(MifPresetRecord, Modes_CrossReferencesNeedTheCompanionPlugIn)
{
    MifPresetRecord preset;
    preset.SetConditionalText(2);
    EXPECT_EQ(preset.GetCrossReferences(), 1);  // 2 is stored
    EXPECT_EQ(preset.GetConditionalText(), 1);  // always
    // A stand-in for the companion plug-in offers its formats list.
    ObjectModel::Get().AddInterface(0x7F0F01, IID_IXREFFORMATSLIST, 0x7F0F01);
    EXPECT_EQ(preset.GetCrossReferences(), 2);
    preset.SetCrossReferences(1);
    EXPECT_EQ(preset.GetCrossReferences(), 1);
    ObjectModel::Get().RemoveInterface(0x7F0F01, IID_IXREFFORMATSLIST);
}

TEST(MifPresetRecord, Substitutions_KeyOrderAndSameKeyReplaced)
{
    MifPresetRecord preset = Sample();
    ASSERT_EQ(preset.GetSubstitutionCount(), 2);
    EXPECT_EQ(preset.GetSubstitutionKey(0).GetAngle(), PMString(""));  // empty angle first
    EXPECT_EQ(preset.GetSubstitutionKey(1).GetAngle(), PMString("Italic"));
    // "italic" is the same key as "Italic": it replaces the entry.
    preset.AddSubstitution(MifFontKey("Times", "italic", "", ""), MifIDFont("Garamond", "Italic"));
    ASSERT_EQ(preset.GetSubstitutionCount(), 2);
    EXPECT_EQ(preset.GetSubstitutionFont(1).GetFamily(), PMString("Garamond"));
    preset.RemoveSubstitution(0);
    preset.RemoveSubstitution(5);
    ASSERT_EQ(preset.GetSubstitutionCount(), 1);
    EXPECT_EQ(preset.GetSubstitutionKey(7).GetFamily(), PMString(""));
}

TEST(MifPresetRecord, Encodings_OrderedAndFoundIgnoringCase)
{
    MifPresetRecord preset = Sample();
    ASSERT_EQ(preset.GetEncodingCount(), 2);
    EXPECT_EQ(preset.GetEncodingFamily(0), PMString("Arial CE"));
    EXPECT_EQ(preset.GetEncoding(1), 2);
    int32 encoding = -1;
    EXPECT_TRUE(preset.FindEncoding("ARIAL ce", encoding));
    EXPECT_EQ(encoding, 238);
    EXPECT_FALSE(preset.FindEncoding("Arial", encoding));
    preset.AddEncoding("symbol", 0);  // another case: another entry, the same case wins
    EXPECT_TRUE(preset.FindEncoding("symbol", encoding));
    EXPECT_EQ(encoding, 0);
    EXPECT_TRUE(preset.FindEncoding("Symbol", encoding));
    EXPECT_EQ(encoding, 2);
    preset.RemoveEncoding(0);
    EXPECT_FALSE(preset.FindEncoding("Arial CE", encoding));
}

TEST(MifPresetRecord, Copy_IsDeep)
{
    MifPresetRecord original = Sample();
    MifPresetRecord copy = original;
    copy.RemoveSubstitution(0);
    copy.AddEncoding("Greek", 161);
    copy.SetName("Other");
    EXPECT_EQ(original.GetSubstitutionCount(), 2);
    EXPECT_EQ(original.GetEncodingCount(), 2);
    EXPECT_EQ(original.GetName(), PMString("Book"));
}

TEST(MifPresetRecord, Stream_RoundTripAndLayout)
{
    std::vector<uchar> bytes = Bytes(Sample());
    ASSERT_GE(bytes.size(), 8u);
    const std::vector<uchar> head = {0x54, 0x51, 0x70, 0x74, 0x00, 0x01, 0x00, 0x00};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));

    MemoryStreamRead in(bytes.data(), bytes.size());
    MifPresetRecord read;
    ASSERT_EQ(read.ReadWrite(in), MifPresetRecord::kStreamDone);
    EXPECT_EQ(read.GetName(), PMString("Book"));
    EXPECT_EQ(read.GetLeading(), 1);
    EXPECT_EQ(read.GetComposer(), 1);
    EXPECT_EQ(read.GetStoredCrossReferences(), 2);
    EXPECT_EQ(read.GetVariables(), 1);
    ASSERT_EQ(read.GetSubstitutionCount(), 2);
    EXPECT_EQ(read.GetSubstitutionKey(1), MifFontKey("Times", "Italic", "", ""));
    EXPECT_EQ(read.GetSubstitutionFont(1), MifIDFont("Minion Pro", "Italic"));
    EXPECT_EQ(Bytes(read), bytes);
}

TEST(MifPresetRecord, Stream_WrongMagicOrVersionLeavesTheDefaults)
{
    for (size_t at : {0u, 7u}) {  // the magic's first byte, the version's last
        std::vector<uchar> bytes = Bytes(Sample());
        bytes[at] ^= 0x01;
        MemoryStreamRead in(bytes.data(), bytes.size());
        MifPresetRecord read;
        EXPECT_EQ(read.ReadWrite(in), MifPresetRecord::kUnknownFormat);
        EXPECT_EQ(read.GetName().GetUTF8String(), "[Common]");
        EXPECT_EQ(read.GetLeading(), 2);
        EXPECT_EQ(read.GetSubstitutionCount(), 0);
    }
}

TEST(MifPresetRecord, Stream_ModesOutOfRangeKeepTheDefault)
{
    std::vector<uchar> bytes = Bytes(Sample());
    size_t leading = 8 + 4 + 2 * 4;  // magic, version, the name "Book"
    bytes[leading + 3] = 77;
    MemoryStreamRead in(bytes.data(), bytes.size());
    MifPresetRecord read;
    ASSERT_EQ(read.ReadWrite(in), MifPresetRecord::kStreamDone);
    EXPECT_EQ(read.GetLeading(), 2);
    EXPECT_EQ(read.GetComposer(), 1);
}
