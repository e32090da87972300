#include "ParseCommand.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "IMifErrorLog.h"
#include "IMifParser.h"
#include "IMifTreeDumper.h"
#include "IPMStream.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"
#include "TaskProgressBar.h"
#include "TesselID.h"

class MifObject;

namespace {

const char* kUsage = "usage: tessel parse FILE.mif [--errors] [--stats]\n";

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

} // namespace

int RunParseCommand(const std::vector<std::string>& args)
{
    std::string path;
    bool errorsOnly = false, stats = false;
    for (const std::string& arg : args) {
        if (arg == "--errors")
            errorsOnly = true;
        else if (arg == "--stats")
            stats = true;
        else if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "tessel parse: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        } else if (path.empty())
            path = arg;
        else {
            std::fprintf(stderr, "tessel parse: one file at a time\n%s", kUsage);
            return 2;
        }
    }
    if (path.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }

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
