#include "AppSession.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "PlugInLoader.h"

namespace fs = std::filesystem;

namespace {
fs::path ProgramFolder()
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : self.parent_path();
}
} // namespace

IDFile AppSession::GetPlugInFolder()
{
    if (const char* dir = std::getenv("TESSEL_PLUGIN_DIR"); dir && *dir) return IDFile(fs::path(dir));
    return IDFile(ProgramFolder() / "plugins");
}

bool AppSession::LoadPlugIns()
{
    std::vector<std::string> problems = PlugInLoader::LoadFolder(GetPlugInFolder());
    for (const std::string& problem : problems) std::fprintf(stderr, "tessel: %s\n", problem.c_str());
    if (PlugInLoader::LoadedCount() == 0) {
        std::fprintf(stderr, "tessel: no plug-in could be loaded; the MIF import is not available\n");
        return false;
    }
    return true;
}

IDFile AppSession::GetSampleFile()
{
    std::error_code ec;
    for (fs::path candidate : {ProgramFolder() / "samples" / "sample.mif", ProgramFolder() / ".." / "samples" / "sample.mif",
                               fs::path(TESSEL_SOURCE_SAMPLE)})
        if (fs::is_regular_file(candidate, ec)) return IDFile(candidate.lexically_normal());
    return IDFile(fs::path(TESSEL_SOURCE_SAMPLE));
}
