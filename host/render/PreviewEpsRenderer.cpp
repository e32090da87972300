#include "PreviewEpsRenderer.h"

#include <filesystem>

#include <cairo.h>
#include <fcntl.h>
#include <libspectre/spectre.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define TESSEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

// What the child writes before the pixels: their size.
struct PictureHeader {
    int32_t width = 0;
    int32_t height = 0;
};

// Seconds of processor time a child has beyond its deadline.
constexpr rlim_t kSpareCpuSeconds = 5;

// Exit codes of the child, for the parent's message.
enum ChildExit : int {
    kDrawn = 0,
    kNoDocument = 10,  // libspectre could not read the file as PostScript
    kNoPage = 11,
    kNotDrawn = 12,    // Ghostscript stopped with an error
    kPipeFailed = 13,
};

bool WriteAll(int fd, const void* data, size_t size)
{
    const auto* at = static_cast<const unsigned char*>(data);
    while (size > 0) {
        ssize_t written = write(fd, at, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        at += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// The child's work: the file's bytes in a memory file (libspectre reads files by name), drawn by
// Ghostscript at the size asked for, the pixels written to `out` row by row. Never returns.
[[noreturn]] void DrawInChild(int out, const std::vector<unsigned char>& bytes, int width, int height,
                              const PreviewEpsRenderer::Limits& limits, size_t startSize, const std::string& scratch)
{
    // Ghostscript lets PostScript read, write and delete files in the temporary folder even when
    // safe: the child's temporary folder is an empty one of its own, so nothing of the user's is
    // within reach.
    for (const char* name : {"TMPDIR", "TEMP", "TMP"}) setenv(name, scratch.c_str(), 1);
    // Ghostscript's messages about a broken file are of no use to the preview's user.
    int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
    }
    // The deadline stops it first; the processor limit stops it even if the preview itself
    // dies before it can.
    const rlim_t seconds = static_cast<rlim_t>(std::ceil(limits.seconds)) + kSpareCpuSeconds;
    struct rlimit cpu = {seconds, seconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
#ifndef TESSEL_ADDRESS_SANITIZER
    // On top of what the child shares with the preview when it starts.
    const rlim_t allowed = static_cast<rlim_t>(startSize + limits.memory);
    struct rlimit memory = {allowed, allowed};
    setrlimit(RLIMIT_AS, &memory);
#else
    (void)startSize;
#endif
    int file = memfd_create("tessel-eps", 0);
    if (file < 0 || !WriteAll(file, bytes.data(), bytes.size())) _exit(kNoDocument);
    const std::string name = "/proc/self/fd/" + std::to_string(file);
    SpectreDocument* document = spectre_document_new();
    if (!document) _exit(kNoDocument);
    spectre_document_load(document, name.c_str());
    if (spectre_document_status(document) != SPECTRE_STATUS_SUCCESS || spectre_document_get_n_pages(document) < 1) _exit(kNoDocument);
    SpectrePage* page = spectre_document_get_page(document, 0);
    int pageWidth = 0, pageHeight = 0;
    if (page) spectre_page_get_size(page, &pageWidth, &pageHeight);
    if (!page || pageWidth <= 0 || pageHeight <= 0) _exit(kNoPage);
    SpectreRenderContext* context = spectre_render_context_new();
    if (!context) _exit(kNotDrawn);
    // libspectre makes the image round(size * scale) pixels a side: exactly the size asked for.
    spectre_render_context_set_scale(context, static_cast<double>(width) / pageWidth, static_cast<double>(height) / pageHeight);
    spectre_render_context_set_antialias_bits(context, 4, 2);
    unsigned char* data = nullptr;
    int rowLength = 0;
    spectre_page_render(page, context, &data, &rowLength);
    if (spectre_page_status(page) != SPECTRE_STATUS_SUCCESS || !data || rowLength < width * 4) _exit(kNotDrawn);
    const PictureHeader header{width, height};
    if (!WriteAll(out, &header, sizeof header)) _exit(kPipeFailed);
    for (int y = 0; y < height; ++y)
        if (!WriteAll(out, data + static_cast<size_t>(y) * static_cast<size_t>(rowLength), static_cast<size_t>(width) * 4))
            _exit(kPipeFailed);
    _exit(kDrawn);
}

// The bytes of address space the process holds now (0 when unknown).
size_t AddressSpaceSize()
{
    size_t pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%zu", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Reads `size` bytes from `in` into `into` before `deadline` (Now's clock); false when the pipe
// closes first or the time runs out.
bool ReadAll(int in, unsigned char* into, size_t size, double deadline)
{
    while (size > 0) {
        const double left = deadline - Now();
        if (left <= 0) return false;
        pollfd poller{in, POLLIN, 0};
        int ready = poll(&poller, 1, static_cast<int>(std::ceil(left * 1000)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        ssize_t got = read(in, into, size);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        into += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

std::string ExitMessage(int status)
{
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        if (signal == SIGXCPU) return "Ghostscript ran out of time";
        return std::string("Ghostscript stopped with signal ") + std::to_string(signal);
    }
    if (!WIFEXITED(status)) return "Ghostscript stopped";
    switch (WEXITSTATUS(status)) {
    case kNoDocument: return "it holds no PostScript that libspectre reads";
    case kNoPage: return "it has no page or bounding box";
    case kNotDrawn: return "Ghostscript reported an error in it";
    default: return "Ghostscript stopped with status " + std::to_string(WEXITSTATUS(status));
    }
}

} // namespace

PreviewEpsRenderer::~PreviewEpsRenderer()
{
    for (const auto& [key, surface] : mKept) cairo_surface_destroy(surface);
    if (mTransient) cairo_surface_destroy(mTransient);
}

cairo_surface_t* PreviewEpsRenderer::Render(const std::string& key, const std::string& name, const std::vector<unsigned char>& bytes,
                                            int width, int height)
{
    if (mFailed.count(key)) return nullptr;
    if (auto it = mKept.find({key, {width, height}}); it != mKept.end()) return it->second;
    ++mRenders;
    std::string why;
    cairo_surface_t* surface = RenderOnce(bytes, width, height, mLimits, &why);
    if (!surface) {
        mFailed.insert(key);
        mProblems.push_back("the EPS file " + name + " cannot be drawn (" + why + "); a grey box stands in for it");
        return nullptr;
    }
    const size_t size = static_cast<size_t>(cairo_image_surface_get_stride(surface)) * static_cast<size_t>(height);
    if (mKeptBytes + size > kMaxKeptBytes) {
        // Past the budget: not kept, but valid until the next call (drawn again if asked again).
        if (mTransient) cairo_surface_destroy(mTransient);
        mTransient = surface;
        return surface;
    }
    mKept.emplace(std::make_pair(key, std::make_pair(width, height)), surface);
    mKeptBytes += size;
    return surface;
}

cairo_surface_t* PreviewEpsRenderer::RenderOnce(const std::vector<unsigned char>& bytes, int width, int height, const Limits& limits,
                                                std::string* why)
{
    auto fail = [why](std::string text) -> cairo_surface_t* {
        if (why) *why = std::move(text);
        return nullptr;
    };
    if (bytes.empty()) return fail("it is empty");
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return fail("the picture asked for is too large");
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return fail("no pipe for Ghostscript");
    const size_t startSize = AddressSpaceSize();
    const double deadline = Now() + limits.seconds;
    std::string scratch = (std::filesystem::temp_directory_path() / "tessel-eps-XXXXXX").string();
    if (!mkdtemp(scratch.data())) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return fail("no temporary folder for Ghostscript");
    }
    struct ScratchFolder {
        std::string path;
        ~ScratchFolder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } scratchFolder{scratch};
    const pid_t child = fork();
    if (child < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return fail("no process for Ghostscript");
    }
    if (child == 0) {
        close(pipeEnds[0]);
        DrawInChild(pipeEnds[1], bytes, width, height, limits, startSize, scratch);
    }
    close(pipeEnds[1]);
    PictureHeader header;
    std::vector<unsigned char> pixels;
    bool read = ReadAll(pipeEnds[0], reinterpret_cast<unsigned char*>(&header), sizeof header, deadline) && header.width == width &&
                header.height == height;
    if (read) {
        pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        read = ReadAll(pipeEnds[0], pixels.data(), pixels.size(), deadline);
    }
    close(pipeEnds[0]);
    // A child that has not finished by now is stopped; either way it is reaped here.
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 && Now() < deadline) usleep(1000);
    bool timedOut = false;
    if (done == 0) {
        kill(child, SIGKILL);
        timedOut = true;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    }
    if (timedOut) return fail("Ghostscript did not finish within " + std::to_string(static_cast<int>(limits.seconds)) + " seconds");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != kDrawn || !read) {
        if (WIFEXITED(status) && WEXITSTATUS(status) == kDrawn) return fail("Ghostscript's picture was cut short");
        return fail(ExitMessage(status));
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return fail("no memory for the picture");
    }
    cairo_surface_flush(surface);
    unsigned char* out = cairo_image_surface_get_data(surface);
    const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(surface));
    // Ghostscript's display device writes blue, green, red and an unused byte on a
    // little-endian machine, as cairo's RGB24 holds a pixel there.
    for (int y = 0; y < height; ++y)
        std::memcpy(out + static_cast<size_t>(y) * stride, pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4,
                    static_cast<size_t>(width) * 4);
    cairo_surface_mark_dirty(surface);
    return surface;
}
