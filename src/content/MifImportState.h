// MifImportState: what the content import carries from paragraph to paragraph: the story and
// the insertion point, the formats and fonts in force, the attribute lists being applied, and
// the paragraph sequences that are open. It is copied whole when text is imported into another
// story or thread, and copied back afterwards.
#pragma once

#include "AttributeBossList.h"
#include "UIDRef.h"

#include "content/FontRecord.h"
#include "content/MifStraddleFrames.h"
#include "content/PgfRecord.h"

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

    // Where the text being imported goes: the body of the flow, or the open straddle, head or
    // wide table of its paragraphs (one at a time), or the cells of a table (while
    // ImportTextIntoFrame runs) or a footnote.
    enum class Place { kBody, kStraddle, kSidehead, kRunIn, kWideTable, kTableCell, kFootnote };
    Place place = Place::kBody;
    // For a table's cells and a footnote, the place of the text that anchors them: a cell or
    // footnote in a head is still part of the head (its paragraphs join without returns, a
    // run-in head's punctuation ends them), and leaves the head's pending start alone.
    Place enclosingPlace = Place::kBody;
    // Whether the text is in `p`, itself or through the text that anchors it.
    bool In(Place p) const { return place == p || enclosingPlace == p; }
    // Whether the text is a table's cells or a footnote rather than the flow's own.
    bool InNestedText() const { return In(Place::kTableCell) || In(Place::kFootnote); }
    // Enters the cells of a table or a footnote (`nested`) anchored in the current text.
    void EnterNestedText(Place nested)
    {
        enclosingPlace = place;
        place = nested;
    }
    PMString runInText;           // the text of the open run-in head

    // The open run-in or side head: the body story and index in force when its frame was made
    // (restored when it ends), and the frame.
    UIDRef savedStory;
    int32 savedTextIndex = 0;
    UIDRef headFrame;
    PMString runInSpace;          // white space split off the run-in punctuation, for the body
    // The open side head: its area's width, gap and their sum, its side (kMifLeft or kMifRight)
    // and placement style; the last side head's frame, which the next may have to clear.
    double sideheadWidth = 0;
    double sideheadGap = 0;
    double sideheadSum = 0;
    int32 sideheadPlacement = 0;
    int32 sideheadStyle = 0;
    UIDRef previousSideheadFrame;
    // The side head's own PgfPlacement, handed to the next body paragraph; 0 when none is pending.
    int32 pendingStartParagraph = 0;
    // The multi-column frame split by the open straddle or wide table, and the frame across it.
    MifStraddleFrames::Split straddleSplit;
    // Set when a straddle or wide table has closed with a frame below it: the next body
    // paragraph starts in that frame.
    bool pendingFrameBreak = false;
};
