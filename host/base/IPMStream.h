// IPMStream: a byte stream of the host, reading or writing.
//
// Readers take bytes one at a time (XferByte) or in blocks, and may seek anywhere within the
// stream, which is how a reader puts back a byte it has read. The same Xfer calls write on a
// writing stream, so that one ReadWrite operation serves both directions.
//
// Values have one stream form in every stream of the host (and in every file made of one):
// a 32-bit integer is four bytes, most significant first; a string is its length in UTF-16
// units as a 32-bit integer, then each unit as two bytes, most significant first.
#pragma once

#include <memory>
#include <vector>

#include "IDFile.h"
#include "PMTypes.h"

class PMString;

class IPMStream {
public:
    enum StreamState {
        kStreamStateGood,     // every transfer so far succeeded
        kStreamStateEOF,      // a read found no more bytes
        kStreamStateFailure,  // a transfer failed, or a reader found bytes it cannot use
    };
    enum SeekFromWhere { kSeekFromStart, kSeekFromCurrent, kSeekFromEnd };

    // The longest string, in UTF-16 units, that XferString reads; longer ones are bad data.
    static constexpr int32 kMaxStringLength = 1 << 20;

    virtual ~IPMStream() = default;

    // Whether the stream has its source or destination open.
    virtual bool IsOpen() const = 0;
    // Whether Xfer calls read (true) or write (false).
    virtual bool IsReading() const = 0;
    bool IsWriting() const { return !IsReading(); }
    // kStreamStateEOF once a read has found no more bytes; a seek resets it.
    virtual StreamState GetStreamState() const = 0;
    // Readers that meet bytes they cannot make sense of set kStreamStateFailure, so that whoever
    // handed them the stream learns that it was not read whole.
    virtual void SetStreamState(StreamState state) = 0;
    // Reads one byte into `b` (false at the end of the stream, `b` is then 0), or writes `b`
    // (false when it cannot be written).
    virtual bool XferByte(uchar& b) = 0;
    // Reads up to `count` bytes into `buffer`, or writes `count` bytes from it; returns how many
    // were transferred.
    virtual int64 XferBytes(uchar* buffer, int64 count) = 0;
    // Moves the read position; positions are clamped to 0 .. size. kFailure on a closed stream
    // and on writing streams, which only append.
    virtual ErrorCode Seek(int64 offset, SeekFromWhere from) = 0;
    // The current position, in bytes from the start (bytes written, for a writing stream).
    virtual int64 Tell() const = 0;

    // Transfers a 32-bit integer in its stream form; false when the stream ended or failed
    // (a read value is then 0).
    bool XferInt32(int32& value);
    // Transfers a string in its stream form; false when the stream ended or failed, or when a
    // read length is negative or above kMaxStringLength (the stream is then marked failed). A
    // failed read leaves `text` empty. Memory grows with the bytes actually read, never with the
    // length the stream claims.
    bool XferString(PMString& text);
};

namespace StreamUtil {
// Opens `file` for reading; null when it cannot be opened (the global error code says why).
std::unique_ptr<IPMStream> CreateFileStreamRead(const IDFile& file);
// A stream over a copy of `size` bytes.
std::unique_ptr<IPMStream> CreateMemoryStreamRead(const void* data, size_t size);
// Reads the whole of `file` into `bytes`; kFailure when it holds more than `maxSize` bytes,
// kFileNotFoundError or kIOReadError when it cannot be read.
ErrorCode ReadFileBytes(const IDFile& file, int64 maxSize, std::vector<uchar>& bytes);
}
