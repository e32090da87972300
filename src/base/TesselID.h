// Identifiers of the plug-in's classes, interfaces and implementations. Every identifier is the
// plug-in's prefix plus a small number, so that they never collide with the host's or another
// plug-in's.
#pragma once

#include "IPMUnknown.h"

constexpr uint32 kTesselPrefix = 0xB4000;

// Classes
constexpr ClassID kMifParserBoss = kTesselPrefix + 0x01;
constexpr ClassID kMifImportProviderBoss = kTesselPrefix + 0x02;
constexpr ClassID kMifConversionProviderBoss = kTesselPrefix + 0x03;
// The preferences' own identifiers are numbered from 0x70.
constexpr ClassID kMifSubstDataBoss = kTesselPrefix + 0x70;   // one font substitution entry
constexpr ClassID kMifEncDataBoss = kTesselPrefix + 0x71;     // one font encoding entry
constexpr ClassID kMifPresetDataBoss = kTesselPrefix + 0x72;  // one preset index

// Interfaces
constexpr PMIID IID_IMIFPARSER = kTesselPrefix + 0x01;
constexpr PMIID IID_IMIFERRORLOG = kTesselPrefix + 0x02;
constexpr PMIID IID_IMIFERRORUTILS = kTesselPrefix + 0x03;
constexpr PMIID IID_IMIFTEXTCONVERTER = kTesselPrefix + 0x04;
constexpr PMIID IID_IMIFLOGUTILS = kTesselPrefix + 0x05;
constexpr PMIID IID_IMIFOBJECTDATA = kTesselPrefix + 0x06;
constexpr PMIID IID_IMIFFILEUTILS = kTesselPrefix + 0x07;
constexpr PMIID IID_IMIFCOLORIMPORTER = kTesselPrefix + 0x08;
constexpr PMIID IID_IMIFCONTENTIMPORTER = kTesselPrefix + 0x09;
constexpr PMIID IID_IMIFLAYOUTIMPORTER = kTesselPrefix + 0x0A;
constexpr PMIID IID_IMIFTABLEIMPORTER = kTesselPrefix + 0x0B;
constexpr PMIID IID_IMIFVARIABLEIMPORTER = kTesselPrefix + 0x0C;
constexpr PMIID IID_IMIFXREFIMPORTER = kTesselPrefix + 0x0D;
constexpr PMIID IID_IMIFTREEDUMPER = kTesselPrefix + 0x0F;
constexpr PMIID IID_IMIFFONTCONVERTER = kTesselPrefix + 0x10;
constexpr PMIID IID_IMIFIMPORTOPTIONS = kTesselPrefix + 0x11;
constexpr PMIID IID_IMIFTEXTFRAMEUTILS = kTesselPrefix + 0x12;
constexpr PMIID IID_IMIFTEXTMODELUTILS = kTesselPrefix + 0x20;
constexpr PMIID IID_IMIFPAGEITEMUTILS = kTesselPrefix + 0x30;
constexpr PMIID IID_IMIFCONDITIONCATALOGIMPORTER = kTesselPrefix + 0x21;
constexpr PMIID IID_IMIFTABLEUTILS = kTesselPrefix + 0x22;
constexpr PMIID IID_IMIFPREFS = kTesselPrefix + 0x70;
constexpr PMIID IID_IMIFSUBSTDATA = kTesselPrefix + 0x71;
constexpr PMIID IID_IMIFENCDATA = kTesselPrefix + 0x72;
constexpr PMIID IID_IMIFPRESETDATA = kTesselPrefix + 0x73;

// Implementations
constexpr ImplementationID kMifParserImpl = kTesselPrefix + 0x01;
constexpr ImplementationID kMifErrorLogImpl = kTesselPrefix + 0x02;
constexpr ImplementationID kMifErrorUtilsImpl = kTesselPrefix + 0x03;
constexpr ImplementationID kMifTextConverterImpl = kTesselPrefix + 0x04;
constexpr ImplementationID kMifLogUtilsImpl = kTesselPrefix + 0x05;
constexpr ImplementationID kMifObjectDataImpl = kTesselPrefix + 0x06;
constexpr ImplementationID kMifFileUtilsImpl = kTesselPrefix + 0x07;
constexpr ImplementationID kMifColorImporterImpl = kTesselPrefix + 0x08;
constexpr ImplementationID kMifContentImporterImpl = kTesselPrefix + 0x09;
constexpr ImplementationID kMifLayoutImporterImpl = kTesselPrefix + 0x0A;
constexpr ImplementationID kMifTableImporterImpl = kTesselPrefix + 0x0B;
constexpr ImplementationID kMifVariableImporterImpl = kTesselPrefix + 0x0C;
constexpr ImplementationID kMifXRefImporterImpl = kTesselPrefix + 0x0D;
constexpr ImplementationID kMifImportProviderImpl = kTesselPrefix + 0x0E;
constexpr ImplementationID kMifConversionProviderImpl = kTesselPrefix + 0x0F;
constexpr ImplementationID kMifTreeDumperImpl = kTesselPrefix + 0x10;
constexpr ImplementationID kMifFontConverterImpl = kTesselPrefix + 0x11;
constexpr ImplementationID kMifImportOptionsImpl = kTesselPrefix + 0x12;
constexpr ImplementationID kMifTextFrameUtilsImpl = kTesselPrefix + 0x13;
constexpr ImplementationID kMifTextModelUtilsImpl = kTesselPrefix + 0x20;
constexpr ImplementationID kMifPageItemUtilsImpl = kTesselPrefix + 0x30;
constexpr ImplementationID kMifConditionCatalogImporterImpl = kTesselPrefix + 0x21;
constexpr ImplementationID kMifTableUtilsImpl = kTesselPrefix + 0x22;
constexpr ImplementationID kMifPrefsImpl = kTesselPrefix + 0x70;
constexpr ImplementationID kMifSubstDataImpl = kTesselPrefix + 0x71;
constexpr ImplementationID kMifEncDataImpl = kTesselPrefix + 0x72;
constexpr ImplementationID kMifPresetDataImpl = kTesselPrefix + 0x73;

// The interfaces of the maker's cross-reference plug-in, a companion that may or may not be
// loaded, are in IXRefPlugIn.h.
#include "IXRefPlugIn.h"
