// What the conversion benchmarks share: the plug-in registered as the application registers
// it, with the log and settings kept out of the user's folders; corpus files read whole; and a
// MIF text imported through the import provider as the host's Open runs it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CmdUtils.h"
#include "IImportProvider.h"
#include "InterfacePtr.h"
#include "IPMStream.h"
#include "ObjectModel.h"

#include "base/TesselID.h"
#include "plugin/MifRegistration.h"

namespace BenchSupport {

inline void SetUp()
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

// The corpus file at `relative` (below the corpus folder); empty when it is not there.
inline std::string ReadCorpusFile(const char* relative)
{
    std::ifstream file(std::string(TESSEL_CORPUS_DIR) + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The document `mif` becomes, its scheduled commands processed; the null reference when the
// import fails.
inline UIDRef Import(IImportProvider& provider, const std::string& mif)
{
    auto stream = StreamUtil::CreateMemoryStreamRead(mif.data(), mif.size());
    UIDRef document;
    if (provider.ImportThis(stream.get(), IDFile(std::filesystem::path("/tmp/bench.mif")), kSuppressUI, document) != kSuccess)
        return UIDRef();
    CmdUtils::ProcessScheduledCmds();
    return document;
}

} // namespace BenchSupport
