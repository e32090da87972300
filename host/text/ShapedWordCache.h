// ShapedWordCache: the words a font cache has shaped, kept by face and text.
//
// The composer asks for every word of every line it sets, and a book repeats a few thousand
// words millions of times, so a lookup must cost little: the index is one flat array of
// (hash, entry) slots probed in order, and each entry keeps its face, its text and its shaped
// arrays together in one block of an arena, so that a hit reads two places in memory. A word
// is copied in once, when it is added; looking one up copies nothing. Entries never move: the
// shaped text a lookup answers stays valid until the cache is cleared.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "PMTypes.h"

struct FontFaceEntry;

// The glyphs of a shaped piece of text, positions in em units (multiply by the point size).
struct ShapedText {
    std::span<const uint32> glyphs;
    std::span<const double> advances;   // per glyph
    std::span<const double> offsetsX;   // per glyph, from its pen position
    std::span<const double> offsetsY;
    std::span<const int32> clusters;    // per glyph, the index of its first character in the text
    double width = 0;                   // sum of the advances
    // prefix[i]: the advance of the glyphs of the text's first i characters (a glyph counts
    // for the character its cluster starts at), so any range is measured in constant time.
    std::span<const double> prefix;
    double WidthOf(size_t from, size_t to) const { return to > from && to < prefix.size() ? prefix[to] - prefix[from] : 0; }
};

class ShapedWordCache {
public:
    ShapedWordCache() = default;
    ShapedWordCache(const ShapedWordCache&) = delete;
    ShapedWordCache& operator=(const ShapedWordCache&) = delete;

    // The shaping kept for `text` in `face`; null when there is none.
    const ShapedText* Find(const FontFaceEntry* face, std::u16string_view text) const;
    // The arrays of a word being added, for its shaper to fill: `glyphs`, `clusters`,
    // `advances`, `offsetsX` and `offsetsY` of its glyph count, `prefix` of its length + 1, and
    // its width. They are filled in place: a long text's arrays are never copied.
    struct NewWord {
        std::span<uint32> glyphs;
        std::span<int32> clusters;
        std::span<double> advances;
        std::span<double> offsetsX;
        std::span<double> offsetsY;
        std::span<double> prefix;
        double& width;
        const ShapedText& shaped;  // what Find answers for it once it is filled
    };
    // Adds the shaping of `text` in `face` (which Find did not have) of `glyphCount` glyphs,
    // its arrays to be filled before the next call.
    NewWord Add(const FontFaceEntry* face, std::u16string_view text, size_t glyphCount);
    size_t Size() const { return mSize; }
    // Forgets every word (what Find and Add answered is then gone).
    void Clear();

private:
    struct Entry;
    struct Slot {
        uint64 hash = 0;
        Entry* entry = nullptr;  // null: free
    };
    static uint64 Hash(const FontFaceEntry* face, std::u16string_view text);
    // `bytes` of the arena, aligned for a double.
    std::byte* Allocate(size_t bytes);
    // Puts `entry` into the first free slot of its probe sequence.
    void Insert(uint64 hash, Entry* entry);
    void Grow();

    std::vector<Slot> mSlots;  // a power of two of them, at most half taken
    size_t mSize = 0;
    std::vector<std::unique_ptr<std::byte[]>> mBlocks;
    std::byte* mFree = nullptr;  // the free end of the last block
    size_t mFreeBytes = 0;
};
