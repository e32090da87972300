// IPlugIn: what a plug-in module hands the host from its one exported entry point,
// `extern "C" IPlugIn* GetPlugIn()`.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"

using PluginID = uint32;
constexpr PluginID kInvalidPlugin = 0;

class IPlugIn {
public:
    virtual ~IPlugIn() = default;
    // Starts the plug-in in the host session: it registers its classes, services and strings.
    // Returns 1 when the plug-in can run.
    virtual int32 Initialize(IPMUnknown* session) = 0;
    // Ends the plug-in; returns 1.
    virtual int32 Terminate() = 0;
    // Whether the plug-in holds objects that must be saved with documents (0: none).
    virtual int32 HasPersistentData() = 0;
    // Whether the plug-in may be loaded by the host at start-up (1).
    virtual int32 LoadAtStartup() = 0;
    // Drops cached data.
    virtual void FlushCaches() = 0;
    virtual void SetPluginID(PluginID id) = 0;
    // The file of the plug-in's own module, where its resources are found.
    virtual IDFile GetResourceFile() = 0;
    virtual PluginID GetPluginID() = 0;
    virtual const char* GetVersion() = 0;
};

using GetPlugInFunction = IPlugIn* (*)();
