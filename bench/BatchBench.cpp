// tessel batch on a generated tree of MIF files (in folders of their own), one worker at a time
// and two: files per second of wall time, which is what converting in worker processes gains on
// a machine with the cores to spare (the machines it runs on are shared, so the gain varies).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "MifGenerator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 4;
constexpr int kFilesPerFolder = 4;
constexpr int kPagesPerFile = 20;

// Writes the tree once: kFolders folders of kFilesPerFolder files of kPagesPerFile pages.
fs::path Tree()
{
    static fs::path tree = [] {
        fs::path root = fs::temp_directory_path() / ("tessel-bench-batch-" + std::to_string(::getpid()));
        std::string mif = MifGenerator::Document(kPagesPerFile, true);
        for (int folder = 0; folder < kFolders; ++folder) {
            fs::path dir = root / "in" / ("part-" + std::to_string(folder));
            fs::create_directories(dir);
            for (int file = 0; file < kFilesPerFolder; ++file)
                std::ofstream(dir / ("chapter-" + std::to_string(file) + ".mif"), std::ios::binary) << mif;
        }
        return root;
    }();
    return tree;
}

void BM_Batch(benchmark::State& state)
{
    fs::path root = Tree();
    std::string command = "TESSEL_CONFIG_DIR='" + (root / "config").string() + "' '" TESSEL_APP_PATH "' batch '" +
                          (root / "in").string() + "' -o '" + (root / "out").string() + "' -j " +
                          std::to_string(state.range(0)) + " >/dev/null 2>&1";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root / "out");
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("tessel batch failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kFilesPerFolder);
    state.counters["files"] = kFolders * kFilesPerFolder;
}

} // namespace

BENCHMARK(BM_Batch)->Arg(1)->Arg(2)->ArgName("jobs")->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::error_code ec;
    fs::remove_all(Tree(), ec);
    return 0;
}
