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

// The character set of one font of a fontconfig list or match, as its coverage tells; `file`
// gets the font's file when only the file can tell whether it is symbol-encoded (a PostScript
// font that fontconfig does not call a symbol font), else stays empty.
int32 CharSetOf(FcPattern* font, std::string& file, int& index)
{
    // fontconfig knows TrueType symbol fonts; only PostScript outlines need a closer look.
    FcBool symbol = FcFalse;
    FcPatternGetBool(font, FC_SYMBOL, 0, &symbol);
    if (symbol) return kSymbolCharSet;
    FcChar8* format = nullptr;
    index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    file.clear();
    if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch) {
        std::string kind(reinterpret_cast<const char*>(format));
        if (kind == "CFF" || kind == "Type 1") file = FileOf(font);
    }
    FcCharSet* coverage = nullptr;
    FcPatternGetCharSet(font, FC_CHARSET, 0, &coverage);
    return FontManager::GetCharSet(false, [coverage](UTF32TextChar c) {
        return coverage && FcCharSetHasChar(coverage, static_cast<FcChar32>(c));
    });
}

// Whether the PostScript font `file` is symbol-encoded.
bool IsSymbolFile(const std::string& file, int index)
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    bool symbol = HasSymbolEncoding(library, file, index);
    FT_Done_FreeType(library);
    return symbol;
}

} // namespace

FontManager& FontManager::Get()
{
    static FontManager manager;
    return manager;
}

bool FontManager::ServesSymbolStandIn() const
{
    std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> config(FcInitLoadConfigAndFonts(), FcConfigDestroy);
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> request(
        FcNameParse(reinterpret_cast<const FcChar8*>("Symbol")), FcPatternDestroy);
    if (!config || !request) return false;
    FcConfigSubstitute(config.get(), request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(FcFontMatch(config.get(), request.get(), &result),
                                                                   FcPatternDestroy);
    if (!match) return false;
    std::string file;
    int index = 0;
    int32 charSet = CharSetOf(match.get(), file, index);
    return charSet == kSymbolCharSet || (!file.empty() && IsSymbolFile(file, index));
}

FontManager::FontManager()
{
    // A configuration of our own, let go when done: the system is asked once.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return;
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
        SymbolCheck check;
        InstalledFont font{PatternString(listed, FC_FAMILY), PatternString(listed, FC_STYLE),
                           PatternString(listed, FC_POSTSCRIPT_NAME), CharSetOf(listed, check.file, check.index)};
        if (font.family.IsEmpty()) continue;
        AddFont(font);
        if (!check.file.empty()) mSymbolChecks[font.family] = check;
    }
    if (fonts) FcFontSetDestroy(fonts);
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
    if (const FontGroup* group = FindFontGroup(family)) {
        if (auto check = mSymbolChecks.find(family); check != mSymbolChecks.end()) {
            if (IsSymbolFile(check->second.file, check->second.index)) const_cast<FontGroup*>(group)->charSet = kSymbolCharSet;
            mSymbolChecks.erase(check);
        }
        return group->charSet;
    }
    if (family != PMString("Symbol")) return kAnsiCharSet;
    if (mSymbolStandIn < 0) mSymbolStandIn = ServesSymbolStandIn() ? 1 : 0;
    return mSymbolStandIn ? kSymbolCharSet : kAnsiCharSet;
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
    mSymbolChecks.erase(font.family);
    for (const InstalledFont& existing : at->fonts)
        if (existing.style == font.style && existing.postScriptName == font.postScriptName) return;
    at->fonts.push_back(font);
}

void FontManager::Clear()
{
    mGroups.clear();
    mSymbolChecks.clear();
    mSymbolStandIn = 0;
}
