#include "MifPrefsDialogObserver.h"

#include <memory>

#include "CAlert.h"
#include "CmdUtils.h"
#include "Dialog.h"
#include "DialogMgr.h"
#include "IMifEncData.h"
#include "IMifPrefs.h"
#include "IMifPresetData.h"
#include "IMifSubstData.h"
#include "InterfacePtr.h"
#include "MifAssertLog.h"
#include "MifEncodingNames.h"
#include "MifFileStatusAlert.h"
#include "MifFontTableCsv.h"
#include "MifPrefsDialogIDs.h"
#include "MifPresetFile.h"
#include "MifSetPrefsCmd.h"
#include "OpenFileDialog.h"
#include "SaveFileDialog.h"
#include "Session.h"

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
    ErrorCode status = CmdUtils::ProcessCommand(setPrefsCmd);
    if (status != kSuccess) {
        MIF_LOG_ERROR(CmdUtils::ProcessCommand(setPrefsCmd));
        return false;
    }
    return true;
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
    case kMifDeleteFontSubstButtonWidgetID: return DeleteSubstitution();
    case kMifImportFontSubstButtonWidgetID: return ImportSubstitutions();
    case kMifExportFontSubstButtonWidgetID: return ExportSubstitutions();
    case kMifAddFontEncButtonWidgetID: return EditEncoding(true);
    case kMifEditFontEncButtonWidgetID: return EditEncoding(false);
    case kMifDeleteFontEncButtonWidgetID: return DeleteEncoding();
    case kMifImportFontEncButtonWidgetID: return ImportEncodings();
    case kMifExportFontEncButtonWidgetID: return ExportEncodings();
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

void MifPrefsDialogObserver::EditSubstitution(bool add)
{
    int32 row = GetDialog()->GetSelected(kMifFontSubstListWidgetID);
    if (!add && (row < 0 || row >= Current().GetSubstitutionCount())) return;
    std::unique_ptr<Dialog> dialog = DialogMgr::Get().CreateNewDialog(kMifFontSubstDialogRsrcID);
    if (!dialog) {
        MIF_LOG_NIL(dialog);
        return;
    }
    InterfacePtr<IMifSubstData> substData(dialog->GetDataObject(), IID_IMIFSUBSTDATA);
    if (!substData) {
        MIF_LOG_NIL(substData);
        return;
    }
    if (!add) substData->Set(Current().GetSubstitutionKey(row), Current().GetSubstitutionFont(row));
    dialog->SetTitle(add ? "OV#0xB40#kMifNewFontSubstKey" : "OV#0xB40#kMifEditFontSubstKey");
    if (!dialog->Open()) return;
    if (!add) Current().RemoveSubstitution(row);
    Current().AddSubstitution(substData->GetFrameMakerFont(), substData->GetInDesignFont());
    int32 select = -1;
    for (int32 i = 0; i < Current().GetSubstitutionCount(); ++i)
        if (Current().GetSubstitutionKey(i) == substData->GetFrameMakerFont()) select = i;
    FillSubstList(select);
}

void MifPrefsDialogObserver::DeleteSubstitution()
{
    int32 row = GetDialog()->GetSelected(kMifFontSubstListWidgetID);
    if (row < 0 || row >= Current().GetSubstitutionCount()) return;
    Current().RemoveSubstitution(row);
    FillSubstList(row < Current().GetSubstitutionCount() ? row : row - 1);
}

void MifPrefsDialogObserver::ImportSubstitutions()
{
    IDFile file;
    if (!ChooseOneFile("OV#0xB40#kMifImportFontSubstKey", "OV#0xB40#kMifCsvFilesKey", "csv", file)) return;
    AlertFileProblem(MifFontTableCsv::ImportSubstitutions(file, Current()), file);
    FillSubstList(-1);
}

void MifPrefsDialogObserver::ExportSubstitutions()
{
    IDFile file;
    if (!SaveFileDialog("OV#0xB40#kMifExportFontSubstKey", "OV#0xB40#kMifCsvFilesKey", "csv").DoDialog(file)) return;
    AlertFileProblem(MifFontTableCsv::ExportSubstitutions(file, Current()), file);
}

void MifPrefsDialogObserver::EditEncoding(bool add)
{
    int32 row = GetDialog()->GetSelected(kMifFontEncListWidgetID);
    if (!add && (row < 0 || row >= Current().GetEncodingCount())) return;
    std::unique_ptr<Dialog> dialog = DialogMgr::Get().CreateNewDialog(kMifFontEncDialogRsrcID);
    if (!dialog) {
        MIF_LOG_NIL(dialog);
        return;
    }
    InterfacePtr<IMifEncData> encData(dialog->GetDataObject(), IID_IMIFENCDATA);
    if (!encData) {
        MIF_LOG_NIL(encData);
        return;
    }
    if (!add) encData->Set(Current().GetEncodingFamily(row), Current().GetEncoding(row));
    dialog->SetTitle(add ? "OV#0xB40#kMifNewFontEncKey" : "OV#0xB40#kMifEditFontEncKey");
    if (!dialog->Open()) return;
    if (!add) Current().RemoveEncoding(row);
    Current().AddEncoding(encData->GetFamily(), encData->GetEncoding());
    int32 select = -1;
    for (int32 i = 0; i < Current().GetEncodingCount(); ++i)
        if (Current().GetEncodingFamily(i) == encData->GetFamily()) select = i;
    FillEncList(select);
}

void MifPrefsDialogObserver::DeleteEncoding()
{
    int32 row = GetDialog()->GetSelected(kMifFontEncListWidgetID);
    if (row < 0 || row >= Current().GetEncodingCount()) return;
    Current().RemoveEncoding(row);
    FillEncList(row < Current().GetEncodingCount() ? row : row - 1);
}

void MifPrefsDialogObserver::ImportEncodings()
{
    IDFile file;
    if (!ChooseOneFile("OV#0xB40#kMifImportFontEncKey", "OV#0xB40#kMifCsvFilesKey", "csv", file)) return;
    AlertFileProblem(MifFontTableCsv::ImportEncodings(file, Current()), file);
    FillEncList(-1);
}

void MifPrefsDialogObserver::ExportEncodings()
{
    IDFile file;
    if (!SaveFileDialog("OV#0xB40#kMifExportFontEncKey", "OV#0xB40#kMifCsvFilesKey", "csv").DoDialog(file)) return;
    AlertFileProblem(MifFontTableCsv::ExportEncodings(file, Current()), file);
}
