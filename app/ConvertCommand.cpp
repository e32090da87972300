#include "ConvertCommand.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "AppCommandLine.h"
#include "AppPresenter.h"
#include "AppSession.h"
#include "AtomicFileWriter.h"
#include "CmdUtils.h"
#include "CrossReference.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "FileChooser.h"
#include "FileReport.h"
#include "FontReport.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "InterfacePtr.h"
#include "JsonDumpWriter.h"
#include "LineProgressRenderer.h"
#include "PreviewWriter.h"
#include "Session.h"
#include "Story.h"
#include "TerminalFileChooser.h"
#include "TextComposer.h"

#include "base/MifDocInterface.h"
#include "content/IMifContentImporter.h"
#include "prefs/IMifPrefs.h"

namespace fs = std::filesystem;

namespace {

// The notes below the options in tessel convert --help.
const char* kNotes =
    "With no file, converts the sample that ships with Tessel into sample.idml in the current folder.\n"
    "--max-pages N bounds the pages of a document: a file that has more is refused, and text that\n"
    "overflows an autoconnected flow gets at most N pages added after the flow's last page;\n"
    "--no-add-pages keeps the file's pages and leaves such text overset.\n"
    "Linked images are read only from the MIF file's folder (and below) and the --images folders;\n"
    "one named elsewhere is reported and left out, unless --allow-outside-images is given (for\n"
    "files whose origin you trust).\n"
    "Exit status: 0 when a document was made and saved (with every preview asked for), 1 when the\n"
    "file was refused or could not be read, or an output could not be written, 2 on wrong usage.";

// The range of --max-pages: a file always has a page, so 0 would refuse every file (and
// --no-add-pages is the way to add none).
constexpr long kMinPagesLimit = 1;
constexpr long kMaxAddedPages = 1000000;

struct Options {
    std::string input, output, json, report, reportJson, preset, pdf, png;
    std::vector<IDFile> imageFolders;   // --images
    PreviewOptions preview;
    OpenOptions open;
    bool progressLines = false;         // --progress
    bool HasPreview() const { return !pdf.empty() || !png.empty(); }
};

// What the command line gives that CheckArguments turns into options.
struct Arguments {
    std::string dpi, maxPages;
    std::vector<std::string> imageFolders;
    bool noAddPages = false;
};

// One file the conversion writes: which, what it is called in messages, and where.
struct Output {
    enum Kind { kDocument, kDump, kReport, kReportJson, kPreview } kind;
    const char* what;
    std::string path;
};

// Refuses wrong usage that CLI11 lets through, by throwing CLI::ValidationError with the message;
// otherwise completes `options` from `arguments`.
void CheckArguments(const CLI::App& command, const Arguments& arguments, Options& options)
{
    AppCommandLine::RefuseExtraArguments(command, "one file at a time (converting several files or folders is not supported yet)");
    if (command.count("FILE.mif") && options.input.empty()) throw CLI::ValidationError("the file name is empty");
    // An empty value is a mistake, never "the default": -o "" would write beside the input.
    struct Value {
        const char* option;
        const std::string& value;
        const char* needs;
    };
    for (const Value& given : {Value{"-o", options.output, "a file name"}, Value{"--json", options.json, "a file name"},
                               Value{"--report", options.report, "a file name"},
                               Value{"--report-json", options.reportJson, "a file name"}, Value{"--preset", options.preset, "a preset name"},
                               Value{"--pdf", options.pdf, "a file name"}, Value{"--png", options.png, "a folder name"},
                               Value{"--dpi", arguments.dpi, "a number"}, Value{"--max-pages", arguments.maxPages, "a number"}})
        if (command.count(given.option) && given.value.empty())
            throw CLI::ValidationError(std::string(given.option) + " needs " + given.needs);
    for (const std::string& folder : arguments.imageFolders) {
        if (folder.empty()) throw CLI::ValidationError("--images needs a folder name");
        std::error_code error;
        if (!fs::is_directory(folder, error)) throw CLI::ValidationError("--images needs a folder, " + folder + " is none");
        options.imageFolders.push_back(IDFile(fs::path(folder)));
    }
    bool dpiGiven = command.count("--dpi") > 0;
    if (dpiGiven) {
        char* end = nullptr;
        double number = std::strtod(arguments.dpi.c_str(), &end);
        if (*end != '\0' || !(number >= PreviewWriter::kMinDpi && number <= PreviewWriter::kMaxDpi)) {
            char message[160];
            std::snprintf(message, sizeof message, "--dpi needs a number from %g to %g, not ", PreviewWriter::kMinDpi,
                          PreviewWriter::kMaxDpi);
            throw CLI::ValidationError(message + arguments.dpi);
        }
        options.preview.dpi = number;
    }
    bool maxPagesGiven = command.count("--max-pages") > 0;
    if (maxPagesGiven) {
        char* end = nullptr;
        errno = 0;
        long number = std::strtol(arguments.maxPages.c_str(), &end, 10);
        if (*end != '\0' || errno != 0 || number < kMinPagesLimit || number > kMaxAddedPages)
            throw CLI::ValidationError("--max-pages needs a whole number from " + std::to_string(kMinPagesLimit) + " to " +
                                       std::to_string(kMaxAddedPages) + ", not " + arguments.maxPages);
        options.open.maxAddedPages = static_cast<int32>(number);
    }
    options.open.addPages = !arguments.noAddPages;
    // Options of a preview that was not asked for are a mistake, not something to ignore.
    if (options.preview.showFrames && !options.HasPreview()) throw CLI::ValidationError("--frames needs --pdf or --png");
    if (maxPagesGiven && !options.open.addPages)
        throw CLI::ValidationError("--max-pages and --no-add-pages contradict each other");
    if (dpiGiven && options.png.empty()) throw CLI::ValidationError("--dpi needs --png (PDF pages are drawn in points)");
}

void CannotWrite(const Output& output, const char* reason)
{
    std::fprintf(stderr, "tessel convert: cannot write the %s %s: %s\n", output.what, output.path.c_str(), reason);
}

// Says why writing an output failed.
void ReportWriteError(ErrorCode status, const Output& output)
{
    CannotWrite(output, status == kFileNotFoundError        ? "the folder does not exist"
                        : status == kIOWriteError           ? "it cannot be written (permissions or disk space)"
                        : status == kInvalidParameterError  ? "it is not a regular file (a folder, a device, a FIFO or a socket)"
                        : status == kOutOfMemoryError       ? "there is not enough memory"
                                                            : "writing failed");
}

// The outputs may be written: none is the input, none is something other than a regular file,
// no two are the same file. The exit status when not (after saying why), else 0. A file's
// identity is its device and inode when it exists (so links and "./" spellings are seen
// through), else its path with the links of its folders resolved.
int CheckOutputs(const fs::path& input, const std::vector<Output>& outputs)
{
    std::error_code ec;
    std::vector<fs::path> identities;
    for (const Output& output : outputs) {
        fs::path path(output.path);
        fs::file_status link = fs::symlink_status(path, ec);
        fs::file_status target = fs::status(path, ec);
        if (fs::is_symlink(link) && !fs::exists(target)) {
            CannotWrite(output, "it is a symbolic link that leads nowhere");
            return 1;
        }
        if (fs::exists(target) && fs::equivalent(path, input, ec)) {
            CannotWrite(output, "it is the input file");
            return 1;
        }
        if (fs::exists(target) && !fs::is_regular_file(target)) {
            CannotWrite(output, "it is not a regular file (a folder, a device, a FIFO or a socket)");
            return 1;
        }
        identities.push_back(fs::weakly_canonical(fs::absolute(path, ec), ec));
    }
    for (size_t i = 0; i < outputs.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (identities[i] == identities[j]) {
                std::fprintf(stderr, "tessel convert: the %s and the %s are the same file (%s)\n", outputs[j].what,
                             outputs[i].what, outputs[i].path.c_str());
                return 2;
            }
    return 0;
}

// Makes the preset named `name` the current one for this conversion; `previous` gets the index
// to restore afterwards. False when no preset has that name. The change is never saved: the
// command drops the settings without writing them.
bool UsePreset(const std::string& name, int32& previous)
{
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (!prefs) return false;
    int32 index = MifPresetRecord::FindByName(prefs->GetPresets(), PMString(name));
    if (index < 0) return false;
    previous = prefs->GetCurrentPreset();
    prefs->SetCurrentPreset(index);
    return true;
}

void RestorePreset(int32 previous)
{
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (prefs && previous >= 0) prefs->SetCurrentPreset(previous);
}

// Writes the outputs of kind `kind` (the report: all but the report) to temporary files in
// `writer`, to be put in place together by its Commit. False (after saying why) when one failed.
bool StageOutputs(const DataBase& db, const std::vector<Output>& outputs, bool reportOnly, const std::string& report,
                  const std::string& reportJson, AtomicFileWriter& writer)
{
    for (const Output& output : outputs) {
        // The preview is written on its own (StagePreview).
        bool isReport = output.kind == Output::kReport || output.kind == Output::kReportJson;
        if (output.kind == Output::kPreview || isReport != reportOnly) continue;
        std::string bytes;
        ErrorCode status = kSuccess;
        if (output.kind == Output::kDocument) {
            status = IdmlWriter::BuildPackage(db, &bytes);
            if (status != kSuccess) {
                CannotWrite(output, status == kInvalidParameterError ? "the document has no pages" : "the package could not be built");
                return false;
            }
        } else if (output.kind == Output::kDump) {
            bytes = JsonDumpWriter::Dump(db);
            if (bytes.empty()) status = kOutOfMemoryError;
        } else {
            bytes = output.kind == Output::kReport ? report : reportJson;
        }
        if (status == kSuccess) status = writer.Add(IDFile(fs::path(output.path)), bytes);
        if (status != kSuccess) {
            ReportWriteError(status, output);
            return false;
        }
    }
    return true;
}

// Puts the staged outputs in place, all or none; false (after saying why) when that failed.
bool CommitOutputs(AtomicFileWriter& writer)
{
    if (writer.Commit() == kSuccess) return true;
    std::fprintf(stderr, "tessel convert: cannot put the outputs in place (renaming failed); the files are as they were\n");
    return false;
}

// Whether `a` and `b` name one file: the same device and inode when both exist, else the same
// path with the links of its folders resolved.
bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
    return fs::weakly_canonical(fs::absolute(a, ec), ec) == fs::weakly_canonical(fs::absolute(b, ec), ec);
}

// The preview's files, drawn and staged in `writer` to be put in place after the other outputs.
// What could not be drawn goes to `problems`. False (after saying why) when a file of the preview
// cannot be written; `createdFolder` tells whether the PNG folder was made here.
bool StagePreview(const DataBase& db, const Options& options, const fs::path& input, const std::vector<Output>& outputs,
                  AtomicFileWriter& writer, std::vector<std::string>& problems, bool& createdFolder)
{
    auto drawError = [](ErrorCode status) {
        return status == kInvalidParameterError ? "the document has no pages" : "the pages could not be drawn (out of memory)";
    };
    if (!options.pdf.empty()) {
        Output output{Output::kPreview, "preview", options.pdf};
        std::string bytes;
        ErrorCode status = PreviewWriter::BuildPdf(db, options.preview, &bytes, &problems);
        if (status != kSuccess) {
            CannotWrite(output, drawError(status));
            return false;
        }
        if ((status = writer.Add(IDFile(fs::path(output.path)), bytes)) != kSuccess) {
            ReportWriteError(status, output);
            return false;
        }
    }
    if (options.png.empty()) return true;
    Output folder{Output::kPreview, "preview folder", options.png};
    std::error_code ec;
    // A preview folder that cannot be used costs the preview only: the document is written.
    if (fs::is_symlink(fs::symlink_status(options.png, ec)) && !fs::exists(options.png, ec)) {
        CannotWrite(folder, "it is a symbolic link that leads nowhere");
        return false;
    }
    if (fs::exists(options.png, ec) && !fs::is_directory(options.png, ec)) {
        CannotWrite(folder, "it is not a folder");
        return false;
    }
    if (!fs::exists(options.png, ec)) {
        createdFolder = fs::create_directories(options.png, ec);
        if (!createdFolder) {
            CannotWrite(folder, "the folder cannot be made (permissions, or a file in its path)");
            return false;
        }
    }
    // An image's name may already be taken by another output or the input itself.
    std::vector<fs::path> taken = {input};
    for (const Output& output : outputs) taken.push_back(output.path);
    bool written = true;
    ErrorCode status = PreviewWriter::BuildPngs(db, options.preview, [&](int32 number, std::string_view png) {
        Output image{Output::kPreview, "preview image", (fs::path(options.png) / ("page-" + std::to_string(number) + ".png")).string()};
        for (const fs::path& other : taken)
            if (SameFile(image.path, other)) {
                CannotWrite(image, other == input ? "it is the input file" : "another output is written there");
                written = false;
                return kInvalidParameterError;
            }
        ErrorCode added = writer.Add(IDFile(fs::path(image.path)), png);
        if (added != kSuccess) {
            ReportWriteError(added, image);
            written = false;
        }
        return added;
    }, &problems);
    if (status != kSuccess && written) CannotWrite(folder, drawError(status));
    return status == kSuccess;
}

// A line for each story of the document whose text runs past its last frame: its first words and
// how much of it is left out.
std::vector<std::string> OversetStories(const DataBase& db)
{
    std::vector<std::string> lines;
    for (UID uid : db.GetDocument()->stories) {
        const Story* story = db.Get<Story>(uid);
        if (!story || !story->frameList.Overflows()) continue;
        std::u16string text = story->GetPrimaryText().GetUTF16();
        std::u16string start;
        for (char16_t c : text) {
            if (start.size() >= 40) break;
            if (c == u'\r' || c == u'\n' || c == u'\t') c = u' ';
            if (c < 0x20 || (c == u' ' && (start.empty() || start.back() == u' '))) continue;
            start.push_back(c);
        }
        while (!start.empty() && start.back() == u' ') start.pop_back();
        int32 total = story->textModel.GetThreadRange(0).length;
        int32 left = total - story->frameList.GetOversetIndex();
        char counts[96];
        std::snprintf(counts, sizeof counts, "%d of %d characters do not fit", left, total);
        lines.push_back("story " + std::to_string(uid) + " (\"" + PMString(start).GetUTF8String() + "\"): " + counts);
    }
    return lines;
}

// Characters in the stories of the document (their footnotes and table cells with them), counted
// as the import counts the text it puts in (IMifContentImporter::IsCountedCharacter). The text of
// a cross-reference (between its start and end marks) is left out: the cross-reference plug-in
// writes it from the format and the paragraph it points to, not the import.
int64_t CountDocumentCharacters(const DataBase& db)
{
    int64_t count = 0;
    for (UID uid : db.GetDocument()->stories) {
        const Story* story = db.Get<Story>(uid);
        if (!story) continue;
        std::u16string text = story->textModel.GetText(0, story->textModel.TotalLength());
        bool inCrossReference = false;
        for (char16_t c : text) {
            if (c == kTextChar_CrossReferenceStart) inCrossReference = true;
            else if (c == kTextChar_CrossReferenceEnd) inCrossReference = false;
            else if (!inCrossReference && IMifContentImporter::IsCountedCharacter(c)) ++count;
        }
    }
    return count;
}

// What the conversion of `document` did, for --report-json (the overset stories and the time are
// the caller's).
FileReport GatherFacts(const UIDRef& document, const Options& options, const AppPresenter& presenter)
{
    FileReport facts;
    facts.input = options.input;
    facts.output = options.output;
    facts.status = "converted";
    const DataBase& db = *document.GetDataBase();
    facts.pages = db.GetDocument()->GetPageCount();
    facts.warnings = presenter.GetWarningCount();
    facts.missingFonts = presenter.GetMissingFonts();
    InterfacePtr<IMifContentImporter> contentImporter = MifDocInterface<IMifContentImporter>(document.GetDataBase());
    if (contentImporter) {
        facts.pagesAdded = std::max(0, facts.pages - contentImporter->GetFilePageCount());
        facts.importedCharacters = contentImporter->GetImportedCharacterCount();
    }
    facts.documentCharacters = CountDocumentCharacters(db);
    return facts;
}

// Hooks for the tests of tessel batch, which need a conversion that crashes or hangs: when the
// input's file name is TESSEL_TEST_WORKER_ABORT, the conversion aborts; when it is
// TESSEL_TEST_WORKER_SLEEP, it sleeps for an hour first.
void TestHooks(const IDFile& input)
{
    std::string name = input.GetPath().filename().string();
    const char* abortOn = std::getenv("TESSEL_TEST_WORKER_ABORT");
    if (abortOn && name == abortOn) std::abort();
    const char* sleepOn = std::getenv("TESSEL_TEST_WORKER_SLEEP");
    if (sleepOn && name == sleepOn) ::sleep(3600);
}

// The outputs that `options` ask for, each checked (0), or the exit status of a refusal. The
// document's name defaults to the input's with ".idml" (the sample's goes to the current folder).
int ResolveOutputs(Options& options, const IDFile& input, std::vector<Output>& outputs)
{
    if (options.output.empty()) {
        fs::path out = options.input.empty() ? fs::path(input.GetPath().filename()) : input.GetPath();
        out.replace_extension(".idml");
        options.output = out.string();
    }
    outputs = {{Output::kDocument, "document", options.output}};
    if (!options.json.empty()) outputs.push_back({Output::kDump, "dump", options.json});
    if (!options.report.empty()) outputs.push_back({Output::kReport, "report", options.report});
    if (!options.reportJson.empty()) outputs.push_back({Output::kReportJson, "JSON report", options.reportJson});
    if (!options.pdf.empty()) outputs.push_back({Output::kPreview, "preview", options.pdf});
    if (int status = CheckOutputs(input.GetPath(), outputs)) return status;
    if (!options.png.empty()) {
        for (const Output& output : outputs)
            if (SameFile(output.path, options.png)) {
                std::fprintf(stderr, "tessel convert: the %s and the preview folder are the same (%s)\n", output.what, options.png.c_str());
                return 2;
            }
    }
    return 0;
}

// Imports `input`, every alert going to `presenter`, and then makes `previousPreset` current
// again (the chosen preset steers this conversion only); the new document, or an invalid one
// after saying why.
UIDRef ImportScope(const Options& options, const IDFile& input, int32 previousPreset, AppPresenter& presenter)
{
    CAlert::SetPresenter(&presenter);
    // Only the preview draws the lines' glyphs: a conversion without one composes without them.
    TextComposer::Get().SetKeepGlyphs(options.HasPreview());
    UIDRef document;
    PMString message;
    // Missing images are asked for on a terminal; elsewhere they are skipped with a warning.
    FileChooser::SetGraphicSearchFolders(options.imageFolders);
    TerminalFileChooser chooser;
    bool interactive = TerminalFileChooser::IsInteractive();
    if (interactive) FileChooser::SetChooser(&chooser);
    ErrorCode status = DocumentOpener::OpenFile(input, interactive ? kFullUI : kMinimalUI, document, message, options.open);
    FileChooser::SetChooser(nullptr);
    RestorePreset(previousPreset);
    // The warnings dialog is scheduled to open once the import has returned.
    CmdUtils::ProcessScheduledCmds();
    CAlert::SetPresenter(nullptr);
    if (status == kSuccess) return document;
    // A refused file has said why in its alert already.
    if (!message.IsEmpty() && !presenter.HasAlerted()) std::fprintf(stderr, "tessel convert: %s\n", message.GetUTF8String().c_str());
    return UIDRef();
}

// Writes every output of the imported document and closes it; returns the exit status.
//
// Every output is written to a temporary file first. The document and the dump come first, so
// that the preview is drawn only for a document that can be written; the report comes after the
// preview, so that it says what the preview could not draw. The preview is put in place after the
// other outputs, and only when they are: a preview that cannot be written costs the user the
// preview, never the document.
int WriteOutputs(DataBase* db, const Options& options, const IDFile& input, const std::vector<Output>& outputs,
                 AppPresenter& presenter, const FileReport& facts)
{
    AtomicFileWriter writer;
    auto previewWriter = std::make_unique<AtomicFileWriter>();
    bool createdFolder = false;
    bool previewStaged = true;
    bool saved = StageOutputs(*db, outputs, false, "", "", writer);
    if (saved && options.HasPreview()) {
        std::vector<std::string> problems;
        previewStaged = StagePreview(*db, options, input.GetPath(), outputs, *previewWriter, problems, createdFolder);
        presenter.PreviewProblems(problems);
    }
    saved = saved && StageOutputs(*db, outputs, true, presenter.GetReport(), facts.ToJson(), writer) && CommitOutputs(writer);
    DocumentList::Close(db);
    bool previewSaved = saved && previewStaged && (!options.HasPreview() || previewWriter->Commit() == kSuccess);
    if (saved && previewStaged && !previewSaved)
        std::fprintf(stderr, "tessel convert: cannot put the preview in place (renaming failed); its files are as they were\n");
    previewWriter.reset();  // what was not put in place goes
    if (!previewSaved && createdFolder) {
        std::error_code ec;
        fs::remove(options.png, ec);  // only when nothing is in it
    }
    if (!saved) return 1;
    if (options.HasPreview() && !previewSaved) {
        // The document is saved; the status says that an output asked for is missing.
        std::fprintf(stderr, "tessel convert: wrote %s, without the preview\n", options.output.c_str());
        return 1;
    }
    std::fprintf(stderr, "tessel convert: wrote %s\n", options.output.c_str());
    return 0;
}

// Converts the file that `options` name; returns the exit status.
int RunConvertCommand(Options options)
{
    std::error_code ec;
    if (!options.input.empty() && fs::is_directory(options.input, ec)) {
        std::fprintf(stderr, "tessel convert: %s is a folder (converting folders is not supported yet)\n", options.input.c_str());
        return 2;
    }
    IDFile input = options.input.empty() ? AppSession::GetSampleFile() : IDFile(fs::path(options.input));
    std::vector<Output> outputs;
    if (int status = ResolveOutputs(options, input, outputs)) return status;

    if (!AppSession::LoadPlugIns()) return 1;
    AppSession::OpenWorkspace();
    int32 previousPreset = -1;
    if (!options.preset.empty() && !UsePreset(options.preset, previousPreset)) {
        std::fprintf(stderr, "tessel convert: there is no preset named \"%s\" (tessel prefs list shows them)\n", options.preset.c_str());
        return 2;
    }

    TestHooks(input);
    auto started = std::chrono::steady_clock::now();
    AppPresenter presenter;
    UIDRef document = ImportScope(options, input, previousPreset, presenter);
    if (!document.GetDataBase()) return 1;
    DataBase* db = document.GetDataBase();
    std::vector<std::string> overset = OversetStories(*db);
    presenter.OversetText(overset);
    presenter.Fonts(FontReport::StandIns(*db), FontReport::UndrawableCharacters(*db));
    FileReport facts = GatherFacts(document, options, presenter);
    facts.oversetStories = overset;
    facts.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return WriteOutputs(db, options, input, outputs, presenter, facts);
}

} // namespace

