#include <algorithm>
#include <array>

#include "MifKeywordTable.h"

int32 MifKeywordTable::Lookup(std::string_view name, int32* type)
{
    // std::string_view compares as unsigned bytes, the order the table is sorted in.
    const MifKeyword* end = kRows + kRowCount;
    const MifKeyword* row =
        std::lower_bound(kRows, end, name, [](const MifKeyword& k, std::string_view n) { return n.compare(k.name) > 0; });
    if (row == end || name != row->name) return -1;
    if (type) *type = row->type;
    return row->id;
}

const char* MifKeywordTable::GetName(int32 id, int32 type)
{
    constexpr int32 kMaxId = 1024;
    // Rows by id, built on first use; ids that two rows share keep every row, in table order.
    static const auto byId = [] {
        std::array<std::array<const MifKeyword*, 2>, kMaxId> index{};
        for (const MifKeyword& row : kRows) {
            if (row.id < 0 || row.id >= kMaxId) continue;
            auto& slot = index[static_cast<size_t>(row.id)];
            (slot[0] ? slot[1] : slot[0]) = &row;
        }
        return index;
    }();
    if (id < 0 || id >= kMaxId) return nullptr;
    const auto& slot = byId[static_cast<size_t>(id)];
    if (slot[1] && type != kMifTypeAny && slot[1]->type == type) return slot[1]->name;
    return slot[0] ? slot[0]->name : nullptr;
}
