#include "StoryComposer.h"

#include <linebreak.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>

#include "AnchorLayout.h"
#include "ColumnSource.h"
#include "DataBase.h"
#include "Hyphenator.h"
#include "PageNumbering.h"
#include "ParagraphNumbers.h"
#include "Spread.h"
#include "Story.h"
#include "StyleUtils.h"
#include "Table.h"
#include "TableComposer.h"
#include "TextFrame.h"
#include "TextWrap.h"
#include "VariableText.h"

namespace {

constexpr PMReal kEpsilon = 1e-6;
constexpr PMReal kDefaultPointSize = 12;
constexpr PMReal kAutoLeadingFactor = 1.2;
constexpr PMReal kDefaultTabInterval = 36;  // half an inch
// Superscripts and subscripts as a new InDesign document sets them (the package leaves its text
// preferences at their defaults): 58.3 % of the point size, raised or lowered by 33.3 % of it.
constexpr PMReal kScriptSize = 0.583;
constexpr PMReal kScriptShift = 0.333;
// The most copies of a leader one tab shows.
constexpr PMReal kMaxLeaderCopies = 2000;
const char* const kDefaultFamily = "Times";
const char* const kDefaultStyle = "Regular";

// The value of a paragraph attribute: the paragraph's override, else its style's.
template <class T>
T ParagraphValue(const DataBase& db, const TextFormat& paragraph, TextAttribute kind, T fallback)
{
    if (const T* value = paragraph.overrides.Get<T>(kind)) return *value;
    if (const AttributeValue* value = StyleUtils::GetInheritedAttribute(db, paragraph.style, kind))
        if (const T* typed = std::get_if<T>(value)) return *typed;
    return fallback;
}

// The value of a character attribute: the run's override or style, else the paragraph's.
template <class T>
T CharacterValue(const DataBase& db, const TextFormat& paragraph, const TextFormat& run, TextAttribute kind, T fallback)
{
    if (const T* value = run.overrides.Get<T>(kind)) return *value;
    if (const AttributeValue* value = StyleUtils::GetInheritedAttribute(db, run.style, kind))
        if (const T* typed = std::get_if<T>(value)) return *typed;
    return ParagraphValue<T>(db, paragraph, kind, fallback);
}

struct Paragraph {
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
struct Fragment {
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
};

// The characters between two line-break opportunities.
struct Word {
    int32 start = 0;
    int32 end = 0;
    int32 firstFragment = 0;
    int32 endFragment = 0;
    bool mustBreakAfter = false;
};

bool IsControl(UTF16TextChar c) { return c < 0x20 && c != kTextChar_Tab; }
bool IsHangingSpace(UTF16TextChar c) { return c == 0x20 || c == 0x3000 || IsControl(c); }

// The width of the fragment's characters [from, to) (story indexes).
PMReal WidthOf(const Fragment& fragment, int32 from, int32 to)
{
    if (fragment.kind != Fragment::kText) return from <= fragment.start && to >= fragment.start + fragment.length ? fragment.width : 0;
    if (from <= fragment.start && to >= fragment.start + fragment.length) return fragment.width;
    from = std::max(from, fragment.start);
    to = std::min(to, fragment.start + fragment.length);
    return fragment.shaped->WidthOf(static_cast<size_t>(from - fragment.start), static_cast<size_t>(to - fragment.start)) *
           fragment.size;
}

// Composes one story's primary thread.
class Composition {
public:
    Composition(const DataBase& db, const TextModel& model, FontCache& fonts, Hyphenator& hyphenator)
        : mDB(db), mModel(model), mFonts(fonts), mHyphenator(hyphenator), mNumbers(db, model), mNow(VariableText::Now())
    {
    }
    // The frame the lines set next land in: what page numbers and page-dependent variables show.
    void SetFrame(UID frame) { mFrame = frame; }

    // Composes into `out`. With `resume` it goes on from where `out` was first damaged, keeping
    // the frames before and the lines of the damaged frame before the line the edit may change;
    // `frames` is then not read (the thread is the one `out` was composed into).
    void Run(const std::vector<UID>& frames, FrameList& out, bool resume);
    int64 LinesSet() const { return mLinesSet; }
    // The lines of the paragraph holding `index`, set alone across `col` from its top, however
    // deep it is.
    std::vector<ComposedLine> RunAlone(int32 index, const FrameColumn& col);
    // Sets a table cell's text (see TableComposer::CellSetter).
    std::vector<ComposedLine> SetCellText(const TextRange& thread, PMReal width, int32 firstLineRule, PMReal& height);

private:
    // Reads the paragraph that holds `index` into mPara, its text and character runs.
    bool LoadParagraph(int32 index);
    void CutParagraph();
    // Fits the line that starts at `pos` into `avail` points, its first character `indentX` from
    // the column's left edge (tab stops are measured from there); its end, or `pos` when not one
    // character fits. `width` is the width of what fits, hanging spaces left out.
    int32 FitLine(const Paragraph& paragraph, int32 pos, PMReal avail, PMReal indentX, PMReal& width, bool& hyphenated);
    // Where the word `w` may end the line that reaches `x` before it (the line starts at `pos`),
    // with a hyphen, the longest prefix that fits `avail`; -1 when none does. `width` is then the
    // line's width, hyphen included.
    int32 Hyphenate(const Word& word, int32 pos, PMReal x, PMReal avail, PMReal& width);
    // The width of a hyphen in the face and size of the fragment holding `index`.
    PMReal HyphenWidth(int32 index) const;
    const Fragment* FragmentAt(const Word& word, int32 index) const;
    // Sets the glyph runs of the line from `x` on; `gapExtra` widens the spaces after each word
    // but the last (justified lines).
    void FillLine(ComposedLine& line, const Paragraph& paragraph, PMReal x, PMReal gapExtra);
    // Sets the line of the current paragraph that starts at `pos` across `col` into `line`
    // (all but its baseline); its end, or `pos` when not one character fits.
    int32 BuildLine(const FrameColumn& col, int32 pos, ComposedLine& line);
    // The lines of `thread` (a footnote's text) set across `col` from its top, however deep, and
    // how deep they reach.
    std::vector<ComposedLine> SetThread(const TextRange& thread, const FrameColumn& col, PMReal& height);
    // Where the text that goes to the next column starts when the line at `pos` does not fit in
    // column `column` of `frame`: earlier than `pos` when the lines before it are kept with it
    // (a paragraph that keeps its first and last lines together and would leave fewer of them
    // on either side, a paragraph kept with the next);
    // `pos` when nothing is, or when everything in the column would have to go.
    int32 KeepBreak(const ComposedFrame& frame, const FrameColumn& col, int32 pos);
    // How many word gaps (spaces after a word, the last word's left out) the line has.
    int32 CountGaps(int32 start, int32 end) const;
    // The width of the tab `tab` (a fragment) set at `at` from the column's left edge in a line
    // that ends at `limit` (from the same edge), and the stop it goes to in `stop` (null for a
    // default stop).
    PMReal TabWidth(const Paragraph& paragraph, PMReal at, PMReal limit, size_t tab, const TabStop** stop = nullptr) const;
    // The leader of the tab `fragment`, repeated over `run` (set from `run.x` across `run.width`)
    // on a grid that starts at the column's left edge `origin`, so that the leaders of
    // successive lines line up.
    void FillLeader(GlyphRun& run, const Fragment& fragment, PMReal origin);

    // The values the text variables and page number characters of the paragraph show in mFrame.
    void ResolveValues();
    // The name of the page that shows `frame`: its page's number, a master page's prefix; "#"
    // when it stands on no page.
    const PMString& PageName(UID frame);
    // The width the paragraph's number takes in front of its first line, which starts `indentX`
    // from the column's left edge; its tabs' widths into mNumber.
    PMReal NumberWidth(const Paragraph& paragraph, PMReal indentX);
    // Sets the glyph runs of the paragraph's number from `x` on (NumberWidth first).
    void FillNumber(ComposedLine& line, const Paragraph& paragraph, PMReal x);

    // The character of the paragraph being set at story index `index`.
    UTF16TextChar CharAt(int32 index) const { return mText[static_cast<size_t>(index - mPara.start)]; }

