#include "FileReport.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// The length of the UTF-8 sequence at `i`, 0 when it is not a valid one.
size_t Utf8Length(const std::string& text, size_t i)
{
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    return length;
}

// A reader of the flat JSON objects that ToJson writes: strings, numbers, booleans and arrays of
// strings as values.
class FlatJsonReader {
public:
    explicit FlatJsonReader(const std::string& text) : mText(text) {}

    // Reads the object into `strings`, `numbers` and `lists`; false when it is not one.
    bool Read(std::map<std::string, std::string>& strings, std::map<std::string, double>& numbers,
              std::map<std::string, std::vector<std::string>>& lists)
    {
        if (!Expect('{')) return false;
        if (Peek() == '}') return Expect('}') && AtEnd();
        for (;;) {
            std::string key;
            if (!String(key) || !Expect(':')) return false;
            char c = Peek();
            if (c == '"') {
                if (!String(strings[key])) return false;
            } else if (c == '[') {
                Expect('[');
                std::vector<std::string>& list = lists[key];
                if (Peek() == ']') {
                    Expect(']');
                } else {
                    for (;;) {
                        list.emplace_back();
                        if (!String(list.back())) return false;
                        if (Peek() == ',') { Expect(','); continue; }
                        if (!Expect(']')) return false;
                        break;
                    }
                }
            } else if (!Number(numbers[key])) {
                return false;
            }
            if (Peek() == ',') { Expect(','); continue; }
            return Expect('}') && AtEnd();
        }
    }

private:
    void Skip() { while (mAt < mText.size() && std::isspace(static_cast<unsigned char>(mText[mAt]))) ++mAt; }
    char Peek() { Skip(); return mAt < mText.size() ? mText[mAt] : '\0'; }
    bool Expect(char c) { if (Peek() != c) return false; ++mAt; return true; }
    bool AtEnd() { Skip(); return mAt == mText.size(); }
    bool Number(double& value)
    {
        Skip();
        if (mText.compare(mAt, 4, "true") == 0) { mAt += 4; value = 1; return true; }
        if (mText.compare(mAt, 5, "false") == 0) { mAt += 5; value = 0; return true; }
        const char* start = mText.c_str() + mAt;
        char* end = nullptr;
        value = std::strtod(start, &end);
        if (end == start) return false;
        mAt += static_cast<size_t>(end - start);
        return true;
    }
    bool String(std::string& out)
    {
        if (!Expect('"')) return false;
        out.clear();
        while (mAt < mText.size()) {
            char c = mText[mAt++];
            if (c == '"') return true;
            if (c != '\\') { out.push_back(c); continue; }
            if (mAt >= mText.size()) return false;
            char e = mText[mAt++];
            switch (e) {
            case 'n': out.push_back('\n'); break;
            case 't': out.push_back('\t'); break;
            case 'r': out.push_back('\r'); break;
            case 'b': out.push_back('\b'); break;
            case 'f': out.push_back('\f'); break;
            case 'u': {
                if (mAt + 4 > mText.size()) return false;
                unsigned code = static_cast<unsigned>(std::strtoul(mText.substr(mAt, 4).c_str(), nullptr, 16));
                mAt += 4;
                // ToJson escapes only control characters this way.
                if (code < 0x80) out.push_back(static_cast<char>(code));
                else out += "\xEF\xBF\xBD";
                break;
            }
            default: out.push_back(e);
            }
        }
        return false;
    }

    const std::string& mText;
    size_t mAt = 0;
};

std::string JsonList(const std::vector<std::string>& list)
{
    std::string out = "[";
    for (size_t i = 0; i < list.size(); ++i) out += (i ? ", " : "") + JsonString(list[i]);
    return out + "]";
}

} // namespace

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = Utf8Length(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for a byte that is not UTF-8 (file names may hold any)
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out.append(text, i, length);
        }
        i += length;
    }
    return out + "\"";
}

std::string FileReport::ToJson() const
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", this->seconds);
    std::string json = "{\n";
    json += "  \"input\": " + JsonString(input) + ",\n";
    json += "  \"output\": " + JsonString(output) + ",\n";
    json += "  \"status\": " + JsonString(status) + ",\n";
    json += "  \"reason\": " + JsonString(reason) + ",\n";
    json += std::string("  \"seconds\": ") + seconds + ",\n";
    json += "  \"pages\": " + std::to_string(pages) + ",\n";
    json += "  \"pagesAdded\": " + std::to_string(pagesAdded) + ",\n";
    json += "  \"oversetStories\": " + JsonList(oversetStories) + ",\n";
    json += "  \"missingFonts\": " + JsonList(missingFonts) + ",\n";
    json += "  \"warnings\": " + std::to_string(warnings) + ",\n";
    json += "  \"importedCharacters\": " + std::to_string(importedCharacters) + ",\n";
    json += "  \"documentCharacters\": " + std::to_string(documentCharacters) + ",\n";
    json += std::string("  \"fidelityDiffers\": ") + (FidelityDiffers() ? "true" : "false") + "\n";
    return json + "}\n";
}

bool FileReport::FromJson(const std::string& json, FileReport& report)
{
    std::map<std::string, std::string> strings;
    std::map<std::string, double> numbers;
    std::map<std::string, std::vector<std::string>> lists;
    if (!FlatJsonReader(json).Read(strings, numbers, lists) || !strings.count("input") || !strings.count("status"))
        return false;
    report = FileReport{};
    report.input = strings["input"];
    report.output = strings["output"];
    report.status = strings["status"];
    report.reason = strings["reason"];
    report.seconds = numbers.count("seconds") ? numbers["seconds"] : 0;
    auto whole = [&](const char* key, auto fallback) {
        return numbers.count(key) ? static_cast<decltype(fallback)>(numbers[key]) : fallback;
    };
    report.pages = whole("pages", int32_t{-1});
    report.pagesAdded = whole("pagesAdded", int32_t{-1});
    report.warnings = whole("warnings", int32_t{0});
    report.importedCharacters = whole("importedCharacters", int64_t{-1});
    report.documentCharacters = whole("documentCharacters", int64_t{-1});
    report.oversetStories = lists["oversetStories"];
    report.missingFonts = lists["missingFonts"];
    return true;
}

std::string ReadTextFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
