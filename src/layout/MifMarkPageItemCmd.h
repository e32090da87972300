// MifMarkPageItemCmd: stores the import mark on the page items of its item list: true for every
// item a MIF import made. Items that carry no mark are passed over.
#pragma once

#include <optional>

#include "DocCommand.h"

class MifMarkPageItemCmd : public DocCommand {
public:
    MifMarkPageItemCmd() { SetName("Mark Imported Page Items"); }
    // The value to store; without it nothing is marked and a diagnostic line is written.
    std::optional<bool> boolData;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
    // An empty item list names no document: it still reaches Do, which has nothing to mark.
    CommandMgr* GetCommandMgr() const override;
};
