#include "UiFolder.h"

#include <algorithm>
#include <vector>

namespace fs = std::filesystem;

UiFolder::UiFolder(const fs::path& root)
{
    std::error_code ec;
    fs::path resolved = fs::canonical(fs::absolute(root, ec), ec);
    if (!ec && fs::is_directory(resolved, ec)) mRoot = resolved;
}

bool UiFolder::Contains(const fs::path& resolved) const
{
    auto [rootEnd, at] = std::mismatch(mRoot.begin(), mRoot.end(), resolved.begin(), resolved.end());
    return rootEnd == mRoot.end();
}

std::optional<fs::path> UiFolder::Resolve(const std::string& relative, bool mustExist, std::string& why) const
{
    if (relative.find('\0') != std::string::npos) {
        why = "the path holds a NUL character";
        return std::nullopt;
    }
    fs::path path(relative);
    if (path.is_absolute()) {
        why = "only paths below the folder are allowed, not absolute ones";
        return std::nullopt;
    }
    for (const fs::path& part : path)
        if (part == "..") {
            why = "paths may not climb out of the folder with ..";
            return std::nullopt;
        }
    std::error_code ec;
    fs::path joined = (mRoot / path).lexically_normal();
    fs::path resolved;
    if (fs::exists(fs::symlink_status(joined, ec))) {
        resolved = fs::canonical(joined, ec);
        if (ec) {
            why = "it cannot be resolved (a symbolic link that leads nowhere?)";
            return std::nullopt;
        }
    } else if (mustExist) {
        why = "there is no such file or folder";
        return std::nullopt;
    } else {
        fs::path parent = fs::canonical(joined.parent_path(), ec);
        if (ec || !fs::is_directory(parent, ec)) {
            why = "its folder does not exist";
            return std::nullopt;
        }
        resolved = parent / joined.filename();
    }
    if (!Contains(resolved)) {
        why = "it leads out of the folder (a symbolic link)";
        return std::nullopt;
    }
    return resolved;
}

std::string UiFolder::Relative(const fs::path& path) const
{
    fs::path relative = path.lexically_relative(mRoot);
    return relative == "." ? "" : relative.generic_string();
}

std::optional<JsonValue> UiFolder::List(const std::string& relative, std::string& why) const
{
    std::optional<fs::path> folder = Resolve(relative, true, why);
    if (!folder) return std::nullopt;
    std::error_code ec;
    if (!fs::is_directory(*folder, ec)) {
        why = "it is not a folder";
        return std::nullopt;
    }
    struct Entry {
        std::string name;
        bool folder;
        uintmax_t size;
    };
    std::vector<Entry> entries;
    fs::directory_iterator it(*folder, ec), end;
    if (ec) {
        why = "the folder cannot be read";
        return std::nullopt;
    }
    for (; it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code entryError;
        bool isFolder = it->is_directory(entryError);
        uintmax_t size = isFolder ? 0 : it->file_size(entryError);
        entries.push_back(Entry{name, isFolder, entryError ? 0 : size});
        if (ec) break;
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.folder != b.folder ? a.folder : a.name < b.name;
    });
    std::string base = Relative(*folder);
    JsonValue list = JsonValue::Array();
    for (const Entry& entry : entries) {
        JsonValue e = JsonValue::Object();
        e.Set("name", JsonValue::String(entry.name));
        e.Set("path", JsonValue::String(base.empty() ? entry.name : base + "/" + entry.name));
        e.Set("folder", JsonValue::Bool(entry.folder));
        e.Set("size", JsonValue::Integer(static_cast<int64>(entry.size)));
        list.Append(std::move(e));
    }
    JsonValue answer = JsonValue::Object();
    answer.Set("dir", JsonValue::String(base));
    answer.Set("entries", std::move(list));
    return answer;
}
