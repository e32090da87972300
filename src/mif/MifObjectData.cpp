#include "mif/MifObjectData.h"

#include "mif/MifObject.h"

bool MifObjectData::GetPropVal(int32 id, MifPropVal& propVal, bool first) const
{
    return mObject && mObject->GetPropVal(id, propVal, first);
}
