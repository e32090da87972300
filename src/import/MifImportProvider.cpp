#include "MifImportProvider.h"

#include <algorithm>
#include <cstring>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DialogCommands.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentSettingsCommands.h"
#include "ErrorUtils.h"
#include "IMifColorImporter.h"
#include "IMifContentImporter.h"
#include "IMifErrorLog.h"
#include "IMifImportOptions.h"
#include "IMifPrefs.h"
#include "Session.h"
#include "IMifLayoutImporter.h"
#include "IMifParser.h"
#include "IMifTableImporter.h"
#include "IMifVariableImporter.h"
#include "IMifXRefImporter.h"
#include "InterfacePtr.h"
#include "MifAssertLog.h"
#include "MifKeywords.h"
#include "MifObject.h"
#include "MifSetUndoSupportCmd.h"
#include "NewDocCmd.h"
#include "ObjectModel.h"
#include "PageCommands.h"
#include "RecoveryList.h"
#include "TaskProgressBar.h"

namespace {

constexpr int32 kPhaseCount = 10;
constexpr PMReal kMaxPageSide = 15552;  // the largest page InDesign allows (216 in)

// Runs a document command on `target` and logs a failure; true on success.
template <class Cmd>
bool Process(const std::shared_ptr<Cmd>& cmd, const UIDRef& target)
{
    cmd->SetItemList(UIDList(target));
    return CmdUtils::ProcessCommand(cmd) == kSuccess;
}

void SetUndoSupport(const UIDRef& document, bool on)
{
    auto setUndoSupportCmd = std::make_shared<MifSetUndoSupportCmd>();
    setUndoSupportCmd->boolData = on;
    if (!Process(setUndoSupportCmd, document)) MIF_LOG_ERROR(setUndoSupportCmd);
}

PageNumberStyle NumberingStyle(int32 keyword)
{
    switch (keyword) {
    case kMifUCRoman: return PageNumberStyle::kUpperRoman;
    case kMifLCRoman: return PageNumberStyle::kLowerRoman;
    case kMifUCAlpha: return PageNumberStyle::kUpperLetters;
    case kMifLCAlpha: return PageNumberStyle::kLowerLetters;
    default: return PageNumberStyle::kArabic;
    }
}

} // namespace

PMString MifImportProvider::GetFormatName(int32)
{
    PMString name("Adobe FrameMaker Interchange Format (MIF)");
    name.Translate();
    return name;
}

int32 MifImportProvider::CanImportThisType(uint32 fileType, const IDFile& file)
{
    if (fileType == kFileTypeText) return kCanImport;
    PMString name = file.GetFileName();
    int32 dot = -1;
    for (int32 i = name.CharCount() - 1; i >= 0; --i)
        if (name[i] == '.') {
            dot = i;
            break;
        }
    return dot >= 0 && name.Substring(dot + 1) == PMString("mif") ? kCanImport : kCannotImport;
}

int32 MifImportProvider::CanImportThisStream(IPMStream* stream)
{
    if (!stream || !stream->IsOpen()) return kCannotImport;
    stream->Seek(0, IPMStream::kSeekFromStart);
    char head[21] = {};
    if (stream->XferBytes(reinterpret_cast<uchar*>(head), 20) < 20) return kCannotImport;
    // The first 20 bytes as a C string: a NUL byte ends what is searched.
    if (std::strstr(head, "<MIFFile")) return kCanImport;
    if (std::strstr(head, "<MakerFile"))
        CAlert::InformationAlert("OV#0xB40#kMifFMDocumentKey");
    else if (std::strstr(head, "<Book"))
        CAlert::InformationAlert("OV#0xB40#kMifBookDocumentKey");
    return kCannotImport;
}

PMString MifImportProvider::MakeDocumentName(const IDFile& file)
{
    PMString name = file.GetFileName();
    int32 count = name.CharCount();
    if (count >= 4 && name.Substring(count - 4).IsEqualNoCase(".mif")) name = name.Substring(0, count - 4);
    name.Append(".indd");
    return name;
}

