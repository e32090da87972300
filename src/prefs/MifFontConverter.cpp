#include "prefs/MifFontConverter.h"

#include <optional>

#include "FontManager.h"
#include "InterfacePtr.h"
#include "Session.h"

#include "base/MifAssertLog.h"
#include "prefs/IMifImportOptions.h"
#include "prefs/IMifPrefs.h"
#include "prefs/MifPresetRecord.h"

MifFontConverter::MifFontConverter()
{
    const FontManager& fonts = FontManager::Get();
    for (int32 i = 0; i < fonts.GetFontGroupCount(); ++i)
        for (const InstalledFont& font : fonts.GetFontGroup(i)->fonts)
            if (!font.postScriptName.IsEmpty()) mInstalledFonts[font.postScriptName] = MifIDFont(font.family, font.style);
}

bool MifFontConverter::FindSubstitution(const MifPresetRecord& preset, const MifFontKey& frameFont, MifIDFont& designFont)
{
    const PMString none;
    const PMString& a = frameFont.GetAngle();
    const PMString& w = frameFont.GetWeight();
    const PMString& v = frameFont.GetVariation();
    // From the most specific key to the least: the variation is given up first, then the weight,
    // then the angle.
    const MifFontKey keys[] = {
        {frameFont.GetFamily(), a, w, v},       {frameFont.GetFamily(), a, w, none},
        {frameFont.GetFamily(), a, none, v},    {frameFont.GetFamily(), none, w, v},
        {frameFont.GetFamily(), a, none, none}, {frameFont.GetFamily(), none, w, none},
        {frameFont.GetFamily(), none, none, v}, {frameFont.GetFamily(), none, none, none},
    };
    for (const MifFontKey& key : keys) {
        for (int32 i = 0; i < preset.GetSubstitutionCount(); ++i) {
            if (preset.GetSubstitutionKey(i) == key) {
                designFont = preset.GetSubstitutionFont(i);
                return true;
            }
        }
    }
    return false;
}

bool MifFontConverter::Convert(const MifFontKey& frameFont, const PMString& postScriptName, MifIDFont& designFont)
{
    // The current preset is the import's copy when an import runs, else the preferences' own.
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    InterfacePtr<IMifImportOptions> importOptions(this, IID_IMIFIMPORTOPTIONS);
    // The import's preset is read where it stands: a font is converted for every format.
    std::optional<MifPresetRecord> own;
    if (!importOptions) own.emplace(prefs ? prefs->GetPreset(prefs->GetCurrentPreset()) : MifPresetRecord());
    const MifPresetRecord& current = importOptions ? importOptions->GetPreset() : *own;
    if (FindSubstitution(current, frameFont, designFont)) return true;
    if (prefs && prefs->GetPresetCount() > 0) {
        MifPresetRecord common = prefs->GetPreset(0);
        if (common.GetName() != current.GetName() && FindSubstitution(common, frameFont, designFont)) return true;
    }
    auto installed = mInstalledFonts.find(postScriptName);
    if (!postScriptName.IsEmpty() && installed != mInstalledFonts.end()) {
        designFont = installed->second;
        return true;
    }
    if (frameFont.GetFamily().IsEmpty()) return false;
    designFont = MifIDFont(frameFont.GetFamily(), MakeStyleName(frameFont.GetAngle(), frameFont.GetWeight(), frameFont.GetVariation()));
    return true;
}

PMString MifFontConverter::MakeStyleName(const PMString& angle, const PMString& weight, const PMString& variation) const
{
    PMString style;
    const PMString regular("Regular");
    for (const PMString* part : {&weight, &angle, &variation}) {
        if (part->IsEmpty() || *part == regular) continue;
        if (!style.IsEmpty()) style.Append(" ");
        style.Append(*part);
    }
    if (style.IsEmpty()) style = regular;
    style.SetTranslated();
    return style;
}
