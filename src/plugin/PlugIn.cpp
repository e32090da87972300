#include "plugin/PlugIn.h"

#include "plugin/MifRegistration.h"
#include "plugin/WResourceAccess.h"

namespace {
IPMUnknown* gSession = nullptr;
}

int32 PlugIn::Initialize(IPMUnknown* session)
{
    gSession = session;
    // The host has no resource compiler: the plug-in registers its classes when it starts.
    RegisterTesselPlugIn();
    return 1;
}

int32 PlugIn::Terminate()
{
    gSession = nullptr;
    return 1;
}

IDFile PlugIn::GetResourceFile() { return WResourceAccess::GetModuleFile(); }

IPMUnknown* GetPlugInSession() { return gSession; }

IPlugIn* GetPlugIn()
{
    static PlugIn plugIn;
    return &plugIn;
}
