// PgfRecord: the paragraph values the text import carries from paragraph to paragraph (the
// previous, current and next paragraph's format), filled from Pgf statements.
#pragma once

#include "PMString.h"

#include "mif/MifKeywords.h"

class MifObject;

struct PgfRecord {
    static constexpr double kUnset = -100;  // an indent or leading that is not set
    double firstIndent = kUnset;            // PgfFIndent
    double leftIndent = kUnset;             // PgfLIndent
    bool autoNum = false;                   // PgfAutoNum
    PMString numFormat;                     // PgfNumFormat
    bool numAtEnd = false;                  // PgfNumAtEnd
    PMString numberFont;                    // PgfNumberFont
    int32 placement = kMifAnywhere;         // PgfPlacement
    int32 placementStyle = kMifNormal;      // PgfPlacementStyle
    double leading = kUnset;                // PgfLeading
    PMString topSeparator;                  // PgfTopSeparator
    PMString bottomSeparator;               // PgfBotSeparator
    double spaceBefore = 0;                 // PgfSpBefore
    double spaceAfter = 0;                  // PgfSpAfter
    PMString runInDefaultPunct;             // PgfRunInDefaultPunct
    bool withPrevious = false;              // PgfWithPrev
    bool withNext = false;                  // PgfWithNext

    // Overwrites the fields whose statements `pgf` holds; the others stay.
    void Read(const MifObject& pgf);
    void Reset() { *this = PgfRecord(); }
};
