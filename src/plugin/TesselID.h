// Identifiers of the plug-in's classes, interfaces and implementations. Every identifier is the
// plug-in's prefix plus a small number, so that they never collide with the host's or another
// plug-in's.
#pragma once

#include "IPMUnknown.h"

constexpr uint32 kTesselPrefix = 0xB4000;

// Classes
constexpr ClassID kMifParserBoss = kTesselPrefix + 0x01;

// Interfaces
constexpr PMIID IID_IMIFPARSER = kTesselPrefix + 0x01;
constexpr PMIID IID_IMIFERRORLOG = kTesselPrefix + 0x02;
constexpr PMIID IID_IMIFERRORUTILS = kTesselPrefix + 0x03;
constexpr PMIID IID_IMIFTEXTCONVERTER = kTesselPrefix + 0x04;
constexpr PMIID IID_IMIFLOGUTILS = kTesselPrefix + 0x05;
constexpr PMIID IID_IMIFOBJECTDATA = kTesselPrefix + 0x06;

// Implementations
constexpr ImplementationID kMifParserImpl = kTesselPrefix + 0x01;
constexpr ImplementationID kMifErrorLogImpl = kTesselPrefix + 0x02;
constexpr ImplementationID kMifErrorUtilsImpl = kTesselPrefix + 0x03;
constexpr ImplementationID kMifTextConverterImpl = kTesselPrefix + 0x04;
constexpr ImplementationID kMifLogUtilsImpl = kTesselPrefix + 0x05;
constexpr ImplementationID kMifObjectDataImpl = kTesselPrefix + 0x06;
