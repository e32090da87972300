// InstalledFonts: the font families that the system serves (through fontconfig), each with the
// Windows character-set number of its fonts, which is how documents written on Windows tell
// which 8-bit character set a font's text is in.
#pragma once

#include <functional>
#include <vector>

#include "PMString.h"

struct InstalledFontFamily {
    PMString name;
    // 0 ANSI (Latin), 2 symbol, 161 Greek, 177 Hebrew, 178 Arabic, 204 Cyrillic, 222 Thai.
    int32 charSet = 0;
};

namespace InstalledFonts {
// Every family the system serves, once under each name fontconfig knows it by, in name order.
// A symbol-encoded font (one with a character map of its own, the symbol map of a TrueType font
// or the built-in encoding of a PostScript font, whose letter A is no Latin A) counts as 2. When fontconfig substitutes a symbol-encoded font for the
// family "Symbol", that name is listed with 2 as well. The fonts are looked at once per run;
// the list is empty when fontconfig has none.
const std::vector<InstalledFontFamily>& GetFamilies();
// The character set of a font that `covers` the given characters: 2 when `symbolEncoded`, 0
// when it covers the Latin letters, else the set of the first of Cyrillic, Greek, Hebrew, Arabic
// and Thai that it covers, and 0 when none.
int32 GetCharSet(bool symbolEncoded, const std::function<bool(UTF32TextChar)>& covers);
}
