#include "PrefsDialogDriver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "Dialog.h"
#include "MenuMgr.h"

#include "mif/MifEncodingNames.h"
#include "prefs/MifFontKey.h"
#include "prefs/MifPrefsDialogIDs.h"

namespace {

void Say(const std::string& text) { std::fprintf(stderr, "tessel prefs: %s\n", text.c_str()); }

PMString Text(const std::string& utf8) { return PMString(utf8.c_str()); }

// Shows the panel that holds the table of `kind`.
void ShowPanel(Dialog& prefs, PrefsDialogDriver::FileKind kind)
{
    if (kind == PrefsDialogDriver::FileKind::kSubstitutions) prefs.Choose(kMifPanelDropDownWidgetID, kMifFontSubstPanel - 1);
    if (kind == PrefsDialogDriver::FileKind::kEncodings) prefs.Choose(kMifPanelDropDownWidgetID, kMifFontEncPanel - 1);
}

void PrintItems(const char* heading, const DialogWidget* widget)
{
    std::printf("%s:%s\n", heading, widget && !widget->items.empty() ? "" : " none");
    if (!widget) return;
    for (const DialogItem& item : widget->items) std::printf("  %s\n", item.text.GetUTF8String().c_str());
}

} // namespace

PrefsDialogDriver::PrefsDialogDriver() : mPresenter("tessel prefs") {}

int PrefsDialogDriver::Run(const std::function<bool(Dialog&)>& act)
{
    bool confirmed = false;
    bool opened = false;
    mPresenter.AddDialog([&](Dialog& prefs) {
        opened = true;
        if (act(prefs) && !mPresenter.WasRefused()) confirmed = prefs.Confirm();
    });
    DialogPresenterScope scope(&mPresenter);
    if (!MenuMgr::Get().DoAction(kMifPrefsActionID) || !opened) {
        Say("the preferences dialog is not available (is the Tessel plug-in loaded?)");
        return 1;
    }
    return confirmed && !mPresenter.WasRefused() ? 0 : 1;
}

bool PrefsDialogDriver::RunNested(Dialog& parent, WidgetID button, const std::function<bool(Dialog&)>& act)
{
    bool confirmed = false;
    mPresenter.AddDialog([&](Dialog& dialog) {
        if (act(dialog)) confirmed = dialog.Confirm();
    });
    parent.Click(button);
    return confirmed;
}

bool PrefsDialogDriver::ChoosePreset(Dialog& prefs, const std::string& name)
{
    if (prefs.ChooseText(kMifPresetDropDownWidgetID, Text(name))) return true;
    Say("there is no preset named '" + name + "' (tessel prefs list shows them)");
    return false;
}

bool PrefsDialogDriver::WithPreset(Dialog& prefs, const std::string& preset, const std::function<bool()>& act)
{
    int32 current = prefs.GetSelected(kMifPresetDropDownWidgetID);
    if (!preset.empty() && !ChoosePreset(prefs, preset)) return false;
    const DialogWidget* presets = prefs.FindWidget(kMifPresetDropDownWidgetID);
    int32 chosen = presets ? presets->selected : -1;
    if (chosen >= 0 && chosen < static_cast<int32>(presets->items.size()))
        mChangedPreset = presets->items[chosen].text.GetUTF8String();
    if (!act()) return false;
    if (prefs.GetSelected(kMifPresetDropDownWidgetID) != current) prefs.Choose(kMifPresetDropDownWidgetID, current);
    return true;
}

int PrefsDialogDriver::Changed(int status) const
{
    if (status == 0) std::printf("Changed the preset '%s'.\n", mChangedPreset.c_str());
    return status;
}

int PrefsDialogDriver::NewPreset(const std::string& name)
{
    int status = Run([&](Dialog& prefs) {
        return RunNested(prefs, kMifNewPresetButtonWidgetID, [&](Dialog& nameDialog) {
            return nameDialog.Type(kMifPresetNameWidgetID, Text(name));
        });
    });
    if (status == 0) std::printf("Made the preset '%s'; it is the current preset.\n", name.c_str());
    return status;
}

int PrefsDialogDriver::RenamePreset(const std::string& name, const std::string& newName)
{
    int status = Run([&](Dialog& prefs) {
        return WithPreset(prefs, name, [&] {
            if (prefs.GetSelected(kMifPresetDropDownWidgetID) == 0) {
                Say("the preset '" + name + "' is the common preset, which keeps its name");
                return false;
            }
            return RunNested(prefs, kMifRenamePresetButtonWidgetID, [&](Dialog& nameDialog) {
                return nameDialog.Type(kMifPresetNameWidgetID, Text(newName));
            });
        });
    });
    if (status == 0) std::printf("Renamed the preset '%s' to '%s'.\n", name.c_str(), newName.c_str());
    return status;
}

