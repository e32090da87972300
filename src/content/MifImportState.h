// MifImportState: what the content import carries from paragraph to paragraph: the fonts in
// force and the values of the paragraph's catalog format that overrides fall back on.
#pragma once

#include "FontRecord.h"

// Paragraph values carried by the text import; -100 marks an indent that is not set.
struct PgfRecord {
    static constexpr double kUnset = -100;
    double firstIndent = kUnset;  // PgfFIndent
    double leftIndent = kUnset;   // PgfLIndent
    double leading = kUnset;      // PgfLeading

    void Reset() { *this = PgfRecord(); }
};

struct MifImportState {
    FontRecord textFont;       // the character format in force at the insertion point
    FontRecord paragraphFont;  // the PgfFont of the current paragraph
    PgfRecord currentFormat;   // the catalog format of the current paragraph
};
