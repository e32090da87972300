#include "FileStreamRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ErrorUtils.h"

namespace {
constexpr size_t kBufferSize = 1 << 16;
}

FileStreamRead::~FileStreamRead() { Close(); }

ErrorCode FileStreamRead::Open(const IDFile& file)
{
    Close();
    if (file.IsDirectory()) return kIOReadError;
    // Opened without waiting, and read only when it is a regular file: opening a FIFO with no
    // writer would block for ever, and a device never ends.
    int fd = ::open(file.GetPath().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? kFileNotFoundError : kIOReadError;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return kInvalidParameterError;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    mFile = ::fdopen(fd, "rb");
    if (!mFile) {
        ::close(fd);
        return kIOReadError;
    }
    if (std::fseek(mFile, 0, SEEK_END) != 0 || (mSize = std::ftell(mFile)) < 0 || std::fseek(mFile, 0, SEEK_SET) != 0) {
        Close();
        return kIOReadError;
    }
    mBuffer.reserve(kBufferSize);
    mState = kStreamStateGood;
    return kSuccess;
}

void FileStreamRead::Close()
{
    if (mFile) std::fclose(mFile);
    mFile = nullptr;
    mBuffer.clear();
    mNext = 0;
    mBufferStart = 0;
    mSize = 0;
}

bool FileStreamRead::Refill()
{
    if (!mFile) {
        mState = kStreamStateFailure;
        return false;
    }
    mBufferStart += static_cast<int64>(mBuffer.size());
    mBuffer.resize(kBufferSize);
    size_t got = std::fread(mBuffer.data(), 1, kBufferSize, mFile);
    mBuffer.resize(got);
    mNext = 0;
    if (got == 0) {
        mState = std::ferror(mFile) ? kStreamStateFailure : kStreamStateEOF;
        return false;
    }
    return true;
}

int64 FileStreamRead::XferBytes(uchar* buffer, int64 count)
{
    int64 done = 0;
    while (done < count) {
        if (mNext >= mBuffer.size() && !Refill()) break;
        size_t n = std::min(mBuffer.size() - mNext, static_cast<size_t>(count - done));
        std::memcpy(buffer + done, mBuffer.data() + mNext, n);
        mNext += n;
        done += static_cast<int64>(n);
    }
    return done;
}

ErrorCode FileStreamRead::Seek(int64 offset, SeekFromWhere from)
{
    if (!mFile) return kFailure;
    int64 target = from == kSeekFromStart ? offset : from == kSeekFromCurrent ? Tell() + offset : mSize + offset;
    target = std::clamp<int64>(target, 0, mSize);
    mState = kStreamStateGood;
    // Within the buffer (the common case: a reader putting back one byte) no file access is needed.
    if (target >= mBufferStart && target <= mBufferStart + static_cast<int64>(mBuffer.size())) {
        mNext = static_cast<size_t>(target - mBufferStart);
        return kSuccess;
    }
    if (std::fseek(mFile, static_cast<long>(target), SEEK_SET) != 0) return kIOReadError;
    mBuffer.clear();
    mNext = 0;
    mBufferStart = target;
    return kSuccess;
}
