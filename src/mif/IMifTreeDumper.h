// IMifTreeDumper: the statement tree as text, for people debugging a MIF file (tessel parse).
// It sits beside the parser, whose last parse it reports on.
#pragma once

#include <string>

#include "IPMUnknown.h"

#include "base/TesselID.h"

class MifObject;

class IMifTreeDumper : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTREEDUMPER };

    struct Stats {
        int64 statements = 0;
        int32 errors = 0;     // all problems found, also those past the listed ones
        int64 bytes = 0;
        double version = 0;   // the MIF version read
    };

    // Appends the tree below `root`, one statement a line, indented, lengths in points.
    virtual void Dump(const MifObject& root, std::string& out) const = 0;
    // Figures of the parser's last parse, which produced `root`.
    virtual Stats GetStats(const MifObject& root) const = 0;
    // Frees a tree that the parser returned.
    virtual void DeleteTree(MifObject* root) const = 0;
};
