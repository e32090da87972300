#include "BatchCommand.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "AppCommandLine.h"
#include "AppSession.h"
#include "BatchWalk.h"
#include "FileReport.h"
#include "WorkerProcess.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const char* kNotes =
    "Each file is converted by a tessel convert of its own, so that a file that crashes, hangs\n"
    "(--timeout) or runs out of memory is reported and the others go on. Files are those whose\n"
    "extension is .mif in any case; names starting with \".\" are passed over.\n"
    "--list prints the tessel convert command of each file instead, for GNU parallel or a job\n"
    "array; --merge-reports DIR joins their --report-json files into one summary.\n"
    "Exit status: 0 when every file was converted, 1 when one was not, 2 on wrong usage.";

struct Options {
    std::vector<std::string> inputs;
    std::string outFolder, report, preset, mergeFolder;
    int jobs = 0;
    double timeout = 600;
    long memoryMegabytes = 4096;
    bool pdf = false, png = false, skipUpToDate = false, dryRun = false, list = false;
};

volatile std::sig_atomic_t gStop = 0;

void OnStopSignal(int) { gStop = 1; }
void OnChildSignal(int) {}

// The batch waits for its workers by blocking SIGCHLD and waiting for it (sigtimedwait), so a
// worker that ends is seen at once rather than at the next poll: with small files a poll's delay
// would cost as much as a conversion. Workers start with the mask the batch had.
sigset_t gChildSignal;
sigset_t gMaskBefore;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// `word` quoted for a POSIX shell.
std::string ShellQuote(const std::string& word)
{
    if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./=:,+@%") ==
                             std::string::npos)
        return word;
    std::string out = "'";
    for (char c : word) out += c == '\'' ? "'\\''" : std::string(1, c);
    return out + "'";
}

fs::path PdfOf(const fs::path& package) { return fs::path(package).replace_extension(".pdf"); }
fs::path PagesOf(const fs::path& package)
{
    fs::path folder = package;
    folder.replace_extension();
    return folder.string() + "-pages";
}

// The arguments of the tessel convert that converts `job`.
std::vector<std::string> ConvertArguments(const Options& options, const BatchWalk::Job& job, const std::string& reportJson)
{
    std::vector<std::string> args = {"convert", "-o", job.output.string()};
    if (!reportJson.empty()) args.insert(args.end(), {"--report-json", reportJson});
    if (!options.preset.empty()) args.insert(args.end(), {"--preset", options.preset});
    if (options.pdf) args.insert(args.end(), {"--pdf", PdfOf(job.output).string()});
    if (options.png) args.insert(args.end(), {"--png", PagesOf(job.output).string()});
    args.insert(args.end(), {"--", job.input.string()});
    return args;
}

// Whether the package of `job` is newer than its MIF file.
bool UpToDate(const BatchWalk::Job& job)
{
    struct stat in, out;
    if (::stat(job.input.c_str(), &in) != 0 || ::stat(job.output.c_str(), &out) != 0) return false;
    return out.st_mtim.tv_sec > in.st_mtim.tv_sec ||
           (out.st_mtim.tv_sec == in.st_mtim.tv_sec && out.st_mtim.tv_nsec > in.st_mtim.tv_nsec);
}

// The last line a worker wrote on standard error, as the reason it failed.
std::string LastLine(const std::string& text)
{
    size_t end = text.find_last_not_of("\n");
    if (end == std::string::npos) return "";
    size_t start = text.rfind('\n', end);
    std::string line = text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
    if (line.starts_with("tessel convert: ")) line.erase(0, 16);
    return line;
}

// Removes the temporary files a killed worker may have left beside its outputs.
void RemoveLeftovers(const BatchWalk::Job& job, const Options& options)
{
    std::vector<fs::path> outputs = {job.output};
    if (options.pdf) outputs.push_back(PdfOf(job.output));
    std::error_code ec;
    for (const fs::path& output : outputs) {
        std::string prefix = "." + output.filename().string() + ".";
        fs::path folder = output.parent_path().empty() ? fs::path(".") : output.parent_path();
        for (fs::directory_iterator entry(folder, ec); !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
            std::string name = entry->path().filename().string();
            if (name.starts_with(prefix) && (name.ends_with(".tmp") || name.ends_with(".old"))) fs::remove(entry->path(), ec);
        }
    }
    if (options.png) {
        fs::path pages = PagesOf(job.output);
        for (fs::directory_iterator entry(pages, ec); !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
            std::string name = entry->path().filename().string();
            if (name.starts_with(".") && name.ends_with(".tmp")) fs::remove(entry->path(), ec);
        }
        fs::remove(pages, ec);   // only when empty
    }
}

