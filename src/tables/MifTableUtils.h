// MifTableUtils: the width and height a MIF table's own statements give it.
#pragma once

#include "IMifTableUtils.h"

class MifTableUtils : public IMifTableUtils {
public:
    double GetTableWidth(const MifObject* tbl) const override;
    double GetTableHeight(const MifObject* tbl) const override;
};
