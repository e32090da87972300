#include "ParagraphShaper.h"

#include <linebreak.h>

#include <cmath>

#include "AnchorLayout.h"
#include "Spread.h"

namespace {

constexpr PMReal kDefaultPointSize = 12;
// Superscripts and subscripts as a new InDesign document sets them (the package leaves its text
// preferences at their defaults): 58.3 % of the point size, raised or lowered by 33.3 % of it.
constexpr PMReal kScriptSize = 0.583;
constexpr PMReal kScriptShift = 0.333;
const char* const kDefaultFamily = "Times";
const char* const kDefaultStyle = "Regular";

// The value of a character attribute: the run's override or style, else the paragraph's.
template <class T>
T CharacterValue(const DataBase& db, const TextFormat& paragraph, const TextFormat& run, TextAttribute kind, T fallback)
{
    if (const T* value = run.overrides.Get<T>(kind)) return *value;
    if (const AttributeValue* value = StyleUtils::GetInheritedAttribute(db, run.style, kind))
        if (const T* typed = std::get_if<T>(value)) return *typed;
    return ParagraphShaper::ParagraphValue<T>(db, paragraph, kind, fallback);
}

bool IsControl(UTF16TextChar c) { return c < 0x20 && c != kTextChar_Tab; }
bool IsHangingSpace(UTF16TextChar c) { return c == 0x20 || c == 0x3000 || IsControl(c); }

// The character at story index `index` of the text `chars` that starts at story index `start`,
// a surrogate pair whole when it ends before `limit`; `units` is how many code units it takes.
char32_t CodePointAt(const UTF16TextChar* chars, int32 start, int32 index, int32 limit, int32& units)
{
    const UTF16TextChar* p = chars + (index - start);
    units = 1;
    if (p[0] >= 0xD800 && p[0] < 0xDC00 && index + 1 < limit && p[1] >= 0xDC00 && p[1] < 0xE000) {
        units = 2;
        return 0x10000 + ((static_cast<char32_t>(p[0]) - 0xD800) << 10) + (static_cast<char32_t>(p[1]) - 0xDC00);
    }
    return static_cast<char32_t>(p[0]);
}

} // namespace

ParagraphShaper::ParagraphShaper(const DataBase& db, const TextModel& model, FontCache& fonts)
    : mDB(db), mModel(model), mFonts(fonts), mNumbers(db, model), mNow(VariableText::Now())
{
}

bool ParagraphShaper::Load(int32 index, const TextRange& thread)
{
    TextRange range = mModel.GetParagraphRange(index);
    const TextFormat* format = mModel.GetParagraphFormat(index);
    ParagraphSettings paragraph;
    paragraph.start = std::max(range.start, thread.start);
    paragraph.length = std::min(range.End(), thread.End()) - paragraph.start;
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
    mShaped.settings = std::move(paragraph);
    const ParagraphSettings& loaded = mShaped.settings;
    std::u16string& text = mShaped.text;
    text = mModel.GetText(loaded.start, loaded.length);
    // Characters that show a value take the place of one letter for line breaking: the line may
    // break around them as around a word, never inside.
    mValues.clear();
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == kTextChar_TextVariable || text[i] == kTextChar_PageNumber) {
            mValues.push_back(Value{loaded.start + static_cast<int32>(i), text[i] == kTextChar_PageNumber, false, {}});
            text[i] = u'#';
        }
    VariableText::MaskAnchors(text);
    mRuns.clear();
    mModel.ForEachCharacterRun(loaded.start, loaded.start + loaded.length, [&](int32 start, int32 length, const TextFormat& run) {
        mRuns.push_back({TextRange{start, length}, &run});
    });
    return true;
}

void ParagraphShaper::Shape(UID frame)
{
    mShaped.words.clear();
    mShaped.fragments.clear();
    mBreaks.assign(static_cast<size_t>(mShaped.settings.length), 0);
    set_linebreaks_utf16(reinterpret_cast<const utf16_t*>(mShaped.text.data()), mBreaks.size(), "", mBreaks.data());
    ResolveValues(frame);
    ShapeNumber();
    CutWords();
}