// The report of a file that no worker converted.
FileReport NotConverted(const BatchWalk::Job& job, const char* status, const std::string& reason)
{
    FileReport report;
    report.input = job.input.string();
    report.output = job.output.string();
    report.status = status;
    report.reason = reason;
    return report;
}

// One worker at work.
struct Worker {
    size_t job;
    pid_t pid;
    Clock::time_point started;
    fs::path log, reportJson;
    bool timedOut = false;
};

// Shows the progress: a bar redrawn in place on a terminal, a line per file elsewhere.
class BatchProgress {
public:
    BatchProgress(size_t total) : mTotal(total), mTerminal(::isatty(STDERR_FILENO)), mStarted(Clock::now()) {}

    void Done(const FileReport& report)
    {
        ++mDone;
        if (report.status != "converted" && report.status != "skipped") ++mFailed;
        if (!mTerminal) {
            std::fprintf(stderr, "tessel batch: [%zu/%zu] %s %s%s%s\n", mDone, mTotal, report.status.c_str(), report.input.c_str(),
                         report.reason.empty() ? "" : ": ", report.reason.c_str());
            return;
        }
        if (report.status != "converted" && report.status != "skipped")
            std::fprintf(stderr, "\r\033[K%s %s: %s\n", report.status.c_str(), report.input.c_str(), report.reason.c_str());
        Draw();
    }
    void Draw()
    {
        if (!mTerminal) return;
        double elapsed = std::chrono::duration<double>(Clock::now() - mStarted).count();
        double left = mDone ? elapsed / static_cast<double>(mDone) * static_cast<double>(mTotal - mDone) : 0;
        constexpr int kWidth = 30;
        int filled = mTotal ? static_cast<int>(kWidth * mDone / mTotal) : kWidth;
        std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '-');
        std::fprintf(stderr, "\r\033[K[%s] %zu/%zu files, %zu failed, %s elapsed, %s left", bar.c_str(), mDone, mTotal, mFailed,
                     Time(elapsed).c_str(), mDone ? Time(left).c_str() : "?");
        std::fflush(stderr);
    }
    void Finish()
    {
        if (mTerminal) std::fputs("\n", stderr);
    }

private:
    static std::string Time(double seconds)
    {
        long s = static_cast<long>(seconds + 0.5);
        char text[32];
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
        return text;
    }

    size_t mTotal, mDone = 0, mFailed = 0;
    bool mTerminal;
    Clock::time_point mStarted;
};

// Starts the worker of `job`; its output goes to `worker.log`. False when it could not start.
bool Start(const Options& options, const std::string& program, const BatchWalk::Job& job, Worker& worker)
{
    int log = ::open(worker.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (log < 0) return false;
    // A file that eats memory fails alone (the sanitizers reserve far more address space than
    // they use, so they go without).
    long memory = kAddressSanitizer ? 0 : options.memoryMegabytes;
    pid_t pid = WorkerProcess::Start(program, ConvertArguments(options, job, worker.reportJson.string()), log, log, gMaskBefore, memory);
    ::close(log);
    if (pid < 0) return false;
    worker.pid = pid;
    worker.started = Clock::now();
    return true;
}

// What became of the worker that ended with `status`.
FileReport Finish(const Worker& worker, const BatchWalk::Job& job, int status)
{
    FileReport report;
    std::string json = ReadTextFile(worker.reportJson);
    bool haveJson = !json.empty() && FileReport::FromJson(json, report);
    report.input = job.input.string();
    report.output = job.output.string();
    report.seconds = std::chrono::duration<double>(Clock::now() - worker.started).count();
    if (worker.timedOut) {
        report.status = "timed out";
        report.reason = "stopped after " + std::to_string(static_cast<long>(report.seconds)) + " s (--timeout)";
    } else if (WIFSIGNALED(status)) {
        report.status = "crashed";
        int signal = WTERMSIG(status);
        report.reason = std::string("the conversion ended with signal ") + std::to_string(signal) + " (" + strsignal(signal) + ")";
        if (signal == SIGKILL) report.reason += ", perhaps out of memory";
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && haveJson) {
        report.status = "converted";
        report.reason.clear();
    } else {
        report.status = "failed";
        std::string line = LastLine(ReadTextFile(worker.log));
        report.reason = !line.empty() ? line : "tessel convert exited with status " + std::to_string(WEXITSTATUS(status));
        // A worker that could not allocate says so through the sanitizer or std::bad_alloc.
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) report.reason = "the conversion wrote no report";
    }
    if (report.status == "converted" && report.FidelityDiffers())
        report.reason = "text check: " + std::to_string(report.importedCharacters) + " characters imported, " +
                        std::to_string(report.documentCharacters) + " in the document";
    return report;
}

