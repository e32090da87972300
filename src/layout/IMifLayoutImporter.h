// IMifLayoutImporter: builds the pages, master spreads, text frames and graphics of the document.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "PMGeometry.h"
#include "UIDRef.h"

#include "base/TesselID.h"

class MifObject;

class IMifLayoutImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFLAYOUTIMPORTER };

    // Keeps the MIF file, the root of the statement tree (not owned) and the user-interface flags
    // of the import call.
    virtual void Init(const IDFile& file, MifObject* mifRoot, int32 uiFlags) = 0;
    // Appends a scratch spread of one page at the end of the document, where anchored frames are
    // assembled; Finalize removes it.
    virtual void CreateTemporarySpread() = 0;
    // The number of pages of the scratch spreads.
    virtual int32 GetTemporaryPageCount() const = 0;
    // The "Importing anchored frames..." phase.
    virtual void ImportAnchoredFrames() = 0;
    // The "Importing layout..." phase: pages, master spreads, text frames and graphics.
    virtual void ImportLayout() = 0;
    // The "Finalizing..." phase: the scratch spreads and temporary files go; pages are added for
    // the text that overflows an autoconnected flow of the body pages (unless the import's
    // options say not to); frames with balanced columns are fitted to their text.
    virtual void Finalize() = 0;

    // Makes a text frame for the TextRect that `pageItem` was made from, with the item's bounds
    // on the item's spread and layer, its columns set and recorded under the TextRect's ID (in
    // place of the frame recorded there before); the item stays. The null reference (logged)
    // when the item is unknown or was not made from a TextRect.
    virtual UIDRef RebuildTextFrame(const UIDRef& pageItem) = 0;
    // Makes a text frame with the outline `bounds` (spread coordinates) on `spread`, in `layer`
    // (none: the frontmost), its first baseline placed by leading; the null reference (logged)
    // when the host refuses.
    virtual UIDRef CreateTextFrame(const PMRect& bounds, UID spread, UID layer) = 0;
    // The MIF statement the page item `item` of the document was made from; null when the
    // import made no item `item`, and for every item once Finalize has run (the statement
    // tree is freed when the import ends).
    virtual const MifObject* GetMifObjectOfItem(UID item) const = 0;

    // What the content importer asks of the frames made for TextRects, by the TextRect's ID
    // (0 for a TextRect without one; a later TextRect with the same ID replaces the earlier).
    // The story that takes the text of TextRect `id`'s column; the null reference when there is
    // none, and for the template frames of the master pages, which take no text.
    virtual UIDRef GetStoryOfTextRect(int32 id) const = 0;
    // The page item made for `id`; the null reference when there is none.
    virtual UIDRef GetItemOfId(int32 id) const = 0;
    // The ID of the TextRect whose frame is `item` in `db`; 0 when there is none.
    virtual int32 GetIdOfItem(const DataBase* db, UID item) const = 0;
    // Whether the flow through the frame has side heads; false when not recorded.
    virtual bool HasSideheads(const UIDRef& frame) const = 0;
    virtual bool HasSideheads(int32 id) const = 0;
    // The side-head area's width and the gap beside it, points; 0 when not recorded.
    virtual PMReal GetSideheadWidth(const UIDRef& frame) const = 0;
    virtual PMReal GetSideheadWidth(int32 id) const = 0;
    virtual PMReal GetSideheadGap(const UIDRef& frame) const = 0;
    virtual PMReal GetSideheadGap(int32 id) const = 0;
    // The side the side-head area stands on, kMifLeft or kMifRight (Inside and Outside already
    // resolved by the frame's page); kMifLeft when not recorded.
    virtual int32 GetSideheadPlacement(const UIDRef& frame) const = 0;
    virtual int32 GetSideheadPlacement(int32 id) const = 0;
    // The TextRect's column count; 1 when not recorded.
    virtual int32 GetColumnCount(int32 id) const = 0;
    // Whether the TextRect's columns are balanced; false when not recorded.
    virtual bool GetColumnBalance(int32 id) const = 0;
    // Whether the page under the item's centre is a left page; false when no page is.
    virtual bool IsOnLeftPage(const UIDRef& item) const = 0;
};
