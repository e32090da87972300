// Fuzz target: what a request to tessel ui hands the server's checks, and what a worker prints.
// The input's lines are a Host header, an Origin, a Cookie header, a token and a path; the whole
// input is also read as a worker's warnings report and its lines as progress lines. No input
// may crash them, and no path they accept may lie outside the folder.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "UiFolder.h"
#include "UiGuard.h"
#include "UiJobs.h"

namespace fs = std::filesystem;

namespace {
const UiFolder& Folder()
{
    static const UiFolder folder = [] {
        fs::path root = fs::temp_directory_path() / "tessel-fuzz-ui" / "root";
        fs::create_directories(root / "sub");
        std::ofstream(root / "sub" / "a.mif") << "<MIFFile 2015>";
        std::error_code ec;
        fs::create_symlink(root.parent_path(), root / "up", ec);
        return UiFolder(root);
    }();
    return folder;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    size_t start = 0;
    while (lines.size() < 5) {
        size_t end = input.find('\n', start);
        lines.push_back(input.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    lines.resize(5);
    UiGuard guard(8123, "0123456789abcdef0123456789abcdef");
    std::string why = guard.Refusal(lines[0], lines[1], lines[2], lines[3]);
    UiGuard::CookieValue(lines[2], UiGuard::kCookie);

    const UiFolder& folder = Folder();
    for (bool mustExist : {true, false}) {
        std::string refused;
        if (std::optional<fs::path> path = folder.Resolve(lines[4], mustExist, refused)) {
            // Its first part is never ".." (a name like "..notes" is fine).
            fs::path relative(folder.Relative(*path));
            if ((!relative.empty() && *relative.begin() == "..") || path->is_relative()) std::abort();
        }
    }
    std::string listed;
    folder.List(lines[4], listed);

    UiJobs::GroupWarnings(input);
    double fraction;
    std::string title, task;
    for (const std::string& line : lines)
        if (UiJobs::ParseProgress(line, fraction, title, task) && !(fraction >= 0 && fraction <= 1)) std::abort();
    return 0;
}
