#include "mif/MifFacetList.h"

#include <array>

namespace {

std::array<uint32, 256> MakeCRCTable()
{
    std::array<uint32, 256> table{};
    for (uint32 n = 0; n < 256; ++n) {
        uint32 c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

} // namespace

uint32 MifFacetList::ComputeCRC32(const uchar* data, size_t size)
{
    static const std::array<uint32, 256> table = MakeCRCTable();
    uint32 crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void MifFacetList::Add(const PMString& name, const uchar* data, int32 size)
{
    if (size < 0 || !data) size = 0;
    mNames.push_back(name);
    mData.emplace_back(data, data + size);
    mSizes.push_back(size);
    mCRCs.push_back(ComputeCRC32(data, static_cast<size_t>(size)));
}

PMString MifFacetList::GetName(int32 i) const { return InRange(i) ? mNames[i] : PMString(); }

const uchar* MifFacetList::GetData(int32 i) const { return InRange(i) && !mData[i].empty() ? mData[i].data() : nullptr; }

int32 MifFacetList::GetSize(int32 i) const { return InRange(i) ? mSizes[i] : 0; }

uint32 MifFacetList::GetCRC(int32 i) const { return InRange(i) ? mCRCs[i] : 0; }
