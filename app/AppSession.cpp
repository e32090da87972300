#include "AppSession.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "PlugInLoader.h"
#include "Session.h"

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

void AppSession::OpenWorkspace()
{
    PMString problem;
    if (Session::OpenWorkspace(Session::GetWorkspaceFile(), problem) != kSuccess)
        std::fprintf(stderr, "tessel: %s\n", problem.GetUTF8String().c_str());
}

bool AppSession::SaveWorkspace()
{
    // Only changed settings are written, so a file that could not be read stays as it is.
    PMString problem;
    bool saved = Session::SaveWorkspace(problem) == kSuccess;
    if (!saved) std::fprintf(stderr, "tessel: %s\n", problem.GetUTF8String().c_str());
    return saved;
}

bool AppSession::CloseWorkspace()
{
    bool saved = SaveWorkspace();
    Session::CloseWorkspace();
    return saved;
}

void AppSession::DropWorkspace() { Session::CloseWorkspace(); }

int AppSession::RunInWorkspace(const std::function<int()>& command)
{
    if (!LoadPlugIns()) return 1;
    OpenWorkspace();
    int status = command();
    if (!CloseWorkspace() && status == 0) status = 1;
    return status;
}

std::string AppSession::GetProgram()
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("tessel") : self.string();
}

IDFile AppSession::GetSampleFile()
{
    std::error_code ec;
    for (fs::path candidate : {ProgramFolder() / "samples" / "sample.mif", ProgramFolder() / ".." / "samples" / "sample.mif",
                               fs::path(TESSEL_SOURCE_SAMPLE)})
        if (fs::is_regular_file(candidate, ec)) return IDFile(candidate.lexically_normal());
    return IDFile(fs::path(TESSEL_SOURCE_SAMPLE));
}