void AddConvertCommand(AppCommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    auto arguments = std::make_shared<Arguments>();
    CLI::App& command = commandLine.AddCommand("convert", "Convert a MIF file into an InDesign document (IDML)", [options] {
        // The command loads the plug-ins and opens the workspace itself, once its outputs are
        // known to be fine. The import only reads the preferences: they are dropped unsaved.
        LineProgressRenderer lines;
        IProgressRenderer* terminal = ProgressBarManager::GetRenderer();
        if (options->progressLines) ProgressBarManager::SetRenderer(&lines);
        int status = RunConvertCommand(*options);
        ProgressBarManager::SetRenderer(terminal);
        AppSession::DropWorkspace();
        return status;
    });
    // Unknown options and more files stay for CheckArguments, which says what is wrong with them.
    command.allow_extras();
    // An option given twice: the last value counts.
    command.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command.add_option("FILE.mif", options->input, "The MIF file (default: the sample that ships with Tessel)")->type_name("");
    command.add_option("-o,--output", options->output, "The document (default: beside the input, with .idml)")
        ->type_name("OUT.idml");
    command.add_option("--json", options->json, "Also write a deterministic dump of the document model")->type_name("OUT.json");
    command.add_option("--report", options->report, "Also write the warnings of the conversion to a file")
        ->type_name("OUT.txt");
    command.add_option("--report-json", options->reportJson,
                       "Also write what the conversion did as JSON: pages, warnings,\noverset stories, missing fonts and the text check")
        ->type_name("OUT.json");
    command.add_option("--preset", options->preset,
                       "Convert with this preset instead of the current one\n(tessel prefs list shows them)")
        ->type_name("NAME");
    command.add_option("--pdf", options->pdf, "Draw the pages into a PDF file")->type_name("PREVIEW.pdf");
    command.add_option("--png", options->png, "Draw the pages into page-1.png, page-2.png, ... in FOLDER\n(made when missing)")
        ->type_name("FOLDER");
    command.add_option("--dpi", arguments->dpi, "Pixels per inch of the --png images (default 96, 10 to 1200)")->type_name("N");
    command.add_flag("--frames", options->preview.showFrames,
                     "Outline the text frames in the preview, and mark text that does not\nfit with a red plus");
    command.add_option("--max-pages", arguments->maxPages,
                       "The most pages a document may have, and may have added\n(default 10000, 1 to 1000000)")
        ->type_name("N");
    command.add_flag("--no-add-pages", arguments->noAddPages,
                     "Add no pages for text that overflows an autoconnected flow:\nit stays overset");
    command.add_option("--images", arguments->imageFolders,
                       "A folder where linked images are looked for first\n(may be given more than once)")
        ->type_name("DIR")
        ->expected(1)
        ->allow_extra_args(false)
        ->take_all();
    command.add_flag("--progress", options->progressLines,
                     "Print the progress as lines on standard error (\"tessel-progress\", the fraction\ndone, the title and the task, separated by tabs), for a program that shows it");
    command.add_flag("--allow-outside-images", options->open.allowOutsideImages,
                     "Read linked images wherever they are, not only beside the MIF file\nand in the --images folders");
    command.footer(kNotes);
    command.callback([&command, options, arguments] { CheckArguments(command, *arguments, *options); });
}
