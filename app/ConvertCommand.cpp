#include "ConvertCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "AppPresenter.h"
#include "FileChooser.h"
#include "FontReport.h"
#include "TerminalFileChooser.h"
#include "AppSession.h"
#include "AtomicFileWriter.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "IMifPrefs.h"
#include "InterfacePtr.h"
#include "Session.h"
#include "Story.h"
#include "TextComposer.h"
#include "IdmlWriter.h"
#include "JsonDumpWriter.h"
#include "PreviewWriter.h"

namespace fs = std::filesystem;

namespace {

const char* kUsage =
    "usage: tessel convert [FILE.mif] [-o OUT.idml] [--json OUT.json] [--report OUT.txt] [--preset NAME]\n"
    "                      [--pdf PREVIEW.pdf] [--png FOLDER [--dpi N]] [--frames] [--max-pages N | --no-add-pages]\n"
    "                      [--images DIR] [--allow-outside-images]\n"
    "  With no file, converts the sample that ships with Tessel into sample.idml in the current folder.\n"
    "  --max-pages N (default 10000, 1 to 1000000) bounds the pages of a document: a file that has\n"
    "  more is refused, and text that overflows an autoconnected flow gets at most N pages added\n"
    "  after the flow's last page; --no-add-pages keeps the file's pages and leaves such text overset.\n"
    "  --pdf draws the pages into a PDF file, --png into page-1.png, page-2.png, ... in FOLDER (made\n"
    "  when missing) at N pixels per inch (default 96, 10 to 1200); --frames outlines the text frames\n"
    "  and marks text that does not fit with a red plus. --images names a folder where linked images\n"
    "  are looked for first (may be given more than once). Linked images are read only from the MIF\n"
    "  file's folder (and below) and the --images folders; one named elsewhere is reported and left\n"
    "  out, unless --allow-outside-images is given (for files whose origin you trust).\n";

// The range of --max-pages: a file always has a page, so 0 would refuse every file (and
// --no-add-pages is the way to add none).
constexpr long kMinPagesLimit = 1;
constexpr long kMaxAddedPages = 1000000;

struct Options {
    std::string input, output, json, report, preset, pdf, png;
    std::vector<IDFile> imageFolders;   // --images
    PreviewOptions preview;
    OpenOptions open;
    bool dpiGiven = false;
    bool maxPagesGiven = false;
    bool HasPreview() const { return !pdf.empty() || !png.empty(); }
};

// One file the conversion writes: which, what it is called in messages, and where.
struct Output {
    enum Kind { kDocument, kDump, kReport, kPreview } kind;
    const char* what;
    std::string path;
};

// Reads the options; false (after saying why) on wrong usage.
bool ParseOptions(const std::vector<std::string>& args, Options& options, bool& help)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // An empty value is a mistake, never "the default": -o "" would write beside the input.
        auto value = [&](std::string& target, const char* needs) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                std::fprintf(stderr, "tessel convert: %s needs %s\n%s", arg.c_str(), needs, kUsage);
                return false;
            }
            target = args[++i];
            return true;
        };
        if (arg == "-h" || arg == "--help") {
            help = true;
            return true;
        }
        if (arg == "-o" || arg == "--output") {
            if (!value(options.output, "a file name")) return false;
        } else if (arg == "--json") {
            if (!value(options.json, "a file name")) return false;
        } else if (arg == "--report") {
            if (!value(options.report, "a file name")) return false;
        } else if (arg == "--preset") {
            if (!value(options.preset, "a preset name")) return false;
        } else if (arg == "--pdf") {
            if (!value(options.pdf, "a file name")) return false;
        } else if (arg == "--png") {
            if (!value(options.png, "a folder name")) return false;
        } else if (arg == "--dpi") {
            std::string dpi;
            if (!value(dpi, "a number")) return false;
            char* end = nullptr;
            double number = std::strtod(dpi.c_str(), &end);
            if (*end != '\0' || !(number >= PreviewWriter::kMinDpi && number <= PreviewWriter::kMaxDpi)) {
                std::fprintf(stderr, "tessel convert: --dpi needs a number from %g to %g, not %s\n%s", PreviewWriter::kMinDpi,
                             PreviewWriter::kMaxDpi, dpi.c_str(), kUsage);
                return false;
            }
            options.preview.dpi = number;
            options.dpiGiven = true;
        } else if (arg == "--max-pages") {
            std::string count;
            if (!value(count, "a number")) return false;
            char* end = nullptr;
            errno = 0;
            long number = std::strtol(count.c_str(), &end, 10);
            if (*end != '\0' || errno != 0 || number < kMinPagesLimit || number > kMaxAddedPages) {
                std::fprintf(stderr, "tessel convert: --max-pages needs a whole number from %ld to %ld, not %s\n%s", kMinPagesLimit,
                             kMaxAddedPages, count.c_str(), kUsage);
                return false;
            }
            options.open.maxAddedPages = static_cast<int32>(number);
            options.maxPagesGiven = true;
        } else if (arg == "--no-add-pages") {
            options.open.addPages = false;
        } else if (arg == "--images") {
            std::string folder;
            if (!value(folder, "a folder name")) return false;
            std::error_code error;
            if (!fs::is_directory(folder, error)) {
                std::fprintf(stderr, "tessel convert: --images needs a folder, %s is none\n%s", folder.c_str(), kUsage);
                return false;
            }
            options.imageFolders.push_back(IDFile(fs::path(folder)));
        } else if (arg == "--allow-outside-images") {
            options.open.allowOutsideImages = true;
        } else if (arg == "--frames") {
            options.preview.showFrames = true;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "tessel convert: unknown option %s\n%s", arg.c_str(), kUsage);
            return false;
        } else if (arg.empty()) {
            std::fprintf(stderr, "tessel convert: the file name is empty\n%s", kUsage);
            return false;
        } else if (options.input.empty()) {
            options.input = arg;
        } else {
            std::fprintf(stderr,
                         "tessel convert: one file at a time (converting several files or folders is not supported yet)\n%s",
                         kUsage);
            return false;
        }
    }
    // Options of a preview that was not asked for are a mistake, not something to ignore.
    if (options.preview.showFrames && !options.HasPreview()) {
        std::fprintf(stderr, "tessel convert: --frames needs --pdf or --png\n%s", kUsage);
        return false;
    }
    if (options.maxPagesGiven && !options.open.addPages) {
        std::fprintf(stderr, "tessel convert: --max-pages and --no-add-pages contradict each other\n%s", kUsage);
        return false;
    }
    if (options.dpiGiven && options.png.empty()) {
        std::fprintf(stderr, "tessel convert: --dpi needs --png (PDF pages are drawn in points)\n%s", kUsage);
        return false;
    }
    return true;
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
                  AtomicFileWriter& writer)
{
    for (const Output& output : outputs) {
        // The preview is written on its own (StagePreview).
        if (output.kind == Output::kPreview || (output.kind == Output::kReport) != reportOnly) continue;
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
            bytes = report;
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

} // namespace

int RunConvertCommand(const std::vector<std::string>& args)
{
    Options options;
    bool help = false;
    if (!ParseOptions(args, options, help)) return 2;
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::error_code ec;
    if (!options.input.empty() && fs::is_directory(options.input, ec)) {
        std::fprintf(stderr, "tessel convert: %s is a folder (converting folders is not supported yet)\n", options.input.c_str());
        return 2;
    }
    IDFile input = options.input.empty() ? AppSession::GetSampleFile() : IDFile(fs::path(options.input));
    if (options.output.empty()) {
        // The sample ships with Tessel (in the source or install tree): its document goes to the
        // current folder. Any other file gets its document beside it.
        fs::path out = options.input.empty() ? fs::path(input.GetPath().filename()) : input.GetPath();
        out.replace_extension(".idml");
        options.output = out.string();
    }
    std::vector<Output> outputs = {{Output::kDocument, "document", options.output}};
    if (!options.json.empty()) outputs.push_back({Output::kDump, "dump", options.json});
    if (!options.report.empty()) outputs.push_back({Output::kReport, "report", options.report});
    if (!options.pdf.empty()) outputs.push_back({Output::kPreview, "preview", options.pdf});
    if (int status = CheckOutputs(input.GetPath(), outputs)) return status;
    if (!options.png.empty()) {
        for (const Output& output : outputs)
            if (SameFile(output.path, options.png)) {
                std::fprintf(stderr, "tessel convert: the %s and the preview folder are the same (%s)\n", output.what, options.png.c_str());
                return 2;
            }
    }

    if (!AppSession::LoadPlugIns()) return 1;
    AppSession::OpenWorkspace();
    // The chosen preset steers this conversion only; the user's current preset stays as it was.
    int32 previousPreset = -1;
    if (!options.preset.empty() && !UsePreset(options.preset, previousPreset)) {
        std::fprintf(stderr, "tessel convert: there is no preset named \"%s\" (tessel prefs list shows them)\n", options.preset.c_str());
        return 2;
    }

    AppPresenter presenter;
    CAlert::SetPresenter(&presenter);
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
    if (status != kSuccess) {
        // A refused file has said why in its alert already.
        if (!message.IsEmpty() && !presenter.HasAlerted()) std::fprintf(stderr, "tessel convert: %s\n", message.GetUTF8String().c_str());
        return 1;
    }
    DataBase* db = document.GetDataBase();
    presenter.OversetText(OversetStories(*db));
    presenter.Fonts(FontReport::StandIns(*db), FontReport::UndrawableCharacters(*db));
    // Every output is written to a temporary file first. The document and the dump come first, so
    // that the preview is drawn only for a document that can be written; the report comes after
    // the preview, so that it says what the preview could not draw. The preview is put in place
    // after the other outputs, and only when they are: a preview that cannot be written costs
    // the user the preview, never the document.
    AtomicFileWriter writer;
    auto previewWriter = std::make_unique<AtomicFileWriter>();
    bool createdFolder = false;
    bool previewStaged = true;
    bool saved = StageOutputs(*db, outputs, false, "", writer);
    if (saved && options.HasPreview()) {
        std::vector<std::string> problems;
        previewStaged = StagePreview(*db, options, input.GetPath(), outputs, *previewWriter, problems, createdFolder);
        presenter.PreviewProblems(problems);
    }
    saved = saved && StageOutputs(*db, outputs, true, presenter.GetReport(), writer) && CommitOutputs(writer);
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
