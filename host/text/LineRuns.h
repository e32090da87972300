// LineRuns: the glyph runs of a composed line and their glyphs, kept in one block of memory.
//
// A book's lines are counted in millions: a line allocates once for what it draws, rather than
// once for its runs and again for its glyphs, and its runs are read as a container of runs.
#pragma once

#include <cstddef>
#include <new>
#include <span>
#include <utility>

#include "FontCache.h"

// Glyphs of one face and size on a line: text of one character run in one face, or one tab,
// anchor, value, hyphen or number piece.
struct GlyphRun {
    int32 start = 0;         // first character
    int32 length = 0;
    const FontFaceEntry* face = nullptr;
    PMReal pointSize = 0;
    PMReal x = 0;            // pen position of the first glyph
    PMReal width = 0;
    PMReal rise = 0;         // how far its glyphs stand above the line's baseline: superscripts
                             // (positive) and subscripts (negative)
    PMReal ascent = 0;       // the face's, at the run's size
    PMReal descent = 0;
    PMReal leading = 0;      // the line measure the run asks for (auto leading: 120 % of its size)
    // Where its glyphs stand in its line's glyph arrays: those of its characters; for a tab, the
    // copies of its stop's leader across its room.
    uint32 firstGlyph = 0;
    uint32 glyphCount = 0;
};

// One glyph on a line: its glyph id and its x from its run's pen position (GlyphRun::x, so that
// moving a run moves its glyphs). A float is exact to a ten-thousandth of a point across a page
// and keeps a glyph in eight bytes: a book's lines hold millions of them.
struct LineGlyph {
    uint32 id = 0;
    float dx = 0;
    PMReal XIn(const GlyphRun& run) const { return run.x + dx; }
};

class LineRuns {
public:
    LineRuns() = default;
    // Copies of `runs` and `glyphs` (whose firstGlyph and glyphCount index `glyphs`).
    LineRuns(std::span<const GlyphRun> runs, std::span<const LineGlyph> glyphs);
    LineRuns(const LineRuns& other) : LineRuns(std::span<const GlyphRun>(other.begin(), other.size()), other.Glyphs()) {}
    LineRuns(LineRuns&& other) noexcept
        : mData(std::exchange(other.mData, nullptr)), mRunCount(std::exchange(other.mRunCount, 0)),
          mGlyphCount(std::exchange(other.mGlyphCount, 0))
    {
    }
    LineRuns& operator=(LineRuns other) noexcept
    {
        std::swap(mData, other.mData);
        std::swap(mRunCount, other.mRunCount);
        std::swap(mGlyphCount, other.mGlyphCount);
        return *this;
    }
    ~LineRuns() { ::operator delete(mData); }  // runs and glyphs hold nothing to release

    size_t size() const { return mRunCount; }
    bool empty() const { return mRunCount == 0; }
    GlyphRun* begin() { return Data(); }
    GlyphRun* end() { return Data() + mRunCount; }
    const GlyphRun* begin() const { return Data(); }
    const GlyphRun* end() const { return Data() + mRunCount; }
    GlyphRun& operator[](size_t i) { return Data()[i]; }
    const GlyphRun& operator[](size_t i) const { return Data()[i]; }
    const GlyphRun& at(size_t i) const;
    GlyphRun& front() { return Data()[0]; }
    const GlyphRun& front() const { return Data()[0]; }
    GlyphRun& back() { return Data()[mRunCount - 1]; }
    const GlyphRun& back() const { return Data()[mRunCount - 1]; }
    const GlyphRun* data() const { return Data(); }
    // The glyphs of all the runs, run after run.
    std::span<const LineGlyph> Glyphs() const { return {reinterpret_cast<const LineGlyph*>(Data() + mRunCount), mGlyphCount}; }

private:
    GlyphRun* Data() const { return reinterpret_cast<GlyphRun*>(mData); }

    std::byte* mData = nullptr;  // the runs, then the glyphs; null when it has neither
    uint32 mRunCount = 0;
    uint32 mGlyphCount = 0;
};
