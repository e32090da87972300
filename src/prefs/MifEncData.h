// MifEncData: holds one font encoding entry.
#pragma once

#include "prefs/IMifEncData.h"

class MifEncData : public IMifEncData {
public:
    void Set(const PMString& family, int32 encoding) override
    {
        mFamily = family;
        mEncoding = encoding;
    }
    const PMString& GetFamily() const override { return mFamily; }
    int32 GetEncoding() const override { return mEncoding; }

private:
    PMString mFamily;
    int32 mEncoding = 0;
};
