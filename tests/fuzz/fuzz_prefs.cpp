// Feeds arbitrary bytes to the reader of the preferences file: any input must leave usable
// preferences, never a crash, a hang or an allocation beyond the bytes given.

#include "FuzzSetup.h"
#include "InterfacePtr.h"
#include "IPMStream.h"
#include "IWorkspace.h"
#include "Session.h"

#include "prefs/IMifPrefs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUpFuzzing();
    IWorkspace* workspace = GetSessionWorkspace();
    auto stream = StreamUtil::CreateMemoryStreamRead(data, size);
    PMString problem;
    workspace->Read(*stream, problem);
    InterfacePtr<IMifPrefs> prefs(workspace, IID_IMIFPREFS);
    if (prefs) prefs->GetPreset(prefs->GetCurrentPreset());
    return 0;
}
