// CommandMgr: processes the commands of one target (the session, or one document) and keeps
// their undo history.
#pragma once

#include <memory>
#include <vector>

#include "Command.h"

class CommandMgr {
public:
    // Runs `cmd`; on success it joins the undo history (unless undo support is off or the command
    // cannot be undone, which also forgets the redo history). Returns the command's result and
    // sets the global error code to it when it failed.
    ErrorCode ProcessCommand(const std::shared_ptr<Command>& cmd);
    // Takes the last command back; false when there is none.
    bool Undo();
    // Makes the last undone command again; false when there is none.
    bool Redo();
    bool CanUndo() const { return !mDone.empty(); }
    bool CanRedo() const { return !mUndone.empty(); }
    // The name of the command that Undo would take back; empty when none.
    PMString GetUndoName() const;

    // With undo support off, processed commands are not kept, and the history is forgotten
    // (nothing that came before can be undone across changes that cannot be).
    void SetUndoSupport(bool on);
    bool GetUndoSupport() const { return mUndoSupport; }

private:
    bool mUndoSupport = true;
    std::vector<std::shared_ptr<Command>> mDone;
    std::vector<std::shared_ptr<Command>> mUndone;
};
