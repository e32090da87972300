#include "UiJobs.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "BatchWalk.h"
#include "WorkerProcess.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kProgressMark = "tessel-progress\t";

JsonValue Strings(const std::vector<std::string>& texts)
{
    JsonValue array = JsonValue::Array();
    for (const std::string& text : texts) array.Append(JsonValue::String(text));
    return array;
}

// What the page shows of a conversion's report.
void DescribeReport(JsonValue& out, const FileReport& report)
{
    out.Set("status", JsonValue::String(report.status));
    out.Set("reason", JsonValue::String(report.reason));
    out.Set("pages", JsonValue::Integer(report.pages));
    out.Set("pagesAdded", JsonValue::Integer(report.pagesAdded));
    out.Set("warnings", JsonValue::Integer(report.warnings));
    out.Set("seconds", JsonValue::Real(report.seconds));
    out.Set("oversetStories", Strings(report.oversetStories));
    out.Set("missingFonts", Strings(report.missingFonts));
    out.Set("importedCharacters", JsonValue::Integer(report.importedCharacters));
    out.Set("documentCharacters", JsonValue::Integer(report.documentCharacters));
    out.Set("fidelityDiffers", JsonValue::Bool(report.FidelityDiffers()));
}

int32_t CountPages(const fs::path& folder)
{
    int32_t pages = 0;
    std::error_code ec;
    while (fs::exists(folder / ("page-" + std::to_string(pages + 1) + ".png"), ec)) ++pages;
    return pages;
}
} // namespace

UiJobs::UiJobs(UiState& state, fs::path scratch, std::string program, unsigned parallel)
    : mState(state), mScratch(std::move(scratch)), mProgram(std::move(program)), mParallel(parallel ? parallel : 1)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        PublishLocked();
    }
    mRunner = std::thread([this] { Run(); });
}

UiJobs::~UiJobs() { Stop(); }

void UiJobs::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStopping = true;
    }
    mQueued.notify_all();
    if (mRunner.joinable()) mRunner.join();
}

int64_t UiJobs::Convert(const fs::path& input, const std::string& name)
{
    std::lock_guard<std::mutex> lock(mMutex);
    Job job;
    job.id = mNextID++;
    std::error_code ec;
    job.batch = fs::is_directory(input, ec);
    job.name = name;
    job.input = input;
    job.folder = mScratch / ("job-" + std::to_string(job.id));
    mJobs.push_back(std::move(job));
    mQueue.push_back(mJobs.back().id);
    PublishLocked();
    mQueued.notify_all();
    return mJobs.back().id;
}

fs::path UiJobs::NewUploadFolder()
{
    int64_t number;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        number = mNextUpload++;
    }
    fs::path folder = mScratch / "uploads" / std::to_string(number);
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

UiJobs::Job* UiJobs::Find(int64_t id)
{
    for (Job& job : mJobs)
        if (job.id == id) return &job;
    return nullptr;
}

const UiJobs::Job* UiJobs::Find(int64_t id) const { return const_cast<UiJobs*>(this)->Find(id); }

std::optional<fs::path> UiJobs::GetPackage(int64_t id, int64_t file) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    const Job* job = Find(id);
    if (!job || job->files.empty()) return std::nullopt;
    size_t index = file < 0 ? 0 : static_cast<size_t>(file);
    if ((file < 0) == job->batch || index >= job->files.size()) return std::nullopt;
    const File& f = job->files[index];
    if (f.report.status != "converted") return std::nullopt;
    return f.package;
}

std::optional<fs::path> UiJobs::GetPage(int64_t id, int64_t page) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    const Job* job = Find(id);
    if (!job || job->batch || page < 1 || page > job->pages) return std::nullopt;
    return job->folder / "pages" / ("page-" + std::to_string(page) + ".png");
}

