// The page preview: pages per second drawn for the longest corpus file (article-long), as PNG
// images at 96 dpi and as one PDF file. The document is imported and composed once; each
// iteration draws every page and encodes it (the PDF with its embedded font subsets). The time is CPU time: the machines it runs on
// are shared.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchSupport.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "PreviewWriter.h"
#include "TextComposer.h"

namespace {

// article-long imported and composed; null (after skipping the benchmark) when it cannot be.
DataBase* ImportArticle(benchmark::State& state)
{
    BenchSupport::SetUp();
    std::string mif = BenchSupport::ReadCorpusFile("generated/openjade/article-long.mif");
    InterfacePtr<IImportProvider> provider(CreateObject2<IImportProvider>(kMifImportProviderBoss));
    if (mif.empty() || !provider) {
        state.SkipWithError("no corpus or no MIF import provider");
        return nullptr;
    }
    UIDRef document = BenchSupport::Import(*provider, mif);
    if (!document.GetDataBase()) {
        state.SkipWithError("the import failed");
        return nullptr;
    }
    // As the host's Open does after the import.
    TextComposer::Get().ComposeAll(*document.GetDataBase());
    return document.GetDataBase();
}

void Report(benchmark::State& state, const DataBase& db, size_t bytes)
{
    const double pages = db.GetDocument()->GetPageCount();
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_PreviewArticlePng(benchmark::State& state)
{
    DataBase* db = ImportArticle(state);
    if (!db) return;
    PreviewOptions options;
    options.dpi = 96;
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        PreviewWriter::BuildPngs(*db, options, [&](int32, std::string_view png) {
            bytes += png.size();
            return kSuccess;
        }, nullptr);
    }
    Report(state, *db, bytes);
    DocumentList::Close(db);
}

void BM_PreviewArticlePdf(benchmark::State& state)
{
    DataBase* db = ImportArticle(state);
    if (!db) return;
    std::string pdf;
    for (auto _ : state) PreviewWriter::BuildPdf(*db, PreviewOptions{}, &pdf, nullptr);
    Report(state, *db, pdf.size());
    DocumentList::Close(db);
}

} // namespace

BENCHMARK(BM_PreviewArticlePng)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_PreviewArticlePdf)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_MAIN();
