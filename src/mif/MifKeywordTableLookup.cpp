#include <array>
#include <cstdint>
#include <cstring>

#include "mif/MifKeywordTable.h"

namespace {

// Every statement and every keyword value is looked up, so the lookup is a hash of the names,
// made once; the sorted table stays the reference for order and names. A slot holds what a
// lookup answers and the name's hash and length, so that a probe reads one slot and compares
// the bytes of the one name that matches those.
class KeywordIndex {
public:
    KeywordIndex()
    {
        for (size_t i = 0; i < MifKeywordTable::kRowCount; ++i) {
            const MifKeyword& row = MifKeywordTable::kRows[i];
            size_t length = std::strlen(row.name);
            uint32 hash = Hash(row.name, length);
            size_t slot = hash & kMask;
            while (mSlots[slot].name) slot = (slot + 1) & kMask;
            mSlots[slot] = {row.name, hash, static_cast<uint16>(length), static_cast<int16>(row.type), row.id};
        }
    }
    const char* Find(std::string_view name, int32& id, int32& type) const
    {
        const uint32 hash = Hash(name.data(), name.size());
        for (size_t slot = hash & kMask;; slot = (slot + 1) & kMask) {
            const Slot& s = mSlots[slot];
            if (!s.name) return nullptr;
            if (s.hash == hash && s.length == name.size() && std::memcmp(s.name, name.data(), name.size()) == 0) {
                id = s.id;
                type = s.type;
                return s.name;
            }
        }
    }

private:
    static constexpr size_t kSize = 2048;  // a power of two, two and a half times the rows: short probes
    static constexpr size_t kMask = kSize - 1;
    struct Slot {
        const char* name = nullptr;
        uint32 hash = 0;
        uint16 length = 0;
        int16 type = 0;
        int32 id = 0;
    };
    // The first and the last eight bytes (or fewer) and the length, mixed by multiplication.
    static uint32 Hash(const char* p, size_t n)
    {
        uint64_t a = 0, b = 0;
        if (n >= 8) {
            std::memcpy(&a, p, 8);
            std::memcpy(&b, p + n - 8, 8);
        } else if (n >= 4) {
            uint32 x, y;
            std::memcpy(&x, p, 4);
            std::memcpy(&y, p + n - 4, 4);
            a = x;
            b = y;
        } else if (n > 0) {
            a = static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[n / 2]) << 8) |
                (static_cast<unsigned char>(p[n - 1]) << 16);
        }
        uint64_t h = (a + n) * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) ^ (b * 0xC2B2AE3D27D4EB4Full);
        h *= 0x165667B19E3779F9ull;
        return static_cast<uint32>(h >> 32);
    }
    std::array<Slot, kSize> mSlots{};
};

} // namespace

int32 MifKeywordTable::Lookup(std::string_view name, int32* type)
{
    static const KeywordIndex index;
    int32 id = -1, rowType = 0;
    if (!index.Find(name, id, rowType)) return -1;
    if (type) *type = rowType;
    return id;
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
