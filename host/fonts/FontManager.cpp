#include "FontManager.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr int32 kAnsiCharSet = 0;
constexpr int32 kSymbolCharSet = 2;

// A character that only fonts made for the script have, and the script's character set.
struct ScriptProbe {
    UTF32TextChar character;
    int32 charSet;
};
constexpr ScriptProbe kScripts[] = {
    {0x0416, 204},  // Cyrillic Zhe
    {0x03A9, 161},  // Greek Omega
    {0x05D0, 177},  // Hebrew Alef
    {0x0627, 178},  // Arabic Alef
    {0x0E01, 222},  // Thai Ko Kai
};

PMString PatternString(FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return PMString();
    return PMString(reinterpret_cast<const char*>(value));
}

std::string FileOf(FcPattern* font)
{
    FcChar8* file = nullptr;
    return FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch ? reinterpret_cast<const char*>(file) : "";
}

// Whether a PostScript font is symbol-encoded: it has a built-in encoding of its own and its
// letter A is no Latin A (PostScript fonts for TeX have encodings of their own too, but their
// letters are letters).
bool HasSymbolEncoding(FT_Library library, const std::string& file, int index)
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), index, &face) != 0) return false;
    bool own = false;
    for (int i = 0; i < face->num_charmaps; ++i) {
        FT_Encoding encoding = face->charmaps[i]->encoding;
        if (encoding == FT_ENCODING_MS_SYMBOL || encoding == FT_ENCODING_ADOBE_CUSTOM) own = true;
    }
    if (own && FT_HAS_GLYPH_NAMES(face)) {
        FT_UInt glyph = FT_Get_Char_Index(face, 'A');
        char name[64] = "";
        if (glyph != 0 && FT_Get_Glyph_Name(face, glyph, name, sizeof name) == 0 && std::string(name) == "A") own = false;
    }
    FT_Done_Face(face);
    return own;
}

// The character set of one font of a fontconfig list or match.
int32 CharSetOf(FT_Library library, FcPattern* font)
{
    // fontconfig knows TrueType symbol fonts; only PostScript outlines need a closer look.
    FcBool symbol = FcFalse;
    FcPatternGetBool(font, FC_SYMBOL, 0, &symbol);
    FcChar8* format = nullptr;
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    if (!symbol && library && FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch) {
        std::string kind(reinterpret_cast<const char*>(format));
        if (kind == "CFF" || kind == "Type 1") symbol = HasSymbolEncoding(library, FileOf(font), index);
    }
    FcCharSet* coverage = nullptr;
    FcPatternGetCharSet(font, FC_CHARSET, 0, &coverage);
    return FontManager::GetCharSet(symbol, [coverage](UTF32TextChar c) {
        return coverage && FcCharSetHasChar(coverage, static_cast<FcChar32>(c));
    });
}

// Whether fontconfig answers a request for "Symbol" with a symbol-encoded font.
bool ServesSymbolStandIn(FcConfig* config, FT_Library library)
{
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> request(
        FcNameParse(reinterpret_cast<const FcChar8*>("Symbol")), FcPatternDestroy);
    if (!request) return false;
    FcConfigSubstitute(config, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(FcFontMatch(config, request.get(), &result),
                                                                   FcPatternDestroy);
    return match && CharSetOf(library, match.get()) == kSymbolCharSet;
}

} // namespace

FontManager& FontManager::Get()
{
    static FontManager manager;
    return manager;
}

FontManager::FontManager()
{
    // A configuration of our own, let go when done: the system is asked once.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_POSTSCRIPT_NAME, FC_FILE, FC_INDEX, FC_SYMBOL, FC_CHARSET,
                         FC_FONTFORMAT, nullptr),
        FcObjectSetDestroy);
    FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern.get(), objects.get()) : nullptr;
    // In file order, so that what a family answers does not depend on the order of fontconfig's
    // caches.
    std::vector<FcPattern*> sorted(fonts ? fonts->fonts : nullptr, fonts ? fonts->fonts + fonts->nfont : nullptr);
    std::sort(sorted.begin(), sorted.end(), [](FcPattern* a, FcPattern* b) { return FileOf(a) < FileOf(b); });
    for (FcPattern* listed : sorted) {
        InstalledFont font{PatternString(listed, FC_FAMILY), PatternString(listed, FC_STYLE),
                           PatternString(listed, FC_POSTSCRIPT_NAME), CharSetOf(library, listed)};
        if (!font.family.IsEmpty()) AddFont(font);
    }
    if (fonts) FcFontSetDestroy(fonts);
    mSymbolStandIn = !HasFamily("Symbol") && ServesSymbolStandIn(config, library);
    if (library) FT_Done_FreeType(library);
    FcConfigDestroy(config);
}

const FontGroup* FontManager::GetFontGroup(int32 i) const
{
    return i >= 0 && i < GetFontGroupCount() ? &mGroups[static_cast<size_t>(i)] : nullptr;
}

const FontGroup* FontManager::FindFontGroup(const PMString& family) const
{
    auto at = std::lower_bound(mGroups.begin(), mGroups.end(), family, [](const FontGroup& g, const PMString& f) { return g.family < f; });
    return at != mGroups.end() && at->family == family ? &*at : nullptr;
}

const InstalledFont* FontManager::FindByPostScriptName(const PMString& postScriptName) const
{
    if (postScriptName.IsEmpty()) return nullptr;
    for (const FontGroup& group : mGroups)
        for (const InstalledFont& font : group.fonts)
            if (font.postScriptName == postScriptName) return &font;
    return nullptr;
}

int32 FontManager::GetCharSet(const PMString& family) const
{
    if (const FontGroup* group = FindFontGroup(family)) return group->charSet;
    return mSymbolStandIn && family == PMString("Symbol") ? kSymbolCharSet : kAnsiCharSet;
}

int32 FontManager::GetCharSet(bool symbolEncoded, const std::function<bool(UTF32TextChar)>& covers)
{
    if (symbolEncoded) return kSymbolCharSet;
    if (covers('A') && covers('Z') && covers('a') && covers('z')) return kAnsiCharSet;
    for (const ScriptProbe& script : kScripts)
        if (covers(script.character)) return script.charSet;
    return kAnsiCharSet;
}

void FontManager::AddFont(const InstalledFont& font)
{
    auto at = std::lower_bound(mGroups.begin(), mGroups.end(), font.family,
                               [](const FontGroup& g, const PMString& f) { return g.family < f; });
    if (at == mGroups.end() || at->family != font.family) at = mGroups.insert(at, FontGroup{font.family, {}});
    at->charSet = font.charSet;
    for (const InstalledFont& existing : at->fonts)
        if (existing.style == font.style && existing.postScriptName == font.postScriptName) return;
    at->fonts.push_back(font);
}

void FontManager::Clear()
{
    mGroups.clear();
    mSymbolStandIn = false;
}
