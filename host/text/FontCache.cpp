#include "FontCache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cctype>
#include <cstring>

struct FontCache::Face {
    FT_Face ftFace = nullptr;
    hb_font_t* font = nullptr;
    hb_buffer_t* buffer = nullptr;
    double scale = 1;  // HarfBuzz units per em
    // Its Unicode map is a symbol font's own encoding in disguise (SymbolMapped).
    bool symbolMapped = false;
    // What the font answered for the characters of the Basic Multilingual Plane it was asked
    // for: the composer asks for every character of every word, and the font's map is a search.
    GlyphPresence presence;
    ~Face()
    {
        if (buffer) hb_buffer_destroy(buffer);
        if (font) hb_font_destroy(font);  // releases the FreeType face it references
    }
};

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool Has(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// How many of the fonts fontconfig sorts for a missing character are tried: those that cover it
// come first.
constexpr int kMaxFallbackCandidates = 32;

// The weight and slant a style name asks for, for faces whose style names differ ("Book").
void AddWeightAndSlant(FcPattern* pattern, const std::string& style)
{
    std::string s = Lower(style);
    int weight = FC_WEIGHT_REGULAR;
    if (Has(s, "semibold") || Has(s, "demi")) weight = FC_WEIGHT_DEMIBOLD;
    else if (Has(s, "extrabold") || Has(s, "black") || Has(s, "heavy")) weight = FC_WEIGHT_BLACK;
    else if (Has(s, "bold")) weight = FC_WEIGHT_BOLD;
    else if (Has(s, "medium")) weight = FC_WEIGHT_MEDIUM;
    else if (Has(s, "light")) weight = FC_WEIGHT_LIGHT;
    else if (Has(s, "thin")) weight = FC_WEIGHT_THIN;
    FcPatternAddInteger(pattern, FC_WEIGHT, weight);
    int slant = Has(s, "italic") ? FC_SLANT_ITALIC : Has(s, "oblique") ? FC_SLANT_OBLIQUE : FC_SLANT_ROMAN;
    FcPatternAddInteger(pattern, FC_SLANT, slant);
}

std::string PatternString(FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
    return reinterpret_cast<const char*>(value);
}

// Whether a font's Unicode map is the built-in encoding of a symbol font in disguise: the font
// has a symbol or custom encoding of its own and its "Unicode" letters A and a lead to glyphs of
// other names (Alpha and alpha in the OpenType Standard Symbols PS that fontconfig serves for
// Symbol). Such a map says nothing true of decoded text: U+00A0 leads to its Euro sign, U+00A9
// to a heart, and Greek letters to nothing.
bool SymbolMapped(FT_Face face)
{
    bool ownEncoding = false;
    for (int i = 0; i < face->num_charmaps; ++i)
        ownEncoding = ownEncoding || face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL ||
                      face->charmaps[i]->encoding == FT_ENCODING_ADOBE_CUSTOM;
    if (!ownEncoding || !FT_HAS_GLYPH_NAMES(face)) return false;
    for (const char* letter : {"A", "a"}) {
        const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<FT_ULong>(letter[0]));
        char name[64] = {};
        if (glyph != 0 && FT_Get_Glyph_Name(face, glyph, name, sizeof name) == 0 && name[0] != 0 && std::strcmp(name, letter) != 0)
            return true;
    }
    return false;
}

// Completes a query for a face of `family` in `style` (weight and slant), scalable, with
// fontconfig's substitutions, ready for FcFontMatch.
void CompleteQuery(FcConfig* config, FcPattern* pattern, const std::string& family, const std::string& style)
{
    if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    AddWeightAndSlant(pattern, style);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
}

} // namespace

FontCache::FontCache()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) mLibrary = library;
}

FontCache::~FontCache()
{
    mShaped.Clear();
    mFaces.clear();
    if (mLibrary) FT_Done_FreeType(static_cast<FT_Library>(mLibrary));
    if (mCoverage) FcCharSetDestroy(static_cast<FcCharSet*>(mCoverage));
    if (mConfig) FcConfigDestroy(static_cast<FcConfig*>(mConfig));
}

