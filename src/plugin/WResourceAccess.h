// WResourceAccess: the plug-in's resources, found through the plug-in's own module file.
#pragma once

#include "IDFile.h"

class WResourceAccess {
public:
    // The file of the module that holds this code (the Tessel.pln, or the program the plug-in is
    // linked into); learned once, on first use.
    static const IDFile& GetModuleFile();
    // Registers the plug-in's string tables with the host.
    static void RegisterStringTables();
};
