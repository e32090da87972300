// MifConversionProvider: the conversions of the plug-in's saved data. Format versions 1.1 and
// 1.2 changed nothing in what the plug-in keeps in documents, so both convert nothing.
#pragma once

#include "IConversionProvider.h"

class MifConversionProvider : public IConversionProvider {
public:
    int32 CountConversions() const override { return 2; }
    void GetConversion(int32 i, int32& major, int32& minor) const override
    {
        major = 1;
        minor = i == 0 ? 1 : 2;
    }
    ErrorCode Convert(int32 i, DataBase*) override { return i >= 0 && i < 2 ? kSuccess : kInvalidParameterError; }
};
