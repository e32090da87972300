#include "CommandMgr.h"

#include <deque>

#include "CmdUtils.h"
#include "CommandRecorder.h"
#include "ErrorUtils.h"

CommandMgr* Command::GetCommandMgr() const { return &GetSessionCommandMgr(); }

ErrorCode CommandMgr::ProcessCommand(const std::shared_ptr<Command>& cmd)
{
    if (!cmd) return kFailure;
    CommandRecorder* recorder = CommandRecorder::Active();
    ErrorCode result = recorder && !recorder->Admits(*cmd) ? kFailure : cmd->Do();
    cmd->mResult = result;
    if (recorder) recorder->Record(*cmd, result);
    if (result != kSuccess) {
        ErrorUtils::PMSetGlobalErrorCode(result);
        return result;
    }
    if (mUndoSupport && cmd->IsUndoable()) {
        mDone.push_back(cmd);
    } else {
        mDone.clear();
    }
    mUndone.clear();
    return kSuccess;
}

bool CommandMgr::Undo()
{
    if (mDone.empty()) return false;
    std::shared_ptr<Command> cmd = mDone.back();
    mDone.pop_back();
    cmd->Undo();
    mUndone.push_back(cmd);
    return true;
}

bool CommandMgr::Redo()
{
    if (mUndone.empty()) return false;
    std::shared_ptr<Command> cmd = mUndone.back();
    mUndone.pop_back();
    cmd->Redo();
    mDone.push_back(cmd);
    return true;
}

PMString CommandMgr::GetUndoName() const { return mDone.empty() ? PMString() : mDone.back()->GetName(); }

void CommandMgr::SetUndoSupport(bool on)
{
    if (!on) {
        mDone.clear();
        mUndone.clear();
    }
    mUndoSupport = on;
}

namespace {
std::deque<std::shared_ptr<Command>>& Scheduled()
{
    static std::deque<std::shared_ptr<Command>> queue;
    return queue;
}
} // namespace

ErrorCode CmdUtils::ProcessCommand(const std::shared_ptr<Command>& cmd)
{
    if (!cmd) return kFailure;
    CommandMgr* mgr = cmd->GetCommandMgr();
    if (!mgr) {
        ErrorUtils::PMSetGlobalErrorCode(kFailure);
        return kFailure;
    }
    return mgr->ProcessCommand(cmd);
}

void CmdUtils::ScheduleCommand(const std::shared_ptr<Command>& cmd)
{
    if (cmd) Scheduled().push_back(cmd);
}

void CmdUtils::ProcessScheduledCmds()
{
    while (!Scheduled().empty()) {
        std::shared_ptr<Command> cmd = Scheduled().front();
        Scheduled().pop_front();
        ProcessCommand(cmd);
    }
}

size_t CmdUtils::GetScheduledCount() { return Scheduled().size(); }

CommandMgr& GetSessionCommandMgr()
{
    static CommandMgr mgr;
    return mgr;
}
