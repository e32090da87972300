// IDFile: a reference to a file or folder in the file system (which need not exist).
#pragma once

#include <filesystem>

#include "PMString.h"

class IDFile {
public:
    IDFile() = default;
    explicit IDFile(std::filesystem::path path) : mPath(std::move(path)) {}
    explicit IDFile(const PMString& path) : mPath(path.GetUTF8String()) {}

    const std::filesystem::path& GetPath() const { return mPath; }
    // The whole path as text.
    PMString GetPathString() const { return PMString(mPath.string()); }
    // The last component of the path ("Report.mif"); empty for an empty file reference.
    PMString GetFileName() const { return PMString(mPath.filename().string()); }
    // The folder that holds the file.
    IDFile GetParent() const { return IDFile(mPath.parent_path()); }
    // The file `name` inside this folder.
    IDFile Child(const PMString& name) const { return IDFile(mPath / name.GetUTF8String()); }
    bool IsEmpty() const { return mPath.empty(); }
    bool Exists() const;
    bool IsDirectory() const;

    friend bool operator==(const IDFile& a, const IDFile& b) { return a.mPath == b.mPath; }

private:
    std::filesystem::path mPath;
};