FontCache::Face* FontCache::Load(const std::string& file, int index)
{
    auto key = std::make_pair(file, index);
    if (auto it = mFaces.find(key); it != mFaces.end()) return it->second.get();
    auto face = std::make_unique<Face>();
    FT_Face ftFace = nullptr;
    if (mLibrary && !file.empty() && FT_New_Face(static_cast<FT_Library>(mLibrary), file.c_str(), index, &ftFace) == 0) {
        ++mLoads;
        FT_UInt em = ftFace->units_per_EM ? ftFace->units_per_EM : 1000;
        FT_Set_Char_Size(ftFace, 0, static_cast<FT_F26Dot6>(em) * 64, 72, 72);
        face->ftFace = ftFace;
        face->font = hb_ft_font_create_referenced(ftFace);
        FT_Done_Face(ftFace);  // the HarfBuzz font holds its own reference
        hb_ft_font_set_load_flags(face->font, FT_LOAD_NO_HINTING);
        face->symbolMapped = SymbolMapped(ftFace);
        int xScale = 0, yScale = 0;
        hb_font_get_scale(face->font, &xScale, &yScale);
        face->scale = xScale > 0 ? xScale : 1;
        face->buffer = hb_buffer_create();
    }
    Face* result = face.get();
    mFaces.emplace(key, std::move(face));
    return result;
}

const FontFaceEntry* FontCache::GetFace(const PMString& family, const PMString& style)
{
    auto key = std::make_pair(family.GetUTF16(), style.GetUTF16());
    if (auto it = mEntries.find(key); it != mEntries.end()) return it->second.get();
    auto entry = std::make_unique<FontFaceEntry>();
    entry->family = family;
    entry->style = style;
    std::string familyName = family.GetUTF8String(), styleName = style.GetUTF8String();
    if (!mConfig) mConfig = FcInitLoadConfigAndFonts();
    auto* config = static_cast<FcConfig*>(mConfig);
    entry->fallback = true;  // until fontconfig names a face that stands in for the family
    if (FcPattern* pattern = config ? FcPatternCreate() : nullptr) {
        if (!styleName.empty()) FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(styleName.c_str()));
        CompleteQuery(config, pattern, familyName, styleName);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            entry->file = PatternString(match, FC_FILE);
            FcPatternGetInteger(match, FC_INDEX, 0, &entry->index);
            entry->servedFamily = PMString(PatternString(match, FC_FAMILY));
            FcPatternDestroy(match);
        }
        // fontconfig's configuration binds the families that stand in for a family (Times: a
        // metric-compatible face) strongly to it; the generic families it falls back to at last
        // come weakly bound. A served family not strongly bound is a fallback that measures
        // differently.
        const std::string served = Lower(entry->servedFamily.GetUTF8String());
        FcValue value;
        FcValueBinding binding;
        for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i)
            if (value.type == FcTypeString && binding != FcValueBindingWeak &&
                Lower(reinterpret_cast<const char*>(value.u.s)) == served) {
                entry->fallback = false;
                break;
            }
        FcPatternDestroy(pattern);
    }
    entry->substituted = Lower(entry->servedFamily.GetUTF8String()) != Lower(familyName);
    const FontFaceEntry* result = entry.get();
    Measure(*entry);
    mEntries.emplace(key, std::move(entry));
    return result;
}

void FontCache::Measure(FontFaceEntry& entry)
{
    Face* face = Load(entry.file, entry.index);
    if (face->font) {
        hb_font_extents_t extents{};
        hb_font_get_h_extents(face->font, &extents);
        if (extents.ascender > 0) entry.ascent = extents.ascender / face->scale;
        if (extents.descender < 0) entry.descent = -extents.descender / face->scale;
        entry.lineGap = std::max(0, extents.line_gap) / face->scale;
        hb_position_t position = 0;
        entry.capHeight = hb_ot_metrics_get_position(face->font, HB_OT_METRICS_TAG_CAP_HEIGHT, &position) && position > 0
                              ? position / face->scale : entry.ascent * 0.9;
        entry.xHeight = hb_ot_metrics_get_position(face->font, HB_OT_METRICS_TAG_X_HEIGHT, &position) && position > 0
                            ? position / face->scale : entry.ascent * 0.6;
    }
    mFaceOfEntry[&entry] = face;
    mLastEntry = nullptr;  // HasGlyph looks it up again
    mLastPresence = nullptr;
}

