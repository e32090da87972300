#include "FileStreamWrite.h"

#include <stdlib.h>
#include <unistd.h>

#include <string>

FileStreamWrite::~FileStreamWrite() { Discard(); }

ErrorCode FileStreamWrite::Open(const IDFile& file)
{
    Discard();
    mTarget = file.GetPath();
    std::string pattern = mTarget.string() + ".XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) return kIOWriteError;
    mTemporary = pattern;
    mFile = fdopen(fd, "wb");
    if (!mFile) {
        close(fd);
        Discard();
        return kIOWriteError;
    }
    mWritten = 0;
    mState = kStreamStateGood;
    return kSuccess;
}

int64 FileStreamWrite::XferBytes(uchar* buffer, int64 count)
{
    if (!mFile || count <= 0) return 0;
    size_t done = std::fwrite(buffer, 1, static_cast<size_t>(count), mFile);
    mWritten += static_cast<int64>(done);
    if (done != static_cast<size_t>(count)) mState = kStreamStateFailure;
    return static_cast<int64>(done);
}

ErrorCode FileStreamWrite::Commit()
{
    if (!mFile) return kIOWriteError;
    bool ok = mState == kStreamStateGood && std::fflush(mFile) == 0 && fsync(fileno(mFile)) == 0;
    ok = std::fclose(mFile) == 0 && ok;
    mFile = nullptr;
    std::error_code ec;
    if (ok) std::filesystem::rename(mTemporary, mTarget, ec);
    if (!ok || ec) {
        Discard();
        return kIOWriteError;
    }
    mTemporary.clear();
    return kSuccess;
}

void FileStreamWrite::Discard()
{
    if (mFile) std::fclose(mFile);
    mFile = nullptr;
    if (!mTemporary.empty()) {
        std::error_code ec;
        std::filesystem::remove(mTemporary, ec);
        mTemporary.clear();
    }
}
