// Preset files: the exact form, a round trip that replaces every preset, and files that are
// missing, folders, foreign, of another version, cut short or damaged, which leave the caller's
// presets as they were; writing that fails leaves the old file.
#include <gtest/gtest.h>

#include <fstream>

#include "IPMStream.h"
#include "TempFolder.h"
#include "TestUtils.h"

#include "prefs/MifPresetFile.h"

namespace {

MifPresetRecord Named(const char* name, int32 leading = 2)
{
    MifPresetRecord preset;
    preset.SetName(name);
    preset.SetLeading(leading);
    return preset;
}

// What the preferences dialog holds before an import: two presets of its own.
struct WorkingCopy {
    std::vector<MifPresetRecord> presets{MifPresetRecord(), Named("Mine")};
    int32 current = 1;

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const MifPresetRecord& preset : presets) names.push_back(preset.GetName().GetUTF8String());
        return names;
    }
};

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

void PutInt32(std::string& bytes, size_t at, uint32 value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

} // namespace

TEST(MifPresetFile, RoundTrip_FormAndEveryPresetReplaced)
{
    TempFolder folder("preset-file");
    MifPresetRecord common;  // "[Common]" of the file differs from the dialog's
    common.SetComposer(1);
    common.AddSubstitution(MifFontKey("Times", "", "Bold", ""), MifIDFont("Minion Pro", "Bold"));
    MifPresetRecord book = Named("Book", 1);
    book.AddEncoding("Arial CE", 238);
    const IDFile file(folder / "presets.tqp");
    ASSERT_EQ(MifPresetFile::Write(file, {common, book}, 1), MifFileStatus::kDone);

    const std::string bytes = ReadFile(file.GetPath().string());
    EXPECT_EQ(bytes.substr(0, 16), std::string("TQpT\x00\x01\x00\x00\x00\x00\x00\x02\x00\x00\x00\x01", 16));
    EXPECT_EQ(bytes.substr(16, 4), "TQpt");  // the first preset record follows at once

    WorkingCopy dialog;
    dialog.presets[0].SetLeading(1);
    dialog.current = 0;
    ASSERT_EQ(MifPresetFile::Read(file, dialog.presets, dialog.current), MifFileStatus::kDone);
    EXPECT_EQ(dialog.Names(), (std::vector<std::string>{"[Common]", "Book"}));
    EXPECT_EQ(dialog.current, 1);
    EXPECT_EQ(dialog.presets[0].GetLeading(), 2);  // the dialog's own "[Common]" is gone too
    EXPECT_EQ(dialog.presets[0].GetComposer(), 1);
    ASSERT_EQ(dialog.presets[0].GetSubstitutionCount(), 1);
    EXPECT_EQ(dialog.presets[0].GetSubstitutionFont(0).GetStyle().GetUTF8String(), "Bold");
    EXPECT_EQ(dialog.presets[1].GetLeading(), 1);
    EXPECT_EQ(dialog.presets[1].GetEncodingFamily(0).GetUTF8String(), "Arial CE");
}

TEST(MifPresetFile, Read_CurrentIndexOutsideThePresetsIsTheFirst)
{
    TempFolder folder("preset-file");
    for (int32 current : {2, -1}) {
        ASSERT_EQ(MifPresetFile::Write(IDFile(folder / "p.tqp"), {Named("A"), Named("B")}, current), MifFileStatus::kDone);
        WorkingCopy dialog;
        ASSERT_EQ(MifPresetFile::Read(IDFile(folder / "p.tqp"), dialog.presets, dialog.current), MifFileStatus::kDone);
        EXPECT_EQ(dialog.current, 0) << current;
    }
}

