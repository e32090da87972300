#include "Hyphenator.h"

#include <hyphen.h>

#include <cstdlib>
#include <filesystem>

namespace {

// The dictionary file of `language`: hyph_<language>.dic in TESSEL_HYPHEN_DIR, then in the
// folders where distributions install them.
std::string DictionaryPath(const std::string& language)
{
    std::vector<std::filesystem::path> folders;
    if (const char* own = std::getenv("TESSEL_HYPHEN_DIR"); own && *own) folders.emplace_back(own);
    folders.emplace_back("/usr/share/hyphen");
    folders.emplace_back("/usr/local/share/hyphen");
    for (const auto& folder : folders) {
        std::error_code ec;
        std::filesystem::path file = folder / ("hyph_" + language + ".dic");
        if (std::filesystem::is_regular_file(file, ec)) return file.string();
    }
    return {};
}

// The word in UTF-8 and, for each of its bytes, the index of the UTF-16 unit it starts (libhyphen
// marks points per byte); false for text that is not all letters of the Basic Multilingual Plane.
bool ToUtf8(const std::u16string& word, std::string& utf8, std::vector<int32>& unitOfByte)
{
    utf8.clear();
    unitOfByte.clear();
    for (size_t i = 0; i < word.size(); ++i) {
        char16_t c = word[i];
        if (c >= 0xD800 && c <= 0xDFFF) return false;
        auto push = [&](char byte) {
            utf8.push_back(byte);
            unitOfByte.push_back(static_cast<int32>(i));
        };
        if (c < 0x80) {
            push(static_cast<char>(c));
        } else if (c < 0x800) {
            push(static_cast<char>(0xC0 | (c >> 6)));
            push(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            push(static_cast<char>(0xE0 | (c >> 12)));
            push(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            push(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return true;
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

} // namespace

Hyphenator::Hyphenator(const std::string& language)
{
    std::string path = DictionaryPath(language);
    if (!path.empty()) mDictionary = hnj_hyphen_load(path.c_str());
}

Hyphenator::~Hyphenator()
{
    if (mDictionary) hnj_hyphen_free(static_cast<HyphenDict*>(mDictionary));
}

const std::vector<int32>& Hyphenator::Points(const std::u16string& word, int32 minimum, int32 before, int32 after)
{
    const int32 length = static_cast<int32>(word.size());
    if (!mDictionary || length < std::max(minimum, before + after) || length > 200) return mNone;
    std::u16string key;
    key.reserve(word.size());
    for (char16_t c : word) key.push_back(Lower(c));
    key += u'\x01' + std::u16string(1, static_cast<char16_t>(before)) + std::u16string(1, static_cast<char16_t>(after));
    if (auto it = mPoints.find(key); it != mPoints.end()) return it->second;
    std::vector<int32>& points = mPoints[key];
    std::string utf8;
    std::vector<int32> unitOfByte;
    if (!ToUtf8(key.substr(0, word.size()), utf8, unitOfByte)) return points;
    std::vector<char> hyphens(utf8.size() + 5, 0);
    char** rep = nullptr;
    int* pos = nullptr;
    int* cut = nullptr;
    int failed = hnj_hyphen_hyphenate2(static_cast<HyphenDict*>(mDictionary), utf8.c_str(), static_cast<int>(utf8.size()),
                                       hyphens.data(), nullptr, &rep, &pos, &cut);
    if (rep) {
        // Points that change the spelling (other languages' patterns) are left out.
        for (size_t i = 0; i < utf8.size(); ++i) std::free(rep[i]);
        std::free(rep);
        std::free(pos);
        std::free(cut);
        return points;
    }
    if (failed) return points;
    for (size_t b = 0; b + 1 < utf8.size(); ++b) {
        if (!(hyphens[b] & 1)) continue;
        // The point lies after the unit whose last byte is b.
        if (unitOfByte[b + 1] == unitOfByte[b]) continue;
        int32 after_unit = unitOfByte[b] + 1;
        if (after_unit >= before && length - after_unit >= after) points.push_back(after_unit);
    }
    return points;
}
