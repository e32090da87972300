// MifSetUndoSupportCmd: switches the undo support of one document's command manager; the
// import turns it off while it builds the document and on again at the end.
#pragma once

#include "DocCommand.h"

class MifSetUndoSupportCmd : public DocCommand {
public:
    MifSetUndoSupportCmd() { SetName("Set Undo Support"); }
    bool boolData = true;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
    // Bad targets still reach Do, which reports them.
    CommandMgr* GetCommandMgr() const override;
};
