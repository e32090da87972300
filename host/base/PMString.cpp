#include "PMString.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "StringTable.h"

namespace {

// Appends the UTF-8 text to a UTF-16 string; malformed sequences become U+FFFD.
void AppendUTF8(std::u16string& out, std::string_view in)
{
    size_t i = 0;
    while (i < in.size()) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) { out.push_back(c); ++i; continue; }
        int trail = c >= 0xF8 ? -1 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
        char32_t cp = trail == 3 ? (c & 0x07) : trail == 2 ? (c & 0x0F) : (c & 0x1F);
        bool ok = trail > 0 && i + static_cast<size_t>(trail) < in.size();
        for (int k = 1; ok && k <= trail; ++k) {
            unsigned char t = static_cast<unsigned char>(in[i + k]);
            if ((t & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (t & 0x3F);
        }
        if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<size_t>(trail) + 1;
    }
}

void AppendCodePointUTF8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsBlank(char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The text without surrounding blanks, as ASCII; false when it holds anything beyond ASCII.
bool TrimmedASCII(const std::u16string& text, std::string& out)
{
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    out.clear();
    for (size_t i = b; i < e; ++i) {
        if (text[i] >= 0x80) return false;
        out.push_back(static_cast<char>(text[i]));
    }
    return !out.empty();
}

char16_t FoldCase(char16_t c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    return c;
}

} // namespace

PMString::PMString(const char* utf8)
{
    if (utf8) AppendUTF8(mText, utf8);
}

PMString::PMString(std::string_view utf8) { AppendUTF8(mText, utf8); }

void PMString::Append(std::string_view utf8) { AppendUTF8(mText, utf8); }

void PMString::AppendCodePoint(UTF32TextChar c)
{
    if (c > 0xFFFF && c <= 0x10FFFF) {
        c -= 0x10000;
        mText.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        mText.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else if (c > 0x10FFFF) {
        mText.push_back(0xFFFD);
    } else {
        mText.push_back(static_cast<char16_t>(c));
    }
}

void PMString::AppendNumber(int64 n) { Append(std::to_string(n)); }

std::string PMString::GetUTF8String() const
{
    std::string out;
    out.reserve(mText.size());
    for (size_t i = 0; i < mText.size(); ++i) {
        char32_t c = mText[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < mText.size() && mText[i + 1] >= 0xDC00 && mText[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (mText[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendCodePointUTF8(out, c);
    }
    return out;
}

int32 PMString::GetAsNumber(int32* error) const
{
    std::string ascii;
    if (error) *error = 1;
    if (!TrimmedASCII(mText, ascii)) return 0;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(ascii.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || end == ascii.c_str() || v < std::numeric_limits<int32>::min() ||
        v > std::numeric_limits<int32>::max())
        return 0;
    if (error) *error = 0;
    return static_cast<int32>(v);
}

PMReal PMString::GetAsDouble(int32* error) const
{
    std::string ascii;
    if (error) *error = 1;
    if (!TrimmedASCII(mText, ascii)) return 0;
    // Only plain decimal notation: no hexadecimal floats, infinities or NaNs.
    for (char c : ascii)
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E')) return 0;
    char* end = nullptr;
    double v = std::strtod(ascii.c_str(), &end);
    if (*end != '\0' || end == ascii.c_str() || !std::isfinite(v)) return 0;
    if (error) *error = 0;
    return v;
}

bool PMString::IsEqualNoCase(const PMString& other) const
{
    if (mText.size() != other.mText.size()) return false;
    for (size_t i = 0; i < mText.size(); ++i)
        if (FoldCase(mText[i]) != FoldCase(other.mText[i])) return false;
    return true;
}

int32 PMString::Compare(bool caseSensitive, const PMString& other) const
{
    size_t n = std::min(mText.size(), other.mText.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t a = caseSensitive ? mText[i] : FoldCase(mText[i]);
        char16_t b = caseSensitive ? other.mText[i] : FoldCase(other.mText[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    return mText.size() == other.mText.size() ? 0 : mText.size() < other.mText.size() ? -1 : 1;
}

int32 PMString::IndexOf(const PMString& s, int32 from) const
{
    if (from < 0) from = 0;
    size_t pos = mText.find(s.mText, static_cast<size_t>(from));
    return pos == std::u16string::npos ? -1 : static_cast<int32>(pos);
}

PMString PMString::Substring(int32 pos, int32 count) const
{
    if (pos < 0 || static_cast<size_t>(pos) >= mText.size()) return PMString();
    size_t n = count < 0 ? std::u16string::npos : static_cast<size_t>(count);
    return PMString(mText.substr(static_cast<size_t>(pos), n));
}

void PMString::Translate()
{
    if (mTranslated) return;
    const PMString* text = StringTable::Get().Lookup(*this);
    if (text) mText = text->mText;
    mTranslated = true;
}

void StringUtils::ReplaceStringParameters(PMString* s, const PMString& p1, const PMString& p2, const PMString& p3,
                                          const PMString& p4)
{
    if (!s) return;
    const PMString* params[] = {&p1, &p2, &p3, &p4};
    const std::u16string& in = s->GetUTF16();
    std::u16string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '^' && i + 1 < in.size() && in[i + 1] >= '1' && in[i + 1] <= '4') {
            out += params[in[i + 1] - '1']->GetUTF16();
            ++i;
        } else {
            out.push_back(in[i]);
        }
    }
    bool translated = s->IsTranslated();
    *s = PMString(std::move(out));
    if (translated) s->SetTranslated();
}
