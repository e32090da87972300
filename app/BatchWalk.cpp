#include "BatchWalk.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The identity of a folder, for finding loops: its device and inode.
struct Identity {
    dev_t device;
    ino_t inode;
    bool operator==(const Identity&) const = default;
};

bool IdentityOf(const fs::path& path, Identity& identity)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return false;
    identity = {info.st_dev, info.st_ino};
    return true;
}

} // namespace

bool BatchWalk::IsMifName(const fs::path& name)
{
    std::string extension = name.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return extension == ".mif";
}

void BatchWalk::Add(const fs::path& root)
{
    std::error_code ec;
    if (!mOutFolder.empty() && mOutCanonical.empty()) mOutCanonical = fs::weakly_canonical(fs::absolute(mOutFolder, ec), ec);
    fs::file_status status = fs::status(root, ec);
    if (ec && !fs::exists(fs::symlink_status(root, ec))) {
        mProblems.push_back({root, "it does not exist"});
        return;
    }
    if (fs::is_directory(status)) {
        std::vector<fs::path> ancestors;
        Walk(root, {}, ancestors);
    } else {
        // A file named on the line is taken whatever its name: the user chose it.
        AddFile(root, root.filename());
    }
}

void BatchWalk::Walk(const fs::path& folder, const fs::path& relative, std::vector<fs::path>& ancestors)
{
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (!mOutCanonical.empty() && canonical == mOutCanonical) {
        mProblems.push_back({folder, "skipped: it is the output folder"});
        return;
    }
    Identity identity;
    if (!IdentityOf(folder, identity)) {
        mProblems.push_back({folder, "skipped: the folder cannot be read"});
        return;
    }
    for (const fs::path& ancestor : ancestors) {
        Identity other;
        if (IdentityOf(ancestor, other) && other == identity) {
            mProblems.push_back({folder, "skipped: a symbolic link loop (it leads back to " + ancestor.string() + ")"});
            return;
        }
    }
    fs::directory_iterator entries(folder, ec);
    if (ec) {
        mProblems.push_back({folder, "skipped: the folder cannot be read (" + ec.message() + ")"});
        return;
    }
    std::vector<fs::path> names;
    for (; entries != fs::directory_iterator(); entries.increment(ec)) {
        if (ec) break;
        names.push_back(entries->path().filename());
    }
    if (ec) mProblems.push_back({folder, "the folder could not be read to its end (" + ec.message() + ")"});
    std::sort(names.begin(), names.end());
    ancestors.push_back(folder);
    for (const fs::path& name : names) {
        if (name.string().starts_with(".")) continue;
        fs::path path = folder / name;
        fs::file_status status = fs::status(path, ec);
        if (fs::is_directory(status)) {
            Walk(path, relative / name, ancestors);
        } else if (IsMifName(name)) {
            AddFile(path, relative / name);
        }
    }
    ancestors.pop_back();
}

void BatchWalk::AddFile(const fs::path& file, const fs::path& relative)
{
    std::error_code ec;
    // The type is read from the folder entry (stat): a FIFO or a device is never opened.
    fs::file_status status = fs::status(file, ec);
    if (ec || !fs::exists(status)) {
        mProblems.push_back({file, fs::is_symlink(fs::symlink_status(file, ec)) ? "skipped: a symbolic link that leads nowhere"
                                                                                  : "skipped: it cannot be read"});
        return;
    }
    if (!fs::is_regular_file(status)) {
        mProblems.push_back({file, "skipped: not a regular file (a FIFO, a device or a socket)"});
        return;
    }
    fs::path output = mOutFolder.empty() ? file : mOutFolder / relative;
    output.replace_extension(".idml");
    mJobs.push_back({file, output});
}

void BatchWalk::DropCollisions()
{
    std::map<fs::path, fs::path> taken;   // an output, to the input that writes it
    std::vector<Job> kept;
    for (const Job& job : mJobs) {
        std::error_code ec;
        fs::path identity = fs::weakly_canonical(fs::absolute(job.output, ec), ec);
        auto [at, fresh] = taken.emplace(identity, job.input);
        if (fresh) {
            kept.push_back(job);
        } else {
            mProblems.push_back({job.input, "skipped: " + at->second.string() + " writes the same package " + job.output.string()});
        }
    }
    mJobs = std::move(kept);
}
