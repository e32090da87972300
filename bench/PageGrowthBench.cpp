// Pages added for an autoconnected flow whose text overflows its one body page: a whole import
// of 2,000 and 20,000 paragraphs (about 75 and 750 pages), single-sided and facing. Adding pages
// must stay linear: the time per paragraph flat as the text grows ten times. The counter
// pages_added says how many pages the text took. The time is CPU time: the machines it runs on
// are shared.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "IImportProvider.h"
#include "InterfacePtr.h"
#include "MifGenerator.h"
#include "ObjectModel.h"
#include "TesselID.h"

namespace {

void BM_PageGrowth(benchmark::State& state)
{
    BenchSupport::SetUp();
    InterfacePtr<IImportProvider> provider(CreateObject2<IImportProvider>(kMifImportProviderBoss));
    if (!provider) {
        state.SkipWithError("no MIF import provider");
        return;
    }
    MifGenerator::AutoFlow flow;
    flow.paragraphs = static_cast<int>(state.range(0));
    flow.twoSided = state.range(1) != 0;
    const std::string mif = MifGenerator::AutoFlowDocument(flow);
    double pages = 0;
    for (auto _ : state) {
        UIDRef document = BenchSupport::Import(*provider, mif);
        if (!document.GetDataBase()) {
            state.SkipWithError("the import failed");
            break;
        }
        pages = document.GetDataBase()->GetDocument()->GetPageCount() - 1;
        state.PauseTiming();
        DocumentList::Close(document.GetDataBase());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * flow.paragraphs);
    state.counters["pages_added"] = pages;
}

} // namespace

BENCHMARK(BM_PageGrowth)->ArgsProduct({{2000, 20000}, {0, 1}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

BENCHMARK_MAIN();
