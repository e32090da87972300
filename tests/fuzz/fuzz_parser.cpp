// Feeds arbitrary bytes to the MIF parser: any input must give a tree, never a crash or a hang.
#include <cstdlib>
#include <memory>

#include "IMifParser.h"
#include "IPMStream.h"
#include "InterfacePtr.h"
#include "MifObject.h"
#include "MifRegistration.h"
#include "ObjectModel.h"
#include "TesselID.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = [] {
        setenv("TESSEL_LOG_DIR", "/tmp/tessel-fuzz-log", 0);
        RegisterTesselPlugIn();
        return true;
    }();
    (void)registered;
    InterfacePtr<IMifParser> parser(CreateObject2<IMifParser>(kMifParserBoss));
    auto stream = StreamUtil::CreateMemoryStreamRead(data, size);
    std::unique_ptr<MifObject> root(parser->Parse(stream.get()));
    return root ? 0 : 1;
}