TEST(MifPresetFile, Read_BadFilesLeaveThePresetsUntouched)
{
    TempFolder folder("preset-file");
    const IDFile good(folder / "good.tqp");
    ASSERT_EQ(MifPresetFile::Write(good, {MifPresetRecord(), Named("Book", 1), Named("Last")}, 2), MifFileStatus::kDone);
    const std::string whole = ReadFile(good.GetPath().string());
    const size_t second = whole.find("TQpt", 20);
    ASSERT_NE(second, std::string::npos);

    struct Case {
        const char* name;
        std::string bytes;
        MifFileStatus status;
    };
    std::vector<Case> cases = {
        {"empty", "", MifFileStatus::kNotPresetFile},
        {"text", "Times,,Bold,,Minion Pro,Bold\r\n", MifFileStatus::kNotPresetFile},
        {"magic only", whole.substr(0, 4), MifFileStatus::kNotPresetFile},
        {"no presets", whole.substr(0, 16), MifFileStatus::kNotPresetFile},
    };
    std::string version = whole, noPreset = whole, hugeCount = whole, negativeCount = whole, wrongMagic = whole,
                wrongRecordVersion = whole;
    PutInt32(version, 4, 0x20000);
    cases.push_back({"version", version, MifFileStatus::kUnknownVersion});
    PutInt32(noPreset, 8, 0);
    cases.push_back({"count 0", noPreset, MifFileStatus::kNotPresetFile});
    PutInt32(hugeCount, 8, 0x7FFFFFFF);  // presets are kept as they come, never by the count
    cases.push_back({"count 2^31-1", hugeCount, MifFileStatus::kNotPresetFile});
    PutInt32(negativeCount, 8, 0x80000000);
    cases.push_back({"count -2^31", negativeCount, MifFileStatus::kNotPresetFile});
    wrongMagic[second] = 'X';  // the second record: the third cannot be found after it
    cases.push_back({"record magic", wrongMagic, MifFileStatus::kNotPresetFile});
    PutInt32(wrongRecordVersion, second + 4, 0x20000);
    cases.push_back({"record version", wrongRecordVersion, MifFileStatus::kNotPresetFile});
    for (size_t size = 16; size < whole.size(); size += 7) cases.push_back({"cut short", whole.substr(0, size), MifFileStatus::kNotPresetFile});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder / "bad.tqp", c.bytes);
        WorkingCopy dialog;
        EXPECT_EQ(MifPresetFile::Read(IDFile(folder / "bad.tqp"), dialog.presets, dialog.current), c.status);
        EXPECT_EQ(dialog.Names(), (std::vector<std::string>{"[Common]", "Mine"}));
        EXPECT_EQ(dialog.current, 1);
    }

    WorkingCopy dialog;
    EXPECT_EQ(MifPresetFile::Read(IDFile(folder / "missing.tqp"), dialog.presets, dialog.current), MifFileStatus::kCantOpen);
    EXPECT_EQ(MifPresetFile::Read(IDFile(folder.Path()), dialog.presets, dialog.current), MifFileStatus::kCantOpen);
    EXPECT_EQ(dialog.Names(), (std::vector<std::string>{"[Common]", "Mine"}));
}

TEST(MifPresetFile, Write_FailureLeavesWhatWasThere)
{
    TempFolder folder("preset-file");
    const IDFile file(folder / "presets.tqp");
    WriteBytes(file.GetPath(), "old");
    // A name longer than a preset stream carries: nothing is written, not even a part.
    MifPresetRecord huge;
    huge.SetName(PMString(std::u16string(IPMStream::kMaxStringLength + 1, u'x')));
    EXPECT_EQ(MifPresetFile::Write(file, {Named("A"), huge}, 0), MifFileStatus::kCantSave);
    EXPECT_EQ(ReadFile(file.GetPath().string()), "old");

    std::filesystem::create_directory(folder / "folder.tqp");
    EXPECT_EQ(MifPresetFile::Write(IDFile(folder / "folder.tqp"), {Named("A")}, 0), MifFileStatus::kCantSave);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "folder.tqp"));
    EXPECT_EQ(MifPresetFile::Write(IDFile(folder / "no" / "such.tqp"), {Named("A")}, 0), MifFileStatus::kCantSave);
    EXPECT_EQ(folder.List(), (std::vector<std::string>{"folder.tqp", "presets.tqp"}));  // no temporary file left
}
