#include <array>
#include <cstring>

#include "mif/MifKeywordTable.h"

namespace {

// Every statement and every keyword value is looked up, so the lookup is a hash of the names,
// made once; the sorted table stays the reference for order and names.
class KeywordIndex {
public:
    KeywordIndex()
    {
        for (size_t i = 0; i < MifKeywordTable::kRowCount; ++i) {
            std::string_view name = MifKeywordTable::kRows[i].name;
            size_t slot = Hash(name) & kMask;
            while (mSlots[slot].row) slot = (slot + 1) & kMask;
            mSlots[slot] = {name, &MifKeywordTable::kRows[i]};
        }
    }
    const MifKeyword* Find(std::string_view name) const
    {
        for (size_t slot = Hash(name) & kMask;; slot = (slot + 1) & kMask) {
            const Slot& s = mSlots[slot];
            if (!s.row) return nullptr;
            if (s.name.size() == name.size() && std::memcmp(s.name.data(), name.data(), name.size()) == 0) return s.row;
        }
    }

private:
    static constexpr size_t kSize = 4096;  // a power of two, five times the rows: short probes
    static constexpr size_t kMask = kSize - 1;
    struct Slot {
        std::string_view name;
        const MifKeyword* row = nullptr;
    };
    static size_t Hash(std::string_view name)
    {
        uint32 h = 2166136261u;  // FNV-1a
        for (unsigned char c : name) h = (h ^ c) * 16777619u;
        return h;
    }
    std::array<Slot, kSize> mSlots{};
};

} // namespace

int32 MifKeywordTable::Lookup(std::string_view name, int32* type)
{
    static const KeywordIndex index;
    const MifKeyword* row = index.Find(name);
    if (!row) return -1;
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
