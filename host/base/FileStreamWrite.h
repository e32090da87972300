// FileStreamWrite: writes a file so that it is replaced in one step or not at all.
//
// The bytes go to a temporary file beside the target; Commit() flushes them to the disk and
// renames the temporary file over the target. Until then the target keeps its old content, and a
// stream destroyed without Commit() (a failed write, a crash) leaves it untouched and removes the
// temporary file, so nobody ever reads half a file.
#pragma once

#include <cstdio>
#include <filesystem>

#include "IPMStream.h"

class FileStreamWrite : public IPMStream {
public:
    FileStreamWrite() = default;
    ~FileStreamWrite() override;
    FileStreamWrite(const FileStreamWrite&) = delete;
    FileStreamWrite& operator=(const FileStreamWrite&) = delete;

    // Starts writing the new content of `file`; kIOWriteError when its folder cannot take a file.
    ErrorCode Open(const IDFile& file);
    // Makes what was written the content of the file; kIOWriteError (and the file unchanged) when
    // any write failed or the data could not be flushed or renamed.
    ErrorCode Commit();

    bool IsOpen() const override { return mFile != nullptr; }
    bool IsReading() const override { return false; }
    StreamState GetStreamState() const override { return mState; }
    void SetStreamState(StreamState state) override { mState = state; }
    bool XferByte(uchar& b) override { return XferBytes(&b, 1) == 1; }
    int64 XferBytes(uchar* buffer, int64 count) override;
    ErrorCode Seek(int64, SeekFromWhere) override { return kFailure; }
    int64 Tell() const override { return mWritten; }

private:
    void Discard();

    std::FILE* mFile = nullptr;
    std::filesystem::path mTarget;
    std::filesystem::path mTemporary;
    int64 mWritten = 0;
    StreamState mState = kStreamStateGood;
};
