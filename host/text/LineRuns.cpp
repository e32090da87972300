#include "LineRuns.h"

#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>

LineRuns::LineRuns(std::span<const GlyphRun> runs, std::span<const LineGlyph> glyphs)
    : mRunCount(static_cast<uint32>(runs.size())), mGlyphCount(static_cast<uint32>(glyphs.size()))
{
    static_assert(std::is_trivially_copyable_v<GlyphRun> && std::is_trivially_copyable_v<LineGlyph>,
                  "runs and glyphs are copied and freed as bytes");
    static_assert(alignof(GlyphRun) % alignof(LineGlyph) == 0 && sizeof(GlyphRun) % alignof(LineGlyph) == 0,
                  "the glyphs follow the runs in one block");
    if (runs.empty() && glyphs.empty()) return;
    mData = static_cast<std::byte*>(::operator new(runs.size() * sizeof(GlyphRun) + glyphs.size() * sizeof(LineGlyph)));
    GlyphRun* runsAt = std::uninitialized_copy(runs.begin(), runs.end(), reinterpret_cast<GlyphRun*>(mData));
    std::uninitialized_copy(glyphs.begin(), glyphs.end(), reinterpret_cast<LineGlyph*>(runsAt));
}

const GlyphRun& LineRuns::at(size_t i) const
{
    if (i >= mRunCount) throw std::out_of_range("LineRuns::at");
    return Data()[i];
}
