// The commands that add and remove pages and spreads of a document.
#pragma once

#include "DocCommand.h"

// Deletes the pages of the item list. The boolean data (allow the remaining pages to shuffle)
// is accepted; pages never shuffle here.
class DeletePageCmd : public DocCommand {
public:
    DeletePageCmd() { SetName("Delete Pages"); }
    bool boolData = false;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Adds a spread to the document of the item list; afterwards the item list holds the spread.
class NewSpreadCmd : public DocCommand {
public:
    NewSpreadCmd() { SetName("New Spread"); }
    int32 position = -1;   // index in the spread list; -1 appends
    int32 numPages = 1;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Deletes the spreads of the item list with their pages and page items.
class DeleteSpreadCmd : public DocCommand {
public:
    DeleteSpreadCmd() { SetName("Delete Spread"); }
    bool boolData = false;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
