#include "base/MifCommandRunner.h"

#include "CmdUtils.h"

#include "base/MifAssertLog.h"

ErrorCode MifCommandRunner::Process(const std::shared_ptr<Command>& cmd, const char* sourceFile, int32 sourceLine, const char* name)
{
    const ErrorCode result = CmdUtils::ProcessCommand(cmd);
    if (result != kSuccess) MifAssertLog::Write(sourceFile, sourceLine, name, MifAssertLog::kFailed);
    return result;
}