void UiJobs::Run()
{
    while (true) {
        Job* job = nullptr;
        {
            std::unique_lock<std::mutex> lock(mMutex);
            mQueued.wait(lock, [&] { return mStopping || !mQueue.empty(); });
            if (mStopping) {
                for (int64_t id : mQueue)
                    if (Job* left = Find(id)) {
                        left->state = "failed";
                        left->message = "the server stopped before this conversion began";
                    }
                mQueue.clear();
                PublishLocked();
                return;
            }
            job = Find(mQueue.front());
            mQueue.pop_front();
            job->state = "running";
            PublishLocked();
        }
        RunJob(*job);
    }
}

bool UiJobs::StartWorker(const Job& job, const fs::path& input, const fs::path& package, size_t file, Worker& worker)
{
    std::string stem = "file-" + std::to_string(file);
    worker.file = file;
    worker.reportJson = job.folder / (stem + ".report.json");
    worker.reportText = job.folder / (stem + ".report.txt");
    std::vector<std::string> args = {"convert", "-o", package.string(), "--report", worker.reportText.string(),
                                     "--report-json", worker.reportJson.string(), "--progress"};
    if (!job.batch) args.insert(args.end(), {"--png", (job.folder / "pages").string()});
    args.insert(args.end(), {"--", input.string()});
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
    sigset_t none;
    sigemptyset(&none);
    pid_t pid = WorkerProcess::Start(mProgram, args, -1, pipeEnds[1], none);
    ::close(pipeEnds[1]);
    if (pid < 0) {
        ::close(pipeEnds[0]);
        return false;
    }
    worker.started = std::chrono::steady_clock::now();
    worker.pid = pid;
    worker.errorPipe = pipeEnds[0];
    return true;
}

void UiJobs::WorkerLine(Job& job, const std::string& line)
{
    double fraction;
    std::string title, task;
    std::lock_guard<std::mutex> lock(mMutex);
    if (ParseProgress(line, fraction, title, task)) {
        // A folder's progress is its files done; a file's texts still say what is being done.
        if (!job.batch) job.fraction = fraction;
        job.title = title;
        job.task = task;
    } else if (!line.empty()) {
        job.message = line;
    }
    PublishLocked(false);
}

