// MifImportState: what the content import carries from paragraph to paragraph: the story and
// the insertion point, the formats and fonts in force, the attribute lists being applied, and
// the paragraph sequences that are open. It is copied whole when text is imported into another
// story or thread, and copied back afterwards.
#pragma once

#include "AttributeBossList.h"
#include "FontRecord.h"
#include "PgfRecord.h"
#include "UIDRef.h"

struct MifImportState {
    UIDRef story;                 // the text model being filled
    int32 textIndex = 0;          // the insertion point in it
    bool firstParagraph = true;   // until the story's first paragraph has been started
    int32 textRectID = 0;         // the text column the current paragraph is in
    int32 paragraphStart = 0;     // the text index where the current paragraph's text begins

    PgfRecord previousFormat;
    PgfRecord currentFormat;      // the current paragraph's format, catalog and own Pgf
    PgfRecord nextFormat;         // the next paragraph's, looked ahead
    FontRecord previousFont;
    FontRecord paragraphFont;     // the PgfFont of the current paragraph
    FontRecord textFont;          // the character format in force at the insertion point

    UID paragraphStyle = kInvalidUID;
    AttributeBossList paragraphOverrides;
    AttributeBossList paragraphCharacterAttributes;  // from the PgfFont
    AttributeBossList characterOverrides;            // from the Font statements in the text

    bool skipText = false;        // between a live cross-reference and its XRefEnd
    bool inStraddle = false;
    bool inSidehead = false;
    bool inRunIn = false;
    bool inWideTable = false;
    bool inTableImport = false;   // while ImportTextIntoFrame runs
    bool inFootnote = false;      // while a footnote's paragraphs are imported
    PMString runInText;           // the text of the open run-in head
};
