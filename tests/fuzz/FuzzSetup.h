// What every fuzz target does once: logs and settings in scratch folders, the plug-in registered.
#pragma once

#include <cstdlib>

#include "plugin/MifRegistration.h"

inline void SetUpFuzzing()
{
    static const bool done = [] {
        setenv("TESSEL_LOG_DIR", "/tmp/tessel-fuzz-log", 0);
        setenv("TESSEL_CONFIG_DIR", "/tmp/tessel-fuzz-config", 0);
        RegisterTesselPlugIn();
        return true;
    }();
    (void)done;
}
