#include "AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <random>
#include <string>
#include <unistd.h>

namespace {

constexpr int kNameAttempts = 16;

// Creates a new file next to `target` that no one else uses; -1 when the folder refuses.
int CreateTemporary(const std::filesystem::path& target, std::filesystem::path* temporary)
{
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        *temporary = target.parent_path() / ("." + target.filename().string() + suffix);
        int fd = ::open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

ErrorCode WriteThroughTemporary(const IDFile& out, std::string_view bytes)
{
    if (out.IsEmpty() || out.IsDirectory() || !out.GetPath().has_filename()) return kInvalidParameterError;
    std::filesystem::path target = out.GetPath();
    std::filesystem::path folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return kFileNotFoundError;
    if (target.parent_path().empty()) target = folder / target;

    std::filesystem::path temporary;
    int fd = CreateTemporary(target, &temporary);
    if (fd < 0) return kIOWriteError;
    bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return kIOWriteError;
    }
    return kSuccess;
}

} // namespace

ErrorCode AtomicFileWriter::Write(const IDFile& out, std::string_view bytes)
{
    // Paths and random numbers may throw (no memory, no entropy source): a failed write.
    try {
        return WriteThroughTemporary(out, bytes);
    } catch (const std::bad_alloc&) {
        return kOutOfMemoryError;
    } catch (...) {
        return kIOWriteError;
    }
}