    const DataBase& mDB;
    const TextModel& mModel;
    FontCache& mFonts;
    Hyphenator& mHyphenator;
    TextRange mPrimary;  // the story's own thread
    // The paragraph being set: its values, text and character runs, its words and fragments.
    Paragraph mPara;
    std::u16string mText;
    std::vector<std::pair<TextRange, const TextFormat*>> mRuns;
    std::vector<Word> mWords;
    std::vector<Fragment> mFragments;
    std::vector<char> mBreaks;
    // The characters of the paragraph that show a value (text variables, page numbers), in
    // order, and what they show; `pageDependent` ones are resolved again in another frame.
    struct Value {
        int32 index = 0;
        bool pageNumber = false;
        bool pageDependent = false;
        std::u16string text;
    };
    std::vector<Value> mValues;
    bool mPageDependent = false;   // some value of the paragraph depends on the page
    UID mFrame = kInvalidUID;      // the frame being set
    UID mValueFrame = kInvalidUID; // the frame the values were resolved for
    // The number or bullet in front of the paragraph's first line: text pieces and tabs.
    struct NumberPiece {
        const FontFaceEntry* face = nullptr;
        PMReal size = 0;
        const ShapedText* shaped = nullptr;  // null: a tab
        PMReal width = 0;
    };
    std::vector<NumberPiece> mNumber;
    ParagraphNumbers mNumbers;
    std::tm mNow;
    std::optional<PageNumbering> mNumbering;  // made when a page-dependent value is first met
    std::unordered_map<UID, PMString> mPageNames;  // frame: page name
    std::map<std::pair<UID, UID>, std::u16string> mPageValues;  // (variable, page): value
    VariableText::RunningHeaders mHeaders;
    int64 mLinesSet = 0;
    // The threads of the story's table cells, read once when the first table is set.
    std::unordered_map<UID, TextRange> mCellThreads;
    bool mThreadsRead = false;
};

bool Composition::LoadParagraph(int32 index)
{
    TextRange range = mModel.GetParagraphRange(index);
    const TextFormat* format = mModel.GetParagraphFormat(index);
    Paragraph paragraph;
    paragraph.start = std::max(range.start, mPrimary.start);
    paragraph.length = std::min(range.End(), mPrimary.End()) - paragraph.start;
    if (paragraph.length <= 0 || !format) return false;
    paragraph.format = format;
    paragraph.leftIndent = ParagraphValue<PMReal>(mDB, *format, TextAttribute::kLeftIndent, 0);
    paragraph.rightIndent = ParagraphValue<PMReal>(mDB, *format, TextAttribute::kRightIndent, 0);
    paragraph.firstLineIndent = ParagraphValue<PMReal>(mDB, *format, TextAttribute::kFirstLineIndent, 0);
    paragraph.spaceBefore = std::max<PMReal>(0, ParagraphValue<PMReal>(mDB, *format, TextAttribute::kSpaceBefore, 0));
    paragraph.spaceAfter = std::max<PMReal>(0, ParagraphValue<PMReal>(mDB, *format, TextAttribute::kSpaceAfter, 0));
    paragraph.leading = ParagraphValue<PMReal>(mDB, *format, TextAttribute::kLeading, -1);
    paragraph.justification = ParagraphValue<int32>(mDB, *format, TextAttribute::kJustification, 0);
    paragraph.startParagraph = ParagraphValue<int32>(mDB, *format, TextAttribute::kStartParagraph, 0);
    paragraph.hyphenate = ParagraphValue<int32>(mDB, *format, TextAttribute::kHyphenation, 0) != 0;
    if (const AttributeValue* value = format->overrides.QueryAttribute(TextAttribute::kTabStops)
                                          ? format->overrides.QueryAttribute(TextAttribute::kTabStops)
                                          : StyleUtils::GetInheritedAttribute(mDB, format->style, TextAttribute::kTabStops))
        if (const auto* table = std::get_if<TabStopTable>(value)) paragraph.tabs = table->GetStops();
    mPara = std::move(paragraph);
    mText = mModel.GetText(mPara.start, mPara.length);
    // Characters that show a value take the place of one letter for line breaking: the line may
    // break around them as around a word, never inside.
    mValues.clear();
    for (size_t i = 0; i < mText.size(); ++i)
        if (mText[i] == kTextChar_TextVariable || mText[i] == kTextChar_PageNumber) {
            mValues.push_back(Value{mPara.start + static_cast<int32>(i), mText[i] == kTextChar_PageNumber, false, {}});
            mText[i] = u'#';
        }
    VariableText::MaskAnchors(mText);
    mRuns.clear();
    mModel.ForEachCharacterRun(mPara.start, mPara.start + mPara.length, [&](int32 start, int32 length, const TextFormat& run) {
        mRuns.push_back({TextRange{start, length}, &run});
    });
    return true;
}

void Composition::CutParagraph()
{
    const Paragraph& paragraph = mPara;
    const TextFormat& paragraphFormat = *paragraph.format;
    mWords.clear();
    mFragments.clear();
    const UTF16TextChar* chars = mText.data();
    std::vector<char>& breaks = mBreaks;
    breaks.assign(static_cast<size_t>(paragraph.length), 0);
    set_linebreaks_utf16(reinterpret_cast<const utf16_t*>(chars), breaks.size(), "", breaks.data());

    // The face and size of each character run met in the paragraph, resolved once per run.
    struct RunFont {
        const FontFaceEntry* face;
        PMReal size;
        PMReal rise = 0;
        PMReal nominalSize = 0;
    };
    auto fontOfRun = [&](const TextFormat& run) {
        PMString family(kDefaultFamily);
        UID familyUID = CharacterValue<UID>(mDB, paragraphFormat, run, TextAttribute::kFontFamily, kInvalidUID);
        if (const FontFamily* f = mDB.Get<FontFamily>(familyUID); f && !f->name.IsEmpty()) family = f->name;
        PMString style = CharacterValue<PMString>(mDB, paragraphFormat, run, TextAttribute::kFontStyle, PMString(kDefaultStyle));
        PMReal size = CharacterValue<PMReal>(mDB, paragraphFormat, run, TextAttribute::kPointSize, kDefaultPointSize);
        if (!(size > 0) || !std::isfinite(size)) size = kDefaultPointSize;
        const int32 position = CharacterValue<int32>(mDB, paragraphFormat, run, TextAttribute::kPosition, 0);
        if (position == 1 || position == 2)
            return RunFont{mFonts.GetFace(family, style), size * kScriptSize, (position == 1 ? 1 : -1) * size * kScriptShift, size};
        return RunFont{mFonts.GetFace(family, style), size, 0, size};
    };

    size_t run = 0;
    RunFont font{nullptr, kDefaultPointSize};
    size_t fontRun = static_cast<size_t>(-1);
    auto fontAt = [&](int32 index) {
        while (run + 1 < mRuns.size() && mRuns[run].first.End() <= index) ++run;
        if (run != fontRun) {
            font = run < mRuns.size() ? fontOfRun(*mRuns[run].second) : fontOfRun(TextFormat{});
            fontRun = run;
        }
        return font;
    };
    auto runEnd = [&]() { return run < mRuns.size() ? mRuns[run].first.End() : paragraph.start + paragraph.length; };

    ResolveValues();
    // The paragraph's number or bullet, in its character style or the paragraph's formatting.
    mNumber.clear();
    if (paragraph.start == mModel.GetParagraphRange(paragraph.start).start && ParagraphNumbers::IsListed(mDB, paragraphFormat))
        if (const ParagraphNumbers::Number* number = mNumbers.Get(paragraph.start)) {
            // Like the paragraph's first character, or in the number's own character style.
            TextFormat numberFormat = mRuns.empty() ? TextFormat{} : *mRuns.front().second;
            if (number->characterStyle != kInvalidUID) numberFormat.style = number->characterStyle;
            const RunFont numberFont = fontOfRun(numberFormat);
            std::u16string text;
            auto flush = [&]() {
                if (text.empty()) return;
                const ShapedText& shaped = mFonts.Shape(numberFont.face, text);
                mNumber.push_back(NumberPiece{numberFont.face, numberFont.size, &shaped, shaped.width * numberFont.size});
                text.clear();
            };
            for (char16_t c : number->text) {
                if (c == u'\t') {
                    flush();
                    mNumber.push_back(NumberPiece{numberFont.face, numberFont.size, nullptr, 0});
                } else {
                    text.push_back(c < 0x20 ? u' ' : c);
                }
            }
            flush();
        }

    size_t value = 0;  // the first value at or after the piece being cut
    int32 wordStart = 0;
    std::u16string piece;
    for (int32 i = 0; i < paragraph.length; ++i) {
        bool last = i + 1 == paragraph.length;
        char opportunity = breaks[static_cast<size_t>(i)];
        if (!last && opportunity != LINEBREAK_MUSTBREAK && opportunity != LINEBREAK_ALLOWBREAK) continue;
        // The word [wordStart, i]: its body, then its hanging spaces.
        Word word;
        word.start = paragraph.start + wordStart;
        word.end = paragraph.start + i + 1;
        word.mustBreakAfter = opportunity == LINEBREAK_MUSTBREAK || last;
        word.firstFragment = static_cast<int32>(mFragments.size());
        int32 bodyEnd = word.end;
        while (bodyEnd > word.start && IsHangingSpace(chars[bodyEnd - 1 - paragraph.start])) --bodyEnd;
        int32 at = word.start;
        while (at < word.end) {
            RunFont f = fontAt(at);
            UTF16TextChar c = chars[at - paragraph.start];
            Fragment fragment;
            fragment.start = at;
            fragment.face = f.face;
            fragment.size = f.size;
            fragment.rise = f.rise;
            fragment.nominalSize = f.nominalSize;
            fragment.trailing = at >= bodyEnd;
            int32 limit = std::min(runEnd(), at >= bodyEnd ? word.end : bodyEnd);
            while (value < mValues.size() && mValues[value].index < at) ++value;
            if (value < mValues.size() && mValues[value].index == at) {
                // A text variable or page number: its value, in the formatting of its character.
                fragment.kind = Fragment::kValue;
                fragment.length = 1;
                fragment.shaped = &mFonts.Shape(f.face, mValues[value].text);
                fragment.width = fragment.shaped->width * f.size;
            } else if (IsControl(c) || c == kTextChar_Tab || c == kTextChar_ObjectReplacement) {
                fragment.kind = c == kTextChar_Tab ? Fragment::kTab : Fragment::kControl;
                fragment.length = 1;
                // An anchored item is a character as wide as the item when inline, else of none.
                if (c == kTextChar_ObjectReplacement) fragment.width = AnchorLayout::AdvanceOf(mDB, mModel, at);
            } else {
                if (value < mValues.size()) limit = std::min(limit, mValues[value].index);
                // The piece ends where a character needs another face than the one before it:
                // characters the run's face lacks are drawn with a face that has them. Spaces
                // and invisible characters stay with the face they follow when it has them.
                auto codeAt = [&](int32 index, int32& units) -> char32_t {
                    const UTF16TextChar* p = chars + (index - paragraph.start);
                    units = 1;
                    if (p[0] >= 0xD800 && p[0] < 0xDC00 && index + 1 < limit && p[1] >= 0xDC00 && p[1] < 0xE000) {
                        units = 2;
                        return 0x10000 + ((static_cast<char32_t>(p[0]) - 0xD800) << 10) + (static_cast<char32_t>(p[1]) - 0xDC00);
                    }
                    return static_cast<char32_t>(p[0]);
                };
                int32 units = 1;
                const FontFaceEntry* face = mFonts.FaceFor(f.face, codeAt(at, units));
                int32 end = at + units;
                while (end < limit && !IsControl(chars[end - paragraph.start]) && chars[end - paragraph.start] != kTextChar_Tab &&
                       chars[end - paragraph.start] != kTextChar_ObjectReplacement) {
                    const char32_t code = codeAt(end, units);
                    const bool keeps = FontCache::IsInvisible(code) || ((code == 0x20 || code == 0x3000) && mFonts.HasGlyph(face, code));
                    if (!keeps && mFonts.FaceFor(f.face, code) != face) break;
                    end += units;
                }
                fragment.face = face;
                fragment.length = end - at;
                piece.assign(chars + (at - paragraph.start), static_cast<size_t>(fragment.length));
                fragment.shaped = &mFonts.Shape(face, piece);
                fragment.width = fragment.shaped->width * f.size;
            }
            at += fragment.length;
            mFragments.push_back(fragment);
        }
        word.endFragment = static_cast<int32>(mFragments.size());
        mWords.push_back(word);
        wordStart = i + 1;
    }
}

PMReal Composition::TabWidth(const Paragraph& paragraph, PMReal at, PMReal limit, size_t tab, const TabStop** stopOut) const
{
    const TabStop* stop = nullptr;
    for (const TabStop& candidate : paragraph.tabs)
        if (candidate.position > at + kEpsilon) {
            stop = &candidate;
            break;
        }
    if (stopOut) *stopOut = stop;
    if (!stop) return (std::floor(at / kDefaultTabInterval + kEpsilon) + 1) * kDefaultTabInterval - at;
    if (stop->alignment == TabStop::kLeft) return stop->position - at;
    // A centre, right or character stop past the line's end aligns its text against the line's
    // end, where it can stand, instead of pushing it onto a line of its own (the contents
    // paragraphs of files with side heads put the page numbers' stop at the text frame's right
    // edge, measured from the side head area's left edge: a whole inset past the column's end).
    const PMReal position = stop->position > limit + kEpsilon && limit > at + kEpsilon ? limit : stop->position;
    // The text after a centre, right or character tab, up to the next tab or forced break, is
    // placed against the stop: measure it (its trailing spaces left out), or up to the align
    // character.
    const std::u16string& alignOn = stop->alignCharacter.GetUTF16();
    UTF16TextChar alignCharacter = alignOn.empty() ? u'.' : alignOn.front();
    PMReal width = 0, body = 0;
    for (size_t f = tab + 1; f < mFragments.size(); ++f) {
        const Fragment& fragment = mFragments[f];
        if (fragment.kind == Fragment::kValue) {
            width += fragment.width;
            body = width;
            if (body > position) break;
            continue;
        }
        if (fragment.kind != Fragment::kText) {
            UTF16TextChar c = CharAt(fragment.start);
            if (fragment.kind == Fragment::kTab) {
                body = width;  // spaces before the next tab take their room
                break;
            }
            if (c == kTextChar_CR || c == kTextChar_LF) break;
            continue;  // a marker takes no room
        }
        if (stop->alignment == TabStop::kCharacter) {
            const UTF16TextChar* chars = mText.data() + (fragment.start - mPara.start);
            const UTF16TextChar* found = std::find(chars, chars + fragment.length, alignCharacter);
            if (found != chars + fragment.length) {
                body = width + WidthOf(fragment, fragment.start, fragment.start + static_cast<int32>(found - chars));
                break;
            }
        }
        width += fragment.width;
        if (!fragment.trailing) body = width;
        if (body > position) break;  // no room before the stop anyway
    }
    PMReal before = stop->alignment == TabStop::kCenter ? body / 2 : body;
    return std::max<PMReal>(0, position - at - before);
}

const Fragment* Composition::FragmentAt(const Word& word, int32 index) const
{
    for (int32 f = word.firstFragment; f < word.endFragment; ++f) {
        const Fragment& fragment = mFragments[static_cast<size_t>(f)];
        if (index >= fragment.start && index < fragment.start + fragment.length) return &fragment;
    }
    return nullptr;
}

PMReal Composition::HyphenWidth(int32 index) const
{
    auto it = std::upper_bound(mWords.begin(), mWords.end(), index, [](int32 i, const Word& w) { return i < w.start; });
    if (it == mWords.begin()) return 0;
    const Fragment* fragment = FragmentAt(*(it - 1), index);
    if (!fragment || !fragment->face) return 0;
    return mFonts.Shape(fragment->face, u"-").width * fragment->size;
}

namespace {
bool IsLetter(UTF16TextChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}
} // namespace

int32 Composition::Hyphenate(const Word& word, int32 pos, PMReal x, PMReal avail, PMReal& width)
{
    // The letters of the word: quotes and punctuation around them stay with their letters, a word
    // with other characters inside (digits, a hyphen of its own) is not hyphenated.
    int32 first = word.start, last = word.end;
    while (last > first && !IsLetter(CharAt(last - 1))) --last;
    while (first < last && !IsLetter(CharAt(first))) ++first;
    for (int32 i = first; i < last; ++i)
        if (!IsLetter(CharAt(i))) return -1;
    if (last - first < 5) return -1;
    const std::vector<int32>& points = mHyphenator.Points(mText.substr(static_cast<size_t>(first - mPara.start), static_cast<size_t>(last - first)));
    for (auto it = points.rbegin(); it != points.rend(); ++it) {
        const int32 at = first + *it;
        if (at <= pos) break;
        PMReal prefix = 0;
        for (int32 f = word.firstFragment; f < word.endFragment; ++f) {
            const Fragment& fragment = mFragments[static_cast<size_t>(f)];
            prefix += WidthOf(fragment, std::max(pos, fragment.start), std::min(at, fragment.start + fragment.length));
        }
        PMReal total = x + prefix + HyphenWidth(at - 1);
        if (total <= avail + kEpsilon) {
            width = total;
            return at;
        }
    }
    return -1;
}

int32 Composition::FitLine(const Paragraph& paragraph, int32 pos, PMReal avail, PMReal indentX, PMReal& width, bool& hyphenated)
{
    hyphenated = false;
    // The word holding `pos`.
    auto it = std::upper_bound(mWords.begin(), mWords.end(), pos, [](int32 i, const Word& w) { return i < w.start; });
    size_t w = static_cast<size_t>(std::max<std::ptrdiff_t>(0, (it - mWords.begin()) - 1));
    PMReal x = 0;  // the pen, trailing spaces included
    width = 0;     // without the trailing spaces of the last word
    int32 end = pos;
    for (; w < mWords.size(); ++w) {
        const Word& word = mWords[w];
        PMReal pen = x, body = x;
        for (int32 f = word.firstFragment; f < word.endFragment; ++f) {
            Fragment& fragment = mFragments[static_cast<size_t>(f)];
            if (fragment.start + fragment.length <= pos) continue;
            if (fragment.kind == Fragment::kTab)
                fragment.width = TabWidth(paragraph, indentX + pen, indentX + avail, static_cast<size_t>(f), &fragment.stop);
            pen += WidthOf(fragment, std::max(pos, fragment.start), fragment.start + fragment.length);
            if (!fragment.trailing) body = pen;
        }
        if (body > avail + kEpsilon) {
            // A word that does not fit may give the line its first part, with a hyphen.
            if (paragraph.hyphenate) {
                PMReal hyphenatedWidth = 0;
                if (int32 at = Hyphenate(word, pos, x, avail, hyphenatedWidth); at > pos) {
                    width = hyphenatedWidth;
                    hyphenated = true;
                    return at;
                }
            }
            if (end > pos) return end;  // the line ends before this word
            // Not even the word fits an empty line: break it between characters.
            PMReal run = 0;
            int32 fit = pos;
            for (int32 f = word.firstFragment; f < word.endFragment; ++f) {
                Fragment& fragment = mFragments[static_cast<size_t>(f)];
                if (fragment.start + fragment.length <= pos) continue;
                if (fragment.trailing) break;
                for (int32 c = std::max(pos, fragment.start); c < fragment.start + fragment.length; ++c) {
                    PMReal next = run + WidthOf(fragment, c, c + 1);
                    if (next > avail + kEpsilon) {
                        // An anchored item or a variable's value wider than the line stands out
                        // of it rather than push the rest of the story out of the frames.
                        if (fit == pos && (CharAt(c) == kTextChar_ObjectReplacement || fragment.kind == Fragment::kValue)) {
                            width = next;
                            return c + 1;
                        }
                        width = run;
                        return fit;
                    }
                    run = next;
                    fit = c + 1;
                }
            }
            width = run;
            return fit;
        }
        x = pen;
        width = body;
        end = word.end;
        if (word.mustBreakAfter) break;
    }
    return end;
}

int32 Composition::CountGaps(int32 start, int32 end) const
{
    auto it = std::upper_bound(mWords.begin(), mWords.end(), start, [](int32 i, const Word& w) { return i < w.start; });
    size_t w = static_cast<size_t>(std::max<std::ptrdiff_t>(0, (it - mWords.begin()) - 1));
    int32 gaps = 0;
    for (; w < mWords.size() && mWords[w].end < end; ++w) {
        const Fragment& last = mFragments[static_cast<size_t>(mWords[w].endFragment - 1)];
        if (last.trailing && last.kind == Fragment::kText) ++gaps;
    }
    return gaps;
}

void Composition::FillLine(ComposedLine& line, const Paragraph& paragraph, PMReal x, PMReal gapExtra)
{
    auto it = std::upper_bound(mWords.begin(), mWords.end(), line.start, [](int32 i, const Word& w) { return i < w.start; });
    size_t w = static_cast<size_t>(std::max<std::ptrdiff_t>(0, (it - mWords.begin()) - 1));
    PMReal pen = x;
    const int32 end = line.End();
    for (; w < mWords.size() && mWords[w].start < end; ++w) {
        for (int32 f = mWords[w].firstFragment; f < mWords[w].endFragment; ++f) {
            const Fragment& fragment = mFragments[static_cast<size_t>(f)];
            int32 from = std::max(line.start, fragment.start), to = std::min(end, fragment.start + fragment.length);
            if (from >= to) continue;
            GlyphRun run;
            run.start = from;
            run.length = to - from;
            run.face = fragment.face;
            run.pointSize = fragment.size;
            run.x = pen;
            run.rise = fragment.rise;
            // A raised or lowered run reaches that much further up or down.
            run.ascent = std::max<PMReal>(0, fragment.face->ascent * fragment.size + fragment.rise);
            run.descent = std::max<PMReal>(0, fragment.face->descent * fragment.size - fragment.rise);
            // Auto leading follows the size the characters are set in, before a superscript or
            // subscript made them smaller.
            run.leading = paragraph.leading >= 0 ? paragraph.leading : fragment.nominalSize * kAutoLeadingFactor;
            if (fragment.kind == Fragment::kValue) {
                // The value's glyphs all stand for its one character.
                const ShapedText& shaped = *fragment.shaped;
                PMReal glyphPen = pen;
                for (size_t g = 0; g < shaped.glyphs.size(); ++g) {
                    run.glyphs.push_back(shaped.glyphs[g]);
                    run.positions.push_back(glyphPen + shaped.offsetsX[g] * fragment.size);
                    glyphPen += shaped.advances[g] * fragment.size;
                }
                run.width = glyphPen - pen;
            } else if (fragment.kind == Fragment::kText) {
                const ShapedText& shaped = *fragment.shaped;
                PMReal glyphPen = pen;
                // Left-to-right text has its clusters in order: start at the line's first glyph
                // rather than walk the whole piece (a long word spans many lines).
                bool ordered = !shaped.clusters.empty() && shaped.clusters.front() <= shaped.clusters.back();
                size_t first = ordered ? static_cast<size_t>(std::lower_bound(shaped.clusters.begin(), shaped.clusters.end(),
                                                                              from - fragment.start) - shaped.clusters.begin())
                                       : 0;
                for (size_t g = first; g < shaped.glyphs.size(); ++g) {
                    int32 at = fragment.start + shaped.clusters[g];
                    if (ordered && at >= to) break;
                    if (at < from || at >= to) continue;
                    run.glyphs.push_back(shaped.glyphs[g]);
                    run.positions.push_back(glyphPen + shaped.offsetsX[g] * fragment.size);
                    glyphPen += shaped.advances[g] * fragment.size;
                }
                run.width = glyphPen - pen;
            } else {
                run.width = WidthOf(fragment, from, to);
                if (fragment.kind == Fragment::kTab) FillLeader(run, fragment, line.origin);
            }
            pen += run.width;
            if (gapExtra > 0 && fragment.trailing && fragment.kind == Fragment::kText && to == mWords[w].end && to < end) {
                run.width += gapExtra;
                pen += gapExtra;
            }
            line.ascent = std::max(line.ascent, run.ascent);
            line.descent = std::max(line.descent, run.descent);
            line.leading = std::max(line.leading, run.leading);
            line.runs.push_back(std::move(run));
        }
    }
    if (line.hyphenated && !line.runs.empty() && line.runs.back().face) {
        // The hyphen the line ends with is drawn, not part of the text: a run of no characters.
        const GlyphRun& last = line.runs.back();
        const ShapedText& hyphen = mFonts.Shape(last.face, u"-");
        GlyphRun run;
        run.start = end;
        run.face = last.face;
        run.pointSize = last.pointSize;
        run.rise = last.rise;
        run.ascent = last.ascent;
        run.descent = last.descent;
        run.leading = last.leading;
        run.x = pen;
        PMReal glyphPen = pen;
        for (size_t g = 0; g < hyphen.glyphs.size(); ++g) {
            run.glyphs.push_back(hyphen.glyphs[g]);
            run.positions.push_back(glyphPen + hyphen.offsetsX[g] * last.pointSize);
            glyphPen += hyphen.advances[g] * last.pointSize;
        }
        run.width = glyphPen - pen;
        line.runs.push_back(std::move(run));
    }
}

void Composition::FillLeader(GlyphRun& run, const Fragment& fragment, PMReal origin)
{
    if (!fragment.stop || !fragment.face || run.width <= 0) return;
    const std::u16string& leader = fragment.stop->leader.GetUTF16();
    // A leader of blanks (FrameMaker's default, a space) shows nothing.
    if (std::all_of(leader.begin(), leader.end(), [](char16_t c) { return c == u' ' || FontCache::IsInvisible(c); })) return;
    const FontFaceEntry* face = mFonts.FaceFor(fragment.face, leader.front());
    const ShapedText& shaped = mFonts.Shape(face, leader);
    const PMReal step = shaped.width * fragment.size;
    // A leader too small to see (a hostile size) is not set thousands of times over.
    if (!(step > kEpsilon) || run.width / step > kMaxLeaderCopies) return;
    // Whole copies only, each on the grid, inside the tab's room.
    const PMReal end = run.x + run.width;
    for (PMReal at = origin + std::ceil((run.x - origin) / step - kEpsilon) * step; at + step <= end + kEpsilon; at += step) {
        PMReal glyphPen = at;
        for (size_t g = 0; g < shaped.glyphs.size(); ++g) {
            run.glyphs.push_back(shaped.glyphs[g]);
            run.positions.push_back(glyphPen + shaped.offsetsX[g] * fragment.size);
            glyphPen += shaped.advances[g] * fragment.size;
        }
    }
    run.face = face;
}

void Composition::ResolveValues()
{
    mValueFrame = mFrame;
    mPageDependent = false;
    for (Value& value : mValues) {
        PMString shown;
        if (value.pageNumber) {
            value.pageDependent = true;
            shown = PageName(mFrame);
        } else {
            const TextVariableInstance* instance = mDB.Get<TextVariableInstance>(mModel.GetOwnedItem(value.index));
            const TextVariable* variable = instance ? mDB.Get<TextVariable>(instance->variable) : nullptr;
            value.pageDependent = variable && VariableText::DependsOnPage(*variable);
            if (!variable) {
            } else if (!value.pageDependent) {
                shown = VariableText::GetValue(mDB, *variable, mNow);
            } else {
                if (!mNumbering) mNumbering.emplace(mDB);
                const UID page = VariableText::PageOfFrame(mDB, mFrame);
                auto [it, added] = mPageValues.try_emplace({variable->GetUID(), page});
                if (added)
                    it->second = VariableText::GetValueOnPage(mDB, *variable, mNow, VariableText::VariablePage{&*mNumbering, page, &mHeaders}).GetUTF16();
                shown = PMString(it->second);
            }
        }
        mPageDependent = mPageDependent || value.pageDependent;
        value.text = shown.GetUTF16();
        // Shown as one piece of text: controls (tabs, returns of a running header) as spaces.
        for (char16_t& c : value.text)
            if (c < 0x20) c = u' ';
    }
}

const PMString& Composition::PageName(UID frame)
{
    auto [it, added] = mPageNames.try_emplace(frame);
    if (!added) return it->second;
    const UID page = VariableText::PageOfFrame(mDB, frame);
    if (page != kInvalidUID) {
        if (!mNumbering) mNumbering.emplace(mDB);
        it->second = mNumbering->GetPageName(page);
        // A master page shows its master's prefix.
        if (it->second.IsEmpty())
            if (const Page* master = mDB.Get<Page>(page))
                if (const MasterSpread* spread = mDB.Get<MasterSpread>(master->spread)) it->second = spread->prefix;
    }
    if (it->second.IsEmpty()) it->second = PMString("#");
    return it->second;
}

PMReal Composition::NumberWidth(const Paragraph& paragraph, PMReal indentX)
{
    PMReal pen = 0;
    for (NumberPiece& piece : mNumber) {
        if (piece.shaped) {
            pen += piece.width;
            continue;
        }
        // A tab after the number goes to the next tab stop; with none, to the left indent when
        // the first line hangs before it, else to the next default stop.
        const PMReal at = indentX + pen;
        const TabStop* stop = nullptr;
        for (const TabStop& candidate : paragraph.tabs)
            if (candidate.position > at + kEpsilon) {
                stop = &candidate;
                break;
            }
        if (stop) piece.width = stop->position - at;
        else if (paragraph.leftIndent > at + kEpsilon) piece.width = paragraph.leftIndent - at;
        else piece.width = (std::floor(at / kDefaultTabInterval + kEpsilon) + 1) * kDefaultTabInterval - at;
        pen += piece.width;
    }
    return pen;
}

void Composition::FillNumber(ComposedLine& line, const Paragraph& paragraph, PMReal x)
{
    // Runs of no characters at the paragraph's start, as the hyphen a line ends with.
    PMReal pen = x;
    for (const NumberPiece& piece : mNumber) {
        if (!piece.shaped || !piece.face) {
            pen += piece.width;
            continue;
        }
        GlyphRun run;
        run.start = line.start;
        run.face = piece.face;
        run.pointSize = piece.size;
        run.x = pen;
        run.ascent = piece.face->ascent * piece.size;
        run.descent = piece.face->descent * piece.size;
        run.leading = paragraph.leading >= 0 ? paragraph.leading : piece.size * kAutoLeadingFactor;
        PMReal glyphPen = pen;
        const ShapedText& shaped = *piece.shaped;
        for (size_t g = 0; g < shaped.glyphs.size(); ++g) {
            run.glyphs.push_back(shaped.glyphs[g]);
            run.positions.push_back(glyphPen + shaped.offsetsX[g] * piece.size);
            glyphPen += shaped.advances[g] * piece.size;
        }
        run.width = glyphPen - pen;
        pen += piece.width;
        line.ascent = std::max(line.ascent, run.ascent);
        line.descent = std::max(line.descent, run.descent);
        line.leading = std::max(line.leading, run.leading);
        line.runs.push_back(std::move(run));
    }
}

int32 Composition::BuildLine(const FrameColumn& col, int32 pos, ComposedLine& line)
{
    const Paragraph& paragraph = mPara;
    const int32 paragraphEnd = paragraph.start + paragraph.length;
    const bool firstLine = pos == paragraph.start;
    PMReal indent = paragraph.leftIndent + (firstLine ? paragraph.firstLineIndent : 0);
    PMReal avail = col.width - indent - paragraph.rightIndent;
    PMReal width = 0;
    bool hyphenated = false;
    // The first line sets the paragraph's number in front of its text.
    const PMReal numberWidth = firstLine && !mNumber.empty() ? NumberWidth(paragraph, indent) : 0;
    int32 end = avail - numberWidth > kEpsilon && col.bottom > col.top
                    ? FitLine(paragraph, pos, avail - numberWidth, indent + numberWidth, width, hyphenated)
                    : pos;
    if (end <= pos) return pos;
    width += numberWidth;
    // A line broken at a discretionary hyphen shows it.
    line.hyphenated = hyphenated || CharAt(end - 1) == kTextChar_DiscretionaryHyphen;
    line.start = pos;
    line.length = end - pos;
    line.column = col.column;
    line.left = col.left + indent;
    line.origin = col.left;
    line.width = width;
    PMReal x = line.left;
    if (paragraph.justification == 1) x += std::max<PMReal>(0, avail - width) / 2;
    else if (paragraph.justification == 2) x += std::max<PMReal>(0, avail - width);
    PMReal gapExtra = 0;
    // Justified: the lines but the paragraph's last and those ending in a forced break spread
    // their words over the column.
    if (paragraph.justification == 4 && end < paragraphEnd && CharAt(end - 1) != kTextChar_LF)
        if (int32 gaps = CountGaps(pos, end); gaps > 0) gapExtra = std::max<PMReal>(0, avail - width) / gaps;
    if (firstLine && !mNumber.empty()) {
        FillNumber(line, paragraph, x);
        x += numberWidth;
    }
    FillLine(line, paragraph, x, gapExtra);
    return end;
}

std::vector<ComposedLine> Composition::RunAlone(int32 index, const FrameColumn& col)
{
    std::vector<ComposedLine> lines;
    mPrimary = mModel.GetThreadRange(0);
    if (index < mPrimary.start || index >= mPrimary.End() || !LoadParagraph(index)) return lines;
    if (col.frame != kInvalidUID) mFrame = col.frame;
    CutParagraph();
    PMReal baseline = 0;
    for (int32 pos = mPara.start, end = mPara.start + mPara.length; pos < end;) {
        ComposedLine line;
        int32 next = BuildLine(col, pos, line);
        if (next <= pos) break;  // not one character fits across the column
        baseline = lines.empty() ? col.FirstBaseline(line) : baseline + line.leading;
        line.baseline = baseline;
        lines.push_back(std::move(line));
        pos = next;
    }
    return lines;
}

std::vector<ComposedLine> Composition::SetThread(const TextRange& thread, const FrameColumn& col, PMReal& height)
{
    std::vector<ComposedLine> lines;
    height = 0;
    mPrimary = thread;
    if (col.frame != kInvalidUID) mFrame = col.frame;
    PMReal baseline = 0, descent = 0, pendingSpaceAfter = 0;
    for (int32 pos = thread.start; pos < thread.End() && LoadParagraph(pos);) {
        CutParagraph();
        const int32 paragraphEnd = mPara.start + mPara.length;
        while (pos < paragraphEnd) {
            ComposedLine line;
            const bool firstLine = pos == mPara.start;
            int32 next = BuildLine(col, pos, line);
            if (next <= pos) return lines;  // not one character fits across the column
            baseline = lines.empty() ? col.FirstBaseline(line)
                                     : baseline + line.leading + (firstLine ? pendingSpaceAfter + mPara.spaceBefore : 0);
            pendingSpaceAfter = 0;
            line.baseline = baseline;
            descent = line.descent;
            lines.push_back(std::move(line));
            pos = next;
        }
        pendingSpaceAfter = mPara.spaceAfter;
    }
    height = lines.empty() ? 0 : baseline + descent - col.top;
    return lines;
}

std::vector<ComposedLine> Composition::SetCellText(const TextRange& thread, PMReal width, int32 firstLineRule, PMReal& height)
{
    FrameColumn cell;
    cell.width = width;
    cell.bottom = 1e9;
    cell.firstBaseline = firstLineRule == 1   ? FirstBaselineOffset::kCapHeight
                         : firstLineRule == 2 ? FirstBaselineOffset::kLeadingOffset
                                              : FirstBaselineOffset::kAscentOffset;
    Composition setter(mDB, mModel, mFonts, mHyphenator);
    setter.SetFrame(mFrame);  // the cell's page numbers: those of the frame where its table is set
    std::vector<ComposedLine> lines = setter.SetThread(thread, cell, height);
    mLinesSet += static_cast<int64>(lines.size());
    return lines;
}

int32 Composition::KeepBreak(const ComposedFrame& frame, const FrameColumn& col, int32 pos)
{
    // The lines of the column, in `frame.lines` from `first` on.
    const int32 column = col.column;
    size_t first = frame.lines.size();
    while (first > 0 && frame.lines[first - 1].column == column) --first;
    if (first == frame.lines.size()) return pos;
    const int32 columnStart = frame.lines[first].start;
    auto keeps = [&](int32 index, TextAttribute kind) {
        const TextFormat* format = mModel.GetParagraphFormat(index);
        if (!format) return int32(0);
        if (kind == TextAttribute::kKeepLinesTogether) return ParagraphValue<bool>(mDB, *format, kind, false) ? int32(1) : int32(0);
        return ParagraphValue<int32>(mDB, *format, kind, 0);
    };
    int32 breakAt = pos;
    for (int guard = 0; guard < 64; ++guard) {
        const TextRange paragraph = mModel.GetParagraphRange(breakAt > 0 ? breakAt : 0);
        if (breakAt > paragraph.start) {
            // The paragraph breaks here: with fewer first lines in this column than it keeps
            // together, it goes whole.
            if (paragraph.start < columnStart) break;  // it began in an earlier column
            if (!keeps(paragraph.start, TextAttribute::kKeepLinesTogether)) break;
            int32 linesBefore = 0;
            for (size_t l = first; l < frame.lines.size(); ++l)
                if (frame.lines[l].start >= paragraph.start && frame.lines[l].start < breakAt) ++linesBefore;
            const int32 keepFirst = keeps(paragraph.start, TextAttribute::kKeepFirstLines);
            if (linesBefore >= keepFirst && breakAt == pos && paragraph.start == mPara.start) {
                // Enough first lines stay: the last lines it keeps together must go along too.
                // Count the lines the rest of the paragraph takes across this column.
                const int32 keepLast = keeps(paragraph.start, TextAttribute::kKeepLastLines);
                int32 remaining = 0;
                for (int32 at = pos, end = mPara.start + mPara.length; at < end && remaining < keepLast; ++remaining) {
                    ComposedLine probe;
                    int32 next = BuildLine(col, at, probe);
                    if (next <= at) break;
                    at = next;
                }
                if (remaining >= keepLast) break;
                // Lines of this column go with them, as long as the first lines keep their number.
                const int32 moving = keepLast - remaining;
                if (linesBefore - moving < keepFirst) {
                    breakAt = paragraph.start;
                } else {
                    size_t l = frame.lines.size() - static_cast<size_t>(moving);
                    breakAt = frame.lines[l].start;
                    break;
                }
            } else if (linesBefore >= keepFirst) {
                break;
            } else {
                breakAt = paragraph.start;
            }
        }
        // The paragraph starts the text that goes: the paragraph before it may keep with it.
        if (breakAt <= columnStart || breakAt <= mPrimary.start) break;
        if (keeps(breakAt - 1, TextAttribute::kKeepWithNext) <= 0) break;
        // Its last line goes along.
        size_t l = frame.lines.size();
        while (l > first && frame.lines[l - 1].start >= breakAt) --l;
        if (l == first) break;
        breakAt = frame.lines[l - 1].start;
    }
    // Moving the whole column would only move the problem on.
    return breakAt <= columnStart ? pos : breakAt;
}

void Composition::Run(const std::vector<UID>& frames, FrameList& out, bool resume)
{
    mPrimary = mModel.GetThreadRange(0);
    const TextRange primary = mPrimary;
    // Where composition starts: the damaged frame, less the lines of it that the edit cannot
    // change (all before the line before the edit's: that one may take text from the next).
    int32 first = 0;
    size_t kept = 0;
    if (resume) {
        first = std::clamp(out.GetFirstDamagedFrame(), 0, std::max(0, out.GetFrameCount() - 1));
        // A table that goes on from the frame before is set again from the frame where it begins.
        while (first > 0 && !out.GetFrame(first).tableParts.empty() && out.GetFrame(first).tableParts.front().continued) --first;
        const std::vector<ComposedLine>& lines = out.GetFrame(first).lines;
        auto holding = std::upper_bound(lines.begin(), lines.end(), out.GetDamagedIndex(),
                                        [](int32 index, const ComposedLine& line) { return index < line.End(); });
        kept = static_cast<size_t>(std::max<std::ptrdiff_t>(0, (holding - lines.begin()) - 1));
        // Footnotes are placed when their column is left: a frame with some is set again whole.
        if (!out.GetFrame(first).footnoteLines.empty()) kept = 0;
        // So is one that shows a table (its parts may reach into the frames after).
        if (!out.GetFrame(first).tableParts.empty()) kept = 0;
    }
    const size_t frameCount = resume ? static_cast<size_t>(out.GetFrameCount()) : frames.size();
    std::function<UID(size_t)> frameAt;
    if (resume) frameAt = [&out](size_t f) { return out.GetFrameUID(static_cast<int32>(f)); };
    else frameAt = [&frames](size_t f) { return frames[f]; };
    ColumnSource columns(mDB, frameCount, frameAt, static_cast<size_t>(first));
    TextWrap wrap(mDB);

    // The frames from `first` on, filled as composition reaches them.
    std::vector<ComposedFrame> composed;
    auto frameEntry = [&](int32 frameIndex) -> ComposedFrame& {
        size_t at = static_cast<size_t>(frameIndex - first);
        while (composed.size() <= at) {
            ComposedFrame entry;
            entry.frame = frameAt(static_cast<size_t>(first) + composed.size());
            composed.push_back(std::move(entry));
        }
        return composed[at];
    };

    int32 pos = primary.start;
    size_t column = 0;
    bool columnEmpty = true;
    PMReal baseline = 0, pendingSpaceAfter = 0;
    if (resume) {
        const ComposedFrame& old = out.GetFrame(first);
        pos = old.start;
        if (kept > 0) {
            ComposedFrame& entry = frameEntry(first);
            entry.start = old.start;
            entry.lines = out.TakeLines(first);
            entry.lines.resize(kept);
            const ComposedLine& last = entry.lines.back();
            entry.length = last.End() - entry.start;
            pos = last.End();
            column = columns.FirstOfFrame(first, 0) + static_cast<size_t>(last.column);
            baseline = last.baseline;
            columnEmpty = false;
            // The paragraph before goes on, or ended on the kept line with its space after.
            if (pos > primary.start && mModel.GetParagraphRange(pos).start == pos)
                if (const TextFormat* before = mModel.GetParagraphFormat(pos - 1))
                    pendingSpaceAfter = std::max<PMReal>(0, ParagraphValue<PMReal>(mDB, *before, TextAttribute::kSpaceAfter, 0));
        }
    }
    const int32 resumedAt = pos;
    bool movedBack = false;  // lines kept together went back to the paragraph loop, to the next column
    // The footnotes of the lines set in column `notesColumn`, placed at its foot when composition
    // leaves it.
    struct Note {
        int32 marker;
        PMReal height;
        std::vector<ComposedLine> lines;
    };
    std::vector<Note> notes, lineNotes;
    size_t notesColumn = column;
    PMReal notesHeight = 0;
    auto placeNotes = [&]() {
        const FrameColumn* col = columns.At(notesColumn);
        if (notes.empty() || !col) {
            notes.clear();
            notesHeight = 0;
            return;
        }
        ComposedFrame& frame = frameEntry(col->frameIndex);
        PMReal y = col->bottom - notesHeight;
        for (Note& note : notes) {
            for (ComposedLine& line : note.lines) {
                line.baseline += y;
                frame.footnoteLines.push_back(std::move(line));
            }
            y += note.height;
        }
        notes.clear();
        notesHeight = 0;
    };
    // The footnotes whose markers the line holds, set across the column.
    auto notesOf = [&](const ComposedLine& line, const FrameColumn& col) {
        lineNotes.clear();
        for (int32 i = line.start; i < line.End(); ++i) {
            if (CharAt(i) != kTextChar_FootnoteMarker) continue;
            TextRange thread = mModel.FindThread(mModel.GetOwnedItem(i));
            if (thread.length <= 0 || thread.start == mPrimary.start) continue;
            FrameColumn noteColumn = col;
            noteColumn.top = 0;
            noteColumn.bottom = 1e9;
            noteColumn.firstBaseline = FirstBaselineOffset::kAscentOffset;
            Composition setter(mDB, mModel, mFonts, mHyphenator);
            Note note{i, 0, {}};
            note.lines = setter.SetThread(thread, noteColumn, note.height);
            for (ComposedLine& noteLine : note.lines) noteLine.column = col.column;
            mLinesSet += setter.LinesSet();
            if (!note.lines.empty()) lineNotes.push_back(std::move(note));
        }
        PMReal height = 0;
        for (const Note& note : lineNotes) height += note.height;
        return height;
    };

    // Sets the table of `line` from the current column on, a part in each column, and the line
    // in the frame of its first part, as deep as that part; false, setting nothing, when not even
    // its first rows fit below the text of the column (the table goes to the next one).
    bool tableOverset = false;  // rows were left over after the last column
    int32 tableOversetIndex = 0;
    auto placeTable = [&](const Table& table, ComposedLine& line, bool firstLine) {
        const FrameColumn* col = columns.At(column);
        const PMReal ownDescent = line.descent;
        const int32 lineStart = line.start;
        PMReal top = columnEmpty ? col->top
                                 : baseline + ownDescent + std::max<PMReal>(0, table.spaceBefore) +
                                       (firstLine ? pendingSpaceAfter + mPara.spaceBefore : 0);
        if (column != notesColumn) {
            placeNotes();
            notesColumn = column;
        }
        std::shared_ptr<const ComposedTable> composed = TableComposer::Compose(
            mDB, mModel, table, [this](const TextRange& thread, PMReal width, int32 rule, PMReal& height) {
                return SetCellText(thread, width, rule, height);
            },
            [this](UID text) {
                // Every thread once, at the first table of the composition.
                if (!mThreadsRead) {
                    mModel.ForEachThread([this](const TextRange& range, const TextThread& thread) {
                        if (thread.kind == TextThreadKind::kCell) mCellThreads[thread.owner] = range;
                    });
                    mThreadsRead = true;
                }
                auto it = mCellThreads.find(text);
                return it == mCellThreads.end() ? TextRange{} : it->second;
            });
        const int32 bodyEnd = std::max(table.headerRowCount, table.RowCount() - table.footerRowCount);
        // Where the table stands across its column: after the indents, placed by the paragraph's
        // alignment; every part keeps that place in its own column.
        const PMReal indent = mPara.leftIndent + (firstLine ? mPara.firstLineIndent : 0);
        const PMReal avail = col->width - indent - mPara.rightIndent;
        PMReal offset = indent;
        if (mPara.justification == 1) offset += std::max<PMReal>(0, avail - table.Width()) / 2;
        else if (mPara.justification == 2) offset += std::max<PMReal>(0, avail - table.Width());
        int32 next = 0;
        bool firstPart = true;
        PMReal partBottom = top;
        while (true) {
            TableComposer::Fit fit = TableComposer::FitRows(table, *composed, next, col->bottom - notesHeight - top, columnEmpty);
            if (!fit.rows.empty() || next >= bodyEnd) {
                ComposedTablePart part;
                part.table = composed;
                part.anchor = lineStart;
                part.column = col->column;
                part.left = col->left + offset;
                part.top = top;
                part.height = fit.height;
                part.rows = std::move(fit.rows);
                part.continued = !firstPart;
                part.clipped = fit.clipped;
                partBottom = top + fit.height;
                if (firstPart) {
                    // The table's line: as deep as its first part, its baseline below it.
                    line.baseline = partBottom;
                    line.ascent = fit.height;
                    line.leading = columnEmpty ? fit.height : partBottom - baseline;
                    line.left = part.left;
                    line.descent = std::max<PMReal>(0, table.spaceAfter);
                    line.width = table.Width();
                    ComposedFrame& frame = frameEntry(col->frameIndex);
                    if (frame.lines.empty()) frame.start = line.start;
                    frame.length = line.End() - frame.start;
                    frame.lines.push_back(std::move(line));
                    ++mLinesSet;
                }
                frameEntry(col->frameIndex).tableParts.push_back(std::move(part));
                firstPart = false;
                columnEmpty = false;
                if (next >= bodyEnd) break;
            } else if (firstPart) {
                return false;  // the whole table goes to the next column
            }
            // The rest of the table: the next column, from its top.
            ++column;
            columnEmpty = true;
            col = columns.At(column);
            if (!col) {  // the rest is overset, and the text after it
                tableOverset = true;
                tableOversetIndex = lineStart;
                break;
            }
            placeNotes();
            notesColumn = column;
            top = col->top;
        }
        baseline = partBottom;
        pendingSpaceAfter = 0;
        return true;
    };

    while (pos < primary.End() && columns.At(column) && LoadParagraph(pos)) {
        const Paragraph& paragraph = mPara;
        mFrame = columns.At(column)->frame;
        CutParagraph();
        const int32 paragraphEnd = paragraph.start + paragraph.length;
        if (pos == paragraph.start && !columnEmpty) {
            // A paragraph that starts in the next column goes on past the column's text; one
            // that starts on the next page, past the frame's (a frame stands on one page).
            if (paragraph.startParagraph == 1) {
                ++column;
                columnEmpty = true;
            } else if (paragraph.startParagraph >= 2) {
                column = columns.FirstOfFrame(columns.At(column)->frameIndex + 1, column);
                columnEmpty = true;
            }
        }
        while (pos < paragraphEnd && columns.At(column)) {
            const FrameColumn& col = *columns.At(column);
            const bool firstLine = pos == paragraph.start;
            mFrame = col.frame;
            // Page numbers show the page of the frame the line lands in: the paragraph's values
            // are resolved again when it goes on in another frame.
            if (mPageDependent && mValueFrame != mFrame) CutParagraph();
            ComposedLine line;
            int32 end = BuildLine(col, pos, line);
            if (end <= pos) {  // not one character fits across this column
                ++column;
                columnEmpty = true;
                continue;
            }
            // A table's line: its rows go into this column and the next ones, unless not even its
            // first rows fit below the text here.
            bool tableFits = true;
            if (const Table* table = TableComposer::FindTable(mDB, mModel, line.start, line.End())) {
                tableFits = placeTable(*table, line, firstLine);
                if (tableFits) {
                    pos = end;
                    continue;
                }
            }
            auto reserve = [&](ComposedLine& set) {
                AnchorLayout::ReserveSpace(mDB, mModel, set);  // a line anchoring items holds them
            };
            reserve(line);
            PMReal lineBaseline = columnEmpty ? col.FirstBaseline(line)
                                              : baseline + line.leading + (firstLine ? pendingSpaceAfter + paragraph.spaceBefore : 0);
            // Text wrap: a line crossing an item that pushes text away is set in what the item
            // leaves free of the column, or below the item when nothing fits there.
            const std::vector<PMRect>& wrapBoxes = wrap.Of(col.frame);
            PMReal setLeft = col.left, setRight = col.left + col.width;
            for (int32 tries = 0; !wrapBoxes.empty() && tries < 8; ++tries) {
                PMReal left = col.left, right = col.left + col.width, below = lineBaseline;
                if (!TextWrap::Narrow(wrapBoxes, lineBaseline - line.ascent, lineBaseline + line.descent, left, right, below)) {
                    left = col.left;
                    right = col.left + col.width;
                }
                if (std::abs(left - setLeft) < kEpsilon && std::abs(right - setRight) < kEpsilon) break;
                FrameColumn beside = col;
                beside.left = left;
                beside.width = right - left;
                ComposedLine besideLine;
                const int32 besideEnd = beside.width > kEpsilon ? BuildLine(beside, pos, besideLine) : pos;
                if (besideEnd <= pos) {
                    lineBaseline = std::max(lineBaseline + kEpsilon, below + line.ascent);
                    continue;
                }
                reserve(besideLine);
                line = std::move(besideLine);
                end = besideEnd;
                setLeft = left;
                setRight = right;
            }
            if (column != notesColumn) {
                placeNotes();
                notesColumn = column;
            }
            // The line's footnotes stand at the foot of its column with those before them: the
            // line fits only above them all, unless it is the column's first (the notes then
            // reach below).
            PMReal noteHeight = notesOf(line, col);
            PMReal bottom = col.bottom - notesHeight - noteHeight;
            if (columnEmpty && lineBaseline + line.descent <= col.bottom + kEpsilon) bottom = std::max(bottom, lineBaseline + line.descent);
            if (!tableFits || lineBaseline + line.descent > bottom + kEpsilon) {  // no room below: next column
                // Lines the paragraph keeps together, or keeps with the line that does not fit,
                // go to the next column with it, unless they fill this column from its top.
                int32 moveFrom = columnEmpty ? pos : KeepBreak(frameEntry(col.frameIndex), col, pos);
                ++column;
                columnEmpty = true;
                if (moveFrom < pos) {
                    ComposedFrame& frame = frameEntry(col.frameIndex);
                    while (!frame.lines.empty() && frame.lines.back().start >= moveFrom) {
                        frame.lines.pop_back();
                        --mLinesSet;
                    }
                    while (!frame.tableParts.empty() && frame.tableParts.back().anchor >= moveFrom) frame.tableParts.pop_back();
                    while (!notes.empty() && notes.back().marker >= moveFrom) {
                        notesHeight -= notes.back().height;
                        notes.pop_back();
                    }
                    frame.length = frame.lines.empty() ? 0 : frame.lines.back().End() - frame.start;
                    pos = moveFrom;
                    movedBack = true;
                    break;
                }
                continue;
            }
            line.baseline = lineBaseline;
            baseline = lineBaseline;
            columnEmpty = false;
            for (Note& note : lineNotes) {
                notesHeight += note.height;
                notes.push_back(std::move(note));
            }
            lineNotes.clear();
            pendingSpaceAfter = 0;
            ComposedFrame& frame = frameEntry(col.frameIndex);
            if (frame.lines.empty()) frame.start = line.start;
            frame.length = line.End() - frame.start;
            frame.lines.push_back(std::move(line));
            ++mLinesSet;
            pos = end;
        }
        if (movedBack) {
            movedBack = false;
            continue;
        }
        if (pos >= paragraphEnd) pendingSpaceAfter = paragraph.spaceAfter;
    }
    placeNotes();
    if (!resume && !frames.empty()) frameEntry(static_cast<int32>(frames.size()) - 1);  // every frame has its entry
    // Frames that hold nothing start where the text stopped.
    int32 at = resumedAt;
    for (ComposedFrame& frame : composed) {
        if (frame.lines.empty()) frame.start = at;
        else at = frame.start + frame.length;
    }
    for (ComposedFrame& frame : composed) AnchorLayout::PlaceAnchors(mDB, mModel, frame);
    bool composedAll = pos >= primary.End() && !tableOverset;
    int32 oversetIndex = composedAll ? primary.End() : tableOverset ? tableOversetIndex : pos;
    // An empty story (its final return alone) has nothing to leave over, whatever its frames.
    bool overset = (!composedAll && primary.length > 1) || tableOverset;
    if (resume) out.SetComposedFrom(first, std::move(composed), at, overset, oversetIndex, mModel.GetRevision());
    else out.SetComposed(std::move(composed), overset, oversetIndex, mModel.GetRevision());
}

} // namespace

StoryComposer::StoryComposer()
{
    static std::once_flag once;
    std::call_once(once, [] { init_linebreak(); });
}

StoryComposer::~StoryComposer() = default;

std::vector<UID> StoryComposer::GetFrameChain(const DataBase& db, UID story)
{
    std::vector<UID> frames;
    UID first = kInvalidUID;
    for (const auto& [uid, object] : db.GetObjects()) {
        const auto* frame = dynamic_cast<const TextFrame*>(object.get());
        if (!frame || frame->story != story) continue;
        const auto* previous = db.Get<TextFrame>(frame->previousFrame);
        if (!previous || previous->story != story) {
            first = uid;
            break;
        }
    }
    std::set<UID> seen;
    for (UID uid = first; uid != kInvalidUID && seen.insert(uid).second;) {
        const TextFrame* frame = db.Get<TextFrame>(uid);
        if (!frame || frame->story != story) break;
        frames.push_back(uid);
        uid = frame->nextFrame;
    }
    return frames;
}

bool StoryComposer::CanResume(const Story& story)
{
    // Every edit since the last composition was noted (the revisions agree) and something is
    // damaged: the frames before the damage keep their lines. Threading and frame changes reset
    // the list, so its frames are still the thread's.
    const FrameList& list = story.frameList;
    return list.IsComposed() && list.GetFirstDamagedFrame() >= 0 && list.GetFrameCount() > 0 &&
           list.GetRevision() == story.textModel.GetRevision();
}

void StoryComposer::ComposeInto(Story& story, const std::vector<UID>& frames, bool resume)
{
    DataBase* db = story.GetDataBase();
    if (!db) return;
    Composition composition(*db, story.textModel, mFonts, mHyphenator);
    composition.Run(frames, story.frameList, resume);
    mLinesSet = composition.LinesSet();
}

void StoryComposer::Compose(Story& story)
{
    DataBase* db = story.GetDataBase();
    if (!db) return;
    // Lines composed from the text as it is, with nothing damaged since, are still good: every
    // change to the text, the threading or a frame's size, columns and insets is noted.
    if (story.frameList.IsCurrent(story.textModel.GetRevision())) return;
    if (CanResume(story)) ComposeInto(story, {}, true);
    else ComposeInto(story, GetFrameChain(*db, story.GetUID()), false);
}

void StoryComposer::Recompose(Story& story)
{
    story.frameList.Reset();
    Compose(story);
}

std::vector<ComposedLine> StoryComposer::ComposeParagraphAlone(Story& story, int32 index)
{
    DataBase* db = story.GetDataBase();
    if (!db) return {};
    UID last = kInvalidUID;
    if (story.frameList.IsComposed() && story.frameList.GetFrameCount() > 0) last = story.frameList.GetFrameUID(story.frameList.GetFrameCount() - 1);
    else if (std::vector<UID> chain = GetFrameChain(*db, story.GetUID()); !chain.empty()) last = chain.back();
    ColumnSource columns(*db, last == kInvalidUID ? 0 : 1, [last](size_t) { return last; }, 0);
    const FrameColumn* lastColumn = nullptr;
    for (size_t i = 0; columns.At(i); ++i) lastColumn = columns.At(i);
    if (!lastColumn) return {};
    FrameColumn column = *lastColumn;
    column.bottom = column.top + 1e9;  // as deep as the paragraph needs
    Composition composition(*db, story.textModel, mFonts, mHyphenator);
    return composition.RunAlone(index, column);
}

std::vector<ComposedLine> StoryComposer::ComposeCell(Story& story, UID cellText)
{
    DataBase* db = story.GetDataBase();
    const CellText* text = db ? db->Get<CellText>(cellText) : nullptr;
    const Table* table = text ? db->Get<Table>(text->table) : nullptr;
    if (!table || table->story != story.GetUID()) return {};
    Composition composition(*db, story.textModel, mFonts, mHyphenator);
    return TableComposer::ComposeCell(*db, story.textModel, *table, cellText,
                                      [&composition](const TextRange& thread, PMReal width, int32 rule, PMReal& height) {
                                          return composition.SetCellText(thread, width, rule, height);
                                      });
}

void StoryComposer::ComposeAll(DataBase& db)
{
    // One walk finds the first frame of every story.
    std::unordered_map<UID, UID> firstFrames;
    for (const auto& [uid, object] : db.GetObjects()) {
        const auto* frame = dynamic_cast<const TextFrame*>(object.get());
        if (!frame || !db.Get<Story>(frame->story)) continue;
        const auto* previous = db.Get<TextFrame>(frame->previousFrame);
        if ((!previous || previous->story != frame->story) && !firstFrames.count(frame->story))
            firstFrames[frame->story] = uid;
    }
    for (const auto& [uid, object] : db.GetObjects()) {
        auto* story = dynamic_cast<Story*>(object.get());
        if (!story || story->frameList.IsCurrent(story->textModel.GetRevision())) continue;
        if (CanResume(*story)) {
            ComposeInto(*story, {}, true);
            continue;
        }
        std::vector<UID> frames;
        std::set<UID> seen;
        auto it = firstFrames.find(uid);
        for (UID f = it != firstFrames.end() ? it->second : kInvalidUID; f != kInvalidUID && seen.insert(f).second;) {
            const TextFrame* frame = db.Get<TextFrame>(f);
            if (!frame || frame->story != uid) break;
            frames.push_back(f);
            f = frame->nextFrame;
        }
        ComposeInto(*story, frames, false);
    }
}

TextComposer& TextComposer::Get()
{
    static StoryComposer composer;
    return composer;
}
