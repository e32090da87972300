// Parse throughput (bytes per second) and the size of the statement tree per input byte, on the
// largest corpus file, on every corpus file joined into one, and on a synthetic file of about
// 50 MB in FrameMaker's layout.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "InterfacePtr.h"
#include "IPMStream.h"
#include "ObjectModel.h"

#include "base/TesselID.h"
#include "mif/IMifParser.h"
#include "mif/MifObject.h"
#include "plugin/MifRegistration.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::string data;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
        std::fclose(f);
    }
    return data;
}

// Every .mif file below the corpus folder, in the order of their paths, one after the other (as
// `cat` joins them): FrameMaker's own files and those of other writers in one input.
std::string JoinedCorpus()
{
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TESSEL_CORPUS_DIR, error))
        if (entry.is_regular_file() && entry.path().extension() == ".mif") paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    std::string mif;
    for (const std::string& path : paths) mif += ReadFile(path);
    return mif;
}

// Paragraphs, character overrides, tables and frames as FrameMaker writes them, until `bytes`.
std::string SyntheticMif(size_t bytes)
{
    std::string mif = "<MIFFile 9.00> # synthetic\n<Units Uin>\n<CharUnits CUpt>\n";
    mif += "<PgfCatalog\n <Pgf\n  <PgfTag `Body'>\n  <PgfLeading 2.0 pt>\n  <PgfFIndent 0.0\">\n  <PgfAlignment LeftRight>\n"
           "  <PgfFont\n   <FFamily `Times'>\n   <FSize 10.0 pt>\n   <FPlain Yes>\n  > # end of PgfFont\n > # end of Pgf\n>\n";
    mif += "<TextFlow\n <TFTag `A'>\n <TFAutoConnect Yes>\n";
    for (int n = 0; mif.size() < bytes; ++n) {
        mif += " <Para\n  <Unique " + std::to_string(100000 + n) + ">\n  <PgfTag `Body'>\n  <ParaLine\n   <TextRectID 12>\n";
        mif += "   <String `Harbour pilots board arriving ships two miles out; the channel is dredged to 14 m.'>\n";
        mif += "   <Font\n    <FTag `'>\n    <FWeight `Bold'>\n    <FLocked No>\n   > # end of Font\n";
        mif += "   <String `Tide " + std::to_string(n % 97) + "'>\n   <Char Tab>\n   <String `\\xd5 caf\\xe9 '>\n  >\n";
        if (n % 20 == 0) {
            mif += "  <ParaLine\n   <ATbl " + std::to_string(n) + ">\n  >\n";
        }
        mif += " > # end of Para\n";
        if (n % 50 == 0) {
            mif += " <Para\n  <PgfTag `Body'>\n  <ParaLine\n   <AFrame " + std::to_string(n) +
                   ">\n  >\n  <PgfSpBefore 6.0 pt>\n  <PgfCellMargins 2.0 pt 2.0 pt 2.0 pt 2.0 pt>\n > # end of Para\n";
        }
    }
    mif += "> # end of TextFlow\n";
    return mif;
}

// Bytes in use on the heap, blocks that malloc maps on its own included.
size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void Parse(benchmark::State& state, const std::string& mif)
{
    if (mif.empty()) {
        state.SkipWithError("input not found");
        return;
    }
    RegisterTesselPlugIn();
    InterfacePtr<IMifParser> parser(CreateObject2<IMifParser>(kMifParserBoss));
    {
        // What the first parse of a process makes once (keyword index, encoding tables) is no tree.
        static const std::string warmUp = "<MIFFile 5.00> <Para <ParaLine <String `caf\\xe9 '> <Char Tab>>>";
        auto stream = StreamUtil::CreateMemoryStreamRead(warmUp.data(), warmUp.size());
        std::unique_ptr<MifObject> root(parser->Parse(stream.get()));
    }
    // The largest figure of every run on this input: memory that a pool keeps between parses
    // shows only in the first parse of the process (run one benchmark alone to see it).
    static std::map<const char*, double> largestTree;
    double& treeBytes = largestTree[mif.data()];
    double freedBytes = 0;
    for (auto _ : state) {
        auto stream = StreamUtil::CreateMemoryStreamRead(mif.data(), mif.size());
        size_t before = HeapInUse();
        std::unique_ptr<MifObject> root(parser->Parse(stream.get()));
        state.PauseTiming();
        size_t withTree = HeapInUse();
        treeBytes = std::max(treeBytes, static_cast<double>(withTree - before));
        root.reset();
        // What freeing the tree gives back: the tree alone, without the parser's own caches that
        // the first parse fills (but without what a pool keeps, too).
        freedBytes = static_cast<double>(withTree - HeapInUse());
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * mif.size()));
    state.counters["input_MB"] = static_cast<double>(mif.size()) / 1e6;
    state.counters["tree_bytes_per_input_byte"] = treeBytes / static_cast<double>(mif.size());
    state.counters["freed_bytes_per_input_byte"] = freedBytes / static_cast<double>(mif.size());
}

void BM_ParseLargestCorpusFile(benchmark::State& state)
{
    static const std::string mif = ReadFile(TESSEL_CORPUS_DIR "/generated/openjade/article-long.mif");
    Parse(state, mif);
}

void BM_ParseFrameMakerFile(benchmark::State& state)
{
    static const std::string mif = ReadFile(TESSEL_CORPUS_DIR "/framemaker/Test02-v9.mif");
    Parse(state, mif);
}

void BM_ParseCorpusJoined(benchmark::State& state)
{
    static const std::string mif = JoinedCorpus();
    Parse(state, mif);
}

void BM_ParseSynthetic50MB(benchmark::State& state)
{
    static const std::string mif = SyntheticMif(50u << 20);
    Parse(state, mif);
}

} // namespace

BENCHMARK(BM_ParseLargestCorpusFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseFrameMakerFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseCorpusJoined)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSynthetic50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
