// Commands on master spreads: making one, applying one to pages, naming its primary text frame.
#pragma once

#include "DocCommand.h"

// Adds a master spread to the document of the item list, with `pageCount` pages (0: as many as
// the document's spreads have); afterwards the item list holds the master spread. A master of one
// page in a facing document is a right page, and shows on pages of either side. Fails on a prefix
// that is not one character, a prefix and name that another master has, a base that is no master
// spread of the document, or a page count below 0 or above 10.
class NewMasterSpreadCmd : public DocCommand {
public:
    NewMasterSpreadCmd() { SetName("New Master"); }
    PMString prefix;
    PMString baseName;
    UID basedOn = kInvalidUID;
    int32 pageCount = 0;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Applies the master spread `masterUID` (kInvalidUID: none) to the pages of the item list.
class ApplyMasterSpreadCmd : public DocCommand {
public:
    ApplyMasterSpreadCmd() { SetName("Apply Master"); }
    UID masterUID = kInvalidUID;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Makes the text frame `frame` (kInvalidUID: none) the primary text frame of the master spread
// of the item list. Fails when the frame is no text frame of that master spread.
class SetPrimaryTextFrameCmd : public DocCommand {
public:
    SetPrimaryTextFrameCmd() { SetName("Set Primary Text Frame"); }
    UID frame = kInvalidUID;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
