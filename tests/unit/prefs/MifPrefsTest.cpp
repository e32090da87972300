// The preferences: presets, the current preset, dirty marking, and reading saved state whole or
// damaged.
#include <gtest/gtest.h>

#include "MemoryStreamRead.h"
#include "MemoryStreamWrite.h"

#include "prefs/MifPrefs.h"

namespace {

MifPresetRecord Named(const char* name, int32 leading = 2)
{
    MifPresetRecord preset;
    preset.SetName(name);
    preset.SetLeading(leading);
    preset.AddEncoding("Symbol", 2);
    return preset;
}

std::vector<uchar> Saved(const std::vector<MifPresetRecord>& presets, int32 current)
{
    MifPrefs prefs;
    prefs.SetPresets(presets);
    prefs.SetCurrentPreset(current);
    MemoryStreamWrite out;
    prefs.ReadWrite(&out, kMifPrefsImpl);
    EXPECT_EQ(out.GetStreamState(), IPMStream::kStreamStateGood);
    return out.GetBytes();
}

struct ReadResult {
    std::vector<std::string> names;
    int32 current;
    bool whole;
};

ReadResult Read(const std::vector<uchar>& bytes)
{
    MifPrefs prefs;
    MemoryStreamRead in(bytes.data(), bytes.size());
    prefs.ReadWrite(&in, kMifPrefsImpl);
    ReadResult result{{}, prefs.GetCurrentPreset(), in.GetStreamState() == IPMStream::kStreamStateGood};
    for (const MifPresetRecord& preset : prefs.GetPresets()) result.names.push_back(preset.GetName().GetUTF8String());
    return result;
}

void PutInt32(std::vector<uchar>& bytes, size_t at, uint32 value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uchar>(value >> (24 - 8 * i));
}

} // namespace

TEST(MifPrefs, Presets_FreshAndOutOfRange)
{
    MifPrefs prefs;
    EXPECT_EQ(prefs.GetPresetCount(), 1);
    EXPECT_EQ(prefs.GetCurrentPreset(), 0);
    EXPECT_EQ(prefs.GetPreset(0).GetName().GetUTF8String(), "[Common]");
    prefs.SetPresets({Named("A"), Named("B"), Named("C")});
    EXPECT_EQ(prefs.GetPreset(7).GetName(), PMString("A"));
    EXPECT_EQ(prefs.GetPreset(-1).GetName(), PMString("A"));
    EXPECT_EQ(prefs.GetPreset(2).GetName(), PMString("C"));
    prefs.SetPresets({});
    EXPECT_EQ(prefs.GetPreset(0).GetName().GetUTF8String(), "[Common]");  // added on demand
    EXPECT_EQ(prefs.GetPresetCount(), 1);
}

TEST(MifPrefs, Dirty_OnlyOnChange)
{
    MifPrefs prefs;
    prefs.SetCurrentPreset(0);
    EXPECT_FALSE(prefs.IsDirty());
    prefs.SetCurrentPreset(1);
    EXPECT_TRUE(prefs.IsDirty());
    prefs.ClearDirty();
    prefs.SetPresets(prefs.GetPresets());
    EXPECT_TRUE(prefs.IsDirty());
}

TEST(MifPrefs, Stream_RoundTrip)
{
    ReadResult read = Read(Saved({Named("A"), Named("B", 1)}, 1));
    EXPECT_TRUE(read.whole);
    EXPECT_EQ(read.names, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(read.current, 1);
}

TEST(MifPrefs, Stream_EveryTruncationKeepsWholePresetsOrTheDefault)
{
    std::vector<uchar> bytes = Saved({Named("A"), Named("B")}, 1);
    size_t secondStarts = 0;
    for (size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        ReadResult read = Read(std::vector<uchar>(bytes.begin(), bytes.begin() + size));
        EXPECT_FALSE(read.whole);
        ASSERT_FALSE(read.names.empty());
        if (read.names.size() == 1 && read.names[0] == "A" && !secondStarts) secondStarts = size;
        EXPECT_EQ(read.names[0], secondStarts ? "A" : "[Common]");
        EXPECT_EQ(read.names.size(), 1u);  // the preset cut short is dropped
    }
    EXPECT_GT(secondStarts, 8u);
}

TEST(MifPrefs, Stream_AbsurdCountsAndLengthsEndWithTheStream)
{
    std::vector<uchar> bytes = Saved({Named("A")}, 0);
    // current, count, magic, version, name length "A", name, five modes, substitution count.
    const size_t presetCount = 4, nameLength = 16, substitutionCount = 16 + 4 + 2 + 20;
    for (auto [at, value] : {std::pair<size_t, uint32>{presetCount, 0x7FFFFFFF}, {presetCount, 0x80000000},
                             {nameLength, 0x7FFFFFFF}, {nameLength, 0x000FFFFF}, {substitutionCount, 0x7FFFFFFF},
                             {substitutionCount, 0xFFFFFFFF}}) {
        SCOPED_TRACE(at);
        std::vector<uchar> damaged = bytes;
        PutInt32(damaged, at, value);
        ReadResult read = Read(damaged);
        EXPECT_FALSE(read.whole);
        ASSERT_FALSE(read.names.empty());
    }
}

TEST(MifPrefs, Stream_WrongMagicLeavesThatPresetAtItsDefaults)
{
    std::vector<uchar> bytes = Saved({Named("A"), Named("B"), Named("C")}, 2);
    std::vector<uchar> first = Saved({Named("A")}, 0);
    bytes[first.size()] ^= 0xFF;  // the magic of the second preset
    ReadResult read = Read(bytes);
    EXPECT_FALSE(read.whole);
    // The presets after it cannot be found: reading stops at the damaged one.
    EXPECT_EQ(read.names, (std::vector<std::string>{"A", "[Common]"}));
    EXPECT_EQ(read.current, 2);
}

TEST(MifPrefs, Names_CommonReservedAndUsedNamesRefused)
{
    std::vector<MifPresetRecord> presets = {MifPresetRecord(), Named("Book")};
    EXPECT_EQ(MifPrefs::CheckPresetName("[Common]", presets).GetUTF8String(),
              "This preset name is reserved, please use another name.");
    EXPECT_EQ(MifPrefs::CheckPresetName("Book", presets).GetUTF8String(),
              "This preset name is already used, please use another name.");
    EXPECT_TRUE(MifPrefs::CheckPresetName("Manual", presets).IsEmpty());
    // A name is found regardless of case, so one that differs only in case is taken too.
    EXPECT_EQ(MifPrefs::CheckPresetName("[COMMON]", presets).GetUTF8String(),
              "This preset name is reserved, please use another name.");
    EXPECT_EQ(MifPrefs::CheckPresetName("book", presets).GetUTF8String(),
              "This preset name is already used, please use another name.");
}

TEST(MifPrefs, Names_FoundInTheSameCaseFirstThenInAnyCase)
{
    std::vector<MifPresetRecord> presets = {MifPresetRecord(), Named("Book"), Named("BOOK")};
    EXPECT_EQ(MifPresetRecord::FindByName(presets, "[Common]"), 0);
    EXPECT_EQ(MifPresetRecord::FindByName(presets, "[common]"), 0);
    EXPECT_EQ(MifPresetRecord::FindByName(presets, "BOOK"), 2);
    EXPECT_EQ(MifPresetRecord::FindByName(presets, "book"), 1);
    EXPECT_EQ(MifPresetRecord::FindByName(presets, "Manual"), -1);
    EXPECT_EQ(MifPresetRecord::FindByName({}, "Book"), -1);
}
