#include "MifRegistration.h"

#include "MifErrorLog.h"
#include "MifErrorUtils.h"
#include "MifLogUtils.h"
#include "MifObjectData.h"
#include "MifParser.h"
#include "MifStrings.h"
#include "ObjectModel.h"
#include "StringTable.h"
#include "TesselID.h"

void RegisterTesselPlugIn()
{
    ObjectModel& model = ObjectModel::Get();
    model.RegisterImplementation(kMifParserImpl, [] { return new MifParser; });
    model.RegisterImplementation(kMifErrorLogImpl, [] { return new MifErrorLog; });
    model.RegisterImplementation(kMifErrorUtilsImpl, [] { return new MifErrorUtils; });
    model.RegisterImplementation(kMifLogUtilsImpl, [] { return new MifLogUtils; });
    model.RegisterImplementation(kMifObjectDataImpl, [] { return new MifObjectData; });

    // The parser reports to the error log on its own object.
    model.AddInterface(kMifParserBoss, IID_IMIFPARSER, kMifParserImpl);
    model.AddInterface(kMifParserBoss, IID_IMIFERRORLOG, kMifErrorLogImpl);

    model.AddInterface(kUtilsBoss, IID_IMIFERRORUTILS, kMifErrorUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFLOGUTILS, kMifLogUtilsImpl);

    StringTable::Get().Register("enUS", kMifStrings_enUS, kMifStrings_enUSCount);
}
