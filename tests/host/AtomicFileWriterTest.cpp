// AtomicFileWriter: a file is replaced whole or not at all, and the temporary file never stays.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "AtomicFileWriter.h"
#include "TestUtils.h"
#include "host/TestDocument.h"

namespace {

using Strings = std::vector<std::string>;

void Put(const std::filesystem::path& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

// Makes writes past `bytes` fail as on a full disk, for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mSaved);
        mSignal = std::signal(SIGXFSZ, SIG_IGN);  // a failed write instead of a killed process
        rlimit limit = mSaved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mSaved);
        std::signal(SIGXFSZ, mSignal);
    }

private:
    rlimit mSaved{};
    void (*mSignal)(int) = SIG_DFL;
};

} // namespace

TEST(AtomicFileWriter, Write_CreatesAndReplaces)
{
    TempFolder folder("atomic-write");
    IDFile out(folder / "report.json");
    ASSERT_EQ(AtomicFileWriter::Write(out, "first"), kSuccess);
    EXPECT_EQ(ReadFile(out.GetPath().string()), "first");
    ASSERT_EQ(AtomicFileWriter::Write(out, std::string("sec\0ond", 7)), kSuccess);
    EXPECT_EQ(ReadFile(out.GetPath().string()), std::string("sec\0ond", 7));
    EXPECT_EQ(folder.List(), (Strings{"report.json"}));
}

TEST(AtomicFileWriter, Write_RelativePath)
{
    TempFolder folder("atomic-relative");
    std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    ErrorCode result = AtomicFileWriter::Write(IDFile(std::filesystem::path("here.txt")), "text");
    std::filesystem::current_path(saved);
    EXPECT_EQ(result, kSuccess);
    EXPECT_EQ(folder.List(), (Strings{"here.txt"}));
}

TEST(AtomicFileWriter, Errors_BadTargets)
{
    TempFolder folder("atomic-targets");
    Put(folder / "file", "keep");
    EXPECT_EQ(AtomicFileWriter::Write(IDFile(), "x"), kInvalidParameterError);
    EXPECT_EQ(AtomicFileWriter::Write(IDFile(folder.Path()), "x"), kInvalidParameterError);
    EXPECT_EQ(AtomicFileWriter::Write(IDFile(folder / "no-folder" / "out"), "x"), kFileNotFoundError);
    EXPECT_EQ(AtomicFileWriter::Write(IDFile(folder / "file" / "out"), "x"), kFileNotFoundError);
    EXPECT_EQ(ReadFile((folder / "file").string()), "keep");
    EXPECT_EQ(folder.List(), (Strings{"file"}));
}

// The disk fills up half way: the old file stays whole and the partial new one is removed.
TEST(AtomicFileWriter, Errors_DiskFullKeepsOldFile)
{
    TempFolder folder("atomic-full");
    Put(folder / "out.idml", "the old package");
    ErrorCode result;
    {
        FileSizeLimit limit(4096);
        result = AtomicFileWriter::Write(IDFile(folder / "out.idml"), std::string(100000, 'x'));
    }
    EXPECT_EQ(result, kIOWriteError);
    EXPECT_EQ(ReadFile((folder / "out.idml").string()), "the old package");
    EXPECT_EQ(folder.List(), (Strings{"out.idml"}));
}

TEST(AtomicFileWriter, Errors_ReadOnlyFolder)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempFolder folder("atomic-readonly");
    Put(folder / "out.idml", "old");
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_EQ(AtomicFileWriter::Write(IDFile(folder / "out.idml"), "new"), kIOWriteError);
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadFile((folder / "out.idml").string()), "old");
    EXPECT_EQ(folder.List(), (Strings{"out.idml"}));
}
