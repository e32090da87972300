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

// What the command line of `tessel prefs` gives: the chosen subcommand's action and the values
// it reads when it runs.
struct PrefsArguments {
    std::function<int()> action;
    std::string name, newName, preset, path, mode, value, encoding;
    std::vector<std::string> paths;
    PrefsDialogDriver::Substitution entry;
    PrefsDialogDriver driver;
};

using Action = PrefsDialogDriver::EntryAction;

void AddShowCommands(CLI::App& app, PrefsArguments& a)
{
    app.add_subcommand("list", "list the presets (* marks the current one)")->callback([&] {
        a.action = [&] { return ListOrShow(true, ""); };
    });
    CLI::App* show = app.add_subcommand("show", "show the current preset, or the preset NAME, with its tables");
    show->add_option("NAME", a.name, "the preset to show");
    show->callback([&] { a.action = [&] { return ListOrShow(false, a.name); }; });
    app.add_subcommand("menu", "list the menu entries the plug-ins added")->callback([&] {
        a.action = [] { return PrintMenus(); };
    });
}

void AddPresetCommands(CLI::App& app, PrefsArguments& a)
{
    CLI::App* make = app.add_subcommand("new", "make a preset NAME with the default modes and empty tables; it becomes current");
    make->add_option("NAME", a.name, "the new preset's name")->required()->check(NotEmpty);
    make->callback([&] { a.action = [&] { return a.driver.NewPreset(a.name); }; });
    CLI::App* rename = app.add_subcommand("rename", "rename the preset NAME to NEW");
    rename->add_option("NAME", a.name, "the preset to rename")->required()->check(NotEmpty);
    rename->add_option("NEW", a.newName, "its new name")->required()->check(NotEmpty);
    rename->callback([&] { a.action = [&] { return a.driver.RenamePreset(a.name, a.newName); }; });
    CLI::App* remove = app.add_subcommand("delete", "delete the preset NAME (the common preset stays)");
    remove->add_option("NAME", a.name, "the preset to delete")->required()->check(NotEmpty);
    remove->callback([&] { a.action = [&] { return a.driver.DeletePreset(a.name); }; });
    CLI::App* use = app.add_subcommand("use", "make the preset NAME the current one, which conversions use");
    use->add_option("NAME", a.name, "the preset")->required()->check(NotEmpty);
    use->callback([&] { a.action = [&] { return a.driver.UsePreset(a.name); }; });
}

void AddSetCommand(CLI::App& app, PrefsArguments& a)
{
    CLI::App* set = app.add_subcommand("set", "set a conversion mode: leading 1|2|auto|fixed, composer 1|2|paragraph|single-line,\n"
                                              "xrefs 1|2|text|xrefs, variables 1|2|text|variables, conditions 1|2|text|conditions");
    set->add_option("--preset", a.preset, "the preset to change (default: the current one)")->check(NotEmpty);
    set->add_option("MODE", a.mode, "leading, composer, xrefs, variables or conditions")->required();
    set->add_option("VALUE", a.value, "1 or 2 (the first or second choice of the dialog), or the choice's word")->required();
    set->callback([&] {
        int group = -1, choice = 0;
        for (int i = 0; i < 5; ++i) {
            if (a.mode != kModeNames[i].name) continue;
            group = i;
            if (a.value == "1" || a.value == kModeNames[i].first) choice = 1;
            if (a.value == "2" || a.value == kModeNames[i].second) choice = 2;
        }
        if (group < 0) throw CLI::ValidationError("MODE", "'" + a.mode + "' is not a mode (leading, composer, xrefs, variables, conditions)");
        if (choice == 0)
            throw CLI::ValidationError("VALUE", "'" + a.value + "' is not a choice of " + a.mode + " (1, 2, " +
                                                    kModeNames[group].first + ", " + kModeNames[group].second + ")");
        a.action = [&, group, choice] { return a.driver.SetMode(a.preset, group, choice); };
    });
}

