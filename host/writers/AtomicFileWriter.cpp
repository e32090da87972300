#include "AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 16;

// ".NAME.XXXXXXXX<suffix>" beside `target`, with a fresh random part each call.
fs::path SiblingName(const fs::path& target, const char* suffix, std::random_device& random)
{
    char part[32];
    std::snprintf(part, sizeof part, ".%08x%s", static_cast<unsigned>(random()), suffix);
    std::string name = ".";  // appended, not "." + a temporary: that makes GCC 12 warn (-Wrestrict)
    name += target.filename().string();
    name += part;
    return target.parent_path() / name;
}

// Creates a new file next to `target` that no one else uses; -1 when the folder refuses.
int CreateTemporary(const fs::path& target, fs::path* temporary)
{
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        *temporary = SiblingName(target, ".tmp", random);
        int fd = ::open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Gives `target` a second name beside it, which keeps its contents when `target` is replaced;
// empty when the file system refuses (then the old contents cannot be put back).
fs::path LinkBackup(const fs::path& target)
{
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        fs::path backup = SiblingName(target, ".old", random);
        if (::link(target.c_str(), backup.c_str()) == 0) return backup;
        if (errno != EEXIST) break;
    }
    return fs::path();
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

// The file that writing `out` replaces: absolute, with symbolic links followed. Sets `existed`
// and `permissions` when it is there. Refuses what is not a regular file.
ErrorCode ResolveTarget(const IDFile& out, fs::path* target, bool* existed, fs::perms* permissions)
{
    if (out.IsEmpty() || !out.GetPath().has_filename()) return kInvalidParameterError;
    std::error_code ec;
    fs::path path = fs::absolute(out.GetPath(), ec);
    if (ec) return kFileNotFoundError;
    // A link to nowhere: writing through it would make a file somewhere the user did not say.
    if (fs::is_symlink(fs::symlink_status(path, ec)) && !fs::exists(fs::status(path, ec))) return kInvalidParameterError;
    *target = fs::weakly_canonical(path, ec);
    if (ec || !target->has_filename()) *target = path.lexically_normal();
    if (!fs::is_directory(target->parent_path(), ec)) return kFileNotFoundError;
    fs::file_status status = fs::status(*target, ec);
    *existed = fs::exists(status);
    if (*existed && !fs::is_regular_file(status)) return kInvalidParameterError;
    *permissions = status.permissions();
    return kSuccess;
}

} // namespace

ErrorCode AtomicFileWriter::Write(const IDFile& out, std::string_view bytes)
{
    AtomicFileWriter writer;
    ErrorCode result = writer.Add(out, bytes);
    return result == kSuccess ? writer.Commit() : result;
}

AtomicFileWriter::~AtomicFileWriter() { RemoveTemporaries(); }

ErrorCode AtomicFileWriter::Add(const IDFile& out, std::string_view bytes)
{
    ErrorCode result = kIOWriteError;
    // Paths and random numbers may throw (no memory, no entropy source): a failed write.
    try {
        Staged staged;
        fs::perms permissions = fs::perms::none;
        result = ResolveTarget(out, &staged.target, &staged.existed, &permissions);
        for (const Staged& other : mStaged)
            if (result == kSuccess && other.target == staged.target) result = kInvalidParameterError;
        if (result == kSuccess) {
            int fd = CreateTemporary(staged.target, &staged.temporary);
            if (fd < 0) {
                result = kIOWriteError;
            } else {
                // The new file takes the place of the old one, with its permissions.
                bool written = (!staged.existed || ::fchmod(fd, static_cast<mode_t>(permissions) & 07777) == 0) &&
                               WriteAll(fd, bytes) && ::fsync(fd) == 0;
                written = ::close(fd) == 0 && written;
                mStaged.push_back(staged);
                result = written ? kSuccess : kIOWriteError;
                if (!written) {
                    ::unlink(staged.temporary.c_str());
                    mStaged.pop_back();
                }
            }
        }
    } catch (const std::bad_alloc&) {
        result = kOutOfMemoryError;
    } catch (...) {
        result = kIOWriteError;
    }
    if (result != kSuccess && mFirstError == kSuccess) mFirstError = result;
    return result;
}

ErrorCode AtomicFileWriter::Commit()
{
    ErrorCode result = mFirstError == kSuccess ? RenameAll() : mFirstError;
    RemoveTemporaries();
    mFirstError = kSuccess;
    return result;
}

ErrorCode AtomicFileWriter::RenameAll()
{
    // The old contents keep a second name until every new file is in place.
    for (Staged& staged : mStaged)
        if (staged.existed) staged.backup = LinkBackup(staged.target);
    size_t renamed = 0;
    while (renamed < mStaged.size() &&
           std::rename(mStaged[renamed].temporary.c_str(), mStaged[renamed].target.c_str()) == 0) {
        mStaged[renamed].temporary.clear();
        ++renamed;
    }
    bool complete = renamed == mStaged.size();
    // A rename failed: the files already renamed go back to what they were.
    for (size_t i = complete ? 0 : renamed; i-- > 0;) {
        Staged& staged = mStaged[i];
        if (!staged.existed) {
            ::unlink(staged.target.c_str());
        } else if (!staged.backup.empty() && std::rename(staged.backup.c_str(), staged.target.c_str()) == 0) {
            staged.backup.clear();
        }
    }
    for (Staged& staged : mStaged)
        if (!staged.backup.empty()) ::unlink(staged.backup.c_str());
    return complete ? kSuccess : kIOWriteError;
}

void AtomicFileWriter::RemoveTemporaries()
{
    for (const Staged& staged : mStaged)
        if (!staged.temporary.empty()) ::unlink(staged.temporary.c_str());
    mStaged.clear();
}
