// AppSession: starting the host for the tessel command: the progress renderer, the user
// presenter, and the plug-ins loaded from the plug-ins folder.
#pragma once

#include <string>
#include <vector>

#include "IDFile.h"

namespace AppSession {
// The folder the plug-ins are loaded from: $TESSEL_PLUGIN_DIR, else "plugins" beside the program.
IDFile GetPlugInFolder();
// Loads the plug-ins; false (after printing why on standard error) when none could be loaded.
bool LoadPlugIns();
// The sample MIF file that ships with Tessel.
IDFile GetSampleFile();
}
