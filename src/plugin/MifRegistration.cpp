#include "MifRegistration.h"

#include "IWorkspace.h"
#include "MifEncData.h"
#include "MifErrorLog.h"
#include "MifErrorUtils.h"
#include "MifLogUtils.h"
#include "MifObjectData.h"
#include "MifParser.h"
#include "MifPrefs.h"
#include "MifPresetData.h"
#include "MifStrings.h"
#include "MifSubstData.h"
#include "MifTextConverter.h"
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
    model.RegisterImplementation(kMifTextConverterImpl, [] { return new MifTextConverter; });
    model.RegisterImplementation(kMifPrefsImpl, [] { return new MifPrefs; });
    model.RegisterImplementation(kMifSubstDataImpl, [] { return new MifSubstData; });
    model.RegisterImplementation(kMifEncDataImpl, [] { return new MifEncData; });
    model.RegisterImplementation(kMifPresetDataImpl, [] { return new MifPresetData; });

    // The parser reports to the error log on its own object and decodes the strings of old files
    // with the text converter beside it.
    model.AddInterface(kMifParserBoss, IID_IMIFPARSER, kMifParserImpl);
    model.AddInterface(kMifParserBoss, IID_IMIFERRORLOG, kMifErrorLogImpl);
    model.AddInterface(kMifParserBoss, IID_IMIFTEXTCONVERTER, kMifTextConverterImpl);

    // The preferences live with the session, which saves them with the user's settings.
    model.AddInterface(kSessionWorkspaceBoss, IID_IMIFPREFS, kMifPrefsImpl);
    model.AddInterface(kMifSubstDataBoss, IID_IMIFSUBSTDATA, kMifSubstDataImpl);
    model.AddInterface(kMifEncDataBoss, IID_IMIFENCDATA, kMifEncDataImpl);
    model.AddInterface(kMifPresetDataBoss, IID_IMIFPRESETDATA, kMifPresetDataImpl);

    model.AddInterface(kUtilsBoss, IID_IMIFERRORUTILS, kMifErrorUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFLOGUTILS, kMifLogUtilsImpl);

    StringTable::Get().Register("enUS", kMifStrings_enUS, kMifStrings_enUSCount);
}
