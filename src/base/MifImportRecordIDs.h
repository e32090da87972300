// Identifiers of the plug-in's own data in documents: the import record (a persistent class with
// three persistent data implementations) and the responder that removes it again in the second
// conversion phase. Like every identifier of the plug-in, each is its prefix plus a small number.
#pragma once

#include "base/TesselID.h"

// The version of the plug-in that an import record names (the plug-in object's version).
constexpr const char* kMifImportRecordVersion = "1.1.1";

// Classes
constexpr ClassID kMifImportRecordBoss = kTesselPrefix + 0x04;      // what a document was imported from
constexpr ClassID kMifPhase2ConversionBoss = kTesselPrefix + 0x05;  // the second-phase responder

// Interfaces: the three texts of the import record
constexpr PMIID IID_IMIFSOURCEFILEDATA = kTesselPrefix + 0x40;
constexpr PMIID IID_IMIFPRESETNAMEDATA = kTesselPrefix + 0x41;
constexpr PMIID IID_IMIFPLUGINVERSIONDATA = kTesselPrefix + 0x42;

// Implementations: the record's three persistent data implementations, and the responder
constexpr ImplementationID kMifSourceFileDataImpl = kTesselPrefix + 0x40;
constexpr ImplementationID kMifPresetNameDataImpl = kTesselPrefix + 0x41;
constexpr ImplementationID kMifPluginVersionDataImpl = kTesselPrefix + 0x42;
constexpr ImplementationID kMifPhase2ConversionImpl = kTesselPrefix + 0x43;
