// AtomicFileWriter: puts whole files in place at once, or leaves the old ones as they were.
//
// The bytes go to a new temporary file in the target's folder (".NAME.XXXXXXXX.tmp"), which is
// flushed to disk and then renamed over the target. A reader therefore sees either the old file
// or the complete new one, and a failure part way (full disk, lost permission) removes the
// temporary file and leaves any existing target untouched.
//
// Several files can be written as one: each Add writes its temporary file, and Commit renames
// them all into place only when every Add succeeded. Should a rename fail, the files renamed
// before it get their old contents back (kept meanwhile under a second name, ".NAME.XXXXXXXX.old")
// and the ones that did not exist are removed, so the outputs of one job appear together or
// not at all. What is not committed is removed when the writer goes.
//
// Targets: only regular files are replaced; a folder, a device, a FIFO or a socket is refused and
// stays what it was. A symbolic link is written through, as cp does: the link stays and the file
// it leads to is replaced (keeping its permissions); a link that leads nowhere is refused.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "IDFile.h"
#include "PMTypes.h"

class AtomicFileWriter {
public:
    // Writes `bytes` as the file `out`: Add, then Commit. Returns kSuccess, or:
    //   kInvalidParameterError  `out` is empty, or names something that is not a regular file
    //                           (a folder, a device, a FIFO, a socket, a link to nowhere);
    //   kFileNotFoundError      the folder that should hold `out` does not exist;
    //   kIOWriteError           the folder is not writable, or writing, flushing or renaming failed;
    //   kOutOfMemoryError       memory ran out.
    static ErrorCode Write(const IDFile& out, std::string_view bytes);

    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    // Removes the temporary files of what was not committed.
    ~AtomicFileWriter();

    // Writes `bytes` to a temporary file beside `out`, to be put in place by Commit; the errors
    // of Write. A failed Add leaves nothing behind, and makes Commit fail.
    ErrorCode Add(const IDFile& out, std::string_view bytes);
    // Puts every added file in place, or none (kIOWriteError, after restoring the old files);
    // the error of the first failed Add when one failed. Nothing is left to commit afterwards.
    ErrorCode Commit();

private:
    struct Staged {
        std::filesystem::path target;     // the file that is replaced (symbolic links followed)
        std::filesystem::path temporary;  // the new contents until Commit
        std::filesystem::path backup;     // the old contents during Commit; empty when none
        bool existed = false;
    };
    // Renames the staged files in order; on failure puts back what was renamed. Never throws.
    ErrorCode RenameAll();
    void RemoveTemporaries();

    std::vector<Staged> mStaged;
    ErrorCode mFirstError = kSuccess;
};
