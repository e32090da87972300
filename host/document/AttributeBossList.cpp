#include "AttributeBossList.h"

#include <algorithm>
#include <cmath>

void TabStopTable::Insert(const TabStop& stop)
{
    auto at = std::lower_bound(mStops.begin(), mStops.end(), stop.position,
                               [](const TabStop& s, PMReal position) { return s.position < position; });
    if (at != mStops.end() && std::fabs(at->position - stop.position) < 1e-8)
        *at = stop;
    else
        mStops.insert(at, stop);
}

const AttributeValue* AttributeBossList::QueryAttribute(TextAttribute kind) const
{
    auto it = mAttributes.find(kind);
    return it == mAttributes.end() ? nullptr : &it->second;
}
