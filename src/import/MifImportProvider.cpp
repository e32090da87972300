#include "import/MifImportProvider.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DialogCommands.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "DocumentSettingsCommands.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "NewDocCmd.h"
#include "ObjectModel.h"
#include "PageCommands.h"
#include "PersistentObject.h"
#include "PersistentObjectCommands.h"
#include "RecoveryList.h"
#include "Session.h"
#include "TaskProgressBar.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifDocInterface.h"
#include "base/MifErrorLog.h"
#include "catalogs/IMifColorImporter.h"
#include "catalogs/IMifVariableImporter.h"
#include "catalogs/IMifXRefImporter.h"
#include "content/IMifContentImporter.h"
#include "import/IMifStringData.h"
#include "import/MifSetUndoSupportCmd.h"
#include "layout/IMifLayoutImporter.h"
#include "mif/IMifParser.h"
#include "mif/IMifTextConverter.h"
#include "mif/MifFileHead.h"
#include "mif/MifFilePages.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifValueLimits.h"
#include "prefs/IMifImportOptions.h"
#include "prefs/IMifPrefs.h"
#include "tables/IMifTableImporter.h"

namespace {

constexpr int32 kPhaseCount = 10;

void SetUndoSupport(const UIDRef& document, bool on)
{
    auto setUndoSupportCmd = std::make_shared<MifSetUndoSupportCmd>();
    setUndoSupportCmd->boolData = on;
    MIF_RUN_COMMAND(setUndoSupportCmd, UIDList(document));
}

// Leaves the import record in the document: the MIF file, the preset and the plug-in version
// it was imported with. The record is the plug-in's own object; the second conversion phase
// takes it out again before the document is saved.
void LeaveImportRecord(const UIDRef& document, const IDFile& file, const PMString& presetName)
{
    auto newRecordCmd = std::make_shared<NewPersistentObjectCmd>();
    newRecordCmd->classID = kMifImportRecordBoss;
    if (!MIF_RUN_COMMAND(newRecordCmd, UIDList(document))) return;
    DataBase* db = document.GetDataBase();
    auto* record = db->Get<PersistentObject>(newRecordCmd->GetItemList().At(0));
    const std::pair<PMIID, PMString> texts[] = {
        {IID_IMIFSOURCEFILEDATA, file.GetPathString()},
        {IID_IMIFPRESETNAMEDATA, presetName},
        {IID_IMIFPLUGINVERSIONDATA, PMString(kMifImportRecordVersion)},
    };
    for (const auto& [iid, text] : texts) {
        InterfacePtr<IMifStringData> data(static_cast<IMifStringData*>(record ? record->QueryInterface(iid) : nullptr));
        if (!data) {
            MIF_LOG_NIL(data);
            continue;
        }
        data->Set(text);
    }
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
    std::string head;
    if (!stream || !stream->IsOpen() || !MifFileHead::Read(*stream, head)) return kCannotImport;
    if (MifFileHead::IsMif(head)) return kCanImport;
    if (head.find("<MakerFile") != std::string::npos)
        CAlert::InformationAlert("OV#0xB40#kMifFMDocumentKey");
    else if (head.find("<Book") != std::string::npos)
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

int64 MifImportProvider::CountPages(const MifObject& mifRoot)
{
    return std::max<int64>(MifFilePages::Count(mifRoot), 1);
}

int64 MifImportProvider::CountMasterPages(const MifObject& mifRoot)
{
    int64 masterPages = 0;
    for (const MifObject& mifPage : mifRoot.Children(kMifPage)) {
        MifPropVal pageType;
        if (mifPage.GetPropVal(kMifPageType, pageType) && pageType.keyword == kMifOtherMasterPage) ++masterPages;
    }
    return masterPages;
}

UIDRef MifImportProvider::CreateDocument(const MifObject& mifRoot, const PMString& name)
{
    const MifObject* mifDocument = mifRoot.GetObject(kMifDocument);
    auto newDocCmd = std::make_shared<NewDocCmd>();
    NewDocCmdData& newDocCmdData = newDocCmd->GetData();
    MifPropVal propVal;
    // The document's log exists only with the document: what is reported before waits here.
    MifErrorLog pageSizeErrors;
    const MifProp* pageSize = mifDocument ? mifDocument->FindProp(kMifDPageSize) : nullptr;
    if (pageSize && (!(pageSize->value.dim[0] > 0) || !(pageSize->value.dim[1] > 0))) {
        // A side the parser could not read is 0: no page has such a size, so the pages keep the
        // default size rather than shrink to a point.
        const PMRect& standard = newDocCmdData.pageSize;
        PMString size;
        size.AppendNumber(static_cast<int64>(standard.Width()));
        size.Append(" x ");
        size.AppendNumber(static_cast<int64>(standard.Height()));
        size.Append(" pt");
        pageSizeErrors.AddParseError(pageSize->line, MifErrorLog::Message("OV#0xB40#kMifPageSizeUnusableKey"), size);
    } else if (pageSize) {
        MifValueLimits limits(&pageSizeErrors);
        PMReal width = limits.Clamp(pageSize->value.dim[0], MifValueLimits::kPageSide, *pageSize, "width");
        PMReal height = limits.Clamp(pageSize->value.dim[1], MifValueLimits::kPageSide, *pageSize, "height");
        newDocCmdData.pageSize = PMRect(0, 0, width, height);
        newDocCmdData.wide = height < width;
    }
    newDocCmdData.pagesPerSpread = mifDocument && mifDocument->GetBool(kMifDTwoSides) ? 2 : 1;
    bool firstLeft = mifDocument && mifDocument->GetPropVal(kMifDParity, propVal) && propVal.keyword == kMifFirstLeft;
    int32 bodyPages = 0;
    for (const MifObject& mifPage : mifRoot.Children(kMifPage)) {
        MifPropVal pageType;
        if (!mifPage.GetPropVal(kMifPageType, pageType) || pageType.keyword == kMifBodyPage) ++bodyPages;
    }
    newDocCmdData.numPages = std::max(bodyPages + (firstLeft ? 1 : 0), 1);
    if (CmdUtils::ProcessCommand(newDocCmd) != kSuccess || newDocCmd->GetItemList().IsEmpty()) {
        MIF_LOG_ERROR(newDocCmd);
        return UIDRef();
    }
    UIDRef document = newDocCmd->GetItemList().GetRef(0);
    DataBase* db = document.GetDataBase();
    InterfacePtr<IMifErrorLog> importErrors = MifDocInterface<IMifErrorLog>(db);
    if (!importErrors) MIF_LOG_NIL(importErrors);
    if (!pageSizeErrors.IsEmpty() && importErrors) importErrors->AddError(pageSizeErrors.GetText(), PMString());

    auto setDocNameCmd = std::make_shared<SetDocNameCmd>();
    setDocNameCmd->stringData = name;
    MIF_RUN_COMMAND(setDocNameCmd, UIDList(document));

    // A first left page: the document's first page is a right page, so it goes.
    if (std::vector<UID> pageList = db->GetDocument()->GetPages(); firstLeft && !pageList.empty()) {
        auto deletePageCmd = std::make_shared<DeletePageCmd>();
        deletePageCmd->boolData = false;
        MIF_RUN_COMMAND(deletePageCmd, UIDList(UIDRef(db, pageList.front())));
    }

    const std::vector<UID>& sectionList = db->GetDocument()->sections;
    if (sectionList.empty()) {
        MIF_LOG_FALSE(!sectionList.empty());
        return document;
    }
    auto modifySectionSettingsCmd = std::make_shared<ModifySectionSettingsCmd>();
    modifySectionSettingsCmd->autoNumber = false;
    // From 1 when the file gives 0 or less; numbers past what a section holds are brought within.
    int32 startPage = 1;
    if (const MifProp* mifStartPage = mifDocument ? mifDocument->FindProp(kMifDStartPage) : nullptr;
        mifStartPage && mifStartPage->value.id > 0) {
        MifValueLimits limits(importErrors.get());
        startPage = limits.Clamp(mifStartPage->value.id, MifValueLimits::kPageNumber, *mifStartPage);
    }
    modifySectionSettingsCmd->startPageNumber = startPage;
    modifySectionSettingsCmd->style =
        NumberingStyle(mifDocument && mifDocument->GetPropVal(kMifDPageNumStyle, propVal) ? propVal.keyword : -1);
    MIF_RUN_COMMAND(modifySectionSettingsCmd, UIDList(UIDRef(db, sectionList.front())));
    return document;
}

PMString MifImportProvider::MakeWarningsText(const PMString& parsingErrors, const PMString& importErrors,
                                             const PMString& diagnosticNote)
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
    if (!diagnosticNote.IsEmpty()) {
        if (!text.IsEmpty()) text.Append(importErrors.IsEmpty() ? "\r\n" : "\r\n\r\n");
        text.Append(diagnosticNote);
    }
    return text;
}

PMString MifImportProvider::MakeDiagnosticNote(int64 lines, const IDFile& log)
{
    if (lines <= 0 || log.IsEmpty()) return PMString();
    PMString note("This import wrote ");
    note.AppendNumber(lines);
    note.Append(lines == 1 ? " line" : " lines");
    note.Append(" to the diagnostic log ");
    note.Append(log.GetPathString());
    return note;
}

// What one import holds from step to step. The importers are released before the document
// is closed or handed over.
struct MifImportProvider::Run {
    IPMStream* fileStreamData = nullptr;
    IDFile file;
    int32 uiFlags = 0;
    int64 diagnosticLinesBefore = 0;
    InterfacePtr<IMifParser> mifParser;
    std::unique_ptr<MifObject> mifRoot;
    UIDRef newDocument;
    DataBase* db = nullptr;
    InterfacePtr<IMifColorImporter> colorImporter;
    InterfacePtr<IMifContentImporter> contentImporter;
    InterfacePtr<IMifLayoutImporter> layoutImporter;
    InterfacePtr<IMifTableImporter> tableImporter;
    InterfacePtr<IMifVariableImporter> variableImporter;
    InterfacePtr<IMifXRefImporter> xrefImporter;
    int32 crossReferenceMode = 1;
    int32 variableMode = 1;

