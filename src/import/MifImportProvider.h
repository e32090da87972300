// MifImportProvider: the host's import provider for MIF files, and the import driver.
//
// An import parses the file into the statement tree, creates the document from the Document
// statement and the body pages, and runs the importers in a fixed order under one progress bar:
// the scratch spread, colors, styles, cross-reference and variable formats (when the preset uses
// them), anchored frames, layout, content, and the finishing pass. Problems found in the MIF are
// collected in two error logs (parsing, importing) and shown in the warnings dialog after the
// import has returned; they never stop the import. A fault of the plug-in itself (an exception
// from any step) ends the import with an alert and leaves no document behind.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "IImportProvider.h"

class MifObject;
class TaskProgressBar;

class MifImportProvider : public IImportProvider {
public:
    int32 CountFormats() override { return 1; }
    uint32 GetFormatType(int32) override { return kFileTypeText; }
    PMString GetFormatName(int32) override;
    PMString GetFormatExtension(int32) override { return PMString("mif"); }
    bool CanOpen() override { return true; }
    bool CanPlace() override { return true; }
    bool CanPlaceIntoSelection() override { return false; }
    bool CanLink() override { return false; }
    bool HasImportOptions() override { return false; }
    int32 CanImportThisType(uint32 fileType, const IDFile& file) override;
    int32 CanImportThisStream(IPMStream* stream) override;
    ErrorCode ImportThis(IPMStream* stream, const IDFile& file, int32 uiFlags, UIDRef& document) override;

    static constexpr uint32 kFileTypeText = 0x54455854;  // 'TEXT'

    // The new document's name: the file name without ".mif" (any case), then ".indd".
    static PMString MakeDocumentName(const IDFile& file);
    // Creates the document that the tree's Document statement and body pages describe.
    static UIDRef CreateDocument(const MifObject& mifRoot, const PMString& name);
    // The pages a document made from the tree has: its body pages, with the blank first page of
    // a file that starts on a left page, at least one.
    static int64 CountPages(const MifObject& mifRoot);
    // The master pages of the tree that become master spreads of their own (OtherMasterPage).
    static int64 CountMasterPages(const MifObject& mifRoot);
    // The text of the warnings dialog: the parse errors, then the import errors, then the note on
    // the diagnostic log; empty when all three are empty.
    static PMString MakeWarningsText(const PMString& parsingErrors, const PMString& importErrors,
                                     const PMString& diagnosticNote = PMString());
    // The line that names the diagnostic log and how many lines an import wrote to it; empty when
    // it wrote none (or there is no log).
    static PMString MakeDiagnosticNote(int64 lines, const IDFile& log);

private:
    struct Run;
    // The import, step by step; false or a failure code ends it (the check is logged).
    ErrorCode Import(Run& run);
    bool ParseFile(Run& run);
    bool MakeDocument(Run& run);
    bool ObtainImporters(Run& run);
    bool CopyPreset(Run& run);
    void RunPhases(Run& run, TaskProgressBar& progress);
    void CheckFonts(Run& run);
    void ShowWarnings(Run& run);
    // Ends an import that a fault (an exception) interrupted; answers kFailure.
    ErrorCode StopImport(Run& run, const char* fault);
};
