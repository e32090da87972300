// tessel batch on a generated tree of MIF files: 200 small files (one page each) in ten folders
// and 20 files of 50 pages in two more, converted one worker at a time and two at a time; and the
// same files converted by one `tessel convert` each, one after the other, which is what a batch
// with one worker should cost (its own overhead is the difference).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MifGenerator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSmallFolders = 10;
constexpr int kSmallFilesPerFolder = 20;
constexpr int kLargeFolders = 2;
constexpr int kLargeFilesPerFolder = 10;
constexpr int kLargePages = 50;
constexpr int kFiles = kSmallFolders * kSmallFilesPerFolder + kLargeFolders * kLargeFilesPerFolder;

// Writes the tree once; the MIF files it holds, in the order a batch converts them.
const std::vector<fs::path>& Files(fs::path* rootOut = nullptr)
{
    static fs::path root = fs::temp_directory_path() / ("tessel-bench-batch-" + std::to_string(::getpid()));
    static std::vector<fs::path> files = [] {
        std::vector<fs::path> made;
        auto write = [&](const std::string& folder, int count, const std::string& mif) {
            fs::path dir = root / "in" / folder;
            fs::create_directories(dir);
            for (int file = 0; file < count; ++file) {
                made.push_back(dir / ("chapter-" + std::to_string(file) + ".mif"));
                std::ofstream(made.back(), std::ios::binary) << mif;
            }
        };
        std::string small = MifGenerator::Document(1, true), large = MifGenerator::Document(kLargePages, true);
        for (int folder = 0; folder < kSmallFolders; ++folder)
            write("small-" + std::to_string(folder), kSmallFilesPerFolder, small);
        for (int folder = 0; folder < kLargeFolders; ++folder)
            write("large-" + std::to_string(folder), kLargeFilesPerFolder, large);
        return made;
    }();
    if (rootOut) *rootOut = root;
    return files;
}

fs::path Root()
{
    fs::path root;
    Files(&root);
    return root;
}

std::string Tessel(const fs::path& root)
{
    return "TESSEL_CONFIG_DIR='" + (root / "config").string() + "' '" TESSEL_APP_PATH "' ";
}

void BM_Batch(benchmark::State& state)
{
    fs::path root = Root();
    std::string command = Tessel(root) + "batch '" + (root / "in").string() + "' -o '" + (root / "out").string() +
                          "' -j " + std::to_string(state.range(0)) + " >/dev/null 2>&1";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root / "out");
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("tessel batch failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.counters["files"] = kFiles;
}

void BM_ConvertEachAlone(benchmark::State& state)
{
    fs::path root = Root();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root / "alone");
        fs::create_directories(root / "alone");
        state.ResumeTiming();
        int n = 0;
        for (const fs::path& file : Files()) {
            std::string command = Tessel(root) + "convert '" + file.string() + "' -o '" +
                                  (root / "alone" / (std::to_string(n++) + ".idml")).string() + "' >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0) {
                state.SkipWithError("tessel convert failed");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.counters["files"] = kFiles;
}

} // namespace

BENCHMARK(BM_Batch)->Arg(1)->Arg(2)->ArgName("jobs")->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ConvertEachAlone)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::error_code ec;
    fs::remove_all(Root(), ec);
    return 0;
}
