// PrefsDialogDriver: what `tessel prefs` changes, done as a user does it: it opens the preferences
// dialog through its menu entry (Edit > Preferences > "Tessel..."), acts on the dialog's widgets
// and the small dialogs they open, and confirms. So the checks and messages are the dialogs' own:
// a refused entry leaves the stored preferences as they were and the method answers 1.
//
// Each method answers an exit status: 0 done, 1 refused or failed (after saying why).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CommandLinePresenter.h"

class Dialog;

class PrefsDialogDriver {
public:
    // The FrameMaker side of a substitution and, for add and edit, the InDesign side.
    struct Substitution {
        std::string family, angle, weight, variation;
        std::string designFamily, designStyle;
    };
    enum class EntryAction { kAdd, kEdit, kDelete };
    // The files the dialog reads and writes.
    enum class FileKind { kPresets, kSubstitutions, kEncodings };

    PrefsDialogDriver();

    int NewPreset(const std::string& name);
    int RenamePreset(const std::string& name, const std::string& newName);
    int DeletePreset(const std::string& name);
    int UsePreset(const std::string& name);
    // Sets the mode group `group` (0 leading, 1 composer, 2 cross-references, 3 variables,
    // 4 conditional text) of `preset` (the current one when empty) to `mode` (1 or 2).
    int SetMode(const std::string& preset, int group, int mode);
    int EditSubstitution(EntryAction action, const std::string& preset, const Substitution& entry);
    // `encoding` is a name the encoding drop-down shows or a code; ignored for delete.
    int EditEncoding(EntryAction action, const std::string& preset, const std::string& family,
                     const std::string& encoding);
    int ExportFile(FileKind kind, const std::string& preset, const std::string& path);
    int ImportFile(FileKind kind, const std::string& preset, const std::string& path);
    // Loads font hints from MIF files in the substitution entry dialog and prints what it lists.
    int PrintFontHints(const std::vector<std::string>& paths);

private:
    // Opens the preferences dialog and runs `act` in it; confirms it when `act` answers true.
    int Run(const std::function<bool(Dialog&)>& act);
    // Clicks `button` of `parent`, running `act` in the dialog it opens; true when that dialog
    // was confirmed.
    bool RunNested(Dialog& parent, WidgetID button, const std::function<bool(Dialog&)>& act);
    // Chooses the preset `name` in the preset drop-down (the same name in any case when there is
    // no exact one); false after saying so when there is none.
    bool ChoosePreset(Dialog& prefs, const std::string& name);
    // Runs `act` on `preset` (the current one when empty), then makes the preset that was current
    // current again, so that only `preset` changes.
    bool WithPreset(Dialog& prefs, const std::string& preset, const std::function<bool()>& act);
    bool SelectSubstitution(Dialog& prefs, const Substitution& entry);
    bool SelectEncoding(Dialog& prefs, const std::string& family);

    // Says which preset a change went to, when it was made (`status` 0); answers `status`.
    int Changed(int status) const;

    CommandLinePresenter mPresenter;
    std::string mChangedPreset;  // the preset WithPreset acted on last
};
