// IMifLogUtils: the plug-in's utility that says where its diagnostic log is kept.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"

#include "base/TesselID.h"

class IMifLogUtils : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFLOGUTILS };

    // The folder of the plug-in's log files, created when needed; false when there is none.
    virtual bool GetLogFolder(IDFile& folder) const = 0;
};
