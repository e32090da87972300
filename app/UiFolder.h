// UiFolder: the folder tessel ui works below. The page names files by paths relative to it; a
// path that is absolute, climbs with "..", or leads out of the folder through a symbolic link is
// refused, so the page can read and write nothing else.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "JsonValue.h"

class UiFolder {
public:
    // The folder `root` (made absolute, its links resolved); check IsValid.
    explicit UiFolder(const std::filesystem::path& root);
    bool IsValid() const { return !mRoot.empty(); }
    const std::filesystem::path& GetRoot() const { return mRoot; }

    // The file or folder `relative` names below the folder, its links resolved; `why` says why
    // not when it is refused. With `mustExist` false (a file to save) the last part may be
    // missing, but its folder must exist.
    std::optional<std::filesystem::path> Resolve(const std::string& relative, bool mustExist, std::string& why) const;
    // `path` (resolved) relative to the folder, with '/' separators; "" for the folder itself.
    std::string Relative(const std::filesystem::path& path) const;
    // The entries of the folder `relative` names: folders first, then files, each sorted by
    // name; names starting with "." are left out. Null with `why` when it is refused or unreadable.
    std::optional<JsonValue> List(const std::string& relative, std::string& why) const;

private:
    bool Contains(const std::filesystem::path& resolved) const;

    std::filesystem::path mRoot;
};
