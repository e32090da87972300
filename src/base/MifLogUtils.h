// MifLogUtils: keeps the plug-in's log in the host's per-user log folder.
#pragma once

#include "base/IMifLogUtils.h"

class MifLogUtils : public IMifLogUtils {
public:
    bool GetLogFolder(IDFile& folder) const override;
};
