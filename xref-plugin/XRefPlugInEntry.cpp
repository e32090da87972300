// The module's entry point: what the host finds in CrossRef.pln.
#include "IPlugIn.h"
#include "XRefRegistration.h"

namespace {

class XRefPlugIn : public IPlugIn {
public:
    int32 Initialize(IPMUnknown* /*session*/) override
    {
        RegisterXRefPlugIn();
        return 1;
    }
    int32 Terminate() override
    {
        UnregisterXRefPlugIn();
        return 1;
    }
    // Its formats, cross-references and markers are the host document's own objects.
    int32 HasPersistentData() override { return 0; }
    int32 LoadAtStartup() override { return 1; }
    void FlushCaches() override {}
    void SetPluginID(PluginID id) override { mPluginID = id; }
    IDFile GetResourceFile() override { return IDFile(); }
    PluginID GetPluginID() override { return mPluginID; }
    const char* GetVersion() override { return "1.0.0"; }

private:
    PluginID mPluginID = kInvalidPlugin;
};

} // namespace

extern "C" __attribute__((visibility("default"))) IPlugIn* GetPlugIn()
{
    static XRefPlugIn plugIn;
    return &plugIn;
}
