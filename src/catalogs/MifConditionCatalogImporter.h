// MifConditionCatalogImporter: registered, never run. Conditions, their settings and the
// condition markers in text are not converted, and text in a condition, shown or hidden, is
// imported as ordinary text with the formats it carries.
#pragma once

#include <vector>

#include "catalogs/IMifConditionCatalogImporter.h"

class MifConditionCatalogImporter : public IMifConditionCatalogImporter {
public:
    MifConditionCatalogImporter() { mConditions.clear(); }
    void SetRoot(MifObject* mifRoot) override { mMifRoot = mifRoot; }

private:
    MifObject* mMifRoot = nullptr;
    std::vector<MifObject*> mConditions;
};
