#include "plugin/MifRegistration.h"

#include "DialogMgr.h"
#include "MenuMgr.h"

#include "plugin/MifActionComponent.h"
#include "prefs/MifPrefsDialogIDs.h"
#include "res/MifDialogs.h"

#include "CResponder.h"
#include "IConversionProvider.h"
#include "IImportProvider.h"
#include "IWorkspace.h"
#include "ObjectModel.h"

#include "base/MifErrorLog.h"
#include "base/MifErrorUtils.h"
#include "base/MifImportRecordIDs.h"
#include "base/MifLogUtils.h"
#include "base/TesselID.h"
#include "catalogs/MifColorImporter.h"
#include "catalogs/MifConditionCatalogImporter.h"
#include "catalogs/MifVariableImporter.h"
#include "catalogs/MifXRefImporter.h"
#include "content/MifContentImporter.h"
#include "content/MifTextModelUtils.h"
#include "import/MifConversionProvider.h"
#include "import/MifImportProvider.h"
#include "import/MifStringData.h"
#include "layout/MifLayoutImporter.h"
#include "layout/MifPageItemUtils.h"
#include "layout/MifPhase2Conversion.h"
#include "layout/MifTextFrameUtils.h"
#include "mif/MifFileUtils.h"
#include "mif/MifObjectData.h"
#include "mif/MifParser.h"
#include "mif/MifTextConverter.h"
#include "mif/MifTreeDumper.h"
#include "plugin/MifBatchConvertCmd.h"
#include "plugin/WResourceAccess.h"
#include "prefs/MifEncData.h"
#include "prefs/MifFontConverter.h"
#include "prefs/MifImportOptions.h"
#include "prefs/MifPrefs.h"
#include "prefs/MifPresetData.h"
#include "prefs/MifSubstData.h"
#include "res/MifStrings.h"
#include "tables/MifTableImporter.h"
#include "tables/MifTableUtils.h"

