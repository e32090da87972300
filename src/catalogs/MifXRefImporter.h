// MifXRefImporter: cross-reference formats and cross-references.
//
// Handles: nothing yet.
#pragma once

#include "IMifXRefImporter.h"

class MifXRefImporter : public IMifXRefImporter {
public:
    void SetRoot(MifObject* mifRoot) override { mMifRoot = mifRoot; }
    void ImportXRefFormats() override {}

private:
    MifObject* mMifRoot = nullptr;
};
