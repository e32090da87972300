// tessel batch, run as a user runs it: which files of a tree it converts, what it reports of the
// entries it cannot convert and of the workers that crash or hang, and that it writes nothing but
// its outputs.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>

#include "TempFolder.h"
#include "TestUtils.h"

#include "app/TesselRun.h"

namespace {

namespace fs = std::filesystem;

const std::string kSample = TESSEL_SOURCE_DIR "/samples/sample.mif";
const std::string kData = TESSEL_TEST_DATA_DIR;

std::string Quote(const fs::path& path)
{
    std::string out = "'";
    for (char c : path.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

void Copy(const std::string& from, const fs::path& to)
{
    fs::create_directories(to.parent_path());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

// Every file below `folder` (links not followed), relative to it, sorted.
std::vector<std::string> Files(const fs::path& folder)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator entry(folder, fs::directory_options::skip_permission_denied, ec);
         !ec && entry != fs::recursive_directory_iterator(); entry.increment(ec))
        if (!entry->is_directory(ec) || entry->is_symlink(ec)) files.push_back(entry->path().lexically_relative(folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A folder for the files of one test, and settings of its own.
struct BatchFolder {
    explicit BatchFolder(const std::string& name) : folder("batch-" + name), config("batch-config-" + name) {}
    TesselRun Run(const std::string& args) { return Tessel(config.Path(), args, folder.Path()); }
    fs::path operator/(const std::string& name) const { return folder / name; }

    TempFolder folder;
    TempFolder config;
};

// Sets an environment variable for the length of a test.
struct ScopedEnv {
    ScopedEnv(const char* name, const std::string& value) : mName(name) { ::setenv(name, value.c_str(), 1); }
    ~ScopedEnv() { ::unsetenv(mName); }
    const char* mName;
};

} // namespace

TEST(BatchCommand, ConvertsMifFilesOfATreeAndReportsWhatItCannot)
{
    BatchFolder test("tree");
    fs::path tree = test / "tree";
    Copy(kSample, tree / "a.mif");
    Copy(kSample, tree / "sub" / "X.MIF");
    Copy(kSample, tree / "sub" / "with space.mif");
    Copy(kSample, tree / "sub" / "new\nline.mif");
    Copy(kSample, tree / "sub" / "bad-\xff-utf8.mif");
    Copy(kSample, tree / ".hidden" / "h.mif");
    Copy(kSample, tree / "a.mif.bak");
    Copy(kData + "/maker-binary.mif", tree / "binary.mif");
    ASSERT_EQ(::mkfifo((tree / "x.mif").c_str(), 0600), 0);
    fs::create_directory_symlink("..", tree / "sub" / "loop");

    TesselRun run = test.Run("batch tree -j 2 --report summary.json");
    EXPECT_EQ(run.status, 1) << run.err;
    std::vector<std::string> packages;
    for (const std::string& file : Files(tree))
        if (file.ends_with(".idml")) packages.push_back(file);
    EXPECT_EQ(packages, (std::vector<std::string>{"a.idml", "sub/X.idml", "sub/bad-\xff-utf8.idml", "sub/new\nline.idml",
                                                  "sub/with space.idml"}));
    std::string summary = ReadFile((test / "summary.json").string());
    EXPECT_TRUE(Has(summary, "\"converted\": 5")) << summary;
    EXPECT_TRUE(Has(summary, "Adobe FrameMaker FM document")) << summary;
    EXPECT_TRUE(Has(summary, "not a regular file (a FIFO, a device or a socket)")) << summary;
    EXPECT_TRUE(Has(summary, "a symbolic link loop")) << summary;
    EXPECT_TRUE(Has(summary, "sub/new\\nline.mif")) << summary;
    EXPECT_TRUE(Has(summary, "\"textCheckDiffers\": 0")) << summary;
    EXPECT_TRUE(Has(run.out, "5 converted, 1 failed, 2 skipped")) << run.out;
    // Nothing but the packages and the summary was written.
    for (const std::string& file : Files(test.folder.Path()))
        EXPECT_TRUE(file.ends_with(".mif") || file.ends_with(".MIF") || file.ends_with(".idml") || file.ends_with(".bak") ||
                    file == "summary.json" || file == "tree/x.mif" || file == "tree/sub/loop")
            << file;

    // A second run with --skip-up-to-date converts nothing again.
    TesselRun again = test.Run("batch tree --skip-up-to-date");
    EXPECT_TRUE(Has(again.out, "0 converted, 1 failed, 7 skipped")) << again.out;
    EXPECT_TRUE(Has(again.out, "tree/sub/new\\nline.mif")) << again.out;
}

TEST(BatchCommand, ReportsUnreadableFoldersAndGoesOn)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    BatchFolder test("unreadable");
    Copy(kSample, test / "tree" / "a.mif");
    Copy(kSample, test / "tree" / "closed" / "b.mif");
    fs::permissions(test / "tree" / "closed", fs::perms::none);
    TesselRun run = test.Run("batch tree");
    fs::permissions(test / "tree" / "closed", fs::perms::owner_all);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(fs::exists(test / "tree" / "a.idml"));
    EXPECT_TRUE(Has(run.out, "the folder cannot be read")) << run.out;
}

TEST(BatchCommand, ReportsWorkersThatCrashOrHangAndLeavesNoPartialOutput)
{
    BatchFolder test("workers");
    Copy(kSample, test / "tree" / "crash.mif");
    Copy(kSample, test / "tree" / "hang.mif");
    Copy(kSample, test / "tree" / "fine.mif");
    ScopedEnv crash("TESSEL_TEST_WORKER_ABORT", "crash.mif");
    ScopedEnv hang("TESSEL_TEST_WORKER_SLEEP", "hang.mif");
    TesselRun run = test.Run("batch tree -o out -j 3 --timeout 3 --report out/summary.json");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Files(test / "out"), (std::vector<std::string>{"fine.idml", "summary.json"}));
    std::string summary = ReadFile((test / "out" / "summary.json").string());
    EXPECT_TRUE(Has(summary, "\"status\": \"crashed\"")) << summary;
    EXPECT_TRUE(Has(summary, "\"status\": \"timed out\"")) << summary;
    EXPECT_TRUE(Has(run.out, "1 converted, 2 failed")) << run.out;
}

TEST(BatchCommand, StopsOnInterruptKeepingWhatIsFinished)
{
    BatchFolder test("interrupt");
    Copy(kSample, test / "tree" / "fine.mif");
    Copy(kSample, test / "tree" / "hang.mif");
    ScopedEnv hang("TESSEL_TEST_WORKER_SLEEP", "hang.mif");
    ScopedEnv config("TESSEL_CONFIG_DIR", test.config.Path().string());
    std::string tree = (test / "tree").string();
    std::vector<std::string> args = {TESSEL_APP_PATH, "batch", tree, "-j", "2"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    for (int wait = 0; wait < 600 && !fs::exists(test / "tree" / "fine.idml"); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    // The finished package stays; the stopped one left nothing behind.
    EXPECT_EQ(Files(test / "tree"), (std::vector<std::string>{"fine.idml", "fine.mif", "hang.mif"}));
}

TEST(BatchCommand, RefusesOutputsThatCollideAndNeverWalksItsOutputFolder)
{
    BatchFolder test("collide");
    Copy(kSample, test / "tree" / "a.mif");
    Copy(kSample, test / "tree" / "a.MIF");
    // A MIF file in the output folder is not an input.
    Copy(kSample, test / "tree" / "out" / "old.mif");
    TesselRun run = test.Run("batch tree -o tree/out");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.out, "writes the same package")) << run.out;
    EXPECT_TRUE(Has(run.out, "it is the output folder")) << run.out;
    EXPECT_EQ(Files(test / "tree" / "out"), (std::vector<std::string>{"a.idml", "old.mif"}));
}

TEST(BatchCommand, ListsCommandsThatGnuParallelRunsAndMergesTheirReports)
{
    BatchFolder test("list");
    Copy(kSample, test / "tree" / "a.mif");
    Copy(kSample, test / "tree" / "it's here" / "b.mif");
    TesselRun list = test.Run("batch tree -o out --list");
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(Has(list.out, "convert -o out/a.idml --report-json out/a.report.json -- tree/a.mif\n")) << list.out;
    EXPECT_TRUE(Has(list.out, "'out/it'\\''s here/b.idml'")) << list.out;
    TesselRun dry = test.Run("batch tree -o dry --dry-run");
    EXPECT_TRUE(Has(dry.out, "convert tree/a.mif -> dry/a.idml")) << dry.out;
    EXPECT_FALSE(fs::exists(test / "dry"));

    if (std::system("command -v parallel >/dev/null 2>&1") != 0) GTEST_SKIP() << "GNU parallel is not installed";
    // What the README says: the commands run by GNU parallel (here on this machine), then merged.
    std::string script = "cd " + Quote(test.folder.Path()) + " && TESSEL_CONFIG_DIR=" +
                         Quote(test.config.Path()) + " '" TESSEL_APP_PATH "' batch tree -o out --list | sed 's|^tessel |'" +
                         Quote(TESSEL_APP_PATH) + "' |' | parallel -j 2 >/dev/null 2>&1";
    EXPECT_EQ(std::system(script.c_str()), 0);
    TesselRun merged = test.Run("batch --merge-reports out --report summary.json");
    EXPECT_EQ(merged.status, 0) << merged.out << merged.err;
    EXPECT_TRUE(Has(merged.out, "2 converted, 0 failed, 0 skipped; 0 with a text check that differs")) << merged.out;
    EXPECT_TRUE(fs::exists(test / "out" / "it's here" / "b.idml"));
    // The packages are those the batch itself makes.
    ASSERT_EQ(test.Run("batch tree -o direct").status, 0);
    for (const char* package : {"a.idml", "it's here/b.idml"})
        EXPECT_EQ(ReadFile((test / "out" / package).string()), ReadFile((test / "direct" / package).string())) << package;
}

TEST(BatchCommand, RefusesWrongUsage)
{
    BatchFolder test("usage");
    EXPECT_EQ(test.Run("batch").status, 2);
    EXPECT_EQ(test.Run("batch . -j 0").status, 2);
    EXPECT_EQ(test.Run("batch . --merge-reports x").status, 2);
    EXPECT_EQ(test.Run("batch . -o ''").status, 2);
}
