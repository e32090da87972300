// The diagnostic log "orvane.log": one time-stamped line for every failed internal check, naming
// the source file, the line and the tested expression as written. The user never sees it;
// nothing fails when it cannot be written.
//
//     InterfacePtr<IMifErrorLog> errorLog(this, IID_IMIFERRORLOG);
//     if (!errorLog) { MIF_LOG_NIL(errorLog); return; }   // "MifParser.cpp(88): errorLog == nil"
#pragma once

#include <cstddef>
#include <type_traits>

#include "IDFile.h"
#include "PMTypes.h"

class MifAssertLog {
public:
    enum Kind {
        kNil,         // a pointer that must not be null: "<expr> == nil"
        kFalse,       // a condition that must hold: "<expr> == false"
        kFailed,      // an operation that reported failure: "<expr> failed"
        kNotSuccess,  // a host call whose error code is not kSuccess: "<expr> != kSuccess"
    };

    // Appends one line for the check of `expression` at `sourceFile`(`sourceLine`).
    static void Write(const char* sourceFile, int32 sourceLine, const char* expression, Kind kind);
    // How many lines this process has written to the log so far; a caller takes the difference
    // over its own work.
    static int64 GetWrittenLineCount();
    // The log file; empty when the plug-in has no log folder.
    static IDFile GetLogFile();
    // The log line without its time stamp, as Write formats it.
    static void FormatMessage(char* buffer, size_t size, const char* sourceFile, int32 sourceLine,
                              const char* expression, Kind kind);
};

// The logged text is the expression as written; the expression itself is compiled but never
// evaluated, so a name that does not exist (or no longer exists) fails the build instead of
// being logged.
#define MIF_LOG_CHECK(expr, kind) \
    ((void)sizeof(std::type_identity<decltype((void)(expr))>), MifAssertLog::Write(__FILE__, __LINE__, #expr, kind))
#define MIF_LOG_NIL(expr) MIF_LOG_CHECK(expr, MifAssertLog::kNil)
#define MIF_LOG_FALSE(expr) MIF_LOG_CHECK(expr, MifAssertLog::kFalse)
#define MIF_LOG_FAILED(expr) MIF_LOG_CHECK(expr, MifAssertLog::kFailed)
#define MIF_LOG_ERROR(expr) MIF_LOG_CHECK(expr, MifAssertLog::kNotSuccess)
