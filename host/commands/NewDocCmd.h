// NewDocCmd: creates a new document with its first master spread "A-Master", one layer, one
// section and the requested pages. Its item list then holds the document.
#pragma once

#include "Command.h"
#include "PMGeometry.h"
#include "UIDRef.h"

struct NewDocCmdData {
    PMRect pageSize{0, 0, 612, 792};  // left 0, top 0, right = width, bottom = height
    bool wide = false;                // landscape; the page size is given as it should be
    int32 pagesPerSpread = 1;         // 2 makes facing pages
    int32 numPages = 1;
};

class NewDocCmd : public Command {
public:
    NewDocCmd() { SetName("New Document"); }
    NewDocCmdData& GetData() { return mData; }
    const UIDList& GetItemList() const { return mItems; }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }

private:
    NewDocCmdData mData;
    UIDList mItems;
};
