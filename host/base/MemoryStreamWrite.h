// MemoryStreamWrite: a writing stream that collects its bytes in memory.
#pragma once

#include <vector>

#include "IPMStream.h"

class MemoryStreamWrite : public IPMStream {
public:
    bool IsOpen() const override { return true; }
    bool IsReading() const override { return false; }
    StreamState GetStreamState() const override { return mState; }
    void SetStreamState(StreamState state) override { mState = state; }
    bool XferByte(uchar& b) override
    {
        mBytes.push_back(b);
        return true;
    }
    int64 XferBytes(uchar* buffer, int64 count) override;
    ErrorCode Seek(int64, SeekFromWhere) override { return kFailure; }
    int64 Tell() const override { return static_cast<int64>(mBytes.size()); }

    // The bytes written so far.
    const std::vector<uchar>& GetBytes() const { return mBytes; }

private:
    std::vector<uchar> mBytes;
    StreamState mState = kStreamStateGood;
};
