// Whole conversions: the import of a MIF file through the host's Open and its save as an IDML
// package, on the longest corpus file and on a file made of ten copies of its text flow. The
// cost per paragraph must stay flat as documents grow.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CmdUtils.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "IdmlWriter.h"
#include "MifRegistration.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// `copies` copies of the file's last text flow, the body of an openjade document; its text
// columns stay those of the first page, so the whole text pours into one story.
std::string Repeated(const std::string& mif, int copies)
{
    size_t flow = mif.rfind("<TextFlow");
    if (flow == std::string::npos || copies <= 1) return mif;
    std::string text = mif.substr(flow);
    std::string out = mif;
    for (int i = 1; i < copies; ++i) out += text;
    return out;
}

const std::string& Article(int copies)
{
    static std::string cached[2];
    std::string& entry = cached[copies > 1 ? 1 : 0];
    if (entry.empty()) entry = Repeated(ReadFile(TESSEL_CORPUS_DIR "/generated/openjade/article-long.mif"), copies);
    return entry;
}

void Convert(benchmark::State& state)
{
    const int copies = static_cast<int>(state.range(0));
    const std::string& mif = Article(copies);
    auto path = std::filesystem::temp_directory_path() / ("tessel-bench-" + std::to_string(copies) + ".mif");
    std::ofstream(path, std::ios::binary) << mif;
    size_t paragraphs = 0;
    for (size_t at = mif.find("<Para "); at != std::string::npos; at = mif.find("<Para ", at + 1)) ++paragraphs;
    for (auto _ : state) {
        UIDRef document;
        PMString message;
        if (DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message) != kSuccess) {
            state.SkipWithError("the conversion failed");
            break;
        }
        CmdUtils::ProcessScheduledCmds();
        std::string package;
        IdmlWriter::BuildPackage(*document.GetDataBase(), &package);
        benchmark::DoNotOptimize(package.data());
        DocumentList::Close(document.GetDataBase());
    }
    std::filesystem::remove(path);
    state.counters["paragraphs"] = static_cast<double>(paragraphs);
    state.counters["per_paragraph"] =
        benchmark::Counter(static_cast<double>(paragraphs), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(Convert)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("TESSEL_LOG_DIR", (std::filesystem::temp_directory_path() / "tessel-bench-log").c_str(), 0);
    setenv("TESSEL_CONFIG_DIR", (std::filesystem::temp_directory_path() / "tessel-bench-config").c_str(), 0);
    RegisterTesselPlugIn();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
