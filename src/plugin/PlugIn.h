// PlugIn: what the Tessel module hands the host through GetPlugIn.
#pragma once

#include "IPlugIn.h"

class PlugIn : public IPlugIn {
public:
    int32 Initialize(IPMUnknown* session) override;
    int32 Terminate() override;
    int32 HasPersistentData() override { return 0; }
    int32 LoadAtStartup() override { return 1; }
    void FlushCaches() override {}
    void SetPluginID(PluginID id) override { mPluginID = id; }
    IDFile GetResourceFile() override;
    PluginID GetPluginID() override { return mPluginID; }
    const char* GetVersion() override { return "1.1.1"; }

private:
    PluginID mPluginID = kInvalidPlugin;
};

// The host session the plug-in was started in; null outside a session.
IPMUnknown* GetPlugInSession();

extern "C" __attribute__((visibility("default"))) IPlugIn* GetPlugIn();
