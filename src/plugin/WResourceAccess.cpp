#include "plugin/WResourceAccess.h"

#include <dlfcn.h>

#include "StringTable.h"

#include "res/MifStrings.h"

namespace {
constexpr size_t kMaxPathUnits = 260;
}

const IDFile& WResourceAccess::GetModuleFile()
{
    static const IDFile module = [] {
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(&WResourceAccess::GetModuleFile), &info) == 0 || !info.dli_fname) return IDFile();
        PMString path(info.dli_fname);
        if (path.CharCount() > static_cast<int32>(kMaxPathUnits)) return IDFile();  // longer paths are not kept
        return IDFile(std::filesystem::path(info.dli_fname));
    }();
    return module;
}

void WResourceAccess::RegisterStringTables()
{
    // The tables are built into the module, so they come with the file GetModuleFile names.
    StringTable::Get().Register("enUS", kMifStrings_enUS, kMifStrings_enUSCount);
}
