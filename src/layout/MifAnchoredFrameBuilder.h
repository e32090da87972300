// MifAnchoredFrameBuilder: builds the frames of the AFrames catalog in advance, on the scratch
// spreads, where the content importer takes them from when it meets their anchors.
//
// Each Frame is built as an unanchored frame on a page is (MifGraphicImporter), and packed in
// rows (shelves) on the page of the last scratch spread: left to right with 5 pt between frames,
// a new row below the tallest frame of the row (plus 5 pt) when the next does not fit across, a
// new scratch spread when the next row does not fit down. A frame larger than the page is not
// built. The built item gets the Frame's run-around; its ID goes in the frames record.
#pragma once

#include <functional>
#include <map>

#include "PMGeometry.h"
#include "UIDRef.h"

class DataBase;
class IMifErrorLog;
class MifGraphicImporter;
class MifObject;

class MifAnchoredFrameBuilder {
public:
    struct Setup {
        DataBase* db = nullptr;
        IMifErrorLog* errors = nullptr;
        MifGraphicImporter* graphics = nullptr;
        // The last scratch spread, and a new scratch spread appended (kInvalidUID on failure).
        std::function<UID()> lastSpread;
        std::function<UID()> newSpread;
    };
    void Init(const Setup& setup) { mSetup = setup; }

    // Builds every Frame directly inside `aframes`, in file order; the global error code is reset
    // after each.
    void BuildAll(const MifObject& aframes);
    // Builds one catalog Frame; the item made, or the null reference.
    UIDRef Build(const MifObject& mifFrame);
    // Back to the top left of a new scratch page.
    void ResetCursor() { mCursorX = mCursorY = mRowHeight = 0; }

    // The item built for a Frame `id`; the null reference when none was.
    UIDRef GetItemOfId(int32 id) const;
    const std::map<int32, UIDRef>& GetItems() const { return mItems; }
    // Where the next frame would go, for tests: the cursor and the row height.
    PMPoint GetCursor() const { return {mCursorX, mCursorY}; }
    PMReal GetRowHeight() const { return mRowHeight; }

private:
    Setup mSetup;
    PMReal mCursorX = 0, mCursorY = 0, mRowHeight = 0;
    std::map<int32, UIDRef> mItems;
};
