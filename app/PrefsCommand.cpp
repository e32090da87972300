#include "PrefsCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "InterfacePtr.h"
#include "MenuMgr.h"
#include "PrefsDialogDriver.h"
#include "Session.h"

#include "mif/MifEncodingNames.h"
#include "prefs/IMifPrefs.h"

namespace {

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

// Prints the menu entries the plug-ins added, menu by menu, as "Edit > Preferences > Tessel...".
int PrintMenus()
{
    for (const MenuEntry& entry : MenuMgr::Get().GetEntries()) {
        std::string path = UTF8(entry.menuPath), shown;
        size_t start = path.rfind("Main:", 0) == 0 ? 5 : 0;
        for (size_t i = start; i < path.size(); ++i) {
            if (path[i] == '&') continue;
            if (path[i] == ':') shown += " > ";
            else shown.push_back(path[i]);
        }
        char position[32];
        std::snprintf(position, sizeof position, "%.1f", entry.position);
        if (entry.separator) {
            std::printf("%s > ----------  (position %s)\n", shown.c_str(), position);
        } else {
            std::printf("%s > %s  (position %s, action 0x%X%s)\n", shown.c_str(), WithoutMnemonic(UTF8(entry.name).c_str()).c_str(),
                        position, entry.action, MenuMgr::Get().IsEnabled(entry.action) ? "" : ", disabled");
        }
    }
    return 0;
}

int ListOrShow(bool list, const std::string& name)
{
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

    if (list) {
        for (int32 i = 0; i < static_cast<int32>(presets.size()); ++i)
            std::printf("%s %s\n", i == current ? "*" : " ", UTF8(presets[i].GetName()).c_str());
        return 0;
    }
    int32 index = current;
    if (!name.empty()) {
        index = MifPresetRecord::FindByName(presets, PMString(name.c_str()));
        if (index < 0) {
            std::fprintf(stderr, "tessel prefs: there is no preset named '%s' (tessel prefs list shows them)\n",
                         name.c_str());
            return 1;
        }
    }
    PrintPreset(presets[index], index == current);
    return 0;
}

// The mode groups as `tessel prefs set` names them, with the words for their two choices.
struct ModeName {
    const char* name;
    const char* first;
    const char* second;
};
const ModeName kModeNames[] = {
    {"leading", "auto", "fixed"},
    {"composer", "paragraph", "single-line"},
    {"xrefs", "text", "xrefs"},
    {"variables", "text", "variables"},
    {"conditions", "text", "conditions"},
};

// A name the user typed must say something: an empty one is wrong usage.
std::string NotEmpty(const std::string& value)
{
    return value.empty() ? std::string("must not be empty") : std::string();
}

} // namespace

