// Phase2Conversion: the second phase of a document's conversion, which the host runs on an
// open document before it saves it as its package: every plug-in responder registered for
// kPhase2ConversionSignalResponderService is called once, and removes its plug-in's own data,
// so that the saved document no longer depends on the plug-in.
#pragma once

#include <vector>

#include "IPMUnknown.h"

class DataBase;

namespace Phase2Conversion {

// What the responders reported removed.
struct Report {
    std::vector<ClassID> classes;
    std::vector<ImplementationID> implementations;
};

// Signals the phase for `db` and returns what the responders reported.
Report Run(DataBase& db);

} // namespace Phase2Conversion
