// AtomicFileWriter: puts a whole file in place at once, or leaves the old one as it was.
//
// The bytes go to a new temporary file in the target's folder (".NAME.XXXXXXXX.tmp"), which is
// flushed to disk and then renamed over the target. A reader therefore sees either the old file
// or the complete new one, and a failure part way (full disk, lost permission) removes the
// temporary file and leaves any existing target untouched.
#pragma once

#include <string_view>

#include "IDFile.h"
#include "PMTypes.h"

class AtomicFileWriter {
public:
    // Writes `bytes` as the file `out`. Returns kSuccess, or:
    //   kInvalidParameterError  `out` is empty or names a folder;
    //   kFileNotFoundError      the folder that should hold `out` does not exist;
    //   kIOWriteError           the folder is not writable, or writing, flushing or renaming failed.
    static ErrorCode Write(const IDFile& out, std::string_view bytes);
};
