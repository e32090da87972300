// MifVariableImporter: variable formats become text variables.
//
// Handles: nothing yet.
#pragma once

#include "IMifVariableImporter.h"

class MifVariableImporter : public IMifVariableImporter {
public:
    void SetRoot(MifObject* mifRoot) override { mMifRoot = mifRoot; }
    void SetSourceFile(const IDFile& file) override { mSourceFile = file; }
    void ImportVariableFormats() override {}

private:
    MifObject* mMifRoot = nullptr;
    IDFile mSourceFile;
};
