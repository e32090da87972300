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
