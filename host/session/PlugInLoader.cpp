#include "PlugInLoader.h"

#include <dlfcn.h>

#include <algorithm>
#include <system_error>

#include "IPlugIn.h"

namespace {
std::vector<IPlugIn*>& Loaded()
{
    static std::vector<IPlugIn*> plugins;
    return plugins;
}
} // namespace

std::vector<std::string> PlugInLoader::LoadFolder(const IDFile& folder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> problems;
    std::error_code ec;
    if (!fs::is_directory(folder.GetPath(), ec)) {
        problems.push_back("no plug-ins folder at " + folder.GetPath().string());
        return problems;
    }
    std::vector<fs::path> modules;
    for (const auto& entry : fs::directory_iterator(folder.GetPath(), ec))
        if (entry.path().extension() == ".pln") modules.push_back(entry.path());
    std::sort(modules.begin(), modules.end());
    if (modules.empty()) problems.push_back("no plug-in (*.pln) in " + folder.GetPath().string());
    for (const fs::path& module : modules) {
        void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* reason = dlerror();
            problems.push_back("cannot load " + module.string() + ": " + (reason ? reason : "unknown error"));
            continue;
        }
        auto getPlugIn = reinterpret_cast<GetPlugInFunction>(dlsym(handle, "GetPlugIn"));
        IPlugIn* plugin = getPlugIn ? getPlugIn() : nullptr;
        if (!plugin) {
            problems.push_back(module.string() + " is no plug-in: it exports no GetPlugIn");
            continue;
        }
        plugin->SetPluginID(static_cast<PluginID>(Loaded().size() + 1));
        if (plugin->Initialize(nullptr) != 1) {
            problems.push_back(module.string() + " did not start");
            continue;
        }
        Loaded().push_back(plugin);
    }
    return problems;
}

int PlugInLoader::LoadedCount() { return static_cast<int>(Loaded().size()); }

void PlugInLoader::TerminateAll()
{
    for (IPlugIn* plugin : Loaded()) plugin->Terminate();
    Loaded().clear();
}
