// MifProblem: something of a MIF file that the import could not carry over as written, as the
// user is to see it in the warnings: the statement's line (0 when it has none), the message (a
// string-table key or plain text) and a detail (what was left out, the value read; may be empty).
#pragma once

#include "PMString.h"

struct MifProblem {
    int32 line = 0;
    PMString message;
    PMString detail;
};
