#include "MifUtf8.h"

namespace {
// Trailing bytes announced by each lead byte, and what the sum of the bytes carries beyond the
// code point (the marker bits of the lead and trailing bytes).
const uint8 kTrailing[256] = {
#define R16(v) v, v, v, v, v, v, v, v, v, v, v, v, v, v, v, v
    R16(0), R16(0), R16(0), R16(0), R16(0), R16(0), R16(0), R16(0),
    R16(0), R16(0), R16(0), R16(0),
    R16(1), R16(1),
    R16(2),
    3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5,
#undef R16
};
const uint32 kOffsets[6] = {0x00000000u, 0x00003080u, 0x000E2080u, 0x03C82080u, 0xFA082080u, 0x82082080u};
} // namespace

void MifUtf8::Decode(std::string_view bytes, PMString& out)
{
    std::u16string& text = out.GetUTF16Ref();
    text.reserve(text.size() + bytes.size());
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = p + bytes.size();
    // Most MIF text is ASCII: take the run before the first other byte in one go.
    const unsigned char* ascii = p;
    while (ascii < end && *ascii < 0x80) ++ascii;
    text.append(p, ascii);
    p = ascii;
    while (p < end) {
        unsigned char lead = *p;
        if (lead < 0x80) {
            text.push_back(lead);
            ++p;
            continue;
        }
        int trailing = kTrailing[lead];
        if (p + trailing >= end) break;  // the sequence runs past the end of the string
        uint32 cp = 0;
        for (int i = 0; i <= trailing; ++i) {
            cp += *p++;
            if (i < trailing) cp <<= 6;
        }
        cp -= kOffsets[trailing];
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
        out.AppendCodePoint(cp);
    }
}
