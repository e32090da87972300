// ISignalMgr: what the host hands its responders when it signals an event: the signal, and on
// the same object the interfaces that carry the event's data (IConversionData for the second
// conversion phase).
#pragma once

#include "IPMUnknown.h"

constexpr PMIID IID_ISIGNALMGR = 0x210;

// The second phase of a document's conversion: the host is about to save an open document in
// its native package, and the plug-ins remove their own data from it.
constexpr PMIID kPhase2ConversionSignal = 0x220;

class ISignalMgr : public IPMUnknown {
public:
    enum { kDefaultIID = IID_ISIGNALMGR };
    virtual PMIID GetSignal() const = 0;
};
