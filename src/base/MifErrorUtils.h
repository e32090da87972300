// MifErrorUtils: accepts error reports and drops them.
#pragma once

#include "base/IMifErrorUtils.h"

class MifErrorUtils : public IMifErrorUtils {
public:
    void ReportError(int32, const PMString&) override {}
    void ReportError(const PMString&) override {}
};
