#include "mif/MifFileHead.h"

#include "IPMStream.h"

bool MifFileHead::Read(IPMStream& stream, std::string& head)
{
    stream.Seek(0, IPMStream::kSeekFromStart);
    char bytes[21] = {};
    if (stream.XferBytes(reinterpret_cast<uchar*>(bytes), 20) < 20) return false;
    head = bytes;  // as a C string: a NUL byte ends what is searched
    return true;
}
