#include "prefs/MifPrefsDialogObserver.h"

#include <memory>

#include "CAlert.h"
#include "CmdUtils.h"
#include "Dialog.h"
#include "DialogMgr.h"
#include "InterfacePtr.h"
#include "OpenFileDialog.h"
#include "SaveFileDialog.h"
#include "Session.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "mif/MifEncodingNames.h"
#include "prefs/IMifEncData.h"
#include "prefs/IMifPrefs.h"
#include "prefs/IMifPresetData.h"
#include "prefs/IMifSubstData.h"
#include "prefs/MifFileStatusAlert.h"
#include "prefs/MifFontTableCsv.h"
#include "prefs/MifPrefsDialogIDs.h"
#include "prefs/MifPresetFile.h"
#include "prefs/MifSetPrefsCmd.h"

namespace {

// The five mode groups of the Conversion Preferences panel, in the order they are shown.
struct ModeGroup {
    WidgetID widget;
    int32 (MifPresetRecord::*get)() const;
    void (MifPresetRecord::*set)(int32);
};
const ModeGroup kModeGroups[] = {
    {kMifLeadingGroupWidgetID, &MifPresetRecord::GetLeading, &MifPresetRecord::SetLeading},
    {kMifComposerGroupWidgetID, &MifPresetRecord::GetComposer, &MifPresetRecord::SetComposer},
    {kMifCrossRefsGroupWidgetID, &MifPresetRecord::GetCrossReferences, &MifPresetRecord::SetCrossReferences},
    {kMifVariablesGroupWidgetID, &MifPresetRecord::GetVariables, &MifPresetRecord::SetVariables},
    {kMifConditionsGroupWidgetID, &MifPresetRecord::GetConditionalText, &MifPresetRecord::SetConditionalText},
};

// The preset drop-down lists "[Common]", a separator, then the other presets.
int32 DropDownIndexOf(int32 preset) { return preset == 0 ? 0 : preset + 1; }
int32 PresetIndexOf(int32 item) { return item <= 0 ? 0 : item - 1; }

// Shows the alert of a file problem, if it has one.
void AlertFileProblem(MifFileStatus status, const IDFile& file)
{
    PMString message = MifFileStatusAlert::GetMessage(status, file);
    if (!message.IsEmpty()) CAlert::ErrorAlert(message);
}

// The one file an open-file dialog chose; false when it chose none or several.
bool ChooseOneFile(const char* titleKey, const char* filterKey, const char* extension, IDFile& file)
{
    std::vector<IDFile> files = OpenFileDialog(titleKey, filterKey, extension).DoDialog();
    if (files.size() != 1) return false;
    file = files.front();
    return true;
}

PMString Described(const PMString& family, const PMString& style)
{
    PMString text(family);
    text.Append(" (");
    text.Append(style);
    text.Append(")");
    return text;
}

} // namespace

void MifPrefsDialogObserver::AutoAttach()
{
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (!prefs) {
        MIF_LOG_NIL(prefs);
        mPresets = {MifPresetRecord()};
        mCurrent = 0;
        return;
    }
    mPresets = prefs->GetPresets();
    if (mPresets.empty()) mPresets.push_back(prefs->GetPreset(0));
    mCurrent = prefs->GetCurrentPreset();
    if (mCurrent < 0 || mCurrent >= static_cast<int32>(mPresets.size())) mCurrent = 0;
}

void MifPrefsDialogObserver::FillDialog()
{
    FillPresetDropDown();
    FillConversionPanel();
    FillSubstList(-1);
    FillEncList(-1);
}

void MifPrefsDialogObserver::FillPresetDropDown()
{
    Dialog* dialog = GetDialog();
    std::vector<DialogItem> items;
    for (size_t i = 0; i < mPresets.size(); ++i) {
        items.push_back(DialogItem{mPresets[i].GetName(), false});
        if (i == 0 && mPresets.size() > 1) items.push_back(DialogItem{PMString("-"), true});
    }
    dialog->SetItems(kMifPresetDropDownWidgetID, std::move(items));
    dialog->SetSelected(kMifPresetDropDownWidgetID, DropDownIndexOf(mCurrent));
    // "[Common]" is never renamed nor deleted.
    dialog->SetEnabled(kMifDeletePresetButtonWidgetID, mCurrent != 0);
    dialog->SetEnabled(kMifRenamePresetButtonWidgetID, mCurrent != 0);
}

