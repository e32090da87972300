// MifPrefsDialogObserver: the preferences dialog at work. While the dialog is open it holds a
// working copy of every preset and the index of the current one; the buttons and drop-downs act
// on that copy, and only confirming the dialog hands it to MifSetPrefsCmd. It also keeps the font
// hints that the entry dialogs offer, for as long as the dialog is open.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "CDialogObserver.h"
#include "Dialog.h"
#include "InterfacePtr.h"

#include "prefs/MifFontHints.h"
#include "prefs/MifPresetRecord.h"

class MifPrefsDialogObserver : public CDialogObserver {
public:
    // Reads the stored preferences into the working copy.
    void AutoAttach() override;
    void Update(DialogChange change, WidgetID widget) override;

    // Fills the preset drop-down and every panel from the working copy.
    void FillDialog();
    // Takes the values shown into the current preset, then makes the working copy the stored
    // preferences through MifSetPrefsCmd; false when the command failed.
    bool ApplyPrefs();

    const std::vector<MifPresetRecord>& GetPresets() const { return mPresets; }
    int32 GetCurrentIndex() const { return mCurrent; }
    // The hints of the font-substitution and of the font-encoding entry dialog.
    MifFontHints& GetSubstHints() { return mSubstHints; }
    MifFontHints& GetEncHints() { return mEncHints; }

private:
    MifPresetRecord& Current() { return mPresets[mCurrent]; }
    void StorePanelValues();
    void FillPresetDropDown();
    void FillConversionPanel();
    void FillSubstList(int32 select);
    void FillEncList(int32 select);

    void ChoosePreset();
    void NewPreset();
    void RenamePreset();
    void DeletePreset();
    void LoadPresets();
    void SavePresets();
    // Asks for a preset name in the preset-name dialog titled `titleKey`; `index` is the preset
    // renamed, -1 for a new one. False when cancelled.
    bool AskPresetName(const char* titleKey, int32 index, PMString& name);

    // The font substitution and font encoding tables share their Delete, Import and Export.
    struct Table;
    static const Table kSubstitutions;
    static const Table kEncodings;
    // The row of the table's list that is selected; -1 when none is.
    int32 SelectedRow(const Table& table);
    void DeleteEntry(const Table& table);
    void ImportTable(const Table& table);
    void ExportTable(const Table& table);
    // A new entry dialog titled `titleKey` with its data interface in `data`; null (after a
    // diagnostic line) when either is missing.
    template <class Data>
    std::unique_ptr<Dialog> MakeEntryDialog(uint32 resourceID, const char* titleKey, InterfacePtr<Data>& data);
    void EditSubstitution(bool add);
    void EditEncoding(bool add);

    std::vector<MifPresetRecord> mPresets;
    int32 mCurrent = 0;
    // The choice each mode group showed when it was filled: a group the user left alone keeps the
    // stored value (the dialog shows 1 for modes whose getter answers 1 whatever is stored).
    std::array<int32, 5> mShownModes{};
    MifFontHints mSubstHints;
    MifFontHints mEncHints;
};
