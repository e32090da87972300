#include "base/MifAssertLog.h"

#include <sys/time.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "ObjectModel.h"

#include "base/IMifLogUtils.h"

namespace {

const char* kLogFileName = "orvane.log";

// Everything runs on the host's main thread; a plain counter serves.
int64 gWrittenLines = 0;

// The file name of a source path: what follows its last slash or backslash.
const char* BaseName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

// "yy.mm.dd hh:mm:ss:mmm", the local time with milliseconds.
void FormatTimeStamp(char* out, size_t size)
{
    timeval now{};
    gettimeofday(&now, nullptr);
    std::tm local{};
    time_t seconds = now.tv_sec;
    localtime_r(&seconds, &local);
    char date[40];
    std::strftime(date, sizeof date, "%y.%m.%d %X", &local);
    std::snprintf(out, size, "%s:%.3d", date, static_cast<int>(now.tv_usec / 1000));
}

} // namespace

void MifAssertLog::FormatMessage(char* buffer, size_t size, const char* sourceFile, int32 sourceLine,
                                 const char* expression, Kind kind)
{
    static const char* const formats[] = {"%s(%d): %s == nil\r\n", "%s(%d): %s == false\r\n",
                                          "%s(%d): %s failed\r\n", "%s(%d): %s != kSuccess\r\n"};
    std::snprintf(buffer, size, formats[kind], BaseName(sourceFile), static_cast<int>(sourceLine), expression);
}

int64 MifAssertLog::GetWrittenLineCount() { return gWrittenLines; }

IDFile MifAssertLog::GetLogFile()
{
    Utils<IMifLogUtils> logUtils;
    IDFile folder;
    if (!logUtils || !logUtils->GetLogFolder(folder)) return IDFile();
    return IDFile(folder.GetPath() / kLogFileName);
}

void MifAssertLog::Write(const char* sourceFile, int32 sourceLine, const char* expression, Kind kind)
{
    IDFile log = GetLogFile();
    if (log.IsEmpty()) return;
    std::FILE* file = std::fopen(log.GetPath().c_str(), "ab");
    if (!file) return;
    char stamp[64];
    char message[1024];
    FormatTimeStamp(stamp, sizeof stamp);
    FormatMessage(message, sizeof message, sourceFile, sourceLine, expression, kind);
    std::fputs(stamp, file);
    std::fputs(message, file);
    if (std::fclose(file) == 0) ++gWrittenLines;
}
