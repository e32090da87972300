#include "ParseCommand.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <memory>

#include "AppCommandLine.h"
#include "AppSession.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "IPMStream.h"
#include "ObjectModel.h"
#include "TaskProgressBar.h"

#include "base/IMifErrorLog.h"
#include "base/TesselID.h"
#include "mif/IMifParser.h"
#include "mif/IMifTreeDumper.h"

class MifObject;

namespace {

struct Options {
    std::string path;
    bool errorsOnly = false;
    bool stats = false;
};

void PrintErrors(const IMifErrorLog& errorLog)
{
    std::string text = errorLog.GetText().GetUTF8String();
    // The log separates its lines with CR LF; a terminal wants LF.
    std::string out;
    out.reserve(text.size() + 1);
    for (char c : text)
        if (c != '\r') out.push_back(c);
    if (!out.empty()) std::printf("%s\n", out.c_str());
}

// Reads the file that `options` name and prints what they ask for; returns the exit status.
int RunParseCommand(const Options& options)
{
    const std::string& path = options.path;
    bool errorsOnly = options.errorsOnly, stats = options.stats;
    IDFile file{std::filesystem::path(path)};
    std::unique_ptr<IPMStream> stream = StreamUtil::CreateFileStreamRead(file);
    if (!stream) {
        ErrorCode reason = ErrorUtils::PMGetGlobalErrorCode();
        std::fprintf(stderr, "tessel parse: cannot read %s: %s\n", path.c_str(),
                     file.IsDirectory()                     ? "it is a folder"
                     : reason == kInvalidParameterError     ? "it is not a regular file (a device, a FIFO or a socket)"
                     : file.Exists()                        ? "permission denied or I/O error"
                                                            : "no such file");
        return 1;
    }
    InterfacePtr<IMifParser> mifParser(CreateObject2<IMifParser>(kMifParserBoss));
    InterfacePtr<IMifErrorLog> parsingErrors(mifParser.get(), IID_IMIFERRORLOG);
    InterfacePtr<IMifTreeDumper> treeDumper(mifParser.get(), IID_IMIFTREEDUMPER);
    if (!mifParser || !parsingErrors || !treeDumper) {
        std::fprintf(stderr, "tessel parse: the MIF parser is not available\n");
        return 1;
    }

    auto start = std::chrono::steady_clock::now();
    auto deleteTree = [&treeDumper](MifObject* root) { treeDumper->DeleteTree(root); };
    std::unique_ptr<MifObject, decltype(deleteTree)> mifRoot(nullptr, deleteTree);
    {
        TaskProgressBar progress("OV#0xB40#kMifImportProgressTitleKey", 1);
        progress.DoTask("OV#0xB40#kMifParsingMIFKey");
        mifRoot.reset(mifParser->Parse(stream.get()));
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!mifRoot) {
        std::fprintf(stderr, "tessel parse: cannot read %s\n", path.c_str());
        return 1;
    }

    if (!errorsOnly && !stats) {
        std::string tree;
        treeDumper->Dump(*mifRoot, tree);
        std::fwrite(tree.data(), 1, tree.size(), stdout);
        if (!parsingErrors->IsEmpty()) std::printf("\nParse errors:\n");
    }
    if (!stats) {
        PrintErrors(*parsingErrors);
        return 0;
    }
    IMifTreeDumper::Stats figures = treeDumper->GetStats(*mifRoot);
    int64 bytes = figures.bytes;
    std::printf("file: %s\n", path.c_str());
    std::printf("MIF version: %g\n", figures.version);
    std::printf("statements: %lld\n", static_cast<long long>(figures.statements));
    std::printf("errors: %d\n", figures.errors);
    std::printf("bytes read: %lld\n", static_cast<long long>(bytes));
    std::printf("time: %.3f ms\n", seconds * 1000);
    std::printf("throughput: %.1f MB/s\n", seconds > 0 ? bytes / seconds / 1e6 : 0.0);
    return 0;
}

} // namespace

void AddParseCommand(AppCommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App& command =
        commandLine.AddCommand("parse", "Print the statement tree and the parse errors of a MIF file", [options] {
            return AppSession::RunInWorkspace([&] { return RunParseCommand(*options); });
        });
    // Unknown options and more files stay for the check below, which says what is wrong with them.
    command.allow_extras();
    command.add_option("FILE.mif", options->path, "The MIF file")->type_name("")->required();
    command.add_flag("--errors", options->errorsOnly, "Print only the parse errors, with their line numbers");
    command.add_flag("--stats", options->stats,
                     "Print the number of statements and errors, the bytes read, the time\nand the throughput, without the tree");
    command.footer(
        "Exit status: 0 when a tree was built (however many errors the file has), 1 when the file cannot\n"
        "be read, 2 on wrong usage.");
    command.callback([&command, options] {
        AppCommandLine::RefuseExtraArguments(command, "one file at a time");
        if (options->path.empty()) throw CLI::ValidationError("the file name is empty");
    });
}
