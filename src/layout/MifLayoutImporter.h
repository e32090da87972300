// MifLayoutImporter: builds the layout of the new document.
//
// Handles: the scratch spread where anchored frames are assembled (made before the catalogs are
// imported, removed when the import finishes); Page statements: body pages matched to the
// document's pages in order, LeftMasterPage/RightMasterPage onto the pages of master "A",
// OtherMasterPage as master spreads "B", "C", ..., PageBackground applying a master. Passes over:
// ReferencePage, HiddenPage. Not yet: the objects of the pages (text frames, graphics).
#pragma once

#include "IMifLayoutImporter.h"
#include <map>

#include "PMString.h"
#include "UIDRef.h"

class MifLayoutImporter : public IMifLayoutImporter {
public:
    void Init(const IDFile& file, MifObject* mifRoot, int32 uiFlags) override;
    void CreateTemporarySpread() override;
    int32 GetTemporaryPageCount() const override;
    void ImportAnchoredFrames() override {}
    void ImportLayout() override;
    void Finalize() override;

    // The master spread made for a master page tag (the tag exactly as written); kInvalidUID when none.
    UID GetMasterForTag(const PMString& tag) const;

private:
    // Imports one Page statement onto `targetPage` (a document page or a master's page).
    void ImportPage(UID targetPage, const MifObject& mifPage);
    // The master spread for a master page statement; kInvalidUID (logged) when there is none.
    UID MasterSpreadFor(const MifObject& mifPage, int32 pageType, int32& masterCount);

    IDFile mSourceFile;
    MifObject* mMifRoot = nullptr;
    int32 mUIFlags = 0;
    UIDList mTempSpreads;
    std::map<PMString, UID> mMasterTagMap;
};
