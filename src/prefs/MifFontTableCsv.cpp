#include "prefs/MifFontTableCsv.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "AtomicFileWriter.h"
#include "IPMStream.h"

#include "prefs/MifWindows1252.h"

namespace {

using Items = std::vector<PMString>;
using SubstitutionTable = std::map<MifFontKey, MifIDFont>;
using EncodingTable = std::map<PMString, int32>;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr size_t kReadBlock = 1 << 16;

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Splits CSV bytes, fed a block at a time, into lines and each line into its items, and hands
// the items of every line that can carry an entry to the handler.
class LineReader {
public:
    explicit LineReader(std::function<void(const Items&)> handler) : mHandler(std::move(handler)) {}

    void Feed(std::string_view bytes)
    {
        for (char c : bytes) {
            if (c == '\r' || c == '\n') {
                EndLine();
            } else if (mLine.size() < static_cast<size_t>(MifFontTableCsv::kMaxLineLength)) {
                mLine.push_back(c);
            } else {
                mTooLong = true;  // the rest is not kept: the line is passed over
            }
        }
    }
    // Ends the last line, which needs no line end.
    void Finish() { EndLine(); }

private:
    void EndLine()
    {
        std::string_view line = mLine;
        // Only the very first bytes of the text can be its byte-order mark.
        if (mAtStart && line.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
            mUtf8 = true;
            line.remove_prefix(kUtf8Mark.size());
        }
        mAtStart = false;
        bool usable = !mTooLong && !line.empty();
        for (size_t i = 0; usable && i < line.size(); ++i) usable = !IsControl(static_cast<unsigned char>(line[i]));
        if (usable && Split(line)) mHandler(mItems);
        mLine.clear();
        mTooLong = false;
    }

    // The items of `line` into mItems; false when one is too long.
    bool Split(std::string_view line)
    {
        mItems.clear();
        for (;;) {
            size_t comma = line.find(',');
            std::string_view bytes = line.substr(0, comma);
            PMString item = mUtf8 ? PMString(bytes) : MifWindows1252::Decode(bytes);
            if (item.CharCount() > MifFontTableCsv::kMaxFieldLength) return false;
            item.SetTranslated();  // font names, never string keys
            mItems.push_back(std::move(item));
            if (comma == std::string_view::npos) return true;
            line.remove_prefix(comma + 1);
        }
    }

    std::function<void(const Items&)> mHandler;
    std::string mLine;     // the bytes of the line being read
    bool mTooLong = false;  // the line has more than kMaxLineLength bytes
    bool mAtStart = true;   // the line being read is the first of the text
    bool mUtf8 = false;     // the text began with the UTF-8 byte-order mark
    Items mItems;
};

// The item at `index` (0-based), empty when the line has fewer.
PMString Item(const Items& items, size_t index) { return index < items.size() ? items[index] : PMString(); }

// Handlers that collect entries in key order, a later line replacing an earlier one of the same
// key (with its own spelling of the key, as the preset's table does).
std::function<void(const Items&)> SubstitutionCollector(SubstitutionTable& table)
{
    return [&table](const Items& items) {
        if (items.size() < 5 || items[0].IsEmpty() || items[4].IsEmpty()) return;
        MifFontKey key(items[0], Item(items, 1), Item(items, 2), Item(items, 3));
        table.erase(key);
        table.emplace(key, MifIDFont(items[4], Item(items, 5)));
    };
}

std::function<void(const Items&)> EncodingCollector(EncodingTable& table)
{
    return [&table](const Items& items) {
        if (items.size() < 2 || items[0].IsEmpty()) return;
        int32 error = 0;
        int32 encoding = items[1].GetAsNumber(&error);
        if (error) return;  // not a number: no entry, rather than an entry for encoding 0
        table.insert_or_assign(items[0], encoding);
    };
}

// Puts the collected entries into the preset's tables. The tables are built again in key order
// rather than entry by entry: adding to the middle of a sorted table moves what follows, which
// a file of many unsorted lines would make quadratic.
void Merge(SubstitutionTable& added, MifPresetRecord& preset)
{
    for (int32 i = 0; i < preset.GetSubstitutionCount(); ++i)
        added.try_emplace(preset.GetSubstitutionKey(i), preset.GetSubstitutionFont(i));  // the file's win
    for (int32 i = preset.GetSubstitutionCount(); i-- > 0;) preset.RemoveSubstitution(i);
    for (const auto& [key, font] : added) preset.AddSubstitution(key, font);
}

void Merge(EncodingTable& added, MifPresetRecord& preset)
{
    for (int32 i = 0; i < preset.GetEncodingCount(); ++i) added.try_emplace(preset.GetEncodingFamily(i), preset.GetEncoding(i));
    for (int32 i = preset.GetEncodingCount(); i-- > 0;) preset.RemoveEncoding(i);
    for (const auto& [family, encoding] : added) preset.AddEncoding(family, encoding);
}

// Whether a field can be written so that it reads back the same.
bool CanCarry(const PMString& field)
{
    if (field.CharCount() > MifFontTableCsv::kMaxFieldLength) return false;
    for (char16_t c : field.GetUTF16())
        if (c == ',' || c < 0x20 || c == 0x7F) return false;
    return true;
}

// Appends the fields as one line, after a CR LF when `text` is not empty; false, with `text`
// unchanged, when the line would not read back as it is.
bool AppendLine(std::string& text, std::initializer_list<PMString> fields)
{
    std::string line;
    bool first = true;
    for (const PMString& field : fields) {
        if (!first) line.push_back(',');
        first = false;
        if (!CanCarry(field) || !MifWindows1252::Encode(field, line)) return false;
    }
    // A first line that began with the UTF-8 byte-order mark would make the file read as UTF-8.
    if (text.empty() && line.substr(0, kUtf8Mark.size()) == kUtf8Mark) return false;
    if (!text.empty()) text += "\r\n";
    text += line;
    return true;
}

MifFileStatus ReadLines(const IDFile& file, LineReader& reader)
{
    std::unique_ptr<IPMStream> stream = StreamUtil::CreateFileStreamRead(file);
    if (!stream) return MifFileStatus::kCantOpen;
    std::vector<uchar> block(kReadBlock);
    for (;;) {
        int64 got = stream->XferBytes(block.data(), static_cast<int64>(block.size()));
        if (got <= 0) break;
        reader.Feed(std::string_view(reinterpret_cast<const char*>(block.data()), static_cast<size_t>(got)));
    }
    if (stream->GetStreamState() == IPMStream::kStreamStateFailure) return MifFileStatus::kCantOpen;
    reader.Finish();
    return MifFileStatus::kDone;
}

MifFileStatus WriteText(const IDFile& file, const std::string& text)
{
    return AtomicFileWriter::Write(file, text) == kSuccess ? MifFileStatus::kDone : MifFileStatus::kCantSave;
}

} // namespace