void MifPrefsDialogObserver::FillConversionPanel()
{
    size_t i = 0;
    for (const ModeGroup& group : kModeGroups) {
        int32 mode = (Current().*group.get)();
        if (mode != 1 && mode != 2) mode = 2;
        mShownModes[i++] = mode;
        GetDialog()->SetSelected(group.widget, mode - 1);
    }
}

void MifPrefsDialogObserver::StorePanelValues()
{
    size_t i = 0;
    for (const ModeGroup& group : kModeGroups) {
        int32 mode = GetDialog()->GetSelected(group.widget) + 1;
        if ((mode == 1 || mode == 2) && mode != mShownModes[i]) {
            (Current().*group.set)(mode);
            mShownModes[i] = mode;
        }
        ++i;
    }
}

void MifPrefsDialogObserver::FillSubstList(int32 select)
{
    const MifPresetRecord& preset = Current();
    std::vector<std::vector<PMString>> rows;
    for (int32 i = 0; i < preset.GetSubstitutionCount(); ++i) {
        const MifFontKey& key = preset.GetSubstitutionKey(i);
        const MifIDFont& font = preset.GetSubstitutionFont(i);
        rows.push_back({Described(key.GetFamily(), key.GetStyleDisplay()),
                        Described(font.GetFamily(), font.GetStyleDisplay())});
    }
    GetDialog()->SetRows(kMifFontSubstListWidgetID, std::move(rows));
    GetDialog()->SetSelected(kMifFontSubstListWidgetID, select < preset.GetSubstitutionCount() ? select : -1);
}

void MifPrefsDialogObserver::FillEncList(int32 select)
{
    const MifPresetRecord& preset = Current();
    std::vector<std::vector<PMString>> rows;
    for (int32 i = 0; i < preset.GetEncodingCount(); ++i) {
        PMString name = MifEncodingNames::GetName(preset.GetEncoding(i));
        if (name.IsEmpty()) name = PMString(std::to_string(preset.GetEncoding(i)));
        rows.push_back({preset.GetEncodingFamily(i), name});
    }
    GetDialog()->SetRows(kMifFontEncListWidgetID, std::move(rows));
    GetDialog()->SetSelected(kMifFontEncListWidgetID, select < preset.GetEncodingCount() ? select : -1);
}

bool MifPrefsDialogObserver::ApplyPrefs()
{
    StorePanelValues();
    auto setPrefsCmd = std::make_shared<MifSetPrefsCmd>();
    setPrefsCmd->GetData().SetPresets(mPresets);
    setPrefsCmd->GetData().SetCurrentPreset(mCurrent);
    return MIF_RUN_COMMAND(setPrefsCmd);
}

void MifPrefsDialogObserver::Update(DialogChange change, WidgetID widget)
{
    if (change == DialogChange::kChosen && widget == kMifPresetDropDownWidgetID) return ChoosePreset();
    if (change != DialogChange::kClicked) return;
    switch (widget) {
    case kMifNewPresetButtonWidgetID: return NewPreset();
    case kMifRenamePresetButtonWidgetID: return RenamePreset();
    case kMifDeletePresetButtonWidgetID: return DeletePreset();
    case kMifLoadPresetsButtonWidgetID: return LoadPresets();
    case kMifSavePresetsButtonWidgetID: return SavePresets();
    case kMifAddFontSubstButtonWidgetID: return EditSubstitution(true);
    case kMifEditFontSubstButtonWidgetID: return EditSubstitution(false);
    case kMifDeleteFontSubstButtonWidgetID: return DeleteEntry(kSubstitutions);
    case kMifImportFontSubstButtonWidgetID: return ImportTable(kSubstitutions);
    case kMifExportFontSubstButtonWidgetID: return ExportTable(kSubstitutions);
    case kMifAddFontEncButtonWidgetID: return EditEncoding(true);
    case kMifEditFontEncButtonWidgetID: return EditEncoding(false);
    case kMifDeleteFontEncButtonWidgetID: return DeleteEntry(kEncodings);
    case kMifImportFontEncButtonWidgetID: return ImportTable(kEncodings);
    case kMifExportFontEncButtonWidgetID: return ExportTable(kEncodings);
    default: return;
    }
}

