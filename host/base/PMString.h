// PMString: the host's Unicode string, held as UTF-16.
//
// A string may be a key of the string tables ("OV#0xB40#kMifParsingMIFKey"); Translate() replaces
// a key by its text. Strings made by code that already hold user-visible text can be marked as
// translated so that nobody looks them up again.
#pragma once

#include <string>
#include <string_view>

#include "PMTypes.h"

class PMString {
public:
    PMString() = default;
    // From UTF-8 text; invalid sequences become U+FFFD.
    PMString(const char* utf8);
    PMString(std::string_view utf8);
    explicit PMString(std::u16string utf16) : mText(std::move(utf16)) {}

    // Number of UTF-16 units.
    int32 CharCount() const { return static_cast<int32>(mText.size()); }
    bool IsEmpty() const { return mText.empty(); }
    UTF16TextChar operator[](int32 i) const { return mText[static_cast<size_t>(i)]; }
    const std::u16string& GetUTF16() const { return mText; }
    std::u16string& GetUTF16Ref() { return mText; }

    void Clear() { mText.clear(); }
    void Append(const PMString& s) { mText += s.mText; }
    void Append(std::string_view utf8);
    void Append(const char* utf8) { Append(std::string_view(utf8)); }
    void AppendW(UTF16TextChar c) { mText.push_back(c); }
    // Appends one code point, as a surrogate pair above U+FFFF.
    void AppendCodePoint(UTF32TextChar c);
    void AppendNumber(int64 n);
    PMString& operator+=(const PMString& s) { Append(s); return *this; }
    PMString& operator+=(std::string_view utf8) { Append(utf8); return *this; }
    PMString& operator+=(const char* utf8) { Append(utf8); return *this; }

    // The text as UTF-8 (unpaired surrogates become U+FFFD).
    std::string GetUTF8String() const;

    // Whole-string conversions. The text may have blanks around the number and nothing else.
    // *error is set to 0 on success and to 1 when the text is not a number or out of range
    // (the result is then 0).
    int32 GetAsNumber(int32* error = nullptr) const;
    PMReal GetAsDouble(int32* error = nullptr) const;

    // Case-insensitive (ASCII and Latin-1 letters) equality.
    bool IsEqualNoCase(const PMString& other) const;
    // Orders the UTF-16 units as operator< does, with ASCII and Latin-1 letters folded to lower
    // case unless `caseSensitive`; below 0, 0 or above 0 as this string sorts before, with or
    // after `other`.
    int32 Compare(bool caseSensitive, const PMString& other) const;
    // Position of the first occurrence of `s` at or after `from`, or -1.
    int32 IndexOf(const PMString& s, int32 from = 0) const;
    PMString Substring(int32 pos, int32 count = -1) const;

    // Replaces a string-table key by its text in the current locale; text that is not a key and
    // strings already translated stay as they are.
    void Translate();
    void SetTranslated() { mTranslated = true; }
    bool IsTranslated() const { return mTranslated; }

    friend bool operator==(const PMString& a, const PMString& b) { return a.mText == b.mText; }
    friend bool operator!=(const PMString& a, const PMString& b) { return a.mText != b.mText; }
    friend bool operator<(const PMString& a, const PMString& b) { return a.mText < b.mText; }

private:
    std::u16string mText;
    bool mTranslated = false;
};

// Parameter replacement of the string tables: ^1 .. ^4 in `s` become the given texts.
namespace StringUtils {
void ReplaceStringParameters(PMString* s, const PMString& p1, const PMString& p2 = PMString(),
                             const PMString& p3 = PMString(), const PMString& p4 = PMString());
}
