// ParagraphNumbers: the bullet or number each paragraph of a story shows in front of its text.
//
// A paragraph whose list type is bullets shows a bullet and a tab; one whose list type is
// numbers counts in its list (the document's default list when it names none) at its level:
//   - a paragraph that does not continue numbering starts again at its start-at value
//     (1 when none is given), one that continues counts on from the last number of its level in
//     the list, or starts at its start-at value when the level has not counted yet;
//   - a number at one level starts the levels below it again;
//   - paragraphs of other kinds leave the counters as they are.
// Its text is the numbering expression with ^1 .. ^9 the numbers of those levels (each in the
// format last used at its level; the paragraph's own level in its own format), ^# the number of
// its own level, ^H the chapter number, ^t a tab, ^B and ^8 a bullet, ^^ a caret, ^s a
// non-breaking space, ^m and ^> an em and en space; other ^ codes show nothing. A numbered
// paragraph with no expression shows "^#.^t".
//
// Counting goes through the paragraphs of one thread of the story in order, each once: asking
// for the paragraphs of a thread front to back costs one walk of the thread up to the last one
// asked for. Asking for one before the last starts the walk again from its thread's start.
#pragma once

#include <array>
#include <map>
#include <string>

#include "PMString.h"
#include "UIDRef.h"

class DataBase;
class TextModel;
struct TextFormat;

class ParagraphNumbers {
public:
    struct Number {
        std::u16string text;        // as set in front of the paragraph, tabs included
        std::u16string numberOnly;  // the numbers and what stands between them ("1.2"); empty for bullets
        UID characterStyle = kInvalidUID;  // the style the number is set in; none: the paragraph's
        bool bullet = false;
    };

    ParagraphNumbers(const DataBase& db, const TextModel& model);

    // Whether the paragraph formatted `paragraph` shows a bullet or a number.
    static bool IsListed(const DataBase& db, const TextFormat& paragraph);
    // The number of the paragraph that holds `index`; null when it shows none. The answer stays
    // good until the next call.
    const Number* Get(int32 index);
    // The text of the paragraph's number without its tabs and the spaces around them ("Step 2"
    // for "Step ^#^t"), as a cross-reference shows it; empty when it has none.
    static std::u16string TextWithoutTabs(const Number& number);
    // The document's chapter number: the contents of its text variable "<$chapnum>" when it has
    // one, else "1", the number of a chapter of its own.
    static PMString ChapterNumber(const DataBase& db);

private:
    struct Level {
        int32 count = 0;
        bool started = false;
        int32 format = 1;  // NumberingFormat
    };
    using Counters = std::array<Level, 10>;  // levels 1..9 at their own index

    // Counts the paragraph formatted `format`, starting at `start`; its number into `out`.
    void Count(int32 start, const TextFormat& format, Number& out);
    std::u16string Expand(const std::u16string& expression, const Counters& counters, int32 level,
                          std::u16string* numberOnly = nullptr);

    const DataBase& mDB;
    const TextModel& mModel;
    int32 mThreadStart = -1;  // the thread walked; -1: none yet
    int32 mNext = 0;          // the first paragraph not counted yet
    std::map<UID, Counters> mLists;
    int32 mLastStart = -1;    // the paragraph whose number `mLast` is
    bool mLastListed = false;
    Number mLast;
    PMString mChapter;
    bool mChapterRead = false;
};
