// Command: one change to a document or to the session's preferences.
//
// Every change goes through a command so that it can be undone and so that the host knows what
// changed. A command is processed synchronously through its command manager (CmdUtils), which
// keeps it for undo unless the manager's undo support is off or the command says it cannot be
// undone; or it is scheduled to run after the current call returns.
#pragma once

#include <memory>

#include "PMString.h"
#include "PMTypes.h"

class CommandMgr;
class Command;

namespace CmdUtils {
ErrorCode ProcessCommand(const std::shared_ptr<Command>& cmd);
}

class Command {
public:
    virtual ~Command() = default;

    // The name shown in the Undo menu, translated when it is first read (most commands' names
    // never are).
    const PMString& GetName() const
    {
        mName.Translate();
        return mName;
    }
    void SetName(const PMString& name) { mName = name; }

    // kSuccess once processed without failure; kFailure until then.
    ErrorCode GetResult() const { return mResult; }

protected:
    friend class CommandMgr;
    friend ErrorCode CmdUtils::ProcessCommand(const std::shared_ptr<Command>& cmd);

    // Makes the change; reports a failure by returning something other than kSuccess (what was
    // done must then be left as it was).
    virtual ErrorCode Do() = 0;
    // Takes the change back; only called after a successful Do.
    virtual void Undo() {}
    // Makes the change again after Undo.
    virtual void Redo() { Do(); }
    // Whether the command can be undone at all.
    virtual bool IsUndoable() const { return true; }
    // The manager that processes the command: a document's, or by default the session's.
    virtual CommandMgr* GetCommandMgr() const;

private:
    mutable PMString mName;
    ErrorCode mResult = kFailure;
};