const FontFaceEntry* FontCache::GetFaceOfFile(const std::string& file, int index, const PMString& family, const PMString& style)
{
    auto key = std::make_pair(file, index);
    if (auto it = mFileEntries.find(key); it != mFileEntries.end()) return it->second.get();
    auto entry = std::make_unique<FontFaceEntry>();
    entry->family = family;
    entry->style = style;
    entry->servedFamily = family;
    entry->file = file;
    entry->index = index;
    const FontFaceEntry* result = entry.get();
    Measure(*entry);
    mFileEntries.emplace(key, std::move(entry));
    return result;
}

const ShapedText& FontCache::Shape(const FontFaceEntry* entry, std::u16string_view text)
{
    if (const ShapedText* known = mShaped.Find(entry, text)) return *known;
    ++mShapings;
    auto faceIt = mFaceOfEntry.find(entry);
    Face* face = faceIt != mFaceOfEntry.end() ? faceIt->second : nullptr;
    const hb_glyph_info_t* infos = nullptr;
    const hb_glyph_position_t* positions = nullptr;
    unsigned int count = 0;
    const bool hasFont = face && face->font;
    if (hasFont) {
        hb_buffer_t* buffer = face->buffer;
        hb_buffer_reset(buffer);
        hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.data()), static_cast<int>(text.size()), 0,
                            static_cast<int>(text.size()));
        hb_buffer_guess_segment_properties(buffer);
        hb_shape(face->font, buffer, nullptr, 0);
        infos = hb_buffer_get_glyph_infos(buffer, &count);
        positions = hb_buffer_get_glyph_positions(buffer, &count);
    }
    // Without a font at all every character is a glyph half an em wide.
    const size_t glyphs = hasFont ? count : text.size();
    ShapedWordCache::NewWord word = mShaped.Add(entry, text, glyphs);
    for (size_t i = 0; i < glyphs; ++i) {
        word.glyphs[i] = hasFont ? infos[i].codepoint : 0;
        word.clusters[i] = hasFont ? static_cast<int32>(infos[i].cluster) : static_cast<int32>(i);
        word.advances[i] = hasFont ? positions[i].x_advance / face->scale : 0.5;
        word.offsetsX[i] = hasFont ? positions[i].x_offset / face->scale : 0;
        word.offsetsY[i] = hasFont ? positions[i].y_offset / face->scale : 0;
        word.width += word.advances[i];
    }
    // prefix[i]: the advances of the characters before i, a glyph's advance counting for the
    // character its cluster starts at (one past the text's end for none of them).
    std::span<double> prefix = word.prefix;
    for (size_t g = 0; g < glyphs; ++g)
        prefix[std::min(static_cast<size_t>(std::max(0, word.clusters[g])), text.size())] += word.advances[g];
    double before = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const double own = prefix[i];
        prefix[i] = before;
        before += own;
    }
    return word.shaped;
}

void FontCache::ClearShapedWords() { mShaped.Clear(); }

bool FontCache::LookUpGlyph(const FontFaceEntry* entry, char32_t c)
{
    if (entry != mLastEntry) {
        auto found = mFaceOfEntry.find(entry);
        mLastFace = found != mFaceOfEntry.end() ? found->second : nullptr;
        mLastEntry = entry;
        mLastPresence = mLastFace && mLastFace->ftFace ? &mLastFace->presence : nullptr;
    }
    Face* face = mLastFace;
    if (!face || !face->ftFace) return false;
    if (int known = face->presence.Get(c); known >= 0) return known != 0;
    // A symbol font's disguised map is trusted for the blank alone (its glyph is a space).
    const bool has = face->symbolMapped ? c == 0x20 && FT_Get_Char_Index(face->ftFace, c) != 0
                                        : FT_Get_Char_Index(face->ftFace, c) != 0;
    face->presence.Set(c, has);
    return has;
}

