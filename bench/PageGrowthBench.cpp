// Pages added for an autoconnected flow whose text overflows its one body page: a whole import
// of 2,000, 20,000 and 200,000 paragraphs (37, 377 and 3,770 pages), single-sided and facing, through the
// host's Open, with pages added and (for comparison) without. Adding pages must stay linear: the
// time per paragraph flat as the text grows ten times (10x the text in at most 11x the time).
// The counter pages_added says how many pages the text took. A table of 500, 5,000 and 50,000
// rows in the same flow runs on over the pages added the same way, and the growth's share of
// the time (against the import without it) stays flat per row too. The time is CPU time: the machines
// it runs on are shared.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "BenchSupport.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "MifGenerator.h"

namespace {

void Grow(benchmark::State& state, const MifGenerator::AutoFlow& flow, const OpenOptions& options, int64_t items)
{
    BenchSupport::SetUp();
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tessel-bench-pages.mif";
    std::ofstream(path, std::ios::binary) << MifGenerator::AutoFlowDocument(flow);
    double pages = 0;
    for (auto _ : state) {
        UIDRef document;
        PMString message;
        if (DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message, options) != kSuccess) {
            state.SkipWithError("the import failed");
            break;
        }
        pages = document.GetDataBase()->GetDocument()->GetPageCount() - 1;
        state.PauseTiming();
        DocumentList::Close(document.GetDataBase());
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * items);
    state.counters["pages_added"] = pages;
}

// range(0): paragraphs; range(1): facing pages; range(2): pages added.
void BM_PageGrowth(benchmark::State& state)
{
    MifGenerator::AutoFlow flow;
    flow.paragraphs = static_cast<int>(state.range(0));
    flow.twoSided = state.range(1) != 0;
    OpenOptions options;
    options.addPages = state.range(2) != 0;
    Grow(state, flow, options, flow.paragraphs);
}

// range(0): the table's body rows; range(1): pages added.
void BM_TablePageGrowth(benchmark::State& state)
{
    MifGenerator::AutoFlow flow;
    flow.paragraphs = 3;
    flow.tableRows = static_cast<int>(state.range(0));
    OpenOptions options;
    options.addPages = state.range(1) != 0;
    Grow(state, flow, options, flow.tableRows);
}

} // namespace

BENCHMARK(BM_PageGrowth)
    ->ArgNames({"paragraphs", "facing", "add"})
    ->ArgsProduct({{2000, 20000, 200000}, {0, 1}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

BENCHMARK(BM_TablePageGrowth)
    ->ArgNames({"rows", "add"})
    ->ArgsProduct({{500, 5000, 50000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

BENCHMARK_MAIN();
