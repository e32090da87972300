#include "mif/MifFamilyEncodings.h"

bool MifFamilyEncodings::Find(const Table& table, const PMString& family, int32& encoding)
{
    const std::pair<PMString, int32>* found = nullptr;
    for (const auto& entry : table) {
        if (entry.first == family) {
            found = &entry;
            break;
        }
        if (!found && entry.first.IsEqualNoCase(family)) found = &entry;
    }
    if (!found) return false;
    encoding = found->second;
    return true;
}
