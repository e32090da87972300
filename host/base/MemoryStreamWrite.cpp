#include "MemoryStreamWrite.h"

int64 MemoryStreamWrite::XferBytes(uchar* buffer, int64 count)
{
    if (count <= 0) return 0;
    mBytes.insert(mBytes.end(), buffer, buffer + count);
    return count;
}
