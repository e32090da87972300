// PlugInLoader: loads the plug-in modules (*.pln) of a folder and starts them.
#pragma once

#include <string>
#include <vector>

#include "IDFile.h"

namespace PlugInLoader {
// Loads every *.pln in `folder`, in name order, and initialises it. Returns the problems met, one
// line each ("no plug-ins folder ...", "cannot load ...: <reason>", "... exports no GetPlugIn").
std::vector<std::string> LoadFolder(const IDFile& folder);
// Number of plug-ins loaded so far.
int LoadedCount();
// Terminates every loaded plug-in (modules stay mapped until the process ends).
void TerminateAll();
}
