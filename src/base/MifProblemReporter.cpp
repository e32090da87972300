#include "base/MifProblemReporter.h"

#include "base/MifAssertLog.h"

void MifProblemReporter::Report(const MifProblem& problem) const
{
    if (!mErrorLog) {
        MIF_LOG_NIL(mErrorLog);
        return;
    }
    PMString message(problem.message);
    message.Translate();
    if (problem.line > 0)
        mErrorLog->AddParseError(problem.line, message, problem.detail);
    else
        mErrorLog->AddError(message, problem.detail);
}
