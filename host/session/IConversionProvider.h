// IConversionProvider: how a plug-in brings its own data in a saved document up to date when the
// host opens a document saved with an older version of the plug-in.
#pragma once

#include "IPMUnknown.h"

constexpr PMIID IID_ICONVERSIONPROVIDER = 0x201;
constexpr PMIID kConversionProviderService = 0x201;

class DataBase;

class IConversionProvider : public IPMUnknown {
public:
    enum { kDefaultIID = IID_ICONVERSIONPROVIDER };

    virtual int32 CountConversions() const = 0;
    // The format versions (major, minor) that conversion i brings the plug-in's data to.
    virtual void GetConversion(int32 i, int32& major, int32& minor) const = 0;
    // Runs conversion i on a document; kSuccess when the data is up to date afterwards.
    virtual ErrorCode Convert(int32 i, DataBase* db) = 0;
};