const FontFaceEntry* FontCache::LookUpFaceFor(const FontFaceEntry* entry, char32_t c)
{
    if (!entry || IsInvisible(c) || HasGlyph(entry, c)) return entry;
    auto key = std::make_pair(entry, c);
    if (auto known = mFaceForCharacter.find(key); known != mFaceForCharacter.end()) return known->second;
    // The faces already standing in for this one are asked first: a script's characters mostly
    // come from one font, and fontconfig is asked once for it.
    std::vector<const FontFaceEntry*>& used = mCharacterFallbacks[entry];
    const FontFaceEntry* answer = nullptr;
    for (const FontFaceEntry* candidate : used)
        if (HasGlyph(candidate, c)) {
            answer = candidate;
            break;
        }
    auto* config = static_cast<FcConfig*>(mConfig);
    if (!answer && config) {
        std::string familyName = entry->family.GetUTF8String(), styleName = entry->style.GetUTF8String();
        FcPattern* pattern = FcPatternCreate();
        FcCharSet* wanted = FcCharSetCreate();
        if (pattern && wanted) {
            FcCharSetAddChar(wanted, static_cast<FcChar32>(c));
            // fontconfig ranks the characters a font covers above its family name. The fonts
            // are taken by their files, as sorted: a family's name may stand for several files
            // (the OpenType and Type 1 faces of Standard Symbols PS), and the first that covers
            // the character in name may lack it in fact (a disguised symbol map).
            FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
            CompleteQuery(config, pattern, familyName, styleName);
            FcResult result = FcResultNoMatch;
            FcFontSet* sorted = FcFontSort(config, pattern, FcFalse, nullptr, &result);
            for (int i = 0; sorted && i < sorted->nfont && i < kMaxFallbackCandidates && !answer; ++i) {
                FcPattern* font = sorted->fonts[i];
                FcCharSet* coverage = nullptr;
                FcBool scalable = FcFalse;
                if (FcPatternGetCharSet(font, FC_CHARSET, 0, &coverage) != FcResultMatch || !coverage ||
                    !FcCharSetHasChar(coverage, static_cast<FcChar32>(c)) ||
                    FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable)
                    continue;
                int index = 0;
                FcPatternGetInteger(font, FC_INDEX, 0, &index);
                const std::string file = PatternString(font, FC_FILE), family = PatternString(font, FC_FAMILY);
                if (file.empty() || family.empty()) continue;
                const bool known = mFileEntries.count({file, index}) != 0;
                const FontFaceEntry* candidate = GetFaceOfFile(file, index, PMString(family), PMString(PatternString(font, FC_STYLE)));
                // Another file of the family that served the text is told apart by its format in
                // reports ("Standard Symbols PS (Type 1)" for the OpenType file's characters).
                if (!known && Lower(family) == Lower(entry->servedFamily.GetUTF8String()))
                    if (const std::string format = PatternString(font, FC_FONTFORMAT); !format.empty())
                        mFileEntries[{file, index}]->servedFamily = PMString(family + " (" + format + ")");
                if (candidate != entry && candidate->file != entry->file && HasGlyph(candidate, c)) {
                    answer = candidate;
                    used.push_back(candidate);
                }
            }
            if (sorted) FcFontSetDestroy(sorted);
        }
        if (wanted) FcCharSetDestroy(wanted);
        if (pattern) FcPatternDestroy(pattern);
    }
    if (used.empty()) mCharacterFallbacks.erase(entry);
    if (!answer) answer = entry;  // no font has it: its own face draws its missing-glyph box
    mFaceForCharacter.emplace(key, answer);
    return answer;
}

std::vector<const FontFaceEntry*> FontCache::GetCharacterFallbacks(const FontFaceEntry* face) const
{
    auto found = mCharacterFallbacks.find(face);
    return found == mCharacterFallbacks.end() ? std::vector<const FontFaceEntry*>() : found->second;
}

bool FontCache::LookUpDrawable(char32_t c)
{
    if (IsInvisible(c)) return true;
    if (!mConfig) mConfig = FcInitLoadConfigAndFonts();
    auto* config = static_cast<FcConfig*>(mConfig);
    if (!mCoverage && config) {
        FcCharSet* coverage = FcCharSetCreate();
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_CHARSET, FC_SCALABLE, nullptr);
        FcFontSet* fonts = coverage && pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcBool scalable = FcFalse;
            FcCharSet* chars = nullptr;
            // The composer sets text in outline fonts only.
            if (FcPatternGetBool(fonts->fonts[i], FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable &&
                FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &chars) == FcResultMatch && chars)
                FcCharSetMerge(coverage, chars, nullptr);
        }
        if (fonts) FcFontSetDestroy(fonts);
        if (objects) FcObjectSetDestroy(objects);
        if (pattern) FcPatternDestroy(pattern);
        mCoverage = coverage;
    }
    if (int known = mDrawable.Get(c); known >= 0) return known != 0;
    const bool drawable = mCoverage && FcCharSetHasChar(static_cast<FcCharSet*>(mCoverage), static_cast<FcChar32>(c));
    mDrawable.Set(c, drawable);
    return drawable;
}