// Converts `jobs`, `options.jobs` at a time; the report of each, in the order of `jobs`.
std::vector<FileReport> RunWorkers(const Options& options, const std::vector<BatchWalk::Job>& jobs, const fs::path& scratch,
                                   BatchProgress& progress)
{
    std::vector<FileReport> reports(jobs.size());
    std::vector<Worker> running;
    std::string program = AppSession::GetProgram();
    size_t next = 0;
    auto timeout = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.timeout));
    while ((next < jobs.size() && !gStop) || !running.empty()) {
        while (!gStop && next < jobs.size() && running.size() < static_cast<size_t>(options.jobs)) {
            const BatchWalk::Job& job = jobs[next];
            if (options.skipUpToDate && UpToDate(job)) {
                reports[next] = NotConverted(job, "skipped", "the package is newer than the MIF file");
                progress.Done(reports[next++]);
                continue;
            }
            Worker worker{next, 0, {}, scratch / (std::to_string(next) + ".log"), scratch / (std::to_string(next) + ".json")};
            if (!Start(options, program, job, worker)) {
                reports[next] = NotConverted(job, "failed", std::string("the worker could not be started: ") + std::strerror(errno));
                progress.Done(reports[next++]);
                continue;
            }
            running.push_back(worker);
            ++next;
        }
        if (gStop) {
            for (Worker& worker : running) ::kill(-worker.pid, SIGKILL);
        }
        bool reaped = false;
        for (size_t i = 0; i < running.size();) {
            Worker& worker = running[i];
            int status = 0;
            pid_t ended = ::waitpid(worker.pid, &status, WNOHANG);
            if (ended == 0) {
                if (Clock::now() - worker.started > timeout && !worker.timedOut) {
                    worker.timedOut = true;
                    ::kill(-worker.pid, SIGKILL);
                }
                ++i;
                continue;
            }
            reaped = true;
            const BatchWalk::Job& job = jobs[worker.job];
            FileReport report = Finish(worker, job, status);
            if (report.status != "converted" && report.status != "failed") RemoveLeftovers(job, options);
            if (gStop && report.status == "crashed") {
                report.status = "failed";
                report.reason = "stopped (the batch was interrupted)";
            }
            reports[worker.job] = report;
            progress.Done(report);
            running.erase(running.begin() + static_cast<long>(i));
        }
        if (!reaped) {
            progress.Draw();
            // Until a worker ends (a SIGCHLD blocked since, or arriving now), Ctrl-C, or 0.1 s
            // for the progress bar and the time limits.
            struct timespec wait = {0, 100 * 1000 * 1000};
            ::sigtimedwait(&gChildSignal, nullptr, &wait);
        }
    }
    for (size_t i = next; i < jobs.size(); ++i)
        reports[i] = NotConverted(jobs[i], "skipped", "the batch was interrupted");
    return reports;
}

// `name` with its line breaks as \n, so that a file name keeps to its line of the table.
std::string OneLine(std::string name)
{
    for (size_t at = 0; (at = name.find('\n', at)) != std::string::npos; at += 2) name.replace(at, 1, "\\n");
    return name;
}

