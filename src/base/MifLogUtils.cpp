#include "base/MifLogUtils.h"

#include "SessionPaths.h"

bool MifLogUtils::GetLogFolder(IDFile& folder) const
{
    folder = SessionPaths::GetLogFolder();
    return !folder.IsEmpty();
}
