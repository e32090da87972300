// MifTableUtils: the width and height a MIF table's own statements give it, and the cells that
// hold text (what is lost when a table cannot be built).
#pragma once

#include "tables/IMifTableUtils.h"

class MifTableUtils : public IMifTableUtils {
public:
    double GetTableWidth(const MifObject* tbl) const override;
    double GetTableHeight(const MifObject* tbl) const override;
    bool HasText(const MifObject* content) const override;
    PMString GetLeftOutText(const MifObject* tbl) const override;
    double GetCellTextWidth(const UIDRef& story, UID cellText) const override;

private:
    int32 CountCellsWithText(const MifObject& tbl) const;
};
