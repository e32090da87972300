// IMifEncData: one font encoding entry (a font family and the encoding of its text in files
// older than MIF 8.0), as the preferences dialogs hand it around.
#pragma once

#include "IPMUnknown.h"
#include "PMString.h"

#include "base/TesselID.h"

class IMifEncData : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFENCDATA };

    virtual void Set(const PMString& family, int32 encoding) = 0;
    // The family; empty until Set.
    virtual const PMString& GetFamily() const = 0;
    // The encoding (a Windows character-set number or Mac script number); 0 until Set.
    virtual int32 GetEncoding() const = 0;
};
