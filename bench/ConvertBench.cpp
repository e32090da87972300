// A whole conversion, as the host's Open and a save as IDML run it, of generated documents of
// 1,000, 10,000 and 100,000 pages with one text frame each, threaded into one story or not: the
// time per page must stay flat as the document grows, and so must the memory the document holds
// per page (the counter doc_bytes_per_page, heap in use once the document is made). The time is
// CPU time: the machines it runs on are shared.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "CmdUtils.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "IImportProvider.h"
#include "IPMStream.h"
#include "IdmlWriter.h"
#include "InterfacePtr.h"
#include "MifGenerator.h"
#include "MifRegistration.h"
#include "ObjectModel.h"
#include "TesselID.h"

namespace {

size_t HeapInUse() { return mallinfo2().uordblks; }

void SetUp()
{
    static const bool done = [] {
        std::string temp = std::filesystem::temp_directory_path().string();
        setenv("TESSEL_LOG_DIR", (temp + "/tessel-bench-log").c_str(), 0);
        setenv("TESSEL_CONFIG_DIR", (temp + "/tessel-bench-config").c_str(), 0);
        RegisterTesselPlugIn();
        return true;
    }();
    (void)done;
}

void BM_Convert(benchmark::State& state)
{
    SetUp();
    const int pages = static_cast<int>(state.range(0));
    const bool threaded = state.range(1) != 0;
    const std::string mif = MifGenerator::Document(pages, threaded);
    InterfacePtr<IImportProvider> provider(CreateObject2<IImportProvider>(kMifImportProviderBoss));
    if (!provider) {
        state.SkipWithError("no MIF import provider");
        return;
    }
    double documentBytes = 0, packageBytes = 0;
    for (auto _ : state) {
        size_t before = HeapInUse();
        auto stream = StreamUtil::CreateMemoryStreamRead(mif.data(), mif.size());
        UIDRef document;
        if (provider->ImportThis(stream.get(), IDFile(std::filesystem::path("/tmp/bench.mif")), kSuppressUI, document) != kSuccess) {
            state.SkipWithError("the import failed");
            break;
        }
        CmdUtils::ProcessScheduledCmds();
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
    state.SetItemsProcessed(state.iterations() * pages);
    state.counters["input_MB"] = static_cast<double>(mif.size()) / 1e6;
    state.counters["doc_bytes_per_page"] = documentBytes / pages;
    state.counters["idml_bytes_per_page"] = packageBytes / pages;
}

} // namespace

BENCHMARK(BM_Convert)
    ->ArgNames({"pages", "threaded"})
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

BENCHMARK_MAIN();
