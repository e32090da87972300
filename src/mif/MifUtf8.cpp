#include "mif/MifUtf8.h"

namespace {

constexpr UTF32TextChar kReplacement = 0xFFFD;

bool IsTrailing(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed sequence at `p` and its code point; 0 when the bytes there are
// no well-formed sequence. The ranges of the second byte rule out overlong forms (after E0 and
// F0), surrogates (after ED) and code points above U+10FFFF (after F4).
int ReadSequence(const unsigned char* p, const unsigned char* end, UTF32TextChar& cp)
{
    unsigned char lead = *p;
    int trailing = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;  // C0, C1 and F5-FF start nothing; 80-BF only continue
    }
    if (end - p <= trailing) return 0;
    for (int i = 1; i <= trailing; ++i) {
        unsigned char b = p[i];
        if (b < low || b > high) return 0;
        low = 0x80;
        high = 0xBF;
        cp = (cp << 6) | (b & 0x3F);
    }
    return trailing + 1;
}

} // namespace

void MifUtf8::Decode(std::string_view bytes, PMString& out)
{
    std::u16string& text = out.GetUTF16Ref();
    text.reserve(text.size() + bytes.size());
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = p + bytes.size();
    while (p < end) {
        // Most MIF text is ASCII: take the run before the next other byte (or NUL) in one go.
        const unsigned char* ascii = p;
        while (ascii < end && *ascii < 0x80 && *ascii != 0) ++ascii;
        // Widened in place: appending an iterator range would build a temporary string first.
        if (ascii > p) {
            size_t at = text.size();
            text.resize(at + static_cast<size_t>(ascii - p));
            char16_t* out = text.data() + at;
            for (const unsigned char* q = p; q < ascii; ++q) *out++ = *q;
        }
        p = ascii;
        if (p == end) break;
        UTF32TextChar cp = 0;
        if (int length = *p ? ReadSequence(p, end, cp) : 0; length > 0) {
            out.AppendCodePoint(cp);
            p += length;
            continue;
        }
        // A bad sequence: one mark for the byte and the trailing bytes that hang on it.
        out.AppendCodePoint(kReplacement);
        ++p;
        while (p < end && IsTrailing(*p)) ++p;
    }
}
