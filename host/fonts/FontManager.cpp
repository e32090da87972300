#include "FontManager.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>

namespace {

PMString PatternString(FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return PMString();
    return PMString(reinterpret_cast<const char*>(value));
}

} // namespace

FontManager& FontManager::Get()
{
    static FontManager manager;
    return manager;
}

FontManager::FontManager()
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_POSTSCRIPT_NAME, nullptr), FcObjectSetDestroy);
    FcFontSet* fonts = pattern && objects ? FcFontList(config, pattern.get(), objects.get()) : nullptr;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        InstalledFont font{PatternString(fonts->fonts[i], FC_FAMILY), PatternString(fonts->fonts[i], FC_STYLE),
                           PatternString(fonts->fonts[i], FC_POSTSCRIPT_NAME)};
        if (!font.family.IsEmpty()) AddFont(font);
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcConfigDestroy(config);
}

const FontGroup* FontManager::GetFontGroup(int32 i) const
{
    return i >= 0 && i < GetFontGroupCount() ? &mGroups[static_cast<size_t>(i)] : nullptr;
}

bool FontManager::HasFamily(const PMString& family) const
{
    auto at = std::lower_bound(mGroups.begin(), mGroups.end(), family, [](const FontGroup& g, const PMString& f) { return g.family < f; });
    return at != mGroups.end() && at->family == family;
}

const InstalledFont* FontManager::FindByPostScriptName(const PMString& postScriptName) const
{
    if (postScriptName.IsEmpty()) return nullptr;
    for (const FontGroup& group : mGroups)
        for (const InstalledFont& font : group.fonts)
            if (font.postScriptName == postScriptName) return &font;
    return nullptr;
}

void FontManager::AddFont(const InstalledFont& font)
{
    auto at = std::lower_bound(mGroups.begin(), mGroups.end(), font.family,
                               [](const FontGroup& g, const PMString& f) { return g.family < f; });
    if (at == mGroups.end() || at->family != font.family) at = mGroups.insert(at, FontGroup{font.family, {}});
    for (const InstalledFont& existing : at->fonts)
        if (existing.style == font.style && existing.postScriptName == font.postScriptName) return;
    at->fonts.push_back(font);
}

void FontManager::Clear() { mGroups.clear(); }