// Writes the summary: the JSON to `path` (when given), a table on standard output. The exit status.
int Summarize(const std::vector<FileReport>& reports, const std::vector<BatchWalk::Problem>& problems,
              const std::string& path)
{
    std::vector<FileReport> all = reports;
    for (const BatchWalk::Problem& problem : problems) {
        FileReport report;
        report.input = problem.path.string();
        report.status = "skipped";
        report.reason = problem.reason;
        all.push_back(report);
    }
    size_t converted = 0, failed = 0, skipped = 0, differing = 0;
    for (const FileReport& report : all) {
        if (report.status == "converted") ++converted;
        else if (report.status == "skipped") ++skipped;
        else ++failed;
        if (report.status == "converted" && report.FidelityDiffers()) ++differing;
    }
    std::printf("%-10s %7s %6s %6s %8s %6s %6s  %s\n", "status", "seconds", "pages", "added", "overset", "fonts", "warns", "file");
    for (const FileReport& report : all) {
        // A file that made no document has no pages to count: "-" rather than a number.
        auto count = [](int value) { return value < 0 ? std::string("-") : std::to_string(value); };
        std::printf("%-10s %7.1f %6s %6s %8zu %6zu %6d  %s%s\n", report.status.c_str(), report.seconds,
                    count(report.pages).c_str(), count(report.pagesAdded).c_str(), report.oversetStories.size(),
                    report.missingFonts.size(), report.warnings, OneLine(report.input).c_str(),
                    report.FidelityDiffers() ? "  TEXT CHECK DIFFERS" : "");
        if (!report.reason.empty()) std::printf("%10s %s\n", "", report.reason.c_str());
    }
    std::printf("%zu converted, %zu failed, %zu skipped; %zu with a text check that differs\n", converted, failed, skipped,
                differing);
    if (!path.empty()) {
        std::string json = "{\n\"converted\": " + std::to_string(converted) + ",\n\"failed\": " + std::to_string(failed) +
                           ",\n\"skipped\": " + std::to_string(skipped) + ",\n\"textCheckDiffers\": " + std::to_string(differing) +
                           ",\n\"files\": [\n";
        for (size_t i = 0; i < all.size(); ++i) json += (i ? ",\n" : "") + all[i].ToJson();
        json += "]\n}\n";
        fs::path temporary = path + ".tmp";
        std::ofstream out(temporary, std::ios::binary);
        out << json;
        out.close();
        std::error_code ec;
        if (!out || (fs::rename(temporary, path, ec), ec)) {
            fs::remove(temporary, ec);
            std::fprintf(stderr, "tessel batch: cannot write the summary %s\n", path.c_str());
            return 1;
        }
    }
    // A problem found by the walk (a loop, an unreadable folder, a FIFO) is a file not converted.
    bool walkProblems = !problems.empty();
    return failed == 0 && !walkProblems && differing == 0 ? 0 : 1;
}

// tessel batch --merge-reports DIR: the summary of the --report-json files under `folder`.
int MergeReports(const Options& options)
{
    std::vector<FileReport> reports;
    std::vector<BatchWalk::Problem> problems;
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator entry(options.mergeFolder, ec); !ec && entry != fs::recursive_directory_iterator();
         entry.increment(ec))
        if (entry->is_regular_file(ec) && entry->path().extension() == ".json" &&
            (options.report.empty() || !fs::equivalent(entry->path(), options.report, ec)))
            files.push_back(entry->path());
    if (ec) {
        std::fprintf(stderr, "tessel batch: cannot read %s: %s\n", options.mergeFolder.c_str(), ec.message().c_str());
        return 1;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        FileReport report;
        if (FileReport::FromJson(ReadTextFile(file), report))
            reports.push_back(report);
        else
            problems.push_back({file, "not a report of tessel convert --report-json"});
    }
    return Summarize(reports, problems, options.report);
}

