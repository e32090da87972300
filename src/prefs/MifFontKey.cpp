#include "prefs/MifFontKey.h"

namespace {

// Empty values first, then "Regular", then the rest.
int32 Rank(const PMString& value)
{
    if (value.IsEmpty()) return 0;
    static const PMString regular("Regular");
    return value.IsEqualNoCase(regular) ? 1 : 2;
}

// One style field. The rest compare with case folded, so that values equal but for case are
// equal and the order stays consistent across them.
int32 CompareStyleValue(const PMString& a, const PMString& b)
{
    int32 rankA = Rank(a), rankB = Rank(b);
    if (rankA != rankB) return rankA < rankB ? -1 : 1;
    return rankA == 2 ? a.Compare(false, b) : 0;
}

} // namespace

int32 MifFontKey::Compare(const MifFontKey& other) const
{
    if (mFamily != other.mFamily) return mFamily < other.mFamily ? -1 : 1;
    if (int32 c = CompareStyleValue(mAngle, other.mAngle)) return c;
    if (int32 c = CompareStyleValue(mWeight, other.mWeight)) return c;
    return CompareStyleValue(mVariation, other.mVariation);
}
