// MifColorImporter: the color catalog becomes swatches.
//
// Handles: nothing yet; the swatches come with the catalog import.
#pragma once

#include "IMifColorImporter.h"

class MifColorImporter : public IMifColorImporter {
public:
    void SetRoot(MifObject* mifRoot) override { mMifRoot = mifRoot; }
    void Import() override {}

private:
    MifObject* mMifRoot = nullptr;
};
