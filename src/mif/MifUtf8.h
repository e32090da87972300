// MifUtf8: the first step of every MIF string: its bytes read as UTF-8.
//
// Well-formed sequences (one to four bytes, no overlong forms, no surrogates, nothing above
// U+10FFFF) become their code points, those above U+FFFF a surrogate pair. Every other sequence
// (a byte that cannot start a character, a lead byte whose trailing bytes are missing or wrong,
// an overlong form) becomes one U+FFFD, together with any stray trailing bytes after it, and
// decoding goes on at the next byte that can start a character, so no good character is lost. A
// NUL byte also becomes U+FFFD: text never holds NUL. Pure ASCII (all that files older than
// MIF 8.0 hold) passes unchanged.
#pragma once

#include <string_view>

#include "PMString.h"

class MifUtf8 {
public:
    // Appends the decoded text of `bytes` to `out`.
    static void Decode(std::string_view bytes, PMString& out);
};