UIDRef MifImportProvider::CreateDocument(const MifObject& mifRoot, const PMString& name)
{
    const MifObject* mifDocument = mifRoot.GetObject(kMifDocument);
    auto newDocCmd = std::make_shared<NewDocCmd>();
    NewDocCmdData& newDocCmdData = newDocCmd->GetData();
    MifPropVal propVal;
    if (mifDocument && mifDocument->GetPropVal(kMifDPageSize, propVal)) {
        PMReal width = std::clamp(propVal.dim[0], 1.0, kMaxPageSide);
        PMReal height = std::clamp(propVal.dim[1], 1.0, kMaxPageSide);
        newDocCmdData.pageSize = PMRect(0, 0, width, height);
        newDocCmdData.wide = height < width;
    }
    newDocCmdData.pagesPerSpread = mifDocument && mifDocument->GetBool(kMifDTwoSides) ? 2 : 1;
    bool firstLeft = mifDocument && mifDocument->GetPropVal(kMifDParity, propVal) && propVal.keyword == kMifFirstLeft;
    int32 bodyPages = 0;
    for (const MifProp* prop : mifRoot.props) {
        if (prop->id != kMifPage || prop->type != kMifTypeObject || !prop->value.object) continue;
        MifPropVal pageType;
        if (!prop->value.object->GetPropVal(kMifPageType, pageType) || pageType.keyword == kMifBodyPage) ++bodyPages;
    }
    newDocCmdData.numPages = std::max(bodyPages + (firstLeft ? 1 : 0), 1);
    if (CmdUtils::ProcessCommand(newDocCmd) != kSuccess || newDocCmd->GetItemList().IsEmpty()) {
        MIF_LOG_ERROR(newDocCmd);
        return UIDRef();
    }
    UIDRef document = newDocCmd->GetItemList().GetRef(0);
    DataBase* db = document.GetDataBase();

    auto setDocNameCmd = std::make_shared<SetDocNameCmd>();
    setDocNameCmd->stringData = name;
    if (!Process(setDocNameCmd, document)) MIF_LOG_ERROR(setDocNameCmd);

    // A first left page: the document's first page is a right page, so it goes.
    if (firstLeft) {
        auto deletePageCmd = std::make_shared<DeletePageCmd>();
        deletePageCmd->boolData = false;
        if (!Process(deletePageCmd, UIDRef(db, db->GetDocument()->GetPages().front()))) MIF_LOG_ERROR(deletePageCmd);
    }

    const std::vector<UID>& sectionList = db->GetDocument()->sections;
    if (sectionList.empty()) {
        MIF_LOG_FALSE(sectionList->GetSectionCount() > 0);
        return document;
    }
    auto modifySectionSettingsCmd = std::make_shared<ModifySectionSettingsCmd>();
    modifySectionSettingsCmd->autoNumber = false;
    modifySectionSettingsCmd->startPageNumber =
        mifDocument && mifDocument->GetPropVal(kMifDStartPage, propVal) && propVal.id > 0 ? propVal.id : 1;
    modifySectionSettingsCmd->style =
        NumberingStyle(mifDocument && mifDocument->GetPropVal(kMifDPageNumStyle, propVal) ? propVal.keyword : -1);
    if (!Process(modifySectionSettingsCmd, UIDRef(db, sectionList.front()))) MIF_LOG_ERROR(modifySectionSettingsCmd);
    return document;
}

PMString MifImportProvider::MakeWarningsText(const PMString& parsingErrors, const PMString& importErrors)
{
    PMString text;
    if (!parsingErrors.IsEmpty()) {
        text.Append("There were errors when parsing the MIF:\r\n");
        text.Append(parsingErrors);
        text.Append("\r\n");
    }
    if (!importErrors.IsEmpty()) {
        if (!text.IsEmpty()) text.Append("\r\n");
        text.Append("There were errors when importing the MIF:\r\n");
        text.Append(importErrors);
    }
    return text;
}

