// FontManager: the fonts installed in the system, as fontconfig reports them, grouped by family.
#pragma once

#include <map>
#include <vector>

#include "PMString.h"

struct InstalledFont {
    PMString family;          // "Nimbus Roman"
    PMString style;           // "Bold Italic"
    PMString postScriptName;  // "NimbusRoman-BoldItalic"
};

struct FontGroup {
    PMString family;
    std::vector<InstalledFont> fonts;
};

class FontManager {
public:
    // The session's font manager; the system is asked once, on first use.
    static FontManager& Get();

    int32 GetFontGroupCount() const { return static_cast<int32>(mGroups.size()); }
    // The i-th family, in name order; null when out of range.
    const FontGroup* GetFontGroup(int32 i) const;
    // Whether a family of exactly this name is installed.
    bool HasFamily(const PMString& family) const;
    // The installed font of this PostScript name; null when none.
    const InstalledFont* FindByPostScriptName(const PMString& postScriptName) const;

    // Adds a font as if installed (for tests, and for hosts without fontconfig).
    void AddFont(const InstalledFont& font);
    // Forgets every font.
    void Clear();

private:
    FontManager();
    std::vector<FontGroup> mGroups;  // by family name
};
