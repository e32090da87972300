// MifLayoutImporter: builds the layout of the new document.
//
// Handles: the scratch spread where anchored frames are assembled (made before the catalogs are
// imported, removed when the import finishes); Page statements: body pages matched to the
// document's pages in order, LeftMasterPage/RightMasterPage onto the pages of master "A",
// OtherMasterPage as master spreads "B", "C", ..., PageBackground applying a master; the text
// frames of a master page's tagged flows as templates (the master's primary text frame, left
// empty: their text is reported and not imported); TextRect
// as a text frame (ShapeRect, TRNumColumns, TRColumnGap) threaded along TRNext after all pages,
// with side-head areas (TFSideheads of its flow, TRSideheadWidth, TRSideheadGap,
// TRSideheadPlacement) as text insets; the other objects of a page (graphics, text lines,
// imported images, unanchored frames) through MifGraphicImporter, in file order, which also gives
// the frames of TextRects their stroke, fill, run-around and rotation; when the import finishes,
// body pages are added for the text that overflows an autoconnected flow (TFAutoConnect, with
// the frames the left and right master pages hold for its TFTag; MifPageGrower) and
// TRColumnBalance frames are fitted to their text. Passes over: ReferencePage, HiddenPage.
#pragma once

#include "layout/IMifLayoutImporter.h"
#include "layout/MifAnchoredFrameBuilder.h"
#include "layout/MifGraphicImporter.h"
#include "layout/MifTextRectChains.h"
#include "mif/MifKeywords.h"
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "PMString.h"
#include "UIDRef.h"

class IMifErrorLog;

class MifLayoutImporter : public IMifLayoutImporter {
public:
    void Init(const IDFile& file, MifObject* mifRoot, int32 uiFlags) override;
    void CreateTemporarySpread() override;
    int32 GetTemporaryPageCount() const override;
    void ImportAnchoredFrames() override;
    void ImportLayout() override;
    void Finalize() override;
    UIDRef RebuildTextFrame(const UIDRef& pageItem) override;
    UIDRef CreateTextFrame(const PMRect& bounds, UID spread, UID layer) override;
    const MifObject* GetMifObjectOfItem(UID item) const override;
    UIDRef GetStoryOfTextRect(int32 id) const override;
    UIDRef GetItemOfId(int32 id) const override;
    int32 GetIdOfItem(const DataBase* db, UID item) const override;
    bool HasSideheads(const UIDRef& frame) const override;
    bool HasSideheads(int32 id) const override;
    PMReal GetSideheadWidth(const UIDRef& frame) const override;
    PMReal GetSideheadWidth(int32 id) const override;
    PMReal GetSideheadGap(const UIDRef& frame) const override;
    PMReal GetSideheadGap(int32 id) const override;
    int32 GetSideheadPlacement(const UIDRef& frame) const override;
    int32 GetSideheadPlacement(int32 id) const override;
    int32 GetColumnCount(int32 id) const override;
    bool GetColumnBalance(int32 id) const override;
    bool IsOnLeftPage(const UIDRef& item) const override;

    // The master spread made for a master page tag (the tag exactly as written); kInvalidUID when none.
    UID GetMasterForTag(const PMString& tag) const;

private:
    // Imports one Page statement onto `targetPage` (a document page or a master's page).
    void ImportPage(UID targetPage, const MifObject& mifPage);
    // The master spread for a master page statement; kInvalidUID (logged) when there is none.
    UID MasterSpreadFor(const MifObject& mifPage, int32 pageType, int32& masterCount);
    // Makes the frame of one TextRect of a page and records it; `pageToSpread` maps MIF page
    // coordinates to spread coordinates.
    UIDRef ImportTextRect(const MifObject& mifTextRect, const PMMatrix& pageToSpread, UID spread, UID layer);
    // Gives the frame made for a TextRect its columns and records it under the TextRect's ID.
    void SetUpTextRectFrame(const UIDRef& textFrame, const MifObject& mifTextRect);
    // Threads the frames along TRNext, in ascending ID order.
    void ThreadTextFrames();
    // Turns the side-head areas of frames whose flow has side heads into text insets.
    void ApplySideheads();
    // Finds the template frames of the master pages, makes one of each master its primary text
    // frame and reports the text their flows hold, which they will not take.
    void SetUpTemplateFrames();
    // Adds body pages for the text that overflows each autoconnected flow of the body pages,
    // unless the import's options say not to.
    void AddPagesForOverflow();
    // The TextRects' chains and flows, found at the first call after the last TextRect was set
    // up (side heads, template frames and added pages read them).
    const MifTextRectChains& Chains();
    void MakeRoomForDescenders();
    // Fits the frames of balanced TextRects to their text.
    void BalanceColumns();

    // What the side-head pass found for one frame.
    struct Sideheads {
        bool hasSideheads = false;
        PMReal width = 0;
        PMReal gap = 0;
        int32 placement = kMifLeft;   // or kMifRight
    };
    const Sideheads* FindSideheads(int32 id) const;
    const Sideheads* FindSideheads(const UIDRef& frame) const;

    IDFile mSourceFile;
    MifObject* mMifRoot = nullptr;
    IMifErrorLog* mImportErrors = nullptr;   // the document's log of problems in the MIF
    int32 mUIFlags = 0;
    UIDList mTempSpreads;
    std::map<PMString, UID> mMasterTagMap;
    // Per TextRect, by its ID (0 for none). The statements belong to the tree and are read only
    // while the layout is imported.
    std::map<int32, const MifObject*> mTextRects;
    std::optional<MifTextRectChains> mChains;
    std::map<UID, const MifObject*> mItemObjects;  // each page item made, to its statement
    std::map<int32, UIDRef> mFrames;
    std::map<UID, int32> mIdsByFrame;              // the ID each frame of mFrames was made for
    std::map<int32, UIDRef> mIDtoMultiColumnRef;   // the item holding the frame's columns
    std::map<int32, int32> mColumnCounts;
    std::map<int32, bool> mColumnBalance;
    std::unordered_set<int32> mTemplateFrames;     // IDs of the master pages' template frames
    std::map<int32, Sideheads> mSideheadsById;
    std::map<UID, Sideheads> mSideheadsByFrame;
    MifGraphicImporter mGraphics;
    MifAnchoredFrameBuilder mAnchoredFrames;   // the AFrames catalog, built on the scratch spreads
};