    void ReleaseImporters()
    {
        colorImporter = InterfacePtr<IMifColorImporter>();
        contentImporter = InterfacePtr<IMifContentImporter>();
        layoutImporter = InterfacePtr<IMifLayoutImporter>();
        tableImporter = InterfacePtr<IMifTableImporter>();
        variableImporter = InterfacePtr<IMifVariableImporter>();
        xrefImporter = InterfacePtr<IMifXRefImporter>();
    }
};

ErrorCode MifImportProvider::ImportThis(IPMStream* stream, const IDFile& file, int32 uiFlags, UIDRef& document)
{
    document = UIDRef();
    Run run;
    run.fileStreamData = stream;
    run.file = file;
    run.uiFlags = uiFlags;
    run.diagnosticLinesBefore = MifAssertLog::GetWrittenLineCount();
    // Nothing may escape into the host: a fault in any step ends this import, not the program.
    ErrorCode result = kFailure;
    try {
        result = Import(run);
    } catch (const std::exception& fault) {
        result = StopImport(run, fault.what());
    } catch (...) {
        result = StopImport(run, "unknown fault");
    }
    run.ReleaseImporters();
    // Whatever failed after the document was made closes the half-made document.
    if (result != kSuccess) {
        if (run.db) DocumentList::Close(run.db);
        return result;
    }
    document = run.newDocument;
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    return kSuccess;
}

ErrorCode MifImportProvider::Import(Run& run)
{
    if (!run.fileStreamData || !run.fileStreamData->IsOpen()) {
        MIF_LOG_NIL(run.fileStreamData);
        return kFailure;
    }
    TaskProgressBar progress("OV#0xB40#kMifImportProgressTitleKey", kPhaseCount);
    progress.DoTask("OV#0xB40#kMifParsingMIFKey");
    if (!ParseFile(run)) return kFailure;             // checks already logged
    if (!MakeDocument(run)) return kFailure;
    if (!ObtainImporters(run)) return kFailure;
    if (!CopyPreset(run)) return kFailure;
    SetUndoSupport(run.newDocument, false);           // the phases are no user's steps to undo
    RunPhases(run, progress);
    {
        InterfacePtr<IMifImportOptions> importOptions = MifDocInterface<IMifImportOptions>(run.db);
        LeaveImportRecord(run.newDocument, run.file, importOptions ? importOptions->GetPreset().GetName() : PMString());
    }
    SetUndoSupport(run.newDocument, true);
    CheckFonts(run);                                  // after the content: its text uses the fonts
    ShowWarnings(run);
    return kSuccess;
}

bool MifImportProvider::ParseFile(Run& run)
{
    run.mifParser = InterfacePtr<IMifParser>(CreateObject2<IMifParser>(kMifParserBoss));
    if (!run.mifParser) {
        MIF_LOG_NIL(run.mifParser);
        return false;
    }
    run.mifRoot.reset(run.mifParser->Parse(run.fileStreamData));
    if (!run.mifRoot) {
        MIF_LOG_NIL(run.mifRoot);
        return false;
    }
    return true;
}

bool MifImportProvider::MakeDocument(Run& run)
{
    // A page costs a few bytes in the file and thousands in the document: a file that asks for
    // more pages (or master spreads) than the user allows makes none, before any is made.
    const int32 limit = DocumentOpener::GetOpenOptions().maxAddedPages;
    const int64 pageCount = CountPages(*run.mifRoot), masterCount = CountMasterPages(*run.mifRoot);
    if (pageCount > limit || masterCount > limit) {
        const bool masters = pageCount <= limit;
        const int64 pages = masters ? masterCount : pageCount;
        PMString text(masters ? "OV#0xB40#kMifTooManyMasterPagesKey" : "OV#0xB40#kMifTooManyPagesKey");
        text.Translate();
        PMString count, most;
        count.AppendNumber(pages);
        most.AppendNumber(limit);
        StringUtils::ReplaceStringParameters(&text, count, most);
        text.SetTranslated();
        CAlert::InformationAlert(text);
        return false;
    }
    UIDRef newDocument = CreateDocument(*run.mifRoot, MakeDocumentName(run.file));
    if (!newDocument.ExistsInDB()) return false;
    run.newDocument = newDocument;
    run.db = newDocument.GetDataBase();
    auto setSkipByLineHeightCmd = std::make_shared<SetSkipByLeadingCmd>();
    setSkipByLineHeightCmd->boolData = false;
    MIF_RUN_COMMAND(setSkipByLineHeightCmd, UIDList(newDocument));
    RecoveryList::AddDocument(run.db);
    return true;
}

bool MifImportProvider::ObtainImporters(Run& run)
{
    // The importers live on the document's object, where they find one another.
    DataBase* db = run.db;
    run.colorImporter = MifDocInterface<IMifColorImporter>(db);
    run.contentImporter = MifDocInterface<IMifContentImporter>(db);
    run.layoutImporter = MifDocInterface<IMifLayoutImporter>(db);
    run.tableImporter = MifDocInterface<IMifTableImporter>(db);
    run.variableImporter = MifDocInterface<IMifVariableImporter>(db);
    run.xrefImporter = MifDocInterface<IMifXRefImporter>(db);
    if (!run.colorImporter) { MIF_LOG_NIL(run.colorImporter); return false; }
    if (!run.contentImporter) { MIF_LOG_NIL(run.contentImporter); return false; }
    if (!run.layoutImporter) { MIF_LOG_NIL(run.layoutImporter); return false; }
    if (!run.tableImporter) { MIF_LOG_NIL(run.tableImporter); return false; }
    if (!run.variableImporter) { MIF_LOG_NIL(run.variableImporter); return false; }
    if (!run.xrefImporter) { MIF_LOG_NIL(run.xrefImporter); return false; }
    MifObject* mifRoot = run.mifRoot.get();
    run.colorImporter->SetRoot(mifRoot);
    run.contentImporter->SetMifObject(mifRoot);
    run.contentImporter->SetSourceFile(run.file);
    run.layoutImporter->Init(run.file, mifRoot, run.uiFlags);
    run.tableImporter->SetMifRoot(mifRoot);
    run.variableImporter->SetRoot(mifRoot);
    run.variableImporter->SetSourceFile(run.file);
    run.xrefImporter->SetRoot(mifRoot);
    run.xrefImporter->SetSourceFile(run.file);
    return true;
}

bool MifImportProvider::CopyPreset(Run& run)
{
    // One copy of the current preset steers the whole import.
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (!prefs) {
        MIF_LOG_NIL(prefs);
        return false;
    }
    MifPresetRecord preset = prefs->GetPreset(prefs->GetCurrentPreset());
    InterfacePtr<IMifImportOptions> importOptions = MifDocInterface<IMifImportOptions>(run.db);
    if (importOptions) {
        importOptions->SetPreset(preset);
        const OpenOptions& openOptions = DocumentOpener::GetOpenOptions();
        importOptions->SetPageGrowth(openOptions.addPages, openOptions.maxAddedPages);
        importOptions->SetAllowOutsideImages(openOptions.allowOutsideImages);
    }
    // The document's text converter decodes font strings with the preset's encodings first.
    InterfacePtr<IMifTextConverter> textConverter = MifDocInterface<IMifTextConverter>(run.db);
    if (textConverter) textConverter->SetPresetEncodings(preset.GetEncodings());
    run.crossReferenceMode = preset.GetCrossReferences();
    run.variableMode = preset.GetVariables();
    return true;
}

void MifImportProvider::RunPhases(Run& run, TaskProgressBar& progress)
{
    progress.DoTask(PMString());
    run.layoutImporter->CreateTemporarySpread();
    progress.DoTask("OV#0xB40#kMifImportingColorsKey");
    run.colorImporter->Import();
    progress.DoTask("OV#0xB40#kMifImportingStylesKey");
    run.contentImporter->ImportStyles();
    progress.DoTask(PMString());
    if (run.crossReferenceMode == 2) run.xrefImporter->ImportXRefFormats();
    progress.DoTask(PMString());
    if (run.variableMode == 2) run.variableImporter->ImportVariableFormats();
    progress.DoTask("OV#0xB40#kMifImportingAnchoredFramesKey");
    run.layoutImporter->ImportAnchoredFrames();  // after the styles: frames hold styled text
    progress.DoTask("OV#0xB40#kMifImportingLayoutKey");
    run.layoutImporter->ImportLayout();
    progress.DoTask("OV#0xB40#kMifImportingContentKey");
    run.contentImporter->ImportTextFlows(run.mifRoot.get());
    progress.DoTask("OV#0xB40#kMifFinalizingKey");
    run.layoutImporter->Finalize();
}

void MifImportProvider::CheckFonts(Run& run)
{
    auto refreshMissingFontsCmd = std::make_shared<RefreshMissingFontsCmd>();
    MIF_RUN_COMMAND(refreshMissingFontsCmd, UIDList(run.newDocument));
    if (!run.db->GetDocument()->missingFonts.empty()) {
        auto openMapFontsCmd = std::make_shared<OpenMapFontsCmd>();
        MIF_RUN_COMMAND(openMapFontsCmd, UIDList(run.newDocument));
    }
}

void MifImportProvider::ShowWarnings(Run& run)
{
    InterfacePtr<IMifErrorLog> parsingErrors(run.mifParser.get(), IID_IMIFERRORLOG);
    InterfacePtr<IMifErrorLog> importErrors = MifDocInterface<IMifErrorLog>(run.db);
    PMString diagnosticNote =
        MakeDiagnosticNote(MifAssertLog::GetWrittenLineCount() - run.diagnosticLinesBefore, MifAssertLog::GetLogFile());
    PMString warnings = MakeWarningsText(parsingErrors ? parsingErrors->GetText() : PMString(),
                                         importErrors ? importErrors->GetText() : PMString(), diagnosticNote);
    if (parsingErrors) parsingErrors->Clear();
    if (importErrors) importErrors->Clear();
    if (warnings.IsEmpty()) return;
    warnings.SetTranslated();
    auto openWarningsDlgCmd = std::make_shared<OpenWarningsDlgCmd>();
    openWarningsDlgCmd->stringData = warnings;
    // Scheduled, not processed: the dialog opens once the import has returned.
    CmdUtils::ScheduleCommand(openWarningsDlgCmd);
}

ErrorCode MifImportProvider::StopImport(Run& run, const char* fault)
{
    // The fault is the plug-in's, not the file's: the developer's trace gets it, and the user
    // learns that this import ended.
    MifAssertLog::Write(__FILE__, __LINE__, fault, MifAssertLog::kFailed);
    PMString text("OV#0xB40#kMifImportStoppedKey");
    text.Translate();
    PMString reason(fault);
    StringUtils::ReplaceStringParameters(&text, reason);
    text.SetTranslated();
    CAlert::WarningAlert(text);
    return kFailure;
}
