// MifUtf8: the first step of every MIF string: its bytes read as UTF-8.
//
// Lead bytes announce 1 to 6 bytes; a sequence that runs past the end stops the decoding there;
// code points in the surrogate range or above U+10FFFF become U+FFFD, those above U+FFFF a
// surrogate pair. Pure ASCII (all that files older than MIF 8.0 hold) passes unchanged.
#pragma once

#include <string_view>

#include "PMString.h"

class MifUtf8 {
public:
    // Appends the decoded text of `bytes` to `out`.
    static void Decode(std::string_view bytes, PMString& out);
};
