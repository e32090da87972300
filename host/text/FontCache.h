// FontCache: the faces the composer measures text with, and the words it has shaped.
//
// A family and style are matched through fontconfig, which falls back as it always does (Times
// is served by a metric-compatible face when Times itself is not installed); the matched file is
// loaded once with FreeType and shaped with HarfBuzz. Shaped words are kept per face, in the
// face's own units, so a word costs one shaping whatever the sizes it is set in. A character
// that a face has no glyph for is drawn with a face of the same style that has one (Japanese
// text set in a Latin family), as FaceFor finds it.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "PMString.h"
#include "ShapedWordCache.h"

// One face of a family, as fontconfig matched it.
struct FontFaceEntry {
    PMString family;        // as asked
    PMString style;
    PMString servedFamily;  // as fontconfig served it
    std::string file;
    int index = 0;
    bool substituted = false;  // the served family is not the one asked for
    bool fallback = false;     // nor one that fontconfig has stand in for it (a metric-compatible face)
    // Vertical metrics in em units: ascent and descent positive, capHeight and xHeight from the
    // face's tables (a fraction of the ascent when it has none).
    double ascent = 0.8;
    double descent = 0.2;
    double lineGap = 0;
    double capHeight = 0.7;
    double xHeight = 0.5;
};

class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The face for a family and style (never null: without any font the face has no glyphs and
    // measures every character as half an em).
    const FontFaceEntry* GetFace(const PMString& family, const PMString& style);
    // `text` shaped with `face`; cached by face and text.
    // A word found in the cache costs no copy of its text.
    const ShapedText& Shape(const FontFaceEntry* face, std::u16string_view text);

    // Whether the font of `face` has a glyph for the character `c` (false when it has no font).
    // A font whose Unicode map is a symbol font's own encoding in disguise has none but the
    // blank's: its map leads Greek letters nowhere and Latin-1 characters to its symbols.
    bool HasGlyph(const FontFaceEntry* face, char32_t c)
    {
        // Answered at once when the face is the one last asked about and knows `c`.
        if (face == mLastEntry && mLastPresence)
            if (int known = mLastPresence->Get(c); known >= 0) return known != 0;
        return LookUpGlyph(face, c);
    }
    // The face that draws `c` in text set in `face`: `face` itself when its font has the glyph
    // (or `c` is a character that shows nothing), else the first face of the same style that
    // fontconfig finds with the glyph (the first font file in fontconfig's order whose glyph is
    // real); `face` again when no installed font has one. Each answer is kept.
    const FontFaceEntry* FaceFor(const FontFaceEntry* face, char32_t c)
    {
        // At once for most characters: the face last asked about has them.
        if (face && face == mLastEntry && mLastPresence && mLastPresence->Get(c) == 1) return face;
        return LookUpFaceFor(face, c);
    }
    // The faces FaceFor has answered for the characters `face` lacks, in the order first used;
    // empty when it lacked none.
    std::vector<const FontFaceEntry*> GetCharacterFallbacks(const FontFaceEntry* face) const;
    // Whether some installed font has a glyph for `c`, or `c` shows nothing.
    bool CanDraw(char32_t c)
    {
        if (int known = mDrawable.Get(c); known >= 0) return known != 0;
        return LookUpDrawable(c);
    }
    // Whether `c` shows nothing (controls, format characters, variation selectors): no font is
    // asked for a glyph of its own.
    static bool IsInvisible(char32_t c)
    {
        if (c >= 0x20 && c < 0x7F) return false;  // printable ASCII: most text, at once
        return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD || (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
               (c >= 0x2060 && c <= 0x206F) || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || c == 0xFFFC ||
               (c >= 0xE0100 && c <= 0xE01EF);
    }

    // How many font files were loaded and how many shapings were run (the rest came from the
    // cache).
    int32 LoadedFaceCount() const { return mLoads; }
    int64 ShapingCount() const { return mShapings; }
    // Forgets the shaped words (the faces stay).
    void ClearShapedWords();

private:
    struct Face;
    // Yes-or-no answers kept for the characters of the Basic Multilingual Plane: two bits each.
    class GlyphPresence {
    public:
        // 1 or 0 when known, -1 when not asked yet (or `c` is past the plane).
        int Get(char32_t c) const
        {
            if (c >= kChars) return -1;
            const uint64 bit = uint64(1) << (c % 64);
            return mKnown[c / 64] & bit ? (mHas[c / 64] & bit ? 1 : 0) : -1;
        }
        void Set(char32_t c, bool has)
        {
            if (c >= kChars) return;
            const uint64 bit = uint64(1) << (c % 64);
            mKnown[c / 64] |= bit;
            if (has) mHas[c / 64] |= bit;
        }

    private:
        static constexpr char32_t kChars = 0x10000;
        std::array<uint64, kChars / 64> mKnown{};
        std::array<uint64, kChars / 64> mHas{};
    };
    // The answers of HasGlyph, FaceFor and CanDraw when they are not known yet.
    bool LookUpGlyph(const FontFaceEntry* face, char32_t c);
    const FontFaceEntry* LookUpFaceFor(const FontFaceEntry* face, char32_t c);
    bool LookUpDrawable(char32_t c);
    Face* Load(const std::string& file, int index);
    // Loads the entry's font and sets its vertical metrics.
    void Measure(FontFaceEntry& entry);
    // The face of one font file, named `family` and `style` as fontconfig lists it: a face that
    // a character falls back to.
    const FontFaceEntry* GetFaceOfFile(const std::string& file, int index, const PMString& family, const PMString& style);

    std::map<std::pair<std::u16string, std::u16string>, std::unique_ptr<FontFaceEntry>> mEntries;
    std::map<std::pair<std::string, int>, std::unique_ptr<FontFaceEntry>> mFileEntries;  // by file and index
    std::map<std::pair<std::string, int>, std::unique_ptr<Face>> mFaces;  // by file and index
    std::map<const FontFaceEntry*, Face*> mFaceOfEntry;
    ShapedWordCache mShaped;
    std::map<std::pair<const FontFaceEntry*, char32_t>, const FontFaceEntry*> mFaceForCharacter;
    std::map<const FontFaceEntry*, std::vector<const FontFaceEntry*>> mCharacterFallbacks;
    void* mLibrary = nullptr;  // FT_Library
    void* mConfig = nullptr;   // FcConfig, our own, loaded on first use
    void* mCoverage = nullptr; // FcCharSet: the characters of all installed fonts, made on first use
    GlyphPresence mDrawable;   // CanDraw's answers
    // The face of the entry HasGlyph was last asked about: text asks for one face many times.
    const FontFaceEntry* mLastEntry = nullptr;
    Face* mLastFace = nullptr;
    const GlyphPresence* mLastPresence = nullptr;  // mLastFace's, when it has a font
    int32 mLoads = 0;
    int64 mShapings = 0;
};
