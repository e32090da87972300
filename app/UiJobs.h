// UiJobs: the conversions the page of tessel ui asks for. Each file is converted by a tessel
// convert worker process of its own (as tessel batch converts), so a file that crashes the
// conversion costs that file only and the server goes on. Jobs run one after another, in the
// order they were asked for (a second conversion waits in the queue); a folder's files are
// converted as many at a time as the machine has cores. Each job's progress (the host's
// progress texts, which the worker prints as lines), its warnings, pages and package are
// published as the "jobs" part of the page's state.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "FileReport.h"
#include "JsonValue.h"
#include "UiState.h"

class UiJobs {
public:
    // A group of the warnings text: its heading (a line ending with ':') and its lines.
    struct WarningGroup {
        std::string heading;
        std::vector<std::string> lines;
    };

    // A conversion that runs longer is stopped and reported (as tessel batch's --timeout does).
    static constexpr std::chrono::seconds kTimeout{600};

    // Jobs whose files and packages live in `scratch` (made and emptied by the caller); the
    // workers run `program` (tessel) and convert `parallel` files at a time.
    UiJobs(UiState& state, std::filesystem::path scratch, std::string program, unsigned parallel);
    ~UiJobs();
    UiJobs(const UiJobs&) = delete;
    UiJobs& operator=(const UiJobs&) = delete;

    // Queues the conversion of a MIF file, or of every MIF file below a folder; `name` is what
    // the page calls it. The job's id.
    int64_t Convert(const std::filesystem::path& input, const std::string& name);
    // A folder of the scratch area for an uploaded file (made here).
    std::filesystem::path NewUploadFolder();

    // The package of job `job` (of its file `file` for a folder); none when there is none yet.
    std::optional<std::filesystem::path> GetPackage(int64_t job, int64_t file = -1) const;
    // The image of page `page` (from 1) of job `job`.
    std::optional<std::filesystem::path> GetPage(int64_t job, int64_t page) const;

    // Stops the workers and the runner; jobs not done end as failed.
    void Stop();

    // The warnings text of a conversion (its report) in groups.
    static std::vector<WarningGroup> GroupWarnings(const std::string& text);
    // Reads a line a worker printed with --progress ("tessel-progress\tFRACTION\tTITLE\tTASK").
    static bool ParseProgress(const std::string& line, double& fraction, std::string& title, std::string& task);

private:
    struct File {
        std::filesystem::path input, package;
        FileReport report;
    };
    struct Job {
        int64_t id = 0;
        bool batch = false;
        std::string name;
        std::filesystem::path input, folder;   // folder: its files in the scratch area
        std::string state = "queued";
        std::string title, task, message;
        double fraction = 0;
        // A single file: its report, warnings and pages once converted.
        std::optional<FileReport> report;
        std::vector<WarningGroup> warnings;
        int32_t pages = 0;
        // A folder: its files, the rows of those finished.
        int64_t total = 0;
        std::vector<File> files;
        std::vector<size_t> finished;
    };
    // A worker converting one file of the running job.
    struct Worker {
        pid_t pid = -1;
        int errorPipe = -1;
        std::string pending;   // a partial line of its standard error
        size_t file = 0;       // of Job::files; 0 for a single file
        std::filesystem::path reportJson, reportText;
        std::chrono::steady_clock::time_point started;
        bool timedOut = false;
    };

    void Run();
    void RunJob(Job& job);
    bool StartWorker(const Job& job, const std::filesystem::path& input, const std::filesystem::path& package,
                     size_t file, Worker& worker);
    // Reads what `worker` printed; false once its standard error is closed.
    bool ReadWorker(Job& job, Worker& worker);
    // Handles one line a worker printed.
    void WorkerLine(Job& job, const std::string& line);
    FileReport FinishWorker(Job& job, Worker& worker, int status);
    Job* Find(int64_t id);
    const Job* Find(int64_t id) const;
    // Publishes the jobs, at most a few times a second unless `now` (a job began or ended), so
    // that a folder of many files costs time linear in its files; call with mMutex held.
    void PublishLocked(bool now = true);
    JsonValue Describe(const Job& job) const;

    UiState& mState;
    std::filesystem::path mScratch;
    std::string mProgram;
    unsigned mParallel;
    mutable std::mutex mMutex;
    std::condition_variable mQueued;
    std::deque<Job> mJobs;
    std::deque<int64_t> mQueue;
    int64_t mNextID = 1;
    int64_t mNextUpload = 1;
    bool mStopping = false;
    bool mUnpublished = false;
    std::chrono::steady_clock::time_point mPublished{};
    std::thread mRunner;
};
