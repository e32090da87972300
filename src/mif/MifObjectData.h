// MifObjectData: the plain implementation of IMifObjectData.
#pragma once

#include "mif/IMifObjectData.h"

class MifObjectData : public IMifObjectData {
public:
    void SetLinkedObject(MifObject* object) override { mObject = object; }
    MifObject* GetLinkedObject() const override { return mObject; }
    bool GetPropVal(int32 id, MifPropVal& propVal, bool first = true) const override;

private:
    MifObject* mObject = nullptr;
};