int RunPrefsCommand(const std::vector<std::string>& args)
{
    CLI::App app("Shows and changes the conversion presets: their modes, font substitutions and font encodings.\n"
                 "Every change is made through the preferences dialog (Edit > Preferences > Tessel...),\n"
                 "with its checks and messages; a refused change exits with 1 and changes nothing.",
                 "tessel prefs");
    app.require_subcommand(1);
    app.footer("A preset is named as `tessel prefs list` shows it (letter case aside). --preset NAME acts on that\n"
               "preset instead of the current one, which stays current.");

    std::function<int()> action;
    std::string name, newName, preset, path;
    std::vector<std::string> paths;

    app.add_subcommand("list", "list the presets (* marks the current one)")->callback([&] {
        action = [&] { return ListOrShow(true, ""); };
    });
    CLI::App* show = app.add_subcommand("show", "show the current preset, or the preset NAME, with its tables");
    show->add_option("NAME", name, "the preset to show");
    show->callback([&] { action = [&] { return ListOrShow(false, name); }; });
    app.add_subcommand("menu", "list the menu entries the plug-ins added")->callback([&] {
        action = [] { return PrintMenus(); };
    });

    PrefsDialogDriver driver;
    CLI::App* make = app.add_subcommand("new", "make a preset NAME with the default modes and empty tables; it becomes current");
    make->add_option("NAME", name, "the new preset's name")->required()->check(NotEmpty);
    make->callback([&] { action = [&] { return driver.NewPreset(name); }; });
    CLI::App* rename = app.add_subcommand("rename", "rename the preset NAME to NEW");
    rename->add_option("NAME", name, "the preset to rename")->required()->check(NotEmpty);
    rename->add_option("NEW", newName, "its new name")->required()->check(NotEmpty);
    rename->callback([&] { action = [&] { return driver.RenamePreset(name, newName); }; });
    CLI::App* remove = app.add_subcommand("delete", "delete the preset NAME (the common preset stays)");
    remove->add_option("NAME", name, "the preset to delete")->required()->check(NotEmpty);
    remove->callback([&] { action = [&] { return driver.DeletePreset(name); }; });
    CLI::App* use = app.add_subcommand("use", "make the preset NAME the current one, which conversions use");
    use->add_option("NAME", name, "the preset")->required()->check(NotEmpty);
    use->callback([&] { action = [&] { return driver.UsePreset(name); }; });

    std::string mode, value;
    CLI::App* set = app.add_subcommand("set", "set a conversion mode: leading 1|2|auto|fixed, composer 1|2|paragraph|single-line,\n"
                                              "xrefs 1|2|text|xrefs, variables 1|2|text|variables, conditions 1|2|text|conditions");
    set->add_option("--preset", preset, "the preset to change (default: the current one)")->check(NotEmpty);
    set->add_option("MODE", mode, "leading, composer, xrefs, variables or conditions")->required();
    set->add_option("VALUE", value, "1 or 2 (the first or second choice of the dialog), or the choice's word")->required();
    set->callback([&] {
        int group = -1, choice = 0;
        for (int i = 0; i < 5; ++i) {
            if (mode != kModeNames[i].name) continue;
            group = i;
            if (value == "1" || value == kModeNames[i].first) choice = 1;
            if (value == "2" || value == kModeNames[i].second) choice = 2;
        }
        if (group < 0) throw CLI::ValidationError("MODE", "'" + mode + "' is not a mode (leading, composer, xrefs, variables, conditions)");
        if (choice == 0)
            throw CLI::ValidationError("VALUE", "'" + value + "' is not a choice of " + mode + " (1, 2, " +
                                                    kModeNames[group].first + ", " + kModeNames[group].second + ")");
        action = [&, group, choice] { return driver.SetMode(preset, group, choice); };
    });

    PrefsDialogDriver::Substitution entry;
    CLI::App* subst = app.add_subcommand("subst", "change the font substitution table of a preset");
    subst->require_subcommand(1);
    auto addKey = [&](CLI::App* cmd) {
        cmd->add_option("--preset", preset, "the preset to change (default: the current one)")->check(NotEmpty);
        cmd->add_option("FAMILY", entry.family, "the FrameMaker font family (FFamily)")->required()->check(NotEmpty);
        cmd->add_option("--angle", entry.angle, "its angle (FAngle); empty or left out matches any");
        cmd->add_option("--weight", entry.weight, "its weight (FWeight); empty or left out matches any");
        cmd->add_option("--variation", entry.variation, "its variation (FVar); empty or left out matches any");
    };
    auto addDesign = [&](CLI::App* cmd, bool required) {
        CLI::Option* to = cmd->add_option("--to", entry.designFamily, "the InDesign font family (an installed one)");
        if (required) to->required();
        to->check(NotEmpty);
        cmd->add_option("--style", entry.designStyle, "its style; left out: the style the font mapping gives");
    };
    using Action = PrefsDialogDriver::EntryAction;
    CLI::App* substAdd = subst->add_subcommand("add", "add a substitution (replacing one with the same FrameMaker font)");
    addKey(substAdd);
    addDesign(substAdd, true);
    substAdd->callback([&] { action = [&] { return driver.EditSubstitution(Action::kAdd, preset, entry); }; });
    CLI::App* substEdit = subst->add_subcommand("edit", "change the InDesign font of a substitution");
    addKey(substEdit);
    addDesign(substEdit, false);
    substEdit->callback([&] { action = [&] { return driver.EditSubstitution(Action::kEdit, preset, entry); }; });
    CLI::App* substDelete = subst->add_subcommand("delete", "delete a substitution");
    addKey(substDelete);
    substDelete->callback([&] { action = [&] { return driver.EditSubstitution(Action::kDelete, preset, entry); }; });

    std::string encoding;
    CLI::App* enc = app.add_subcommand("enc", "change the font encoding table of a preset");
    enc->require_subcommand(1);
    auto addFamily = [&](CLI::App* cmd, bool withEncoding) {
        cmd->add_option("--preset", preset, "the preset to change (default: the current one)")->check(NotEmpty);
        cmd->add_option("FAMILY", name, "the FrameMaker font family")->required()->check(NotEmpty);
        if (withEncoding)
            cmd->add_option("ENCODING", encoding, "an encoding as the dialog names it (\"East Europe (Win)\") or its code (238)")
                ->required();
    };
    CLI::App* encAdd = enc->add_subcommand("add", "add an encoding entry (replacing the family's)");
    addFamily(encAdd, true);
    encAdd->callback([&] { action = [&] { return driver.EditEncoding(Action::kAdd, preset, name, encoding); }; });
    CLI::App* encEdit = enc->add_subcommand("edit", "change the encoding of a family");
    addFamily(encEdit, true);
    encEdit->callback([&] { action = [&] { return driver.EditEncoding(Action::kEdit, preset, name, encoding); }; });
    CLI::App* encDelete = enc->add_subcommand("delete", "delete the encoding entry of a family");
    addFamily(encDelete, false);
    encDelete->callback([&] { action = [&] { return driver.EditEncoding(Action::kDelete, preset, name, ""); }; });

    using Kind = PrefsDialogDriver::FileKind;
    auto addFile = [&](CLI::App* parent, const char* verb, const char* what, Kind kind, bool out) {
        CLI::App* cmd = parent->add_subcommand(verb, what);
        cmd->add_option("FILE", path, "the file")->required()->check(NotEmpty);
        if (kind != Kind::kPresets)
            cmd->add_option("--preset", preset, "the preset (default: the current one)")->check(NotEmpty);
        cmd->callback([&, kind, out] {
            action = [&, kind, out] { return out ? driver.ExportFile(kind, preset, path) : driver.ImportFile(kind, preset, path); };
        });
    };
    addFile(&app, "export", "write every preset to a preset file (.tqp)", Kind::kPresets, true);
    addFile(&app, "import", "replace every preset, the common one too, by those of a preset file", Kind::kPresets, false);
    addFile(subst, "export", "write the preset's substitutions to a CSV file", Kind::kSubstitutions, true);
    addFile(subst, "import", "add the substitutions of a CSV file to the preset", Kind::kSubstitutions, false);
    addFile(enc, "export", "write the preset's encodings to a CSV file", Kind::kEncodings, true);
    addFile(enc, "import", "add the encodings of a CSV file to the preset", Kind::kEncodings, false);

    CLI::App* hints = app.add_subcommand("hints", "list the font families, angles, weights and variations MIF files use");
    hints->add_option("FILE", paths, "MIF files")->required();
    hints->callback([&] { action = [&] { return driver.PrintFontHints(paths); }; });

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "tessel prefs: %s\nRun 'tessel prefs --help' for the commands and their options.\n", e.what());
        return 2;
    }
    return action ? action() : 2;
}