CLI::App* AddSubstCommands(CLI::App& app, PrefsArguments& a)
{
    CLI::App* subst = app.add_subcommand("subst", "change the font substitution table of a preset");
    subst->require_subcommand(1);
    auto addKey = [&](CLI::App* cmd) {
        cmd->add_option("--preset", a.preset, "the preset to change (default: the current one)")->check(NotEmpty);
        cmd->add_option("FAMILY", a.entry.family, "the FrameMaker font family (FFamily)")->required()->check(NotEmpty);
        cmd->add_option("--angle", a.entry.angle, "its angle (FAngle); empty or left out matches any");
        cmd->add_option("--weight", a.entry.weight, "its weight (FWeight); empty or left out matches any");
        cmd->add_option("--variation", a.entry.variation, "its variation (FVar); empty or left out matches any");
    };
    auto addDesign = [&](CLI::App* cmd, bool required) {
        CLI::Option* to = cmd->add_option("--to", a.entry.designFamily, "the InDesign font family (an installed one)");
        if (required) to->required();
        to->check(NotEmpty);
        cmd->add_option("--style", a.entry.designStyle, "its style; left out: the style the font mapping gives");
    };
    CLI::App* substAdd = subst->add_subcommand("add", "add a substitution (replacing one with the same FrameMaker font)");
    addKey(substAdd);
    addDesign(substAdd, true);
    substAdd->callback([&] { a.action = [&] { return a.driver.EditSubstitution(Action::kAdd, a.preset, a.entry); }; });
    CLI::App* substEdit = subst->add_subcommand("edit", "change the InDesign font of a substitution");
    addKey(substEdit);
    addDesign(substEdit, false);
    substEdit->callback([&] { a.action = [&] { return a.driver.EditSubstitution(Action::kEdit, a.preset, a.entry); }; });
    CLI::App* substDelete = subst->add_subcommand("delete", "delete a substitution");
    addKey(substDelete);
    substDelete->callback([&] { a.action = [&] { return a.driver.EditSubstitution(Action::kDelete, a.preset, a.entry); }; });
    return subst;
}

CLI::App* AddEncCommands(CLI::App& app, PrefsArguments& a)
{
    CLI::App* enc = app.add_subcommand("enc", "change the font encoding table of a preset");
    enc->require_subcommand(1);
    auto addFamily = [&](CLI::App* cmd, bool withEncoding) {
        cmd->add_option("--preset", a.preset, "the preset to change (default: the current one)")->check(NotEmpty);
        cmd->add_option("FAMILY", a.name, "the FrameMaker font family")->required()->check(NotEmpty);
        if (withEncoding)
            cmd->add_option("ENCODING", a.encoding, "an encoding as the dialog names it (\"East Europe (Win)\") or its code (238)")
                ->required();
    };
    CLI::App* encAdd = enc->add_subcommand("add", "add an encoding entry (replacing the family's)");
    addFamily(encAdd, true);
    encAdd->callback([&] { a.action = [&] { return a.driver.EditEncoding(Action::kAdd, a.preset, a.name, a.encoding); }; });
    CLI::App* encEdit = enc->add_subcommand("edit", "change the encoding of a family");
    addFamily(encEdit, true);
    encEdit->callback([&] { a.action = [&] { return a.driver.EditEncoding(Action::kEdit, a.preset, a.name, a.encoding); }; });
    CLI::App* encDelete = enc->add_subcommand("delete", "delete the encoding entry of a family");
    addFamily(encDelete, false);
    encDelete->callback([&] { a.action = [&] { return a.driver.EditEncoding(Action::kDelete, a.preset, a.name, ""); }; });
    return enc;
}

void AddFileCommands(CLI::App& app, CLI::App* subst, CLI::App* enc, PrefsArguments& a)
{
    using Kind = PrefsDialogDriver::FileKind;
    auto addFile = [&](CLI::App* parent, const char* verb, const char* what, Kind kind, bool out) {
        CLI::App* cmd = parent->add_subcommand(verb, what);
        cmd->add_option("FILE", a.path, "the file")->required()->check(NotEmpty);
        if (kind != Kind::kPresets)
            cmd->add_option("--preset", a.preset, "the preset (default: the current one)")->check(NotEmpty);
        cmd->callback([&, kind, out] {
            a.action = [&, kind, out] {
                return out ? a.driver.ExportFile(kind, a.preset, a.path) : a.driver.ImportFile(kind, a.preset, a.path);
            };
        });
    };
    addFile(&app, "export", "write every preset to a preset file (.tqp)", Kind::kPresets, true);
    addFile(&app, "import", "replace every preset, the common one too, by those of a preset file", Kind::kPresets, false);
    addFile(subst, "export", "write the preset's substitutions to a CSV file", Kind::kSubstitutions, true);
    addFile(subst, "import", "add the substitutions of a CSV file to the preset", Kind::kSubstitutions, false);
    addFile(enc, "export", "write the preset's encodings to a CSV file", Kind::kEncodings, true);
    addFile(enc, "import", "add the encodings of a CSV file to the preset", Kind::kEncodings, false);
    CLI::App* hints = app.add_subcommand("hints", "list the font families, angles, weights and variations MIF files use");
    hints->add_option("FILE", a.paths, "MIF files")->required();
    hints->callback([&] { a.action = [&] { return a.driver.PrintFontHints(a.paths); }; });
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
    PrefsArguments a;
    AddShowCommands(app, a);
    AddPresetCommands(app, a);
    AddSetCommand(app, a);
    CLI::App* subst = AddSubstCommands(app, a);
    CLI::App* enc = AddEncCommands(app, a);
    AddFileCommands(app, subst, enc, a);

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
    return a.action ? a.action() : 2;
}
