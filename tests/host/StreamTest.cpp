// Host streams: byte reads, putting a byte back by seeking, and the ends of a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ErrorUtils.h"
#include "IPMStream.h"

TEST(Stream, File_ReadSeekAcrossBuffers)
{
    auto path = std::filesystem::temp_directory_path() / "tessel-stream-test.bin";
    std::string data(200000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));

    auto stream = StreamUtil::CreateFileStreamRead(IDFile(path));
    ASSERT_TRUE(stream);
    stream->Seek(0, IPMStream::kSeekFromEnd);
    EXPECT_EQ(stream->Tell(), 200000);
    stream->Seek(65535, IPMStream::kSeekFromStart);
    uchar b = 0;
    ASSERT_TRUE(stream->XferByte(b));
    EXPECT_EQ(b, static_cast<uchar>(65535 * 7));
    ASSERT_TRUE(stream->XferByte(b));  // first byte of the next buffer
    stream->Seek(-1, IPMStream::kSeekFromCurrent);
    ASSERT_TRUE(stream->XferByte(b));
    EXPECT_EQ(b, static_cast<uchar>(65536 * 7));
    stream->Seek(-3, IPMStream::kSeekFromEnd);
    uchar tail[8];
    EXPECT_EQ(stream->XferBytes(tail, 8), 3);
    EXPECT_FALSE(stream->XferByte(b));
    EXPECT_EQ(stream->GetStreamState(), IPMStream::kStreamStateEOF);
    std::filesystem::remove(path);
}

TEST(Stream, File_MissingAndFolder)
{
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    EXPECT_FALSE(StreamUtil::CreateFileStreamRead(IDFile(std::filesystem::path("/no/such/file.mif"))));
    EXPECT_EQ(ErrorUtils::PMGetGlobalErrorCode(), kFileNotFoundError);
    EXPECT_FALSE(StreamUtil::CreateFileStreamRead(IDFile(std::filesystem::temp_directory_path())));
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}

TEST(Stream, Memory_EmptyAndClampedSeeks)
{
    auto stream = StreamUtil::CreateMemoryStreamRead("", 0);
    uchar b = 1;
    EXPECT_FALSE(stream->XferByte(b));
    stream->Seek(-5, IPMStream::kSeekFromCurrent);
    EXPECT_EQ(stream->Tell(), 0);
    auto abc = StreamUtil::CreateMemoryStreamRead("abc", 3);
    abc->Seek(10, IPMStream::kSeekFromStart);
    EXPECT_EQ(abc->Tell(), 3);
}
