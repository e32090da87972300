#include "ErrorUtils.h"
#include "FileStreamRead.h"
#include "IPMStream.h"
#include "MemoryStreamRead.h"

std::unique_ptr<IPMStream> StreamUtil::CreateFileStreamRead(const IDFile& file)
{
    auto stream = std::make_unique<FileStreamRead>();
    ErrorCode status = stream->Open(file);
    if (status != kSuccess) {
        ErrorUtils::PMSetGlobalErrorCode(status);
        return nullptr;
    }
    return stream;
}

std::unique_ptr<IPMStream> StreamUtil::CreateMemoryStreamRead(const void* data, size_t size)
{
    return std::make_unique<MemoryStreamRead>(data, size);
}

ErrorCode StreamUtil::ReadFileBytes(const IDFile& file, int64 maxSize, std::vector<uchar>& bytes)
{
    bytes.clear();
    FileStreamRead stream;
    ErrorCode status = stream.Open(file);
    if (status != kSuccess) return status;
    stream.Seek(0, IPMStream::kSeekFromEnd);
    int64 size = stream.Tell();
    if (size > maxSize) return kFailure;
    stream.Seek(0, IPMStream::kSeekFromStart);
    bytes.resize(static_cast<size_t>(size));
    if (stream.XferBytes(bytes.data(), size) != size) {
        bytes.clear();
        return kIOReadError;
    }
    return kSuccess;
}