int PrefsDialogDriver::DeletePreset(const std::string& name)
{
    int status = Run([&](Dialog& prefs) {
        if (!ChoosePreset(prefs, name)) return false;
        if (prefs.GetSelected(kMifPresetDropDownWidgetID) == 0) {
            Say("the preset '" + name + "' is the common preset, which cannot be deleted");
            return false;
        }
        size_t before = prefs.FindWidget(kMifPresetDropDownWidgetID)->items.size();
        mPresenter.AddAlertAnswer(0);  // "Yes"
        prefs.Click(kMifDeletePresetButtonWidgetID);
        return prefs.FindWidget(kMifPresetDropDownWidgetID)->items.size() < before;
    });
    if (status == 0) std::printf("Deleted the preset '%s'.\n", name.c_str());
    return status;
}

int PrefsDialogDriver::UsePreset(const std::string& name)
{
    int status = Run([&](Dialog& prefs) { return ChoosePreset(prefs, name); });
    if (status == 0) std::printf("The current preset is '%s'.\n", name.c_str());
    return status;
}

int PrefsDialogDriver::SetMode(const std::string& preset, int group, int mode)
{
    static const WidgetID kGroups[] = {kMifLeadingGroupWidgetID, kMifComposerGroupWidgetID, kMifCrossRefsGroupWidgetID,
                                       kMifVariablesGroupWidgetID, kMifConditionsGroupWidgetID};
    int status = Run([&](Dialog& prefs) {
        return WithPreset(prefs, preset, [&] {
            prefs.Choose(kMifPanelDropDownWidgetID, kMifConversionPanel - 1);
            return prefs.Choose(kGroups[group], mode - 1);
        });
    });
    return Changed(status);
}

bool PrefsDialogDriver::SelectSubstitution(Dialog& prefs, const Substitution& entry)
{
    MifFontKey key(Text(entry.family), Text(entry.angle), Text(entry.weight), Text(entry.variation));
    PMString cell = key.GetFamily();
    cell.Append(" (");
    cell.Append(key.GetStyleDisplay());
    cell.Append(")");
    if (prefs.ChooseText(kMifFontSubstListWidgetID, cell)) return true;
    Say("the preset has no substitution for " + cell.GetUTF8String() + " (tessel prefs show lists them)");
    return false;
}

bool PrefsDialogDriver::SelectEncoding(Dialog& prefs, const std::string& family)
{
    if (prefs.ChooseText(kMifFontEncListWidgetID, Text(family))) return true;
    Say("the preset has no encoding for the family '" + family + "' (tessel prefs show lists them)");
    return false;
}

int PrefsDialogDriver::EditSubstitution(EntryAction action, const std::string& preset, const Substitution& entry)
{
    auto fill = [&](Dialog& dialog) {
        if (action == EntryAction::kAdd) {
            dialog.Type(kMifFrameFamilyWidgetID, Text(entry.family));
            dialog.Type(kMifFrameAngleWidgetID, Text(entry.angle));
            dialog.Type(kMifFrameWeightWidgetID, Text(entry.weight));
            dialog.Type(kMifFrameVariationWidgetID, Text(entry.variation));
        }
        if (!entry.designFamily.empty() && !dialog.ChooseText(kMifDesignFamilyWidgetID, Text(entry.designFamily))) {
            Say("'" + entry.designFamily +
                "' is not an installed font family (a CSV file imported with tessel prefs subst import may name any)");
            return false;
        }
        if (entry.designStyle.empty()) return true;  // choosing the family chose "Don't change font style"
        if (!dialog.ChooseText(kMifDesignStyleWidgetID, Text(entry.designStyle))) {
            Say("the font family '" + entry.designFamily + "' has no style '" + entry.designStyle + "'");
            return false;
        }
        return true;
    };
    return Changed(Run([&](Dialog& prefs) {
        return WithPreset(prefs, preset, [&] {
            prefs.Choose(kMifPanelDropDownWidgetID, kMifFontSubstPanel - 1);
            if (action == EntryAction::kAdd) return RunNested(prefs, kMifAddFontSubstButtonWidgetID, fill);
            if (!SelectSubstitution(prefs, entry)) return false;
            if (action == EntryAction::kEdit) return RunNested(prefs, kMifEditFontSubstButtonWidgetID, fill);
            return prefs.Click(kMifDeleteFontSubstButtonWidgetID);
        });
    }));
}

