// MifContentImporter: paragraph and character formats become styles; text flows become stories.
//
// Handles: nothing yet.
#pragma once

#include "IMifContentImporter.h"

class MifContentImporter : public IMifContentImporter {
public:
    void SetMifObject(MifObject* mifRoot) override { mMifRoot = mifRoot; }
    void SetSourceFile(const IDFile& file) override { mSourceFile = file; }
    void ImportStyles() override {}
    void ImportTextFlows() override {}

private:
    MifObject* mMifRoot = nullptr;
    IDFile mSourceFile;
};