void MifPrefsDialogObserver::ChoosePreset()
{
    int32 chosen = PresetIndexOf(GetDialog()->GetSelected(kMifPresetDropDownWidgetID));
    if (chosen >= static_cast<int32>(mPresets.size())) chosen = 0;
    StorePanelValues();
    mCurrent = chosen;
    FillDialog();
}

bool MifPrefsDialogObserver::AskPresetName(const char* titleKey, int32 index, PMString& name)
{
    std::unique_ptr<Dialog> dialog = DialogMgr::Get().CreateNewDialog(kMifPresetNameDialogRsrcID);
    if (!dialog) {
        MIF_LOG_NIL(dialog);
        return false;
    }
    InterfacePtr<IMifPresetData> presetData(dialog->GetDataObject(), IID_IMIFPRESETDATA);
    if (!presetData) {
        MIF_LOG_NIL(presetData);
        return false;
    }
    presetData->Set(index);
    dialog->SetTitle(titleKey);
    if (!dialog->Open()) return false;
    name = dialog->GetText(kMifPresetNameWidgetID);
    return !name.IsEmpty();
}

void MifPrefsDialogObserver::NewPreset()
{
    StorePanelValues();
    PMString name;
    if (!AskPresetName("OV#0xB40#kMifNewPresetKey", -1, name)) return;
    MifPresetRecord preset;
    preset.SetName(name);
    mPresets.push_back(preset);
    mCurrent = static_cast<int32>(mPresets.size()) - 1;
    FillDialog();
}

void MifPrefsDialogObserver::RenamePreset()
{
    if (mCurrent == 0) return;
    StorePanelValues();
    PMString name;
    if (!AskPresetName("OV#0xB40#kMifRenamePresetKey", mCurrent, name)) return;
    Current().SetName(name);
    FillPresetDropDown();
}

void MifPrefsDialogObserver::DeletePreset()
{
    if (mCurrent == 0) return;
    PMString question("OV#0xB40#kMifDeletePresetQuestionKey");
    question.Translate();
    StringUtils::ReplaceStringParameters(&question, Current().GetName());
    if (CAlert::ModalAlert(question, {PMString("Yes"), PMString("No")}, 1) != 0) return;
    mPresets.erase(mPresets.begin() + mCurrent);
    if (mCurrent >= static_cast<int32>(mPresets.size())) mCurrent = static_cast<int32>(mPresets.size()) - 1;
    FillDialog();
}

void MifPrefsDialogObserver::LoadPresets()
{
    IDFile file;
    if (!ChooseOneFile("OV#0xB40#kMifImportPresetsKey", "OV#0xB40#kMifPresetsFilesKey", "tqp", file)) return;
    std::vector<MifPresetRecord> presets;
    int32 current = 0;
    MifFileStatus status = MifPresetFile::Read(file, presets, current);
    if (status != MifFileStatus::kDone) return AlertFileProblem(status, file);
    mPresets = std::move(presets);
    mCurrent = current >= 0 && current < static_cast<int32>(mPresets.size()) ? current : 0;
    FillDialog();
}

void MifPrefsDialogObserver::SavePresets()
{
    StorePanelValues();
    IDFile file;
    if (!SaveFileDialog("OV#0xB40#kMifExportPresetsKey", "OV#0xB40#kMifPresetsFilesKey", "tqp").DoDialog(file)) return;
    AlertFileProblem(MifPresetFile::Write(file, mPresets, mCurrent), file);
}

// The two tables of a preset as the dialog's panels show them.
struct MifPrefsDialogObserver::Table {
    WidgetID list;
    const char* importTitle;
    const char* exportTitle;
    int32 (MifPresetRecord::*count)() const;
    void (MifPresetRecord::*remove)(int32);
    MifFileStatus (*importFile)(const IDFile&, MifPresetRecord&);
    MifFileStatus (*exportFile)(const IDFile&, const MifPresetRecord&);
    void (MifPrefsDialogObserver::*fill)(int32);
};

const MifPrefsDialogObserver::Table MifPrefsDialogObserver::kSubstitutions{
    kMifFontSubstListWidgetID, "OV#0xB40#kMifImportFontSubstKey", "OV#0xB40#kMifExportFontSubstKey",
    &MifPresetRecord::GetSubstitutionCount, &MifPresetRecord::RemoveSubstitution, &MifFontTableCsv::ImportSubstitutions,
    &MifFontTableCsv::ExportSubstitutions, &MifPrefsDialogObserver::FillSubstList};

