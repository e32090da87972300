// LineBuilder: the lines of a shaped paragraph, one at a time, each set across a column.
//
// A line takes whole words while they fit across the column less the paragraph's indents (the
// spaces at its end may hang over). A word that does not fit may give the line its first part
// with a hyphen where the hyphenation patterns allow, in a paragraph that hyphenates; a word
// wider than an empty line is broken between characters. Tabs go to the paragraph's next stop
// (a centre, right or character stop measures the text after it), or to the next default stop
// every half inch; a leader fills a tab's room with whole copies on a grid. The line is then
// placed by the paragraph's alignment (justified lines spread their word gaps over the column,
// but the paragraph's last and those ending in a forced break), the paragraph's number set in
// front of its first line, and its glyph runs laid out from the shaped fragments. A line is a
// view into the shaped paragraph: only a hyphen and a number add glyphs of their own.
#pragma once

#include "ColumnSource.h"
#include "FontCache.h"
#include "FrameList.h"
#include "Hyphenator.h"
#include "ShapedParagraph.h"

class LineBuilder {
public:
    // Builds lines of the paragraph `paragraph` holds, as it is when a line is built; without
    // `keepGlyphs` a line keeps its runs and not their glyphs (which only drawing it reads).
    LineBuilder(FontCache& fonts, Hyphenator& hyphenator, ShapedParagraph& paragraph, bool keepGlyphs = true)
        : mFonts(fonts), mHyphenator(hyphenator), mShaped(paragraph), mKeepGlyphs(keepGlyphs)
    {
    }

    // Sets the line of the paragraph that starts at `pos` across `col` into `line` (all but its
    // baseline); its end, or `pos` when not one character fits.
    int32 BuildLine(const FrameColumn& col, int32 pos, ComposedLine& line);

private:
    // Fits the line that starts at `pos` into `avail` points, its first character `indentX` from
    // the column's left edge (tab stops are measured from there); its end, or `pos` when not one
    // character fits. `width` is the width of what fits, hanging spaces left out.
    int32 FitLine(int32 pos, PMReal avail, PMReal indentX, PMReal& width, bool& hyphenated);
    // Where a word wider than an empty line, `word` from `pos` on, is broken between characters
    // to fit `avail`; `width` is then the width of what fits.
    int32 BreakWord(const ShapedWord& word, int32 pos, PMReal avail, PMReal& width) const;
    // Where the word `word` may end the line that reaches `x` before it (the line starts at
    // `pos`), with a hyphen, the longest prefix that fits `avail`; -1 when none does. `width` is
    // then the line's width, hyphen included.
    int32 Hyphenate(const ShapedWord& word, int32 pos, PMReal x, PMReal avail, PMReal& width);
    // The width of a hyphen in the face and size of the fragment holding `index`.
    PMReal HyphenWidth(int32 index) const;
    const ShapedFragment* FragmentAt(const ShapedWord& word, int32 index) const;
    // How many word gaps (spaces after a word, the last word's left out) the line has.
    int32 CountGaps(int32 start, int32 end) const;
    // The width of the tab `tab` (a fragment) set at `at` from the column's left edge in a line
    // that ends at `limit` (from the same edge), and the stop it goes to in `stop` (null for a
    // default stop).
    PMReal TabWidth(PMReal at, PMReal limit, size_t tab, const TabStop** stop = nullptr) const;
    // Sets the glyph runs of the line from `x` on; `gapExtra` widens the spaces after each word
    // but the last (justified lines).
    void FillLine(ComposedLine& line, PMReal x, PMReal gapExtra);
    // The glyph run of the characters [from, to) of `fragment` set at `pen` on a line whose tab
    // stops are measured from `origin`.
    GlyphRun FragmentRun(const ShapedFragment& fragment, int32 from, int32 to, PMReal pen, PMReal origin);
    // Ends `line`, which reaches `pen`, with the hyphen of its last run's face.
    void AppendHyphen(const ComposedLine& line, PMReal pen);
    // Appends the glyphs of `shaped` set at `size` from `pen` on to `run`; the pen after them.
    PMReal AppendGlyphs(GlyphRun& run, const ShapedText& shaped, PMReal size, PMReal pen);
    // Adds `run` to the line being built and takes its extent into `line`.
    void AddRun(ComposedLine& line, const GlyphRun& run);
    // Adds the run of a text fragment: it joins the run before when that is text of the same
    // character run, face, size and rise, so a line has a run per change of formatting rather
    // than one per word and space.
    void AddTextRun(ComposedLine& line, const GlyphRun& run, uint32 formatRun);
    // The leader of the tab `fragment`, repeated over `run` (set from `run.x` across `run.width`)
    // on a grid that starts at the column's left edge `origin`, so that the leaders of
    // successive lines line up.
    void FillLeader(GlyphRun& run, const ShapedFragment& fragment, PMReal origin);
    // The width the paragraph's number takes in front of its first line, which starts `indentX`
    // from the column's left edge; its tabs' widths into its pieces.
    PMReal NumberWidth(PMReal indentX);
    // Sets the glyph runs of the paragraph's number from `x` on (NumberWidth first).
    void FillNumber(ComposedLine& line, PMReal x);

    FontCache& mFonts;
    Hyphenator& mHyphenator;
    ShapedParagraph& mShaped;
    const bool mKeepGlyphs;
    // The runs and glyphs of the line being built: they grow once and serve every line, and a
    // line built takes copies of the size it needs.
    std::vector<GlyphRun> mRuns;
    std::vector<uint32> mGlyphs;
    std::vector<PMReal> mPositions;
    std::vector<LineGlyph> mLineGlyphs;  // the glyphs as the line keeps them
    // The character run of the last run added when it is text a next text run may join.
    static constexpr uint32 kNoTextRun = UINT32_MAX;
    uint32 mLastTextRun = kNoTextRun;
};
