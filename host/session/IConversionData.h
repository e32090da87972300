// IConversionData: the data of a document's second conversion phase, beside ISignalMgr: the
// document converted, and what the responders report they removed from it.
#pragma once

#include <vector>

#include "IPMUnknown.h"

constexpr PMIID IID_ICONVERSIONDATA = 0x211;

class IConversionData : public IPMUnknown {
public:
    enum { kDefaultIID = IID_ICONVERSIONDATA };
    // The database of the document converted; null when there is none.
    virtual DataBase* GetDataBase() const = 0;
    // Reports that no object of the class is left in the document.
    virtual void ClassRemoved(ClassID classID) = 0;
    // Reports that no data of the implementation is left in the document.
    virtual void ImplementationRemoved(ImplementationID implementationID) = 0;
    // What was reported, in order.
    virtual const std::vector<ClassID>& GetRemovedClasses() const = 0;
    virtual const std::vector<ImplementationID>& GetRemovedImplementations() const = 0;
};
