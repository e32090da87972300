// Commands that save and close a document.
#pragma once

#include "DocCommand.h"
#include "IDFile.h"

// Saves the document of the item list as its package (IDML) in `file`, and names the document
// after the file. The package replaces `file` only when complete (IdmlWriter::Write's errors).
class SaveDocAsCmd : public DocCommand {
public:
    SaveDocAsCmd() { SetName("Save As"); }
    IDFile file;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Closes the document of the item list without saving it; its database goes with it.
class CloseDocCmd : public DocCommand {
public:
    CloseDocCmd() { SetName("Close"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
    // The document's own manager goes with the document.
    CommandMgr* GetCommandMgr() const override;
};
