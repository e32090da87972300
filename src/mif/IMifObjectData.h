// IMifObjectData: the link from a page item back to the MIF statement it was made from, while an
// import runs. It does not own the statement; the link is not saved with the document.
#pragma once

#include "IPMUnknown.h"

#include "base/TesselID.h"
#include "mif/MifPropVal.h"

class MifObject;

class IMifObjectData : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFOBJECTDATA };

    virtual void SetLinkedObject(MifObject* object) = 0;
    // The statement the item was made from; null when none is set.
    virtual MifObject* GetLinkedObject() const = 0;
    // GetPropVal on the linked statement; false when none is set or it lacks `id`.
    virtual bool GetPropVal(int32 id, MifPropVal& propVal, bool first = true) const = 0;
};
