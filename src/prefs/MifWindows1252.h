// MifWindows1252: the system's 8-bit character set of the font table CSV files (Windows code
// page 1252, "Western"), one byte per character.
//
// Bytes 0x00-0x7F and 0xA0-0xFF are the Unicode characters of the same number; 0x80-0x9F hold
// the typographic characters of the code page (the euro sign, quotes, dashes, ...). The five
// bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control
// characters of the same number, as Windows maps them, so every byte reads as some character.
#pragma once

#include <string>
#include <string_view>

#include "PMString.h"

class MifWindows1252 {
public:
    // Appends the bytes of `text` to `bytes`; false, with `bytes` as it was, when a character of
    // `text` has no byte in the code page.
    static bool Encode(const PMString& text, std::string& bytes);
    // The characters of `bytes`, one per byte.
    static PMString Decode(std::string_view bytes);
};
