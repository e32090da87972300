// IMifErrorUtils: a utility that callers may report problems to freely; it accepts them and
// keeps nothing (the user sees only what reaches an IMifErrorLog).
#pragma once

#include "IPMUnknown.h"
#include "PMString.h"

#include "base/TesselID.h"

class IMifErrorUtils : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFERRORUTILS };

    virtual void ReportError(int32 line, const PMString& text) = 0;
    virtual void ReportError(const PMString& text) = 0;
};