bool UiJobs::ReadWorker(Job& job, Worker& worker)
{
    char buffer[4096];
    ssize_t n = ::read(worker.errorPipe, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (n <= 0) {
        if (!worker.pending.empty()) WorkerLine(job, worker.pending);
        worker.pending.clear();
        return false;
    }
    worker.pending.append(buffer, static_cast<size_t>(n));
    size_t start = 0, end;
    while ((end = worker.pending.find('\n', start)) != std::string::npos) {
        WorkerLine(job, worker.pending.substr(start, end - start));
        start = end + 1;
    }
    worker.pending.erase(0, start);
    // A worker that prints a line without end keeps at most a screenful of it.
    if (worker.pending.size() > 64 * 1024) worker.pending.erase(0, worker.pending.size() - 4096);
    return true;
}

FileReport UiJobs::FinishWorker(Job& job, Worker& worker, int status)
{
    FileReport report;
    std::string json = ReadTextFile(worker.reportJson);
    bool haveJson = !json.empty() && FileReport::FromJson(json, report);
    std::lock_guard<std::mutex> lock(mMutex);
    File& file = job.files[worker.file];
    report.input = file.input.string();
    report.output = file.package.string();
    if (worker.timedOut) {
        report.status = "timed out";
        report.reason = "stopped after " + std::to_string(kTimeout.count()) + " s";
    } else if (WIFSIGNALED(status)) {
        int signal = WTERMSIG(status);
        report.status = mStopping ? "failed" : "crashed";
        report.reason = mStopping ? "stopped (the server stopped)"
                                  : std::string("the conversion ended with signal ") + std::to_string(signal) + " (" +
                                        strsignal(signal) + ")";
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && haveJson) {
        report.status = "converted";
        report.reason.clear();
    } else {
        report.status = "failed";
        report.reason = !job.message.empty() ? job.message
                                             : "tessel convert exited with status " + std::to_string(WEXITSTATUS(status));
    }
    file.report = report;
    return report;
}

void UiJobs::RunJob(Job& job)
{
    std::error_code ec;
    fs::create_directories(job.folder, ec);
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (job.batch) {
            BatchWalk walk(job.folder / "out");
            walk.Add(job.input);
            walk.DropCollisions();
            for (const BatchWalk::Job& found : walk.GetJobs()) job.files.push_back(File{found.input, found.output, {}});
            job.total = static_cast<int64_t>(job.files.size());
        } else {
            fs::path package = job.folder / fs::path(job.name).filename();
            package.replace_extension(".idml");
            job.files.push_back(File{job.input, package, {}});
            job.total = 1;
        }
        PublishLocked();
    }
    std::vector<Worker> running;
    size_t next = 0;
    bool stopping = false;
    while (next < job.files.size() || !running.empty()) {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            stopping = mStopping;
        }
        while (!stopping && next < job.files.size() && running.size() < (job.batch ? mParallel : 1u)) {
            Worker worker;
            fs::create_directories(job.files[next].package.parent_path(), ec);
            if (!StartWorker(job, job.files[next].input, job.files[next].package, next, worker)) {
                std::lock_guard<std::mutex> lock(mMutex);
                job.files[next].report.status = "failed";
                job.files[next].report.reason = std::string("the worker could not be started: ") + std::strerror(errno);
                job.finished.push_back(next++);
                continue;
            }
            running.push_back(worker);
            ++next;
        }
        if (stopping) {
            for (Worker& worker : running) ::kill(-worker.pid, SIGKILL);
            next = job.files.size();
        }
        if (running.empty()) break;
        for (Worker& worker : running)
            if (!worker.timedOut && std::chrono::steady_clock::now() - worker.started > kTimeout) {
                worker.timedOut = true;
                ::kill(-worker.pid, SIGKILL);
            }
        std::vector<pollfd> fds;
        for (const Worker& worker : running) fds.push_back(pollfd{worker.errorPipe, POLLIN, 0});
        ::poll(fds.data(), fds.size(), 100);
        {
            std::lock_guard<std::mutex> lock(mMutex);
            if (mUnpublished) PublishLocked(false);
        }
        for (size_t i = 0; i < running.size();) {
            Worker& worker = running[i];
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)) || ReadWorker(job, worker)) {
                ++i;
                continue;
            }
            // Its standard error closed: it has ended (or is about to).
            ::close(worker.errorPipe);
            int status = 0;
            while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {}
            FinishWorker(job, worker, status);
            {
                std::lock_guard<std::mutex> lock(mMutex);
                job.finished.push_back(worker.file);
                if (job.batch) job.fraction = static_cast<double>(job.finished.size()) / static_cast<double>(job.files.size());
                PublishLocked(false);
            }
            running.erase(running.begin() + static_cast<long>(i));
            fds.erase(fds.begin() + static_cast<long>(i));
        }
    }
    std::lock_guard<std::mutex> lock(mMutex);
    for (size_t i = 0; i < job.files.size(); ++i)
        if (job.files[i].report.status.empty()) {
            job.files[i].report.status = "skipped";
            job.files[i].report.reason = "the server stopped";
        }
    if (!job.batch) {
        const FileReport& report = job.files.front().report;
        job.report = report;
        job.warnings = GroupWarnings(ReadTextFile(job.folder / "file-0.report.txt"));
        job.pages = CountPages(job.folder / "pages");
        job.state = report.status == "converted" ? "done" : "failed";
        if (report.status != "converted") job.message = report.reason;
    } else {
        job.state = "done";
    }
    job.fraction = 1;
    PublishLocked();
}