namespace {

// The plug-in's classes, by implementation ID.
void RegisterImplementations(ObjectModel& model)
{
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
    model.RegisterImplementation(kMifFontConverterImpl, [] { return new MifFontConverter; });
    model.RegisterImplementation(kMifImportOptionsImpl, [] { return new MifImportOptions; });
    model.RegisterImplementation(kMifTextFrameUtilsImpl, [] { return new MifTextFrameUtils; });
    model.RegisterImplementation(kMifPageItemUtilsImpl, [] { return new MifPageItemUtils; });
    model.RegisterImplementation(kMifTextModelUtilsImpl, [] { return new MifTextModelUtils; });
    model.RegisterImplementation(kMifTableUtilsImpl, [] { return new MifTableUtils; });
    model.RegisterImplementation(kMifConditionCatalogImporterImpl, [] { return new MifConditionCatalogImporter; });
    model.RegisterImplementation(kMifSourceFileDataImpl, [] { return new MifStringData; });
    model.RegisterImplementation(kMifPresetNameDataImpl, [] { return new MifStringData; });
    model.RegisterImplementation(kMifPluginVersionDataImpl, [] { return new MifStringData; });
    model.RegisterImplementation(kMifPhase2ConversionImpl, [] { return new MifPhase2Conversion; });
}

// Which objects carry which of the plug-in's interfaces, and the services it offers.
void AddInterfaces(ObjectModel& model)
{
    // The parser reports to the error log on its own object and decodes the strings of old files
    // with the text converter beside it.
    model.AddInterface(kMifParserBoss, IID_IMIFPARSER, kMifParserImpl);
    model.AddInterface(kMifParserBoss, IID_IMIFERRORLOG, kMifErrorLogImpl);
    model.AddInterface(kMifParserBoss, IID_IMIFTEXTCONVERTER, kMifTextConverterImpl);
    model.AddInterface(kMifParserBoss, IID_IMIFTREEDUMPER, kMifTreeDumperImpl);

    // The preferences live with the session, which saves them with the user's settings.
    model.AddInterface(kSessionWorkspaceBoss, IID_IMIFPREFS, kMifPrefsImpl);
    model.AddInterface(kMifSubstDataBoss, IID_IMIFSUBSTDATA, kMifSubstDataImpl);
    model.AddInterface(kMifEncDataBoss, IID_IMIFENCDATA, kMifEncDataImpl);
    model.AddInterface(kMifPresetDataBoss, IID_IMIFPRESETDATA, kMifPresetDataImpl);

    // The importers of a document, and the log of the problems they meet, live on the document.
    model.AddInterface(kDocBoss, IID_IMIFCOLORIMPORTER, kMifColorImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFCONTENTIMPORTER, kMifContentImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFLAYOUTIMPORTER, kMifLayoutImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFTABLEIMPORTER, kMifTableImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFVARIABLEIMPORTER, kMifVariableImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFXREFIMPORTER, kMifXRefImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFERRORLOG, kMifErrorLogImpl);
    // Registered for what stored documents may name; the import never creates or calls it.
    model.AddInterface(kDocBoss, IID_IMIFCONDITIONCATALOGIMPORTER, kMifConditionCatalogImporterImpl);
    model.AddInterface(kDocBoss, IID_IMIFIMPORTOPTIONS, kMifImportOptionsImpl);
    model.AddInterface(kDocBoss, IID_IMIFFONTCONVERTER, kMifFontConverterImpl);
    model.AddInterface(kDocBoss, IID_IMIFTEXTCONVERTER, kMifTextConverterImpl);

    model.AddInterface(kMifImportProviderBoss, IID_IIMPORTPROVIDER, kMifImportProviderImpl);
    model.RegisterService(kImportProviderService, kMifImportProviderBoss);
    model.AddInterface(kMifConversionProviderBoss, IID_ICONVERSIONPROVIDER, kMifConversionProviderImpl);
    model.RegisterService(kConversionProviderService, kMifConversionProviderBoss);

    // The import record an import leaves in its document, and the responder that takes it out
    // again in the second conversion phase, before the host saves the document.
    model.AddInterface(kMifImportRecordBoss, IID_IMIFSOURCEFILEDATA, kMifSourceFileDataImpl);
    model.AddInterface(kMifImportRecordBoss, IID_IMIFPRESETNAMEDATA, kMifPresetNameDataImpl);
    model.AddInterface(kMifImportRecordBoss, IID_IMIFPLUGINVERSIONDATA, kMifPluginVersionDataImpl);
    model.AddInterface(kMifPhase2ConversionBoss, IID_IRESPONDER, kMifPhase2ConversionImpl);
    model.RegisterService(kPhase2ConversionSignalResponderService, kMifPhase2ConversionBoss);

    model.AddInterface(kUtilsBoss, IID_IMIFERRORUTILS, kMifErrorUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFLOGUTILS, kMifLogUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFFILEUTILS, kMifFileUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFTEXTFRAMEUTILS, kMifTextFrameUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFPAGEITEMUTILS, kMifPageItemUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFTEXTMODELUTILS, kMifTextModelUtilsImpl);
    model.AddInterface(kUtilsBoss, IID_IMIFTABLEUTILS, kMifTableUtilsImpl);
}

// The preferences dialogs, and the menu entry Edit > Preferences > "Tessel..." that opens them.
void AddDialogsAndMenus()
{
    DialogMgr& dialogs = DialogMgr::Get();
    dialogs.RegisterDialog(kMifPrefsDialogRsrcID, BuildPrefsDialog_enUS);
    dialogs.RegisterDialog(kMifPresetNameDialogRsrcID, BuildPresetNameDialog_enUS);
    dialogs.RegisterDialog(kMifFontSubstDialogRsrcID, BuildFontSubstDialog_enUS);
    dialogs.RegisterDialog(kMifFontEncDialogRsrcID, BuildFontEncDialog_enUS);
    MenuMgr& menus = MenuMgr::Get();
    menus.AddSeparator(MifActionComponent::kPrefsMenuPath, 5000.0);
    menus.AddMenuItem(MifActionComponent::kPrefsMenuPath, "OV#0xB40#kMifPrefsMenuItemKey", 5000.1, kMifPrefsActionID);
    menus.RegisterAction(kMifPrefsActionID, [] { MifActionComponent::DoAction(kMifPrefsActionID); });
    // The batch conversion is an action on no menu: a front end that offers it runs the action.
    menus.RegisterAction(kMifBatchConvertActionID, [] { MifActionComponent::DoAction(kMifBatchConvertActionID); });
}

} // namespace

void RegisterTesselPlugIn()
{
    ObjectModel& model = ObjectModel::Get();
    RegisterImplementations(model);
    AddInterfaces(model);
    WResourceAccess::RegisterStringTables();
    AddDialogsAndMenus();
}
