#include "IPMStream.h"

#include <algorithm>

#include "PMString.h"

bool IPMStream::XferInt32(int32& value)
{
    uchar bytes[4];
    if (IsWriting()) {
        uint32 v = static_cast<uint32>(value);
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uchar>(v >> (24 - 8 * i));
        return XferBytes(bytes, 4) == 4;
    }
    if (XferBytes(bytes, 4) != 4) {
        value = 0;
        return false;
    }
    value = static_cast<int32>(static_cast<uint32>(bytes[0]) << 24 | static_cast<uint32>(bytes[1]) << 16 |
                               static_cast<uint32>(bytes[2]) << 8 | bytes[3]);
    return true;
}

bool IPMStream::XferString(PMString& text)
{
    if (IsWriting()) {
        const std::u16string& units = text.GetUTF16();
        if (units.size() > static_cast<size_t>(kMaxStringLength)) {
            SetStreamState(kStreamStateFailure);  // it could not be read back
            return false;
        }
        int32 length = static_cast<int32>(units.size());
        if (!XferInt32(length)) return false;
        std::vector<uchar> bytes(static_cast<size_t>(length) * 2);
        for (int32 i = 0; i < length; ++i) {
            bytes[2 * i] = static_cast<uchar>(units[i] >> 8);
            bytes[2 * i + 1] = static_cast<uchar>(units[i] & 0xFF);
        }
        return XferBytes(bytes.data(), static_cast<int64>(bytes.size())) == static_cast<int64>(bytes.size());
    }

    text.Clear();
    int32 length = 0;
    if (!XferInt32(length)) return false;
    if (length < 0 || length > kMaxStringLength) {
        SetStreamState(kStreamStateFailure);
        return false;
    }
    // Read in blocks, so that a stream that claims more than it holds costs only what it holds.
    std::u16string units;
    uchar block[4096];
    for (int32 left = length; left > 0;) {
        int32 count = std::min<int32>(left, sizeof block / 2);
        if (XferBytes(block, 2 * count) != 2 * count) return false;
        for (int32 i = 0; i < count; ++i)
            units.push_back(static_cast<char16_t>(block[2 * i] << 8 | block[2 * i + 1]));
        left -= count;
    }
    text = PMString(std::move(units));
    return true;
}
