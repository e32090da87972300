#include "InstalledFonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <map>
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

// Whether the font is symbol-encoded: it has a character map of its own (the symbol map of
// TrueType symbol fonts, or the built-in encoding of a PostScript font), and its letter A is not
// a Latin A (PostScript fonts for TeX also have encodings of their own, but their letters are
// letters).
bool IsSymbolEncoded(FT_Library library, const char* file, int index)
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, file, index, &face) != 0) return false;
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
int32 CharSetOfFont(FT_Library library, FcPattern* font)
{
    FcBool symbol = FcFalse;
    FcPatternGetBool(font, FC_SYMBOL, 0, &symbol);
    FcChar8* file = nullptr;
    FcChar8* format = nullptr;
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    // Only PostScript outlines carry a built-in encoding; other fonts need not be opened.
    if (!symbol && library && FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch) {
        std::string kind(reinterpret_cast<const char*>(format));
        if (kind == "CFF" || kind == "Type 1") symbol = IsSymbolEncoded(library, reinterpret_cast<const char*>(file), index);
    }
    FcCharSet* coverage = nullptr;
    FcPatternGetCharSet(font, FC_CHARSET, 0, &coverage);
    return InstalledFonts::GetCharSet(symbol, [coverage](UTF32TextChar c) {
        return coverage && FcCharSetHasChar(coverage, static_cast<FcChar32>(c));
    });
}

std::string FileOf(FcPattern* font)
{
    FcChar8* file = nullptr;
    return FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch ? reinterpret_cast<const char*>(file) : "";
}

// Adds "Symbol" when fontconfig answers a request for it with a symbol-encoded font.
void AddSymbolSubstitute(FcConfig* config, FT_Library library, std::map<std::string, int32>& families)
{
    if (families.count("Symbol")) return;
    FcPattern* request = FcNameParse(reinterpret_cast<const FcChar8*>("Symbol"));
    if (!request) return;
    FcConfigSubstitute(config, request, FcMatchPattern);
    FcDefaultSubstitute(request);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, request, &result);
    if (match && CharSetOfFont(library, match) == kSymbolCharSet) families["Symbol"] = kSymbolCharSet;
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(request);
}

std::vector<InstalledFontFamily> ListFamilies()
{
    std::vector<InstalledFontFamily> list;
    // A configuration of our own, let go when done: the fonts are looked at once, and the global
    // one of FcInit would stay allocated until the process ends.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return list;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) library = nullptr;

    FcPattern* all = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_SYMBOL, FC_CHARSET, FC_FONTFORMAT, nullptr);
    FcFontSet* fonts = all && objects ? FcFontList(config, all, objects) : nullptr;
    std::map<std::string, int32> families;
    if (fonts) {
        // In file order, so that the answer for a family whose fonts differ does not depend on
        // the order of fontconfig's caches: the last font of the family wins.
        std::vector<FcPattern*> sorted(fonts->fonts, fonts->fonts + fonts->nfont);
        std::sort(sorted.begin(), sorted.end(), [](FcPattern* a, FcPattern* b) { return FileOf(a) < FileOf(b); });
        for (FcPattern* font : sorted) {
            int32 charSet = CharSetOfFont(library, font);
            FcChar8* family = nullptr;
            for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i)
                families[reinterpret_cast<const char*>(family)] = charSet;
        }
        AddSymbolSubstitute(config, library, families);
        FcFontSetDestroy(fonts);
    }
    if (objects) FcObjectSetDestroy(objects);
    if (all) FcPatternDestroy(all);
    if (library) FT_Done_FreeType(library);
    FcConfigDestroy(config);

    for (const auto& [name, charSet] : families) list.push_back({PMString(name), charSet});
    return list;
}

} // namespace

const std::vector<InstalledFontFamily>& InstalledFonts::GetFamilies()
{
    static const std::vector<InstalledFontFamily> families = ListFamilies();
    return families;
}

int32 InstalledFonts::GetCharSet(bool symbolEncoded, const std::function<bool(UTF32TextChar)>& covers)
{
    if (symbolEncoded) return kSymbolCharSet;
    if (covers('A') && covers('Z') && covers('a') && covers('z')) return kAnsiCharSet;
    for (const ScriptProbe& script : kScripts)
        if (covers(script.character)) return script.charSet;
    return kAnsiCharSet;
}
