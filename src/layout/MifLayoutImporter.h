// MifLayoutImporter: builds the layout of the new document.
//
// Handles: the scratch spread where anchored frames are assembled (made before the catalogs are
// imported, removed when the import finishes). Pages, masters, frames and graphics come next.
#pragma once

#include "IMifLayoutImporter.h"
#include "UIDRef.h"

class MifLayoutImporter : public IMifLayoutImporter {
public:
    void Init(const IDFile& file, MifObject* mifRoot, int32 uiFlags) override;
    void CreateTemporarySpread() override;
    int32 GetTemporaryPageCount() const override;
    void ImportAnchoredFrames() override {}
    void ImportLayout() override {}
    void Finalize() override;

private:
    IDFile mSourceFile;
    MifObject* mMifRoot = nullptr;
    int32 mUIFlags = 0;
    UIDList mTempSpreads;
};
