// IMifErrorLog: collects, as one growing text, the problems in a MIF file that the user is to
// see. One sits beside the parser (syntax errors, with line numbers) and one on the document side
// (problems met while importing). Lines are separated by CR LF, with none after the last.
#pragma once

#include "IPMUnknown.h"
#include "PMString.h"

#include "base/TesselID.h"

class IMifErrorLog : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFERRORLOG };

    // Adds "Line <line>: <message>", followed by ": <detail>" when there is a detail.
    virtual void AddParseError(int32 line, const PMString& message, const PMString& detail) = 0;
    // Adds "<message>", followed by ": <detail>" when there is a detail.
    virtual void AddError(const PMString& message, const PMString& detail) = 0;
    virtual bool IsEmpty() const = 0;
    virtual PMString GetText() const = 0;
    virtual void Clear() = 0;
};