ParagraphShaper::RunFont ParagraphShaper::FontOf(const TextFormat& run) const
{
    const TextFormat& paragraphFormat = *mShaped.settings.format;
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
}

// FontAt, RunEnd, CutFragment and ShapeText run for every fragment of every paragraph, so they are
// defined inline: a member function of a class the library exports is otherwise called through
// its PLT and never inlined. CutFragment and ShapeText are too big for the compiler to inline of
// its own accord and are inlined by force, so that the steps cost what one loop cost.
inline const ParagraphShaper::RunFont& ParagraphShaper::FontAt(int32 index)
{
    while (mRun + 1 < mRuns.size() && mRuns[mRun].first.End() <= index) ++mRun;
    if (mRun != mFontRun) {
        mRunFont = mRun < mRuns.size() ? FontOf(*mRuns[mRun].second) : FontOf(TextFormat{});
        mFontRun = mRun;
    }
    return mRunFont;
}

inline int32 ParagraphShaper::RunEnd() const
{
    return mRun < mRuns.size() ? mRuns[mRun].first.End() : mShaped.settings.start + mShaped.settings.length;
}

void ParagraphShaper::ResolveValues(UID frame)
{
    mValueFrame = frame;
    mPageDependent = false;
    for (Value& value : mValues) {
        PMString shown;
        if (value.pageNumber) {
            value.pageDependent = true;
            shown = PageName(frame);
        } else {
            const TextVariableInstance* instance = mDB.Get<TextVariableInstance>(mModel.GetOwnedItem(value.index));
            const TextVariable* variable = instance ? mDB.Get<TextVariable>(instance->variable) : nullptr;
            value.pageDependent = variable && VariableText::DependsOnPage(*variable);
            if (!variable) {
            } else if (!value.pageDependent) {
                shown = VariableText::GetValue(mDB, *variable, mNow);
            } else {
                if (!mNumbering) mNumbering.emplace(mDB);
                const UID page = VariableText::PageOfFrame(mDB, frame);
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

const PMString& ParagraphShaper::PageName(UID frame)
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

void ParagraphShaper::ShapeNumber()
{
    const ParagraphSettings& paragraph = mShaped.settings;
    std::vector<NumberPiece>& pieces = mShaped.number;
    pieces.clear();
    // Only a paragraph that starts in the thread shows its number, and only a listed one has one.
    if (paragraph.start != mModel.GetParagraphRange(paragraph.start).start || !ParagraphNumbers::IsListed(mDB, *paragraph.format))
        return;
    const ParagraphNumbers::Number* number = mNumbers.Get(paragraph.start);
    if (!number) return;
    // Like the paragraph's first character, or in the number's own character style.
    TextFormat numberFormat = mRuns.empty() ? TextFormat{} : *mRuns.front().second;
    if (number->characterStyle != kInvalidUID) numberFormat.style = number->characterStyle;
    const RunFont numberFont = FontOf(numberFormat);
    std::u16string text;
    auto flush = [&]() {
        if (text.empty()) return;
        const ShapedText& shaped = mFonts.Shape(numberFont.face, text);
        pieces.push_back(NumberPiece{numberFont.face, numberFont.size, &shaped, shaped.width * numberFont.size});
        text.clear();
    };
    for (char16_t c : number->text) {
        if (c == u'\t') {
            flush();
            pieces.push_back(NumberPiece{numberFont.face, numberFont.size, nullptr, 0});
        } else {
            text.push_back(c < 0x20 ? u' ' : c);
        }
    }
    flush();
}

void ParagraphShaper::CutWords()
{
    const ParagraphSettings& paragraph = mShaped.settings;
    mRun = 0;
    mRunFont = RunFont{nullptr, kDefaultPointSize};
    mFontRun = static_cast<size_t>(-1);
    size_t value = 0;  // the first value at or after the fragment being cut
    int32 wordStart = 0;
    for (int32 i = 0; i < paragraph.length; ++i) {
        bool last = i + 1 == paragraph.length;
        char opportunity = mBreaks[static_cast<size_t>(i)];
        if (!last && opportunity != LINEBREAK_MUSTBREAK && opportunity != LINEBREAK_ALLOWBREAK) continue;
        // The word [wordStart, i]: its body, then its hanging spaces.
        ShapedWord word;
        word.start = paragraph.start + wordStart;
        word.end = paragraph.start + i + 1;
        word.mustBreakAfter = opportunity == LINEBREAK_MUSTBREAK || last;
        word.firstFragment = static_cast<int32>(mShaped.fragments.size());
        int32 bodyEnd = word.end;
        while (bodyEnd > word.start && IsHangingSpace(mShaped.CharAt(bodyEnd - 1))) --bodyEnd;
        for (int32 at = word.start; at < word.end;) {
            const bool trailing = at >= bodyEnd;
            ShapedFragment& fragment = mShaped.fragments.emplace_back();
            CutFragment(fragment, at, trailing ? word.end : bodyEnd, trailing, value);
            at += fragment.length;
        }
        word.endFragment = static_cast<int32>(mShaped.fragments.size());
        mShaped.words.push_back(word);
        wordStart = i + 1;
    }
}

[[gnu::always_inline]] inline void ParagraphShaper::CutFragment(ShapedFragment& fragment, int32 at, int32 partEnd, bool trailing, size_t& value)
{
    const RunFont& f = FontAt(at);
    UTF16TextChar c = mShaped.CharAt(at);
    fragment.start = at;
    fragment.face = f.face;
    fragment.size = f.size;
    fragment.rise = f.rise;
    fragment.nominalSize = f.nominalSize;
    fragment.trailing = trailing;
    fragment.formatRun = static_cast<uint32>(mRun);
    int32 limit = std::min(RunEnd(), partEnd);
    while (value < mValues.size() && mValues[value].index < at) ++value;
    if (value < mValues.size() && mValues[value].index == at) {
        // A text variable or page number: its value, in the formatting of its character.
        fragment.kind = ShapedFragment::kValue;
        fragment.length = 1;
        fragment.shaped = &mFonts.Shape(f.face, mValues[value].text);
        fragment.width = fragment.shaped->width * f.size;
    } else if (IsControl(c) || c == kTextChar_Tab || c == kTextChar_ObjectReplacement) {
        fragment.kind = c == kTextChar_Tab ? ShapedFragment::kTab : ShapedFragment::kControl;
        fragment.length = 1;
        // An anchored item is a character as wide as the item when inline, else of none.
        if (c == kTextChar_ObjectReplacement) fragment.width = AnchorLayout::AdvanceOf(mDB, mModel, at);
    } else {
        if (value < mValues.size()) limit = std::min(limit, mValues[value].index);
        ShapeText(fragment, f.face, f.size, limit);
    }
}

[[gnu::always_inline]] inline void ParagraphShaper::ShapeText(ShapedFragment& fragment, const FontFaceEntry* runFace, PMReal size, int32 limit)
{
    // The fragment ends where a character needs another face than the one before it:
    // characters the run's face lacks are drawn with a face that has them. Spaces and invisible
    // characters stay with the face they follow when it has them.
    const UTF16TextChar* chars = mShaped.text.data();
    const int32 start = mShaped.settings.start;
    const int32 at = fragment.start;
    int32 units = 1;
    const FontFaceEntry* face = mFonts.FaceFor(runFace, CodePointAt(chars, start, at, limit, units));
    int32 end = at + units;
    while (end < limit && !IsControl(chars[end - start]) && chars[end - start] != kTextChar_Tab &&
           chars[end - start] != kTextChar_ObjectReplacement) {
        const char32_t code = CodePointAt(chars, start, end, limit, units);
        const bool keeps = FontCache::IsInvisible(code) || ((code == 0x20 || code == 0x3000) && mFonts.HasGlyph(face, code));
        if (!keeps && mFonts.FaceFor(runFace, code) != face) break;
        end += units;
    }
    fragment.face = face;
    fragment.length = end - at;
    fragment.shaped = &mFonts.Shape(face, std::u16string_view(chars + (at - start), static_cast<size_t>(fragment.length)));
    fragment.width = fragment.shaped->width * size;
}
