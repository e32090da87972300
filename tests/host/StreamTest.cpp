// Host streams: byte reads, putting a byte back by seeking, the ends of a file, and the stream
// forms of integers and strings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ErrorUtils.h"
#include "IPMStream.h"
#include "MemoryStreamRead.h"
#include "MemoryStreamWrite.h"
#include "PMString.h"
#include "TempFolder.h"

TEST(Stream, File_ReadSeekAcrossBuffers)
{
    TempFolder folder{"stream-test"};
    auto path = folder / "stream.bin";
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

TEST(Stream, Forms_BigEndianIntegersAndCountedStrings)
{
    MemoryStreamWrite out;
    int32 magic = 0x54517074, negative = -2;
    PMString text("A\u00e9\U0001F600");  // a surrogate pair is two units
    ASSERT_TRUE(out.XferInt32(magic) && out.XferInt32(negative) && out.XferString(text));
    const std::vector<uchar> expected = {0x54, 0x51, 0x70, 0x74, 0xFF, 0xFF, 0xFF, 0xFE, 0, 0, 0, 4,
                                         0x00, 0x41, 0x00, 0xE9, 0xD8, 0x3D, 0xDE, 0x00};
    EXPECT_EQ(out.GetBytes(), expected);

    MemoryStreamRead in(out.GetBytes().data(), out.GetBytes().size());
    int32 a = 0, b = 0;
    PMString back;
    ASSERT_TRUE(in.XferInt32(a) && in.XferInt32(b) && in.XferString(back));
    EXPECT_EQ(a, magic);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(back, text);
    EXPECT_FALSE(in.XferInt32(a));  // the end
    EXPECT_EQ(a, 0);
}

TEST(Stream, Forms_BadStringLengthsFailWithoutAllocating)
{
    // A length of two billion units over a stream of a few bytes, a negative length, a string cut
    // short: each fails, and the string stays empty.
    const uchar huge[] = {0x7F, 0xFF, 0xFF, 0xFF, 0, 'a', 0, 'b'};
    const uchar negative[] = {0xFF, 0xFF, 0xFF, 0xFF};
    const uchar shortOne[] = {0, 0, 0, 3, 0, 'a', 0, 'b'};
    for (auto [bytes, size] : {std::pair<const uchar*, size_t>{huge, sizeof huge}, {negative, sizeof negative},
                               {shortOne, sizeof shortOne}}) {
        MemoryStreamRead in(bytes, size);
        PMString text("left over");
        EXPECT_FALSE(in.XferString(text));
        EXPECT_TRUE(text.IsEmpty());
        EXPECT_NE(in.GetStreamState(), IPMStream::kStreamStateGood);
    }
    // Below the limit but beyond the bytes: read in blocks, so memory follows the bytes there.
    const uchar claims[] = {0x00, 0x0F, 0xFF, 0xFF, 0, 'a'};
    MemoryStreamRead in(claims, sizeof claims);
    PMString text;
    EXPECT_FALSE(in.XferString(text));
}
