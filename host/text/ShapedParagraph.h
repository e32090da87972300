// ShapedParagraph: one paragraph as the composer sets it, shaped once and read by every line.
//
// ParagraphShaper fills it: the paragraph's settings, its text (the characters that show a value
// masked as letters), its words (the characters between two line-break opportunities), each cut
// into fragments of one face and size, and the pieces of the number or bullet in front of its
// first line. LineBuilder builds lines as views into it; what it writes back is only what
// depends on where a line stands (the width of a tab and the stop it goes to, the width of a
// tab after the number).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "AttributeBossList.h"
#include "FontCache.h"
#include "TextFormat.h"

// The settings of a paragraph that its lines are set by, read from its format once.
struct ParagraphSettings {
    int32 start = 0;
    int32 length = 0;
    const TextFormat* format = nullptr;
    PMReal leftIndent = 0, rightIndent = 0, firstLineIndent = 0;
    PMReal spaceBefore = 0, spaceAfter = 0;
    PMReal leading = -1;  // -1: auto
    int32 justification = 0;
    int32 startParagraph = 0;  // 0 anywhere, 1 next column, 2 next page, 4 and 5 next odd or even page
    bool hyphenate = false;
    std::vector<TabStop> tabs;
};

// A piece of a word in one face and size: shaped text, a tab, a control character that
// takes no room (a return, a forced line break, a marker), or the value a text variable or page
// number character shows (one character, its value shaped as one unbreakable piece).
struct ShapedFragment {
    enum Kind { kText, kTab, kControl, kValue } kind = kText;
    int32 start = 0;
    int32 length = 0;
    const FontFaceEntry* face = nullptr;
    PMReal size = 0;
    const ShapedText* shaped = nullptr;  // text and values
    PMReal width = 0;  // tabs: set while the line is set
    bool trailing = false;  // spaces and controls at the word's end, which may hang over the column
    PMReal rise = 0;        // superscripts above the baseline, subscripts (negative) below
    PMReal nominalSize = 0; // the point size before a superscript or subscript made it smaller
    const TabStop* stop = nullptr;  // tabs: the stop it goes to (null: a default stop), set with `width`
    uint32 formatRun = 0;   // which of the paragraph's character runs it belongs to
};

// The characters between two line-break opportunities, and their fragments.
struct ShapedWord {
    int32 start = 0;
    int32 end = 0;
    int32 firstFragment = 0;
    int32 endFragment = 0;
    bool mustBreakAfter = false;
};

// A piece of the number or bullet in front of a paragraph's first line: text, or a tab.
struct NumberPiece {
    const FontFaceEntry* face = nullptr;
    PMReal size = 0;
    const ShapedText* shaped = nullptr;  // null: a tab
    PMReal width = 0;  // tabs: set with the first line
};

struct ShapedParagraph {
    ParagraphSettings settings;
    std::u16string text;  // the paragraph's characters, from settings.start
    std::vector<ShapedWord> words;
    std::vector<ShapedFragment> fragments;
    std::vector<NumberPiece> number;  // empty: the paragraph shows no number

    // The character at story index `index`.
    UTF16TextChar CharAt(int32 index) const { return text[static_cast<size_t>(index - settings.start)]; }
    // The word holding story index `index` (the first word for an index before it).
    size_t WordAt(int32 index) const
    {
        auto it = std::upper_bound(words.begin(), words.end(), index, [](int32 i, const ShapedWord& w) { return i < w.start; });
        return static_cast<size_t>(std::max<std::ptrdiff_t>(0, (it - words.begin()) - 1));
    }
};