int RunBatchCommand(Options options)
{
    if (!options.mergeFolder.empty()) return MergeReports(options);
    BatchWalk walk(options.outFolder);
    for (const std::string& input : options.inputs) walk.Add(input);
    walk.DropCollisions();
    const std::vector<BatchWalk::Job>& jobs = walk.GetJobs();
    std::error_code ec;
    if (options.list) {
        // The folders of -o are made now, so that the commands can run anywhere that sees them.
        for (const BatchWalk::Job& job : jobs)
            if (!job.output.parent_path().empty()) fs::create_directories(job.output.parent_path(), ec);
        for (const BatchWalk::Job& job : jobs) {
            std::vector<std::string> args = ConvertArguments(options, job, fs::path(job.output).replace_extension(".report.json").string());
            std::string line = "tessel";
            for (const std::string& arg : args) line += " " + ShellQuote(arg);
            std::printf("%s\n", line.c_str());
        }
        for (const BatchWalk::Problem& problem : walk.GetProblems())
            std::fprintf(stderr, "tessel batch: %s: %s\n", problem.path.c_str(), problem.reason.c_str());
        return walk.GetProblems().empty() ? 0 : 1;
    }
    if (options.dryRun) {
        for (const BatchWalk::Job& job : jobs) {
            bool skip = options.skipUpToDate && UpToDate(job);
            std::printf("%s %s -> %s\n", skip ? "skip (up to date)" : "convert", job.input.c_str(), job.output.c_str());
        }
        for (const BatchWalk::Problem& problem : walk.GetProblems())
            std::printf("%s %s\n", problem.reason.c_str(), problem.path.c_str());
        return 0;
    }
    // The folders of -o are made as the tree needs them.
    for (const BatchWalk::Job& job : jobs)
        if (!job.output.parent_path().empty()) fs::create_directories(job.output.parent_path(), ec);
    char scratchName[] = "/tmp/tessel-batch-XXXXXX";
    if (!::mkdtemp(scratchName)) {
        std::fprintf(stderr, "tessel batch: cannot make a temporary folder: %s\n", std::strerror(errno));
        return 1;
    }
    struct sigaction stop = {};
    stop.sa_handler = OnStopSignal;
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    struct sigaction child = {};
    child.sa_handler = OnChildSignal;
    sigaction(SIGCHLD, &child, nullptr);
    sigemptyset(&gChildSignal);
    sigaddset(&gChildSignal, SIGCHLD);
    ::sigprocmask(SIG_BLOCK, &gChildSignal, &gMaskBefore);
    BatchProgress progress(jobs.size());
    std::vector<FileReport> reports = RunWorkers(options, jobs, scratchName, progress);
    ::sigprocmask(SIG_SETMASK, &gMaskBefore, nullptr);
    progress.Finish();
    fs::remove_all(scratchName, ec);
    int status = Summarize(reports, walk.GetProblems(), options.report);
    if (gStop) {
        std::fprintf(stderr, "tessel batch: interrupted; the packages finished are in place\n");
        return 1;
    }
    return status;
}

} // namespace

void AddBatchCommand(AppCommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App& command = commandLine.AddCommand("batch", "Convert every MIF file of folders, several at a time",
                                               [options] { return RunBatchCommand(*options); });
    command.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command.add_option("DIR|FILE", options->inputs, "Folders (walked) and MIF files to convert")->type_name("");
    command.add_option("-o,--output", options->outFolder, "Write the packages under this folder, mirroring the tree\n(default: beside each file)")
        ->type_name("OUTDIR");
    command.add_option("-j,--jobs", options->jobs, "Files converted at a time (default: the number of cores)")
        ->type_name("N")
        ->check(CLI::Range(1, 1024));
    command.add_option("--timeout", options->timeout, "Seconds a file may take before its worker is stopped (default 600)")
        ->type_name("S")
        ->check(CLI::Range(0.1, 1e7));
    command.add_option("--memory-limit", options->memoryMegabytes, "Megabytes of address space a worker may use (default 4096)")
        ->type_name("MB")
        ->check(CLI::Range(64L, 1L << 30));
    command.add_option("--report", options->report, "Also write the summary as JSON")->type_name("FILE.json");
    command.add_option("--preset", options->preset, "Convert with this preset instead of the current one")->type_name("NAME");
    command.add_flag("--pdf", options->pdf, "Also draw each document into X.pdf beside its package");
    command.add_flag("--png", options->png, "Also draw each document's pages into X-pages/ beside its package");
    command.add_flag("--skip-up-to-date", options->skipUpToDate, "Skip files whose package is newer than the MIF file");
    command.add_flag("--dry-run", options->dryRun, "List what would be done, and do nothing");
    command.add_flag("--list", options->list, "Print the tessel convert command of each file, for GNU parallel\nor a job array");
    command.add_option("--merge-reports", options->mergeFolder, "Join the --report-json files under DIR into one summary")
        ->type_name("DIR");
    command.footer(kNotes);
    command.callback([&command, options] {
        if (options->mergeFolder.empty() && options->inputs.empty()) throw CLI::ValidationError("no folder or file to convert");
        if (!options->mergeFolder.empty() && !options->inputs.empty())
            throw CLI::ValidationError("--merge-reports takes no folder or file to convert");
        for (const std::string& input : options->inputs)
            if (input.empty()) throw CLI::ValidationError("a file name is empty");
        if (command.count("-o") && options->outFolder.empty()) throw CLI::ValidationError("-o needs a folder name");
        if (command.count("--preset") && options->preset.empty()) throw CLI::ValidationError("--preset needs a preset name");
        if (options->jobs == 0) options->jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    });
}
