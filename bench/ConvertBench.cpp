// A whole conversion, as the host's Open and a save as IDML run it, of generated documents of
// 1,000, 10,000 and 100,000 pages with one text frame each, threaded into one story or not: the
// time per page must stay flat as the document grows, and so must the memory the document holds
// per page (the counter doc_bytes_per_item, heap in use once the document is made). The same for
// the longest corpus file and ten copies of its text, per paragraph. The time is CPU time: the
// machines it runs on are shared.
//
// BM_Book converts generated books (one threaded frame a page, eight paragraphs a page, a table
// every 20 pages, a footnote every 5) of 1,000, 10,000 and 100,000 pages, package included; its
// peak_MB counter is the process's peak resident memory, so run one size per process to read it
// (bench/book.sh does, and times the tessel command on the same books).
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "InterfacePtr.h"
#include "MifGenerator.h"
#include "ObjectModel.h"

#include "base/TesselID.h"

namespace {

size_t HeapInUse() { return mallinfo2().uordblks; }

double PeakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Converts `mif` once per iteration; `units` (pages or paragraphs) scale the counters.
void ConvertLoop(benchmark::State& state, const std::string& mif, int64 units)
{
    BenchSupport::SetUp();
    InterfacePtr<IImportProvider> provider(CreateObject2<IImportProvider>(kMifImportProviderBoss));
    if (!provider) {
        state.SkipWithError("no MIF import provider");
        return;
    }
    double documentBytes = 0, packageBytes = 0;
    for (auto _ : state) {
        size_t before = HeapInUse();
        UIDRef document = BenchSupport::Import(*provider, mif);
        if (!document.GetDataBase()) {
            state.SkipWithError("the import failed");
            break;
        }
        documentBytes = static_cast<double>(HeapInUse() - before);
        std::string package;
        if (IdmlWriter::BuildPackage(*document.GetDataBase(), &package) != kSuccess) {
            state.SkipWithError("the IDML package could not be built");
            break;
        }
        packageBytes = static_cast<double>(package.size());
        state.PauseTiming();
        DocumentList::Close(document.GetDataBase());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * units);
    state.counters["input_MB"] = static_cast<double>(mif.size()) / 1e6;
    state.counters["doc_bytes_per_item"] = documentBytes / static_cast<double>(units);
    state.counters["idml_bytes_per_item"] = packageBytes / static_cast<double>(units);
    state.counters["peak_MB"] = PeakResidentMB();
}

void BM_Convert(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    ConvertLoop(state, MifGenerator::Document(pages, state.range(1) != 0), pages);
}

void BM_Book(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    ConvertLoop(state, MifGenerator::Book(pages), pages);
}

// The longest corpus file, and a file that holds its body flow (the flow of most paragraphs)
// `copies` times: the time per paragraph of the text flows must stay flat.
void BM_Article(benchmark::State& state)
{
    const int copies = static_cast<int>(state.range(0));
    std::string mif = BenchSupport::ReadCorpusFile("generated/openjade/article-long.mif");
    if (mif.empty()) {
        state.SkipWithError("the corpus is not there");
        return;
    }
    std::string body;
    size_t most = 0;
    for (size_t at = mif.find("\n<TextFlow"); at != std::string::npos;) {
        size_t next = mif.find("\n<TextFlow", at + 1);
        std::string flow = mif.substr(at, next == std::string::npos ? std::string::npos : next - at);
        size_t paragraphs = 0;
        for (size_t p = flow.find("<Para "); p != std::string::npos; p = flow.find("<Para ", p + 1)) ++paragraphs;
        if (paragraphs > most) {
            most = paragraphs;
            body = std::move(flow);
        }
        at = next;
    }
    for (int i = 1; i < copies; ++i) mif += body;
    // The paragraphs of the text flows, which become the stories' paragraphs (the table cells
    // before them wait for the tables).
    int64 paragraphs = 0;
    for (size_t at = mif.find("<Para ", mif.find("\n<TextFlow")); at != std::string::npos; at = mif.find("<Para ", at + 1)) ++paragraphs;
    ConvertLoop(state, mif, paragraphs);
}

} // namespace

BENCHMARK(BM_Convert)
    ->ArgNames({"pages", "threaded"})
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

BENCHMARK(BM_Book)->ArgNames({"pages"})->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);

BENCHMARK(BM_Article)->ArgNames({"copies"})->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

BENCHMARK_MAIN();
