// Feeds arbitrary bytes to the MIF parser: any input must give a tree, never a crash or a hang.
#include <memory>

#include "FuzzSetup.h"
#include "InterfacePtr.h"
#include "IPMStream.h"
#include "ObjectModel.h"

#include "base/TesselID.h"
#include "mif/IMifParser.h"
#include "mif/MifObject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUpFuzzing();
    InterfacePtr<IMifParser> parser(CreateObject2<IMifParser>(kMifParserBoss));
    auto stream = StreamUtil::CreateMemoryStreamRead(data, size);
    std::unique_ptr<MifObject> root(parser->Parse(stream.get()));
    return root ? 0 : 1;
}
