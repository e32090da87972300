// CrossReferenceText: the building blocks of a cross-reference format, and the text a
// cross-reference shows.
//
// A format's definition is literal text mixed with elements: "<pagenum />", "<chapnum />",
// "<filename />" (`fullpath="yes"` for the whole path), "<paratext />", "<paranum />"
// (`numberonly="true"` for the number alone), the paragraph elements taking
// `precedingpstyle="Heading"` to look for the nearest paragraph of that style at or before the
// destination; <span cstyle="Emphasis"> ... </span> for character styling; "^s" for a
// non-breaking space.
//
// A cross-reference's text lies in its story between its two anchors (CrossReference.h) and is
// worked out from its format and its destination: by the plug-in that inserts it, and again by
// UpdateAll once the document is composed (page numbers are only known then).
#pragma once

#include <vector>

#include "CrossReference.h"
#include "DataBase.h"
#include "PMString.h"

struct CrossReferenceBlock {
    enum class Kind {
        kText,            // literal text (`text`)
        kPageNumber,
        kChapterNumber,
        kFileName,        // `fullPath`
        kParagraphText,   // `paragraphStyle`
        kParagraphNumber, // `paragraphStyle`, `numberOnly`
        kStyleStart,      // character style `text` from here; empty: none
        kStyleEnd,
    };
    Kind kind = Kind::kText;
    PMString text;
    PMString paragraphStyle;
    bool fullPath = false;
    bool numberOnly = false;
};

namespace CrossReferenceText {
// The blocks of `definition`, in order. False, with `problem` saying what ("an element is not
// closed", "unknown element <foo>"), when part of it could not be read: that part is kept as
// literal text, so nothing of the definition is lost.
bool Parse(const PMString& definition, std::vector<CrossReferenceBlock>& blocks, PMString* problem = nullptr);
// Where the anchor that owns `item` lies in `story`; -1 when it is not there.
int32 FindAnchor(const DataBase& db, UID story, UID item);
// The text `source` shows now: from its format and its destination. Blocks that need a
// destination show nothing while it is unknown; a page number not yet composed shows "?".
PMString GetText(const DataBase& db, const CrossReferenceSource& source);
// Gives every cross-reference of the document the text it shows now (GetText); the number whose
// text changed.
int32 UpdateAll(DataBase& db);
}
