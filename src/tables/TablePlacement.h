// TablePlacement: how one table anchored in a paragraph is placed after its anchoring line: the
// anchor, the paragraph made for the table, the table format's indents and alignment, the
// spacing FrameMaker puts around it, and the spacing the table importer gave it.
#pragma once

#include "PMTypes.h"

class MifObject;

struct TablePlacement {
    const MifObject* tbl = nullptr;
    int32 anchor = 0;              // the text index the table follows (the end of its line)
    int32 tableParagraph = 0;      // the start of the table's own paragraph
    bool split = false;            // the text after the anchoring line went into a paragraph of its own
    bool wide = false;             // across the columns of a frame of two or more (MifStraddleFrames)

    // The table format's placement values.
    double leftIndent = 0;
    double rightIndent = 0;
    int32 alignment = 0;           // kMifLeft when the format has none
    bool keepWithAnchor = false;   // a TblPlacement other than Float

    // The spacing FrameMaker puts around the table, from the anchoring paragraph.
    double anchoringSpace = 0;     // the paragraph's space after, when the table ends it
    double precedingSpace = 0;     // the anchoring space, none for a wide table
    double extraSpaceBefore = 0;   // for the paragraph's first table
    double extraSpaceAfter = 0;    // for its last
    double titleGapExtra = 0;

    // What the table importer gave the table.
    double spaceBefore = 0;
    double spaceAfter = 0;
};
