#include "LineBuilder.h"

#include <algorithm>
#include <cmath>

#include "TextModel.h"

namespace {

constexpr PMReal kEpsilon = 1e-6;
constexpr PMReal kAutoLeadingFactor = 1.2;
constexpr PMReal kDefaultTabInterval = 36;  // half an inch
// The most copies of a leader one tab shows.
constexpr PMReal kMaxLeaderCopies = 2000;

// The width of the fragment's characters [from, to) (story indexes).
PMReal WidthOf(const ShapedFragment& fragment, int32 from, int32 to)
{
    if (fragment.kind != ShapedFragment::kText) return from <= fragment.start && to >= fragment.start + fragment.length ? fragment.width : 0;
    if (from <= fragment.start && to >= fragment.start + fragment.length) return fragment.width;
    from = std::max(from, fragment.start);
    to = std::min(to, fragment.start + fragment.length);
    return fragment.shaped->WidthOf(static_cast<size_t>(from - fragment.start), static_cast<size_t>(to - fragment.start)) *
           fragment.size;
}

bool IsLetter(UTF16TextChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

} // namespace

PMReal LineBuilder::AppendGlyphs(GlyphRun& run, const ShapedText& shaped, PMReal size, PMReal pen)
{
    PMReal glyphPen = pen;
    for (size_t g = 0; g < shaped.glyphs.size(); ++g) {
        mGlyphs.push_back(shaped.glyphs[g]);
        mPositions.push_back(glyphPen + shaped.offsetsX[g] * size);
        glyphPen += shaped.advances[g] * size;
    }
    run.glyphCount = static_cast<uint32>(mGlyphs.size()) - run.firstGlyph;
    return glyphPen;
}

inline void LineBuilder::AddRun(ComposedLine& line, const GlyphRun& run)
{
    line.ascent = std::max(line.ascent, run.ascent);
    line.descent = std::max(line.descent, run.descent);
    line.leading = std::max(line.leading, run.leading);
    mRuns.push_back(run);
    mLastTextRun = kNoTextRun;
}

inline void LineBuilder::AddTextRun(ComposedLine& line, const GlyphRun& run, uint32 formatRun)
{
    // One character run gives its text one size, rise and leading; only the face may change
    // (characters its face lacks). The text runs of a line follow one another.
    if (mLastTextRun == formatRun) {
        GlyphRun& last = mRuns.back();
        if (last.face == run.face && last.start + last.length == run.start) {
            last.length += run.length;
            last.width = run.x + run.width - last.x;
            last.glyphCount += run.glyphCount;
            return;
        }
    }
    AddRun(line, run);
    mLastTextRun = formatRun;
}

// FitLine, FillLine and FragmentRun run for every line and fragment, so they are defined inline: a
// member function of a class the library exports is otherwise called through its PLT and never
// inlined. FillLine is too big for the compiler to inline of its own accord and is inlined by force.
int32 LineBuilder::BuildLine(const FrameColumn& col, int32 pos, ComposedLine& line)
{
    const ParagraphSettings& paragraph = mShaped.settings;
    const int32 paragraphEnd = paragraph.start + paragraph.length;
    const bool firstLine = pos == paragraph.start;
    PMReal indent = paragraph.leftIndent + (firstLine ? paragraph.firstLineIndent : 0);
    PMReal avail = col.width - indent - paragraph.rightIndent;
    PMReal width = 0;
    bool hyphenated = false;
    // The first line sets the paragraph's number in front of its text.
    const bool numbered = firstLine && !mShaped.number.empty();
    const PMReal numberWidth = numbered ? NumberWidth(indent) : 0;
    int32 end = avail - numberWidth > kEpsilon && col.bottom > col.top
                    ? FitLine(pos, avail - numberWidth, indent + numberWidth, width, hyphenated)
                    : pos;
    if (end <= pos) return pos;
    width += numberWidth;
    // A line broken at a discretionary hyphen shows it.
    line.hyphenated = hyphenated || mShaped.CharAt(end - 1) == kTextChar_DiscretionaryHyphen;
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
    if (paragraph.justification == 4 && end < paragraphEnd && mShaped.CharAt(end - 1) != kTextChar_LF)
        if (int32 gaps = CountGaps(pos, end); gaps > 0) gapExtra = std::max<PMReal>(0, avail - width) / gaps;
    mRuns.clear();
    mGlyphs.clear();
    mPositions.clear();
    mLastTextRun = kNoTextRun;
    if (numbered) {
        FillNumber(line, x);
        x += numberWidth;
    }
    FillLine(line, x, gapExtra);
    // The glyphs' x were set from the line's left edge; they are kept from their runs' (runs of one
    // character run that follow one another were joined after their glyphs were placed).
    mLineGlyphs.clear();
    if (mKeepGlyphs) {
        mLineGlyphs.resize(mGlyphs.size());
        for (const GlyphRun& run : mRuns)
            for (uint32 g = run.firstGlyph; g < run.firstGlyph + run.glyphCount; ++g)
                mLineGlyphs[g] = LineGlyph{mGlyphs[g], static_cast<float>(mPositions[g] - run.x)};
    }
    line.runs = LineRuns(mRuns, mLineGlyphs);
    return end;
}

inline int32 LineBuilder::FitLine(int32 pos, PMReal avail, PMReal indentX, PMReal& width, bool& hyphenated)
{
    hyphenated = false;
    const std::vector<ShapedWord>& words = mShaped.words;
    PMReal x = 0;  // the pen, trailing spaces included
    width = 0;     // without the trailing spaces of the last word
    int32 end = pos;
    for (size_t w = mShaped.WordAt(pos); w < words.size(); ++w) {
        const ShapedWord& word = words[w];
        PMReal pen = x, body = x;
        for (int32 f = word.firstFragment; f < word.endFragment; ++f) {
            ShapedFragment& fragment = mShaped.fragments[static_cast<size_t>(f)];
            if (fragment.start + fragment.length <= pos) continue;
            if (fragment.kind == ShapedFragment::kTab)
                fragment.width = TabWidth(indentX + pen, indentX + avail, static_cast<size_t>(f), &fragment.stop);
            pen += WidthOf(fragment, std::max(pos, fragment.start), fragment.start + fragment.length);
            if (!fragment.trailing) body = pen;
        }
        if (body > avail + kEpsilon) {
            // A word that does not fit may give the line its first part, with a hyphen.
            if (mShaped.settings.hyphenate) {
                PMReal hyphenatedWidth = 0;
                if (int32 at = Hyphenate(word, pos, x, avail, hyphenatedWidth); at > pos) {
                    width = hyphenatedWidth;
                    hyphenated = true;
                    return at;
                }
            }
            if (end > pos) return end;  // the line ends before this word
            return BreakWord(word, pos, avail, width);
        }
        x = pen;
        width = body;
        end = word.end;
        if (word.mustBreakAfter) break;
    }
    return end;
}

int32 LineBuilder::BreakWord(const ShapedWord& word, int32 pos, PMReal avail, PMReal& width) const
{
    PMReal run = 0;
    int32 fit = pos;
    for (int32 f = word.firstFragment; f < word.endFragment; ++f) {
        const ShapedFragment& fragment = mShaped.fragments[static_cast<size_t>(f)];
        if (fragment.start + fragment.length <= pos) continue;
        if (fragment.trailing) break;
        for (int32 c = std::max(pos, fragment.start); c < fragment.start + fragment.length; ++c) {
            PMReal next = run + WidthOf(fragment, c, c + 1);
            if (next > avail + kEpsilon) {
                // An anchored item or a variable's value wider than the line stands out of it
                // rather than push the rest of the story out of the frames.
                if (fit == pos && (mShaped.CharAt(c) == kTextChar_ObjectReplacement || fragment.kind == ShapedFragment::kValue)) {
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

int32 LineBuilder::Hyphenate(const ShapedWord& word, int32 pos, PMReal x, PMReal avail, PMReal& width)
{
    // The letters of the word: quotes and punctuation around them stay with their letters, a word
    // with other characters inside (digits, a hyphen of its own) is not hyphenated.
    int32 first = word.start, last = word.end;
    while (last > first && !IsLetter(mShaped.CharAt(last - 1))) --last;
    while (first < last && !IsLetter(mShaped.CharAt(first))) ++first;
    for (int32 i = first; i < last; ++i)
        if (!IsLetter(mShaped.CharAt(i))) return -1;
    if (last - first < 5) return -1;
    const std::vector<int32>& points =
        mHyphenator.Points(mShaped.text.substr(static_cast<size_t>(first - mShaped.settings.start), static_cast<size_t>(last - first)));
    for (auto it = points.rbegin(); it != points.rend(); ++it) {
        const int32 at = first + *it;
        if (at <= pos) break;
        PMReal prefix = 0;
        for (int32 f = word.firstFragment; f < word.endFragment; ++f) {
            const ShapedFragment& fragment = mShaped.fragments[static_cast<size_t>(f)];
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

const ShapedFragment* LineBuilder::FragmentAt(const ShapedWord& word, int32 index) const
{
    for (int32 f = word.firstFragment; f < word.endFragment; ++f) {
        const ShapedFragment& fragment = mShaped.fragments[static_cast<size_t>(f)];
        if (index >= fragment.start && index < fragment.start + fragment.length) return &fragment;
    }
    return nullptr;
}

PMReal LineBuilder::HyphenWidth(int32 index) const
{
    const std::vector<ShapedWord>& words = mShaped.words;
    auto it = std::upper_bound(words.begin(), words.end(), index, [](int32 i, const ShapedWord& w) { return i < w.start; });
    if (it == words.begin()) return 0;
    const ShapedFragment* fragment = FragmentAt(*(it - 1), index);
    if (!fragment || !fragment->face) return 0;
    return mFonts.Shape(fragment->face, u"-").width * fragment->size;
}

int32 LineBuilder::CountGaps(int32 start, int32 end) const
{
    const std::vector<ShapedWord>& words = mShaped.words;
    int32 gaps = 0;
    for (size_t w = mShaped.WordAt(start); w < words.size() && words[w].end < end; ++w) {
        const ShapedFragment& last = mShaped.fragments[static_cast<size_t>(words[w].endFragment - 1)];
        if (last.trailing && last.kind == ShapedFragment::kText) ++gaps;
    }
    return gaps;
}

PMReal LineBuilder::TabWidth(PMReal at, PMReal limit, size_t tab, const TabStop** stopOut) const
{
    const TabStop* stop = nullptr;
    for (const TabStop& candidate : mShaped.settings.tabs)
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
    for (size_t f = tab + 1; f < mShaped.fragments.size(); ++f) {
        const ShapedFragment& fragment = mShaped.fragments[f];
        if (fragment.kind == ShapedFragment::kValue) {
            width += fragment.width;
            body = width;
            if (body > position) break;
            continue;
        }
        if (fragment.kind != ShapedFragment::kText) {
            UTF16TextChar c = mShaped.CharAt(fragment.start);
            if (fragment.kind == ShapedFragment::kTab) {
                body = width;  // spaces before the next tab take their room
                break;
            }
            if (c == kTextChar_CR || c == kTextChar_LF) break;
            continue;  // a marker takes no room
        }
        if (stop->alignment == TabStop::kCharacter) {
            const UTF16TextChar* chars = mShaped.text.data() + (fragment.start - mShaped.settings.start);
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

[[gnu::always_inline]] inline void LineBuilder::FillLine(ComposedLine& line, PMReal x, PMReal gapExtra)
{
    const std::vector<ShapedWord>& words = mShaped.words;
    PMReal pen = x;
    const int32 end = line.End();
    for (size_t w = mShaped.WordAt(line.start); w < words.size() && words[w].start < end; ++w) {
        for (int32 f = words[w].firstFragment; f < words[w].endFragment; ++f) {
            const ShapedFragment& fragment = mShaped.fragments[static_cast<size_t>(f)];
            int32 from = std::max(line.start, fragment.start), to = std::min(end, fragment.start + fragment.length);
            if (from >= to) continue;
            GlyphRun run = FragmentRun(fragment, from, to, pen, line.origin);
            pen += run.width;
            if (gapExtra > 0 && fragment.trailing && fragment.kind == ShapedFragment::kText && to == words[w].end && to < end) {
                run.width += gapExtra;
                pen += gapExtra;
            }
            if (fragment.kind == ShapedFragment::kText) AddTextRun(line, run, fragment.formatRun);
            else AddRun(line, run);
        }
    }
    if (line.hyphenated && !mRuns.empty() && mRuns.back().face) AppendHyphen(line, pen);
}

inline GlyphRun LineBuilder::FragmentRun(const ShapedFragment& fragment, int32 from, int32 to, PMReal pen, PMReal origin)
{
    GlyphRun run;
    run.firstGlyph = static_cast<uint32>(mGlyphs.size());
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
    const PMReal leading = mShaped.settings.leading;
    run.leading = leading >= 0 ? leading : fragment.nominalSize * kAutoLeadingFactor;
    if (fragment.kind == ShapedFragment::kValue) {
        // The value's glyphs all stand for its one character.
        run.width = AppendGlyphs(run, *fragment.shaped, fragment.size, pen) - pen;
    } else if (fragment.kind == ShapedFragment::kText) {
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
            mGlyphs.push_back(shaped.glyphs[g]);
            mPositions.push_back(glyphPen + shaped.offsetsX[g] * fragment.size);
            glyphPen += shaped.advances[g] * fragment.size;
        }
        run.glyphCount = static_cast<uint32>(mGlyphs.size()) - run.firstGlyph;
        run.width = glyphPen - pen;
    } else {
        run.width = WidthOf(fragment, from, to);
        if (fragment.kind == ShapedFragment::kTab) FillLeader(run, fragment, origin);
    }
    return run;
}

void LineBuilder::AppendHyphen(const ComposedLine& line, PMReal pen)
{
    // The hyphen the line ends with is drawn, not part of the text: a run of no characters.
    const GlyphRun last = mRuns.back();
    const ShapedText& hyphen = mFonts.Shape(last.face, u"-");
    GlyphRun run;
    run.firstGlyph = static_cast<uint32>(mGlyphs.size());
    run.start = line.End();
    run.face = last.face;
    run.pointSize = last.pointSize;
    run.rise = last.rise;
    run.ascent = last.ascent;
    run.descent = last.descent;
    run.leading = last.leading;
    run.x = pen;
    run.width = AppendGlyphs(run, hyphen, last.pointSize, pen) - pen;
    mRuns.push_back(run);
}

void LineBuilder::FillLeader(GlyphRun& run, const ShapedFragment& fragment, PMReal origin)
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
    for (PMReal at = origin + std::ceil((run.x - origin) / step - kEpsilon) * step; at + step <= end + kEpsilon; at += step)
        AppendGlyphs(run, shaped, fragment.size, at);
    run.face = face;
}

PMReal LineBuilder::NumberWidth(PMReal indentX)
{
    const ParagraphSettings& paragraph = mShaped.settings;
    PMReal pen = 0;
    for (NumberPiece& piece : mShaped.number) {
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

void LineBuilder::FillNumber(ComposedLine& line, PMReal x)
{
    // Runs of no characters at the paragraph's start, as the hyphen a line ends with.
    const PMReal leading = mShaped.settings.leading;
    PMReal pen = x;
    for (const NumberPiece& piece : mShaped.number) {
        if (!piece.shaped || !piece.face) {
            pen += piece.width;
            continue;
        }
        GlyphRun run;
        run.firstGlyph = static_cast<uint32>(mGlyphs.size());
        run.start = line.start;
        run.face = piece.face;
        run.pointSize = piece.size;
        run.x = pen;
        run.ascent = piece.face->ascent * piece.size;
        run.descent = piece.face->descent * piece.size;
        run.leading = leading >= 0 ? leading : piece.size * kAutoLeadingFactor;
        run.width = AppendGlyphs(run, *piece.shaped, piece.size, pen) - pen;
        pen += piece.width;
        AddRun(line, run);
    }
}
