#include "SessionPaths.h"

#include <cstdlib>
#include <system_error>

namespace {

// $override, or $xdgVar/tessel/leaf, or ~/fallback/tessel/leaf; created when missing.
IDFile UserFolder(const char* overrideVar, const char* xdgVar, const char* fallback, const char* leaf)
{
    namespace fs = std::filesystem;
    fs::path folder;
    if (const char* dir = std::getenv(overrideVar); dir && *dir) {
        folder = dir;
    } else {
        if (const char* xdg = std::getenv(xdgVar); xdg && *xdg && fs::path(xdg).is_absolute())
            folder = fs::path(xdg) / "tessel";
        else if (const char* home = std::getenv("HOME"); home && *home)
            folder = fs::path(home) / fallback / "tessel";
        else
            return IDFile();
        if (*leaf) folder /= leaf;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) return IDFile();
    return IDFile(folder);
}

} // namespace

IDFile SessionPaths::GetLogFolder() { return UserFolder("TESSEL_LOG_DIR", "XDG_STATE_HOME", ".local/state", "log"); }

IDFile SessionPaths::GetConfigFolder() { return UserFolder("TESSEL_CONFIG_DIR", "XDG_CONFIG_HOME", ".config", ""); }
