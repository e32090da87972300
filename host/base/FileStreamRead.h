// FileStreamRead: a buffered reading stream over a file.
#pragma once

#include <cstdio>
#include <vector>

#include "IPMStream.h"

class FileStreamRead : public IPMStream {
public:
    FileStreamRead() = default;
    ~FileStreamRead() override;
    FileStreamRead(const FileStreamRead&) = delete;
    FileStreamRead& operator=(const FileStreamRead&) = delete;

    // Opens the file; kFileNotFoundError or kIOReadError when it cannot be read.
    ErrorCode Open(const IDFile& file);
    void Close();

    bool IsOpen() const override { return mFile != nullptr; }
    bool IsReading() const override { return true; }
    StreamState GetStreamState() const override { return mState; }
    void SetStreamState(StreamState state) override { mState = state; }
    bool XferByte(uchar& b) override
    {
        if (mNext < mBuffer.size() || Refill()) {
            b = mBuffer[mNext++];
            return true;
        }
        b = 0;
        return false;
    }
    int64 XferBytes(uchar* buffer, int64 count) override;
    ErrorCode Seek(int64 offset, SeekFromWhere from) override;
    int64 Tell() const override { return mBufferStart + static_cast<int64>(mNext); }

private:
    bool Refill();

    std::FILE* mFile = nullptr;
    int64 mSize = 0;
    std::vector<uchar> mBuffer;  // the bytes from mBufferStart on
    size_t mNext = 0;            // index in mBuffer of the next byte to read
    int64 mBufferStart = 0;
    StreamState mState = kStreamStateGood;
};
