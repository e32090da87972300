// FontManager: the fonts installed in the system, as fontconfig reports them, grouped by family,
// each with the Windows character set of its text (how documents written on Windows tell which
// 8-bit character set a font's text is in).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <map>
#include <vector>

#include "PMString.h"

struct InstalledFont {
    PMString family;          // "Nimbus Roman"
    PMString style;           // "Bold Italic"
    PMString postScriptName;  // "NimbusRoman-BoldItalic"
    // 0 ANSI (Latin), 2 symbol, 161 Greek, 177 Hebrew, 178 Arabic, 204 Cyrillic, 222 Thai, as
    // the font's coverage tells; a PostScript font's own encoding is looked at by GetCharSet.
    int32 charSet = 0;
};

struct FontGroup {
    PMString family;
    std::vector<InstalledFont> fonts;
    int32 charSet = 0;  // that of the font added last (ask FontManager::GetCharSet)
};

class FontManager {
public:
    // The session's font manager; the system is asked once, on first use.
    static FontManager& Get();

    int32 GetFontGroupCount() const { return static_cast<int32>(mGroups.size()); }
    // The i-th family, in name order; null when out of range.
    const FontGroup* GetFontGroup(int32 i) const;
    // Whether a family of exactly this name is installed.
    bool HasFamily(const PMString& family) const { return FindFontGroup(family) != nullptr; }
    // The installed family of exactly this name, with its fonts; null when there is none.
    const FontGroup* FindFontGroup(const PMString& family) const;
    // The installed font of this PostScript name; null when none.
    const InstalledFont* FindByPostScriptName(const PMString& postScriptName) const;
    // The character set of the family (exact name); 0 when it is not installed, except that
    // "Symbol" answers 2 when fontconfig serves a symbol-encoded font in its place.
    int32 GetCharSet(const PMString& family) const;

    // The character set of a font: 2 when it is `symbolEncoded` (it has a character map of its
    // own, a TrueType symbol map or a PostScript built-in encoding, and its letter A is no Latin
    // A), 0 when it `covers` the Latin letters, else that of the first of Cyrillic, Greek, Hebrew,
    // Arabic and Thai it covers, and 0 when none.
    static int32 GetCharSet(bool symbolEncoded, const std::function<bool(UTF32TextChar)>& covers);

    // Adds a font as if installed (for tests, and for hosts without fontconfig).
    void AddFont(const InstalledFont& font);
    // Forgets every font.
    void Clear();

private:
    FontManager();

    // A PostScript font's encoding is known only from its file. Opening every installed one
    // costs a conversion a tenth of a second, so the file of a family's last font is opened when
    // GetCharSet first asks for that family (few are asked for).
    struct SymbolCheck {
        std::string file;
        int index = 0;
    };
    // Whether fontconfig serves a symbol-encoded font for "Symbol"; asked on first need.
    bool ServesSymbolStandIn() const;

    std::vector<FontGroup> mGroups;                         // by family name
    mutable std::map<PMString, SymbolCheck> mSymbolChecks;  // by family: its last font's, not made yet
    mutable int mSymbolStandIn = -1;                        // -1: not asked yet
};
