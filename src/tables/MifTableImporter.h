// MifTableImporter: MIF tables become tables of the document, when the content or layout
// importer meets their anchors.
//
// Handles: nothing yet.
#pragma once

#include "IMifTableImporter.h"

class MifTableImporter : public IMifTableImporter {
public:
    void SetMifObject(MifObject* mifRoot) override { mMifRoot = mifRoot; }

private:
    MifObject* mMifRoot = nullptr;
};
