// MemoryStreamRead: a reading stream over bytes held in memory.
#pragma once

#include <vector>

#include "IPMStream.h"

class MemoryStreamRead : public IPMStream {
public:
    MemoryStreamRead(const void* data, size_t size)
        : mBytes(static_cast<const uchar*>(data), static_cast<const uchar*>(data) + size) {}

    bool IsOpen() const override { return true; }
    bool IsReading() const override { return true; }
    StreamState GetStreamState() const override { return mState; }
    void SetStreamState(StreamState state) override { mState = state; }
    bool XferByte(uchar& b) override
    {
        if (mNext < mBytes.size()) {
            b = mBytes[mNext++];
            return true;
        }
        b = 0;
        mState = kStreamStateEOF;
        return false;
    }
    int64 XferBytes(uchar* buffer, int64 count) override;
    ErrorCode Seek(int64 offset, SeekFromWhere from) override;
    int64 Tell() const override { return static_cast<int64>(mNext); }

private:
    std::vector<uchar> mBytes;
    size_t mNext = 0;
    StreamState mState = kStreamStateGood;
};
