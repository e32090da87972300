#include "MemoryStreamRead.h"

#include <algorithm>
#include <cstring>


int64 MemoryStreamRead::XferBytes(uchar* buffer, int64 count)
{
    size_t n = std::min(mBytes.size() - mNext, static_cast<size_t>(std::max<int64>(count, 0)));
    if (n > 0) std::memcpy(buffer, mBytes.data() + mNext, n);
    mNext += n;
    if (n < static_cast<size_t>(std::max<int64>(count, 0))) mState = kStreamStateEOF;
    return static_cast<int64>(n);
}

ErrorCode MemoryStreamRead::Seek(int64 offset, SeekFromWhere from)
{
    int64 size = static_cast<int64>(mBytes.size());
    int64 target = from == kSeekFromStart ? offset : from == kSeekFromCurrent ? Tell() + offset : size + offset;
    mNext = static_cast<size_t>(std::clamp<int64>(target, 0, size));
    mState = kStreamStateGood;
    return kSuccess;
}

