// CResponder: the base of a plug-in's responders. A responder is a class offering a signal's
// service (ObjectModel::RegisterService); when the host signals, it creates each one and calls
// Respond with the signal manager that holds the event's data.
#pragma once

#include "IPMUnknown.h"

class ISignalMgr;

constexpr PMIID IID_IRESPONDER = 0x212;
// The service of the responders to kPhase2ConversionSignal.
constexpr PMIID kPhase2ConversionSignalResponderService = 0x212;

class CResponder : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IRESPONDER };
    virtual void Respond(ISignalMgr* signalMgr) = 0;
};
