#include "MifRegistration.h"

#include "IConversionProvider.h"
#include "IImportProvider.h"
#include "MifColorImporter.h"
#include "MifContentImporter.h"
#include "MifConversionProvider.h"
#include "MifErrorLog.h"
#include "MifFileUtils.h"
#include "MifImportProvider.h"
#include "MifLayoutImporter.h"
#include "MifTableImporter.h"
#include "MifTreeDumper.h"
#include "MifVariableImporter.h"
#include "MifXRefImporter.h"
#include "MifErrorUtils.h"
#include "MifLogUtils.h"
#include "MifObjectData.h"
#include "MifParser.h"
#include "MifStrings.h"
#include "ObjectModel.h"
#include "TesselID.h"
#include "WResourceAccess.h"

void RegisterTesselPlugIn()
{
    ObjectModel& model = ObjectModel::Get();
    model.RegisterImplementation(kMifParserImpl, [] { return new MifParser; });
    model.RegisterImplementation(kMifErrorLogImpl, [] { return new MifErrorLog; });
    model.RegisterImplementation(kMifErrorUtilsImpl, [] { return new MifErrorUtils; });
    model.RegisterImplementation(kMifLogUtilsImpl, [] { return new MifLogUtils; });
    model.RegisterImplementation(kMifObjectDataImpl, [] { return new MifObjectData; });
    model.RegisterImplementation(kMifTreeDumperImpl, [] { return new MifTreeDumper; });
    model.RegisterImplementation(kMifFileUtilsImpl, [] { return new MifFileUtils; });
    model.RegisterImplementation(kMifImportProviderImpl, [] { return new MifImportProvider; });
    model.RegisterImplementation(kMifConversionProviderImpl, [] { return new MifConversionProvider; });
    model.RegisterImplementation(kMifColorImporterImpl, [] { return new MifColorImporter; });
    model.RegisterImplementation(kMifContentImporterImpl, [] { return new MifContentImporter; });
    model.RegisterImplementation(kMifLayoutImporterImpl, [] { return new MifLayoutImporter; });
    model.RegisterImplementation(kMifTableImporterImpl, [] { return new MifTableImporter; });
    model.RegisterImplementation(kMifVariableImporterImpl, [] { return new MifVariableImporter; });
    model.RegisterImplementation(kMifXRefImporterImpl, [] { return new MifXRefImporter; });

    // The parser reports to the error log on its own object.
    model.AddInterface(kMifParserBoss, IID_IMIFPARSER, kMifParserImpl);
    model.AddInterface(kMifParserBoss, IID_IMIFERRORLOG, kMifErrorLogImpl);
    model.AddInterface(kMifParserBoss, IID_IMIFTREEDUMPER, kMifTreeDumperImpl);

    // The importers of a document, and the log of the problems they meet, live on the document.
    model.AddInterface(kDocBoss, IID_IMIFCOLORIMPORTER, kMifColorImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFCONTENTIMPORTER, kMifContentImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFLAYOUTIMPORTER, kMifLayoutImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFTABLEIMPORTER, kMifTableImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFVARIABLEIMPORTER, kMifVariableImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFXREFIMPORTER, kMifXRefImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFERRORLOG, kMifErrorLogImpl);

    model.AddInterface(kMifImportProviderBoss, IID_IIMPORTPROVIDER, kMifImportProviderImpl);
    model.RegisterService(kImportProviderService, kMifImportProviderBoss);
    model.AddInterface(kMifConversionProviderBoss, IID_ICONVERSIONPROVIDER, kMifConversionProviderImpl);
    model.RegisterService(kConversionProviderService, kMifConversionProviderBoss);

    model.AddInterface(kUtilsBoss, IID_IMIFERRORUTILS, kMifErrorUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFLOGUTILS, kMifLogUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFFILEUTILS, kMifFileUtilsImpl);

    WResourceAccess::RegisterStringTables();
}
