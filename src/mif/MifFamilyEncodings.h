// MifFamilyEncodings: a table of font families and the character sets of their text (Windows
// character-set numbers or Mac script numbers), as presets keep it and the text converter reads it.
#pragma once

#include <utility>
#include <vector>

#include "PMString.h"

class MifFamilyEncodings {
public:
    using Table = std::vector<std::pair<PMString, int32>>;

    // The encoding of the entry for `family` in `table`: an entry of the same case first, else the
    // first that matches regardless of case. False when there is none.
    static bool Find(const Table& table, const PMString& family, int32& encoding);
};
