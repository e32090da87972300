// AtomicFileWriter: a file is replaced whole or not at all, and the temporary file never stays.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// What is not a regular file is never replaced: a FIFO or a socket stays what it was (a device
// is not tried here: run as root, a fault would replace it for the whole machine).
TEST(AtomicFileWriter, Errors_NotARegularFile)
{
    TempFolder folder("atomic-special");
    std::filesystem::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(AtomicFileWriter::Write(IDFile(fifo), "x"), kInvalidParameterError);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    std::filesystem::path socket = folder / "socket";
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(AtomicFileWriter::Write(IDFile(socket), "x"), kInvalidParameterError);
    EXPECT_TRUE(std::filesystem::is_socket(socket));
    ::close(fd);
    EXPECT_EQ(folder.List(), (Strings{"fifo", "socket"}));
}

// A symbolic link is written through, as cp does: the link stays and its target gets the bytes;
// a link that leads nowhere is refused.
TEST(AtomicFileWriter, Write_ThroughSymbolicLink)
{
    TempFolder folder("atomic-symlink");
    std::filesystem::create_directory(folder / "real");
    Put(folder / "real" / "out.idml", "old");
    std::filesystem::permissions(folder / "real" / "out.idml", std::filesystem::perms(0640));
    std::filesystem::create_symlink("real/out.idml", folder / "link.idml");
    ASSERT_EQ(AtomicFileWriter::Write(IDFile(folder / "link.idml"), "new"), kSuccess);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.idml"));
    EXPECT_EQ(ReadFile((folder / "real" / "out.idml").string()), "new");
    // The replaced file keeps its permissions.
    EXPECT_EQ(std::filesystem::status(folder / "real" / "out.idml").permissions(), std::filesystem::perms(0640));
    std::filesystem::create_symlink("nowhere/out.idml", folder / "dangling.idml");
    EXPECT_EQ(AtomicFileWriter::Write(IDFile(folder / "dangling.idml"), "x"), kInvalidParameterError);
    EXPECT_EQ(folder.List(), (Strings{"dangling.idml", "link.idml", "real"}));
}

// Files written together appear together or not at all.
TEST(AtomicFileWriter, Set_AllOrNothing)
{
    TempFolder folder("atomic-set");
    Put(folder / "a.idml", "old a");
    {
        // The second file cannot be written: the first is not touched, no temporary stays.
        AtomicFileWriter writer;
        EXPECT_EQ(writer.Add(IDFile(folder / "a.idml"), "new a"), kSuccess);
        EXPECT_EQ(writer.Add(IDFile(folder / "missing" / "b.json"), "b"), kFileNotFoundError);
    }
    EXPECT_EQ(ReadFile((folder / "a.idml").string()), "old a");
    EXPECT_EQ(folder.List(), (Strings{"a.idml"}));
    {
        // A file that is not committed never appears.
        AtomicFileWriter writer;
        EXPECT_EQ(writer.Add(IDFile(folder / "c.txt"), "c"), kSuccess);
    }
    EXPECT_EQ(folder.List(), (Strings{"a.idml"}));

    AtomicFileWriter writer;
    ASSERT_EQ(writer.Add(IDFile(folder / "a.idml"), "new a"), kSuccess);
    ASSERT_EQ(writer.Add(IDFile(folder / "b.json"), "b"), kSuccess);
    ASSERT_EQ(writer.Commit(), kSuccess);
    EXPECT_EQ(ReadFile((folder / "a.idml").string()), "new a");
    EXPECT_EQ(ReadFile((folder / "b.json").string()), "b");
    EXPECT_EQ(folder.List(), (Strings{"a.idml", "b.json"}));
}

// The last rename fails (a folder took the name meanwhile): the files renamed before it get their
// old contents back, and a file that did not exist before is removed again.
TEST(AtomicFileWriter, Set_FailedRenameRestoresTheOthers)
{
    TempFolder folder("atomic-rollback");
    Put(folder / "a.idml", "old a");
    AtomicFileWriter writer;
    ASSERT_EQ(writer.Add(IDFile(folder / "a.idml"), "new a"), kSuccess);
    ASSERT_EQ(writer.Add(IDFile(folder / "b.json"), "b"), kSuccess);
    ASSERT_EQ(writer.Add(IDFile(folder / "c.txt"), "c"), kSuccess);
    std::filesystem::create_directory(folder / "c.txt");
    Put(folder / "c.txt" / "inside", "x");
    EXPECT_EQ(writer.Commit(), kIOWriteError);
    EXPECT_EQ(ReadFile((folder / "a.idml").string()), "old a");
    EXPECT_FALSE(std::filesystem::exists(folder / "b.json"));
    EXPECT_EQ(folder.List(), (Strings{"a.idml", "c.txt"}));
}
