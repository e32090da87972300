// MifFacetList: the facets of one imported object's inset (the lines from "=Name" to "=EndInset"):
// per facet its name, its decoded bytes, their count and their CRC-32.
#pragma once

#include <vector>

#include "PMString.h"

class MifFacetList {
public:
    // Appends a facet; the bytes are copied.
    void Add(const PMString& name, const uchar* data, int32 size);

    int32 GetCount() const { return static_cast<int32>(mNames.size()); }
    // The i-th facet's name ("TIFF", "FrameImage"); empty when out of range.
    PMString GetName(int32 i) const;
    // The i-th facet's bytes; null when out of range (or when the facet is empty).
    const uchar* GetData(int32 i) const;
    // The i-th facet's byte count; 0 when out of range.
    int32 GetSize(int32 i) const;
    // The CRC-32 (as zlib and PNG compute it) of the i-th facet's bytes; 0 when out of range.
    uint32 GetCRC(int32 i) const;

    // CRC-32 of `size` bytes.
    static uint32 ComputeCRC32(const uchar* data, size_t size);

private:
    bool InRange(int32 i) const { return i >= 0 && i < GetCount(); }

    std::vector<PMString> mNames;
    std::vector<std::vector<uchar>> mData;
    std::vector<int32> mSizes;
    std::vector<uint32> mCRCs;
};
