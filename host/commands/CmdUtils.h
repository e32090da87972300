// CmdUtils: processing and scheduling commands.
#pragma once

#include <memory>

#include "Command.h"

namespace CmdUtils {
// Processes `cmd` through its command manager; the command's result (kFailure for none).
ErrorCode ProcessCommand(const std::shared_ptr<Command>& cmd);
// Queues `cmd` to be processed when the current call has returned (ProcessScheduledCmds).
void ScheduleCommand(const std::shared_ptr<Command>& cmd);
// Processes every queued command, in the order queued (including those queued meanwhile).
void ProcessScheduledCmds();
// How many commands are queued.
size_t GetScheduledCount();
}

// The command manager of the session (preferences and other session-wide data).
CommandMgr& GetSessionCommandMgr();
