// The commands that add and remove pages and spreads of a document.
#pragma once

#include "DocCommand.h"

// Deletes the pages of the item list with the page items drawn on them. With the boolean data
// (allow the remaining pages to shuffle) the pages of a facing document after the first deleted
// page are dealt into spreads again, so that left and right pages still alternate; without it
// the spreads keep the pages they have left.
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

// Inserts pages after the page of the item list (a document page), each of the document's page
// size with the first master spread applied; afterwards the item list holds the new pages. In a
// facing document the pages after them shuffle into spreads again (DocumentLayout::InsertPages).
class NewPageCmd : public DocCommand {
public:
    NewPageCmd() { SetName("New Page"); }
    int32 numPages = 1;   // 1 to kMaxPages

    static constexpr int32 kMaxPages = 100000;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
