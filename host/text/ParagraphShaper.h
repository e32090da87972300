// ParagraphShaper: reads a paragraph of a story and shapes it once for all its lines.
//
// Loading reads the paragraph's settings from its format, its text and its character runs.
// Shaping finds the line-break opportunities (libunibreak) and cuts the text into words between
// them, each word into fragments of one character run and one face, each fragment shaped once
// through the font cache:
//   - text is set in its run's face, or, for characters that face lacks, in a face that has
//     them; superscripts and subscripts smaller, raised and lowered;
//   - tabs, controls and anchor characters are fragments of their own (an inline anchored item
//     as wide as the item);
//   - text variables and page number characters show their values, resolved for the frame the
//     paragraph is set in; a value that depends on the page is resolved again in another frame;
//   - a numbered or bulleted paragraph's number is shaped in front of its first line, in its
//     character style or in the formatting of the paragraph's first character.
#pragma once

#include <ctime>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "DataBase.h"
#include "PageNumbering.h"
#include "ParagraphNumbers.h"
#include "ShapedParagraph.h"
#include "StyleUtils.h"
#include "TextModel.h"
#include "VariableText.h"

class ParagraphShaper {
public:
    ParagraphShaper(const DataBase& db, const TextModel& model, FontCache& fonts);

    // Reads the paragraph that holds `index`, cut to `thread`: its settings, text and character
    // runs. False, changing nothing, when it has no character in the thread or no format.
    bool Load(int32 index, const TextRange& thread);
    // Cuts the paragraph loaded into shaped words and shapes its number, its values shown as
    // they are in `frame`.
    void Shape(UID frame);
    // Whether the paragraph shows a value that depends on the page, resolved for another frame
    // than `frame` (it is shaped again before a line of it is set there).
    bool ShowsOtherPage(UID frame) const { return mPageDependent && mValueFrame != frame; }
    // The paragraph as loaded and shaped.
    ShapedParagraph& Shaped() { return mShaped; }
    const ShapedParagraph& Shaped() const { return mShaped; }

    // The value of a paragraph attribute: the paragraph's override, else its style's.
    template <class T>
    static T ParagraphValue(const DataBase& db, const TextFormat& paragraph, TextAttribute kind, T fallback)
    {
        if (const T* value = paragraph.overrides.Get<T>(kind)) return *value;
        if (const AttributeValue* value = StyleUtils::GetInheritedAttribute(db, paragraph.style, kind))
            if (const T* typed = std::get_if<T>(value)) return *typed;
        return fallback;
    }

private:
    // The face and size a character run is set in.
    struct RunFont {
        const FontFaceEntry* face;
        PMReal size;
        PMReal rise = 0;
        PMReal nominalSize = 0;
    };
    // A character of the paragraph that shows a value (a text variable, a page number), and
    // what it shows; a `pageDependent` one is resolved again in another frame.
    struct Value {
        int32 index = 0;
        bool pageNumber = false;
        bool pageDependent = false;
        std::u16string text;
    };

    // The face and size of characters formatted `run` in the paragraph.
    RunFont FontOf(const TextFormat& run) const;
    // The face and size of the character at `index`; indexes are asked for in increasing order
    // from the paragraph's start (the runs are walked once). Good until the next call.
    const RunFont& FontAt(int32 index);
    // The end of the run FontAt last answered for.
    int32 RunEnd() const;
    // The values the paragraph's text variables and page number characters show in `frame`.
    void ResolveValues(UID frame);
    // The name of the page that shows `frame`: its page's number, a master page's prefix; "#"
    // when it stands on no page.
    const PMString& PageName(UID frame);
    // The pieces of the paragraph's number or bullet; none when it shows none.
    void ShapeNumber();
    // The words of the paragraph at its line-break opportunities, and their fragments.
    void CutWords();
    // Sets `fragment` (new) to the fragment that starts at `at`, up to `partEnd` at most (the end
    // of its word's body or of its hanging spaces); `value` is the first value at or after the
    // fragments cut before.
    void CutFragment(ShapedFragment& fragment, int32 at, int32 partEnd, bool trailing, size_t& value);
    // Sets `fragment` (from its start) to the text up to `limit` that one face draws: the face
    // for its first character that the run's face `runFace` or a face that has the character.
    void ShapeText(ShapedFragment& fragment, const FontFaceEntry* runFace, PMReal size, int32 limit);

    const DataBase& mDB;
    const TextModel& mModel;
    FontCache& mFonts;
    ShapedParagraph mShaped;
    std::vector<std::pair<TextRange, const TextFormat*>> mRuns;  // the paragraph's character runs
    std::vector<char> mBreaks;  // the line-break opportunity after each character
    // Where FontAt stands: its run, and the face and size of the run resolved last.
    size_t mRun = 0;
    RunFont mRunFont{nullptr, 0};
    size_t mFontRun = 0;
    std::vector<Value> mValues;
    bool mPageDependent = false;    // some value of the paragraph depends on the page
    UID mValueFrame = kInvalidUID;  // the frame the values were resolved for
    ParagraphNumbers mNumbers;
    std::tm mNow;
    std::optional<PageNumbering> mNumbering;  // made when a page-dependent value is first met
    std::unordered_map<UID, PMString> mPageNames;  // frame: page name
    std::map<std::pair<UID, UID>, std::u16string> mPageValues;  // (variable, page): value
    VariableText::RunningHeaders mHeaders;
};
