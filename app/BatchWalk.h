// BatchWalk: finds the MIF files of the files and folders given to tessel batch, and where each
// one's package goes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class BatchWalk {
public:
    struct Job {
        std::filesystem::path input;
        std::filesystem::path output;   // the package
    };
    // Something found that is not converted, with why.
    struct Problem {
        std::filesystem::path path;
        std::string reason;
    };

    // `outFolder` empty: each package beside its MIF file; else under it, mirroring the tree
    // below each folder given (a file given goes straight into it).
    explicit BatchWalk(std::filesystem::path outFolder) : mOutFolder(std::move(outFolder)) {}

    // Walks `root` (a folder, depth first in sorted order, or one file). Files whose extension is
    // .mif in any case are taken; names starting with "." are passed over; the output folder is
    // never walked; link loops, unreadable folders and special files are reported.
    void Add(const std::filesystem::path& root);
    // Reports the jobs that would write one package (after the first), and drops them.
    void DropCollisions();

    const std::vector<Job>& GetJobs() const { return mJobs; }
    const std::vector<Problem>& GetProblems() const { return mProblems; }

    // Whether `name` is that of a MIF file: an extension .mif in any letter case.
    static bool IsMifName(const std::filesystem::path& name);

private:
    void Walk(const std::filesystem::path& folder, const std::filesystem::path& relative,
              std::vector<std::filesystem::path>& ancestors);
    void AddFile(const std::filesystem::path& file, const std::filesystem::path& relative);

    std::filesystem::path mOutFolder;
    std::filesystem::path mOutCanonical;
    std::vector<Job> mJobs;
    std::vector<Problem> mProblems;
};
