// MifPhase2Conversion: the plug-in's responder to the host's second conversion phase. It deletes
// the plug-in's persistent objects (the import record) from the document and reports the class
// and its three data implementations removed, so that the saved document no longer depends on
// the plug-in. The import marks on page items stay: they are host data.
#pragma once

#include "CResponder.h"

class MifPhase2Conversion : public CResponder {
public:
    void Respond(ISignalMgr* signalMgr) override;
};