ErrorCode MifImportProvider::ImportThis(IPMStream* stream, const IDFile& file, int32 uiFlags, UIDRef& document)
{
    document = UIDRef();
    IPMStream* fileStreamData = stream;
    if (!fileStreamData || !fileStreamData->IsOpen()) {
        MIF_LOG_NIL(fileStreamData);
        return kFailure;
    }
    PMString name = MakeDocumentName(file);
    TaskProgressBar progress("OV#0xB40#kMifImportProgressTitleKey", kPhaseCount);
    progress.DoTask("OV#0xB40#kMifParsingMIFKey");

    InterfacePtr<IMifParser> mifParser(CreateObject2<IMifParser>(kMifParserBoss));
    if (!mifParser) {
        MIF_LOG_NIL(mifParser);
        return kFailure;
    }
    std::unique_ptr<MifObject> mifRoot(mifParser->Parse(fileStreamData));
    if (!mifRoot) {
        MIF_LOG_NIL(mifRoot.get());
        return kFailure;
    }

    UIDRef newDocument = CreateDocument(*mifRoot, name);
    DataBase* db = newDocument.GetDataBase();
    if (!newDocument.ExistsInDB()) return kFailure;
    // Whatever fails from here on closes the half-made document.
    auto fail = [db](ErrorCode code) {
        DocumentList::Close(db);
        return code;
    };

    auto setSkipByLineHeightCmd = std::make_shared<SetSkipByLeadingCmd>();
    setSkipByLineHeightCmd->boolData = false;
    if (!Process(setSkipByLineHeightCmd, newDocument)) MIF_LOG_ERROR(setSkipByLineHeightCmd);

    RecoveryList::AddDocument(db);
    // The importers live on the document's object, where they find one another.
    InterfacePtr<IMifColorImporter> colorImporter(static_cast<IMifColorImporter*>(db->QueryDocInterface(IID_IMIFCOLORIMPORTER)));
    InterfacePtr<IMifContentImporter> contentImporter(static_cast<IMifContentImporter*>(db->QueryDocInterface(IID_IMIFCONTENTIMPORTER)));
    InterfacePtr<IMifLayoutImporter> layoutImporter(static_cast<IMifLayoutImporter*>(db->QueryDocInterface(IID_IMIFLAYOUTIMPORTER)));
    InterfacePtr<IMifTableImporter> tableImporter(static_cast<IMifTableImporter*>(db->QueryDocInterface(IID_IMIFTABLEIMPORTER)));
    InterfacePtr<IMifVariableImporter> variableImporter(static_cast<IMifVariableImporter*>(db->QueryDocInterface(IID_IMIFVARIABLEIMPORTER)));
    InterfacePtr<IMifXRefImporter> xrefImporter(static_cast<IMifXRefImporter*>(db->QueryDocInterface(IID_IMIFXREFIMPORTER)));
    if (!colorImporter) { MIF_LOG_NIL(colorImporter); return fail(kFailure); }
    if (!contentImporter) { MIF_LOG_NIL(contentImporter); return fail(kFailure); }
    if (!layoutImporter) { MIF_LOG_NIL(layoutImporter); return fail(kFailure); }
    if (!tableImporter) { MIF_LOG_NIL(tableImporter); return fail(kFailure); }
    if (!variableImporter) { MIF_LOG_NIL(variableImporter); return fail(kFailure); }
    if (!xrefImporter) { MIF_LOG_NIL(xrefImporter); return fail(kFailure); }
    colorImporter->SetRoot(mifRoot.get());
    contentImporter->SetMifObject(mifRoot.get());
    contentImporter->SetSourceFile(file);
    layoutImporter->Init(file, mifRoot.get(), uiFlags);
    tableImporter->SetMifObject(mifRoot.get());
    variableImporter->SetRoot(mifRoot.get());
    variableImporter->SetSourceFile(file);
    xrefImporter->SetRoot(mifRoot.get());

    // One copy of the current preset steers the whole import.
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (!prefs) {
        MIF_LOG_NIL(prefs);
        return fail(kFailure);
    }
    MifPresetRecord preset = prefs->GetPreset(prefs->GetCurrentPreset());
    InterfacePtr<IMifImportOptions> importOptions(static_cast<IMifImportOptions*>(db->QueryDocInterface(IID_IMIFIMPORTOPTIONS)));
    if (importOptions) importOptions->SetPreset(preset);
    const int32 crossReferenceMode = preset.GetCrossReferences();
    const int32 variableMode = preset.GetVariables();

    SetUndoSupport(newDocument, false);
    progress.DoTask(PMString());
    layoutImporter->CreateTemporarySpread();
    progress.DoTask("OV#0xB40#kMifImportingColorsKey");
    colorImporter->Import();
    progress.DoTask("OV#0xB40#kMifImportingStylesKey");
    contentImporter->ImportStyles();
    progress.DoTask(PMString());
    if (crossReferenceMode == 2) xrefImporter->ImportXRefFormats();
    progress.DoTask(PMString());
    if (variableMode == 2) variableImporter->ImportVariableFormats();
    progress.DoTask("OV#0xB40#kMifImportingAnchoredFramesKey");
    layoutImporter->ImportAnchoredFrames();  // after the styles: frames hold styled text
    progress.DoTask("OV#0xB40#kMifImportingLayoutKey");
    layoutImporter->ImportLayout();
    progress.DoTask("OV#0xB40#kMifImportingContentKey");
    contentImporter->ImportTextFlows(mifRoot.get());
    progress.DoTask("OV#0xB40#kMifFinalizingKey");
    layoutImporter->Finalize();
    SetUndoSupport(newDocument, true);

    auto refreshMissingFontsCmd = std::make_shared<RefreshMissingFontsCmd>();
    if (!Process(refreshMissingFontsCmd, newDocument)) MIF_LOG_ERROR(refreshMissingFontsCmd);
    if (!db->GetDocument()->missingFonts.empty()) {
        auto openMapFontsCmd = std::make_shared<OpenMapFontsCmd>();
        if (!Process(openMapFontsCmd, newDocument)) MIF_LOG_ERROR(openMapFontsCmd);
    }

    InterfacePtr<IMifErrorLog> parsingErrors(mifParser.get(), IID_IMIFERRORLOG);
    InterfacePtr<IMifErrorLog> importErrors(static_cast<IMifErrorLog*>(db->QueryDocInterface(IID_IMIFERRORLOG)));
    PMString warnings = MakeWarningsText(parsingErrors ? parsingErrors->GetText() : PMString(),
                                         importErrors ? importErrors->GetText() : PMString());
    if (parsingErrors) parsingErrors->Clear();
    if (importErrors) importErrors->Clear();
    if (!warnings.IsEmpty()) {
        warnings.SetTranslated();
        auto openWarningsDlgCmd = std::make_shared<OpenWarningsDlgCmd>();
        openWarningsDlgCmd->stringData = warnings;
        CmdUtils::ScheduleCommand(openWarningsDlgCmd);
    }

    document = newDocument;
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return kSuccess;
}
