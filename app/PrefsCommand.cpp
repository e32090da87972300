#include "PrefsCommand.h"

#include <cstdio>

#include "IMifPrefs.h"
#include "InterfacePtr.h"
#include "MifEncodingNames.h"
#include "Session.h"

namespace {

const char* kUsage =
    "usage: tessel prefs list          list the presets (* marks the current one)\n"
    "       tessel prefs show [NAME]   show the current preset, or the preset NAME\n";

std::string UTF8(const PMString& text) { return text.GetUTF8String(); }

// A dialog text without its mnemonic marks: "Use &Variables" reads "Use Variables".
std::string WithoutMnemonic(const char* key)
{
    PMString text(key);
    text.Translate();
    std::string in = UTF8(text), out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '&' && i + 1 < in.size()) ++i;
        out.push_back(in[i]);
    }
    return out;
}

void PrintMode(const char* label, int32 mode, int32 stored, const char* firstKey, const char* secondKey, const char* why)
{
    std::printf("  %-18s %d  %s", label, mode, WithoutMnemonic(mode == 1 ? firstKey : secondKey).c_str());
    if (mode != stored) std::printf("  (%d is stored; %s)", stored, why);
    std::printf("\n");
}

void PrintPreset(const MifPresetRecord& preset, bool current)
{
    std::printf("Preset: %s%s\n\n", UTF8(preset.GetName()).c_str(), current ? "  (current)" : "");
    PrintMode("Leading:", preset.GetLeading(), preset.GetLeading(), "OV#0xB40#kMifConvertToAutoLeadingKey",
              "OV#0xB40#kMifUseAlwaysFixedLeadingKey", "");
    PrintMode("Composer:", preset.GetComposer(), preset.GetComposer(), "OV#0xB40#kMifUseAdobeParagraphComposerKey",
              "OV#0xB40#kMifUseSingleLineComposerKey", "");
    PrintMode("Cross-references:", preset.GetCrossReferences(), preset.GetStoredCrossReferences(),
              "OV#0xB40#kMifConvertCrossRefsToTextKey", "OV#0xB40#kMifUseCrossReferencesKey",
              "the cross-reference plug-in is not loaded");
    PrintMode("Variables:", preset.GetVariables(), preset.GetVariables(), "OV#0xB40#kMifConvertVariablesToTextKey",
              "OV#0xB40#kMifUseVariablesKey", "");
    PrintMode("Conditional text:", preset.GetConditionalText(), preset.GetStoredConditionalText(),
              "OV#0xB40#kMifConvertConditionalsToTextKey", "OV#0xB40#kMifUseConditionalsKey",
              "conditional text is always imported as text");

    std::printf("\nFont substitutions: %s\n", preset.GetSubstitutionCount() ? "" : "none");
    for (int32 i = 0; i < preset.GetSubstitutionCount(); ++i) {
        const MifFontKey& key = preset.GetSubstitutionKey(i);
        const MifIDFont& font = preset.GetSubstitutionFont(i);
        std::printf("  %s (%s)  ->  %s (%s)\n", UTF8(key.GetFamily()).c_str(), UTF8(key.GetStyleDisplay()).c_str(),
                    UTF8(font.GetFamily()).c_str(), UTF8(font.GetStyleDisplay()).c_str());
    }
    std::printf("\nFont encodings: %s\n", preset.GetEncodingCount() ? "" : "none");
    for (int32 i = 0; i < preset.GetEncodingCount(); ++i) {
        int32 encoding = preset.GetEncoding(i);
        PMString name = MifEncodingNames::GetName(encoding);
        std::printf("  %s  ->  %d%s%s\n", UTF8(preset.GetEncodingFamily(i)).c_str(), encoding,
                    name.IsEmpty() ? "" : "  ", UTF8(name).c_str());
    }
}

} // namespace

int RunPrefsCommand(const std::vector<std::string>& args)
{
    if (args.empty() || args[0] == "-h" || args[0] == "--help") {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    const std::string& action = args[0];
    if ((action != "list" && action != "show") || (action == "list" && args.size() > 1) || args.size() > 2) {
        std::fprintf(stderr, "tessel prefs: unknown command or extra argument\n%s", kUsage);
        return 2;
    }

    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (!prefs) {
        std::fprintf(stderr, "tessel prefs: the preferences are not available\n");
        return 1;
    }
    std::vector<MifPresetRecord> presets = prefs->GetPresets();
    if (presets.empty()) presets.push_back(prefs->GetPreset(0));
    int32 current = prefs->GetCurrentPreset();
    // An index out of range stands for the first preset, as for the import.
    if (current < 0 || current >= static_cast<int32>(presets.size())) current = 0;

    if (action == "list") {
        for (int32 i = 0; i < static_cast<int32>(presets.size()); ++i)
            std::printf("%s %s\n", i == current ? "*" : " ", UTF8(presets[i].GetName()).c_str());
        return 0;
    }
    int32 index = current;
    if (args.size() == 2) {
        index = MifPresetRecord::FindByName(presets, PMString(args[1]));
        if (index < 0) {
            std::fprintf(stderr, "tessel prefs: there is no preset named '%s' (tessel prefs list shows them)\n",
                         args[1].c_str());
            return 1;
        }
    }
    PrintPreset(presets[index], index == current);
    return 0;
}
