#include "prefs/MifWindows1252.h"

namespace {

// The characters of bytes 0x80-0x9F; an unassigned byte keeps its own number.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of `c`; -1 when the code page has none.
int ByteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == c) return 0x80 + i;
    return -1;
}

} // namespace

bool MifWindows1252::Encode(const PMString& text, std::string& bytes)
{
    const size_t start = bytes.size();
    for (char16_t c : text.GetUTF16()) {
        int byte = ByteOf(c);
        if (byte < 0) {
            bytes.resize(start);
            return false;
        }
        bytes.push_back(static_cast<char>(byte));
    }
    return true;
}

PMString MifWindows1252::Decode(std::string_view bytes)
{
    std::u16string units;
    units.reserve(bytes.size());
    for (char b : bytes) {
        auto byte = static_cast<unsigned char>(b);
        units.push_back(byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t(byte));
    }
    return PMString(std::move(units));
}
