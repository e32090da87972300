// Feeds arbitrary bytes to a whole import, as the host's Open runs it, and saves the document as
// IDML: any input must give a document or a clean refusal, never a crash.
#include <string>

#include "CmdUtils.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "FuzzSetup.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"

#include "base/TesselID.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUpFuzzing();
    InterfacePtr<IImportProvider> provider(CreateObject2<IImportProvider>(kMifImportProviderBoss));
    auto stream = StreamUtil::CreateMemoryStreamRead(data, size);
    UIDRef document;
    if (provider->ImportThis(stream.get(), IDFile(std::filesystem::path("/tmp/fuzz.mif")), kSuppressUI, document) == kSuccess) {
        std::string package;
        IdmlWriter::BuildPackage(*document.GetDataBase(), &package);
        DocumentList::Close(document.GetDataBase());
    }
    CmdUtils::ProcessScheduledCmds();
    return 0;
}
