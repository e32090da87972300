// MifProblemReporter: the one way an importer tells the user of a problem. It translates the
// message and adds "Line <n>: <message>: <detail>" to the import's error log (without "Line <n>:"
// when the problem has no line, without ": <detail>" when there is none).
//
//     MifProblemReporter report(this);   // the error log on the document's import object
//     report({tbl.line, "Table import: missing <TblNumColumns > statement", leftOut});
#pragma once

#include "InterfacePtr.h"

#include "base/IMifErrorLog.h"
#include "base/MifProblem.h"

class MifProblemReporter {
public:
    // Reports into the error log of `importObject` (or the error log itself); without one,
    // problems go to the diagnostic log.
    explicit MifProblemReporter(const IPMUnknown* importObject) : mErrorLog(importObject, IID_IMIFERRORLOG) {}

    void Report(const MifProblem& problem) const;
    void operator()(const MifProblem& problem) const { Report(problem); }

private:
    InterfacePtr<IMifErrorLog> mErrorLog;
};