std::string MifFontTableCsv::SubstitutionText(const MifPresetRecord& preset)
{
    std::string text;
    for (int32 i = 0; i < preset.GetSubstitutionCount(); ++i) {
        const MifFontKey& key = preset.GetSubstitutionKey(i);
        const MifIDFont& font = preset.GetSubstitutionFont(i);
        if (key.GetFamily().IsEmpty() || font.GetFamily().IsEmpty()) continue;  // it would not read back
        AppendLine(text, {key.GetFamily(), key.GetAngle(), key.GetWeight(), key.GetVariation(), font.GetFamily(),
                          font.GetStyle()});
    }
    return text;
}

std::string MifFontTableCsv::EncodingText(const MifPresetRecord& preset)
{
    std::string text;
    for (int32 i = 0; i < preset.GetEncodingCount(); ++i) {
        PMString family = preset.GetEncodingFamily(i), encoding;
        if (family.IsEmpty()) continue;
        encoding.AppendNumber(preset.GetEncoding(i));
        AppendLine(text, {family, encoding});
    }
    return text;
}

void MifFontTableCsv::AddSubstitutions(std::string_view text, MifPresetRecord& preset)
{
    SubstitutionTable added;
    LineReader reader(SubstitutionCollector(added));
    reader.Feed(text);
    reader.Finish();
    Merge(added, preset);
}

void MifFontTableCsv::AddEncodings(std::string_view text, MifPresetRecord& preset)
{
    EncodingTable added;
    LineReader reader(EncodingCollector(added));
    reader.Feed(text);
    reader.Finish();
    Merge(added, preset);
}

MifFileStatus MifFontTableCsv::ExportSubstitutions(const IDFile& file, const MifPresetRecord& preset)
{
    return WriteText(file, SubstitutionText(preset));
}

MifFileStatus MifFontTableCsv::ExportEncodings(const IDFile& file, const MifPresetRecord& preset)
{
    return WriteText(file, EncodingText(preset));
}

MifFileStatus MifFontTableCsv::ImportSubstitutions(const IDFile& file, MifPresetRecord& preset)
{
    SubstitutionTable added;
    LineReader reader(SubstitutionCollector(added));
    MifFileStatus status = ReadLines(file, reader);
    if (status == MifFileStatus::kDone) Merge(added, preset);  // nothing of a file read in part
    return status;
}

MifFileStatus MifFontTableCsv::ImportEncodings(const IDFile& file, MifPresetRecord& preset)
{
    EncodingTable added;
    LineReader reader(EncodingCollector(added));
    MifFileStatus status = ReadLines(file, reader);
    if (status == MifFileStatus::kDone) Merge(added, preset);
    return status;
}