int PrefsDialogDriver::EditEncoding(EntryAction action, const std::string& preset, const std::string& family,
                                    const std::string& encoding)
{
    auto fill = [&](Dialog& dialog) {
        dialog.Type(kMifFrameFamilyWidgetID, Text(family));
        if (dialog.ChooseText(kMifEncodingWidgetID, Text(encoding))) return true;
        char* end = nullptr;
        long code = std::strtol(encoding.c_str(), &end, 10);
        for (int32 i = 0; !encoding.empty() && *end == '\0' && i < MifEncodingNames::GetOfferedCount(); ++i)
            if (MifEncodingNames::GetOfferedCode(i) == code) return dialog.Choose(kMifEncodingWidgetID, i);
        std::string names;
        for (int32 i = 0; i < MifEncodingNames::GetOfferedCount(); ++i) {
            int32 offered = MifEncodingNames::GetOfferedCode(i);
            names += "\n  " + MifEncodingNames::GetName(offered).GetUTF8String() + " (" + std::to_string(offered) + ")";
        }
        Say("'" + encoding + "' is not an encoding of the list; it offers:" + names);
        return false;
    };
    return Changed(Run([&](Dialog& prefs) {
        return WithPreset(prefs, preset, [&] {
            prefs.Choose(kMifPanelDropDownWidgetID, kMifFontEncPanel - 1);
            if (action == EntryAction::kAdd) return RunNested(prefs, kMifAddFontEncButtonWidgetID, fill);
            if (!SelectEncoding(prefs, family)) return false;
            if (action == EntryAction::kEdit) return RunNested(prefs, kMifEditFontEncButtonWidgetID, fill);
            return prefs.Click(kMifDeleteFontEncButtonWidgetID);
        });
    }));
}

int PrefsDialogDriver::ExportFile(FileKind kind, const std::string& preset, const std::string& path)
{
    static const WidgetID kButtons[] = {kMifSavePresetsButtonWidgetID, kMifExportFontSubstButtonWidgetID,
                                        kMifExportFontEncButtonWidgetID};
    bool clicked = false;
    Run([&](Dialog& prefs) {
        WithPreset(prefs, preset, [&] {
            ShowPanel(prefs, kind);
            mPresenter.AddFiles({IDFile(std::filesystem::path(path))});
            clicked = prefs.Click(kButtons[static_cast<int>(kind)]);
            return clicked;
        });
        return false;  // nothing to keep: the dialog is cancelled
    });
    if (!clicked || mPresenter.WasRefused()) return 1;
    std::printf("Wrote %s\n", path.c_str());
    return 0;
}

int PrefsDialogDriver::ImportFile(FileKind kind, const std::string& preset, const std::string& path)
{
    static const WidgetID kButtons[] = {kMifLoadPresetsButtonWidgetID, kMifImportFontSubstButtonWidgetID,
                                        kMifImportFontEncButtonWidgetID};
    int status = Run([&](Dialog& prefs) {
        return WithPreset(prefs, kind == FileKind::kPresets ? std::string() : preset, [&] {
            ShowPanel(prefs, kind);
            mPresenter.AddFiles({IDFile(std::filesystem::path(path))});
            return prefs.Click(kButtons[static_cast<int>(kind)]);
        });
    });
    if (status == 0) std::printf("Imported %s\n", path.c_str());
    return status;
}

int PrefsDialogDriver::PrintFontHints(const std::vector<std::string>& paths)
{
    std::vector<IDFile> files;
    for (const std::string& path : paths) files.emplace_back(std::filesystem::path(path));
    bool shown = false;
    Run([&](Dialog& prefs) {
        prefs.Choose(kMifPanelDropDownWidgetID, kMifFontSubstPanel - 1);
        RunNested(prefs, kMifAddFontSubstButtonWidgetID, [&](Dialog& entry) {
            mPresenter.AddFiles(files);
            entry.Click(kMifLoadFontDataButtonWidgetID);
            PrintItems("Families", entry.FindWidget(kMifFrameFamilyWidgetID));
            PrintItems("Angles", entry.FindWidget(kMifFrameAngleWidgetID));
            PrintItems("Weights", entry.FindWidget(kMifFrameWeightWidgetID));
            PrintItems("Variations", entry.FindWidget(kMifFrameVariationWidgetID));
            shown = true;
            return false;
        });
        return false;
    });
    return shown && !mPresenter.WasRefused() ? 0 : 1;
}