JsonValue UiJobs::Describe(const Job& job) const
{
    JsonValue j = JsonValue::Object();
    j.Set("id", JsonValue::Integer(job.id));
    j.Set("kind", JsonValue::String(job.batch ? "batch" : "convert"));
    j.Set("name", JsonValue::String(job.name));
    j.Set("state", JsonValue::String(job.state));
    JsonValue progress = JsonValue::Object();
    progress.Set("title", JsonValue::String(job.title));
    progress.Set("task", JsonValue::String(job.task));
    progress.Set("fraction", JsonValue::Real(job.fraction));
    j.Set("progress", std::move(progress));
    j.Set("message", JsonValue::String(job.message));
    std::string base = "/api/jobs/" + std::to_string(job.id);
    if (!job.batch) {
        JsonValue report;
        if (job.report) DescribeReport(report, *job.report);
        j.Set("report", std::move(report));
        JsonValue groups = JsonValue::Array();
        for (const WarningGroup& group : job.warnings) {
            JsonValue g = JsonValue::Object();
            g.Set("heading", JsonValue::String(group.heading));
            g.Set("lines", Strings(group.lines));
            groups.Append(std::move(g));
        }
        j.Set("warnings", std::move(groups));
        j.Set("pages", JsonValue::Integer(job.pages));
        bool converted = job.report && job.report->status == "converted";
        j.Set("package", JsonValue::String(converted ? base + "/package" : ""));
    } else {
        j.Set("total", JsonValue::Integer(job.total));
        JsonValue rows = JsonValue::Array();
        for (size_t index : job.finished) {
            const File& file = job.files[index];
            JsonValue row = JsonValue::Object();
            DescribeReport(row, file.report);
            row.Set("input", JsonValue::String(fs::path(file.input).lexically_relative(job.input).generic_string()));
            bool converted = file.report.status == "converted";
            row.Set("package", JsonValue::String(converted ? base + "/files/" + std::to_string(index) + "/package" : ""));
            rows.Append(std::move(row));
        }
        j.Set("files", std::move(rows));
    }
    return j;
}

void UiJobs::PublishLocked(bool now)
{
    auto time = std::chrono::steady_clock::now();
    if (!now && time - mPublished < std::chrono::milliseconds(200)) {
        mUnpublished = true;
        return;
    }
    mUnpublished = false;
    mPublished = time;
    JsonValue jobs = JsonValue::Array();
    for (const Job& job : mJobs) jobs.Append(Describe(job));
    mState.Set("jobs", jobs.Serialize());
}

std::vector<UiJobs::WarningGroup> UiJobs::GroupWarnings(const std::string& text)
{
    std::vector<WarningGroup> groups;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        // A heading is a line of its own ending with a colon; "Line 12: ..." is a warning.
        bool heading = line[0] != ' ' && line.back() == ':' && line.rfind("Line ", 0) != 0;
        if (heading) {
            groups.push_back(WarningGroup{line, {}});
            continue;
        }
        if (groups.empty()) groups.push_back(WarningGroup{"", {}});
        size_t first = line.find_first_not_of(' ');
        groups.back().lines.push_back(line.substr(first));
    }
    return groups;
}

bool UiJobs::ParseProgress(const std::string& line, double& fraction, std::string& title, std::string& task)
{
    if (line.rfind(kProgressMark, 0) != 0) return false;
    std::string rest = line.substr(std::strlen(kProgressMark));
    size_t tab1 = rest.find('\t');
    if (tab1 == std::string::npos) return false;
    size_t tab2 = rest.find('\t', tab1 + 1);
    char* end = nullptr;
    std::string number = rest.substr(0, tab1);
    fraction = std::strtod(number.c_str(), &end);
    if (end == number.c_str() || *end != '\0' || !(fraction >= 0 && fraction <= 1)) return false;
    title = rest.substr(tab1 + 1, tab2 == std::string::npos ? std::string::npos : tab2 - tab1 - 1);
    task = tab2 == std::string::npos ? "" : rest.substr(tab2 + 1);
    return true;
}
