#include "ConvertCommand.h"

#include <cstdio>

#include "AppPresenter.h"
#include "AppSession.h"
#include "AtomicFileWriter.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "IMifPrefs.h"
#include "InterfacePtr.h"
#include "Session.h"
#include "IdmlWriter.h"
#include "JsonDumpWriter.h"

namespace fs = std::filesystem;

namespace {

const char* kUsage =
    "usage: tessel convert [FILE.mif] [-o OUT.idml] [--json OUT.json] [--report OUT.txt] [--preset NAME]\n"
    "  With no file, converts the sample that ships with Tessel.\n";

struct Options {
    std::string input, output, json, report, preset;
};

// Reads the options; false (after saying why) on wrong usage.
bool ParseOptions(const std::vector<std::string>& args, Options& options, bool& help)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "tessel convert: %s needs a file name\n%s", arg.c_str(), kUsage);
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
            if (!value(options.output)) return false;
        } else if (arg == "--json") {
            if (!value(options.json)) return false;
        } else if (arg == "--report") {
            if (!value(options.report)) return false;
        } else if (arg == "--preset") {
            if (!value(options.preset)) return false;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "tessel convert: unknown option %s\n%s", arg.c_str(), kUsage);
            return false;
        } else if (options.input.empty()) {
            options.input = arg;
        } else {
            std::fprintf(stderr, "tessel convert: one file at a time (use tessel batch for folders)\n%s", kUsage);
            return false;
        }
    }
    return true;
}

// Writes one output and says so; false (after saying why) when it failed.
bool Save(ErrorCode status, const char* what, const std::string& path)
{
    if (status == kSuccess) return true;
    const char* reason = status == kFileNotFoundError   ? "the folder does not exist"
                         : status == kIOWriteError      ? "it cannot be written (permissions or disk space)"
                         : status == kInvalidParameterError ? "it is not a file name"
                                                            : "writing failed";
    std::fprintf(stderr, "tessel convert: cannot write the %s %s: %s\n", what, path.c_str(), reason);
    return false;
}

// Makes the preset named `name` the current one for this conversion; `previous` gets the index
// to restore afterwards. False when no preset has that name.
bool UsePreset(const std::string& name, int32& previous)
{
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (!prefs) return false;
    for (int32 i = 0; i < prefs->GetPresetCount(); ++i) {
        if (prefs->GetPreset(i).GetName() == PMString(name)) {
            previous = prefs->GetCurrentPreset();
            prefs->SetCurrentPreset(i);
            return true;
        }
    }
    return false;
}

void RestorePreset(int32 previous)
{
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    if (prefs && previous >= 0) prefs->SetCurrentPreset(previous);
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
    IDFile input = options.input.empty() ? AppSession::GetSampleFile() : IDFile(fs::path(options.input));
    if (options.output.empty()) {
        fs::path out = input.GetPath();
        out.replace_extension(".idml");
        options.output = out.string();
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
    ErrorCode status = DocumentOpener::OpenFile(input, kMinimalUI, document, message);
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
    bool saved = Save(IdmlWriter::Write(*db, IDFile(fs::path(options.output))), "document", options.output);
    if (saved && !options.json.empty()) saved = Save(JsonDumpWriter::Write(*db, IDFile(fs::path(options.json))), "dump", options.json);
    if (saved && !options.report.empty())
        saved = Save(AtomicFileWriter::Write(IDFile(fs::path(options.report)), presenter.GetReport()), "report", options.report);
    DocumentList::Close(db);
    if (!saved) return 1;
    std::fprintf(stderr, "tessel convert: wrote %s\n", options.output.c_str());
    return 0;
}