const MifPrefsDialogObserver::Table MifPrefsDialogObserver::kEncodings{
    kMifFontEncListWidgetID, "OV#0xB40#kMifImportFontEncKey", "OV#0xB40#kMifExportFontEncKey",
    &MifPresetRecord::GetEncodingCount, &MifPresetRecord::RemoveEncoding, &MifFontTableCsv::ImportEncodings,
    &MifFontTableCsv::ExportEncodings, &MifPrefsDialogObserver::FillEncList};

int32 MifPrefsDialogObserver::SelectedRow(const Table& table)
{
    int32 row = GetDialog()->GetSelected(table.list);
    return row >= 0 && row < (Current().*table.count)() ? row : -1;
}

void MifPrefsDialogObserver::DeleteEntry(const Table& table)
{
    int32 row = SelectedRow(table);
    if (row < 0) return;
    (Current().*table.remove)(row);
    (this->*table.fill)(row < (Current().*table.count)() ? row : row - 1);
}

void MifPrefsDialogObserver::ImportTable(const Table& table)
{
    IDFile file;
    if (!ChooseOneFile(table.importTitle, "OV#0xB40#kMifCsvFilesKey", "csv", file)) return;
    AlertFileProblem(table.importFile(file, Current()), file);
    (this->*table.fill)(-1);
}

void MifPrefsDialogObserver::ExportTable(const Table& table)
{
    IDFile file;
    if (!SaveFileDialog(table.exportTitle, "OV#0xB40#kMifCsvFilesKey", "csv").DoDialog(file)) return;
    AlertFileProblem(table.exportFile(file, Current()), file);
}

template <class Data>
std::unique_ptr<Dialog> MifPrefsDialogObserver::MakeEntryDialog(uint32 resourceID, const char* titleKey,
                                                                 InterfacePtr<Data>& data)
{
    std::unique_ptr<Dialog> dialog = DialogMgr::Get().CreateNewDialog(resourceID);
    if (!dialog) {
        MIF_LOG_NIL(dialog);
        return nullptr;
    }
    data = InterfacePtr<Data>(dialog->GetDataObject(), Data::kDefaultIID);
    if (!data) {
        MIF_LOG_NIL(data);
        return nullptr;
    }
    dialog->SetTitle(titleKey);
    return dialog;
}

void MifPrefsDialogObserver::EditSubstitution(bool add)
{
    int32 row = SelectedRow(kSubstitutions);
    if (!add && row < 0) return;
    InterfacePtr<IMifSubstData> substData;
    std::unique_ptr<Dialog> dialog = MakeEntryDialog(
        kMifFontSubstDialogRsrcID, add ? "OV#0xB40#kMifNewFontSubstKey" : "OV#0xB40#kMifEditFontSubstKey", substData);
    if (!dialog) return;
    if (!add) substData->Set(Current().GetSubstitutionKey(row), Current().GetSubstitutionFont(row));
    if (!dialog->Open()) return;
    if (!add) Current().RemoveSubstitution(row);
    Current().AddSubstitution(substData->GetFrameMakerFont(), substData->GetInDesignFont());
    int32 select = -1;
    for (int32 i = 0; i < Current().GetSubstitutionCount(); ++i)
        if (Current().GetSubstitutionKey(i) == substData->GetFrameMakerFont()) select = i;
    FillSubstList(select);
}

void MifPrefsDialogObserver::EditEncoding(bool add)
{
    int32 row = SelectedRow(kEncodings);
    if (!add && row < 0) return;
    InterfacePtr<IMifEncData> encData;
    std::unique_ptr<Dialog> dialog = MakeEntryDialog(
        kMifFontEncDialogRsrcID, add ? "OV#0xB40#kMifNewFontEncKey" : "OV#0xB40#kMifEditFontEncKey", encData);
    if (!dialog) return;
    if (!add) encData->Set(Current().GetEncodingFamily(row), Current().GetEncoding(row));
    if (!dialog->Open()) return;
    if (!add) Current().RemoveEncoding(row);
    Current().AddEncoding(encData->GetFamily(), encData->GetEncoding());
    int32 select = -1;
    for (int32 i = 0; i < Current().GetEncodingCount(); ++i)
        if (Current().GetEncodingFamily(i) == encData->GetFamily()) select = i;
    FillEncList(select);
}
