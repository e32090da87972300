#include "base/MifCommandRunner.h"

#include "CmdUtils.h"

#include "base/MifAssertLog.h"

bool MifCommandRunner::Run(const std::shared_ptr<Command>& cmd, const char* sourceFile, int32 sourceLine, const char* name)
{
    if (CmdUtils::ProcessCommand(cmd) == kSuccess) return true;
    MifAssertLog::Write(sourceFile, sourceLine, name, MifAssertLog::kFailed);
    return false;
}
