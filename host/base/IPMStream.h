// IPMStream: a byte stream of the host. Readers take bytes one at a time (XferByte) or in blocks,
// and may seek anywhere within the stream, which is how a reader puts back a byte it has read.
#pragma once

#include <memory>

#include "IDFile.h"
#include "PMTypes.h"

class IPMStream {
public:
    enum StreamState { kStreamStateGood, kStreamStateEOF, kStreamStateFailure };
    enum SeekFromWhere { kSeekFromStart, kSeekFromCurrent, kSeekFromEnd };

    virtual ~IPMStream() = default;

    // Whether the stream has its source open.
    virtual bool IsOpen() const = 0;
    // kStreamStateEOF once a read has found no more bytes; a seek resets it.
    virtual StreamState GetStreamState() const = 0;
    // Reads one byte into `b`; false at the end of the stream (then `b` is 0).
    virtual bool XferByte(uchar& b) = 0;
    // Reads up to `count` bytes into `buffer`; returns how many were read.
    virtual int64 XferBytes(uchar* buffer, int64 count) = 0;
    // Moves the read position; positions are clamped to 0 .. size. kFailure on a closed stream.
    virtual ErrorCode Seek(int64 offset, SeekFromWhere from) = 0;
    // The current read position, in bytes from the start.
    virtual int64 Tell() const = 0;
};

namespace StreamUtil {
// Opens `file` for reading; null when it cannot be opened (the global error code says why).
std::unique_ptr<IPMStream> CreateFileStreamRead(const IDFile& file);
// A stream over a copy of `size` bytes.
std::unique_ptr<IPMStream> CreateMemoryStreamRead(const void* data, size_t size);
}
