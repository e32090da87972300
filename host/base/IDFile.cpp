#include "IDFile.h"

bool IDFile::Exists() const
{
    std::error_code ec;
    return !mPath.empty() && std::filesystem::exists(mPath, ec);
}

bool IDFile::IsDirectory() const
{
    std::error_code ec;
    return !mPath.empty() && std::filesystem::is_directory(mPath, ec);
}
