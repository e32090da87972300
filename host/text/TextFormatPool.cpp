#include "TextFormatPool.h"

#include <functional>
#include <variant>

namespace {

void Combine(size_t& seed, size_t value) { seed ^= value + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2); }

size_t HashValue(const AttributeValue& value)
{
    struct Visitor {
        size_t operator()(bool v) const { return std::hash<bool>()(v); }
        size_t operator()(int32 v) const { return std::hash<int32>()(v); }
        size_t operator()(PMReal v) const { return std::hash<PMReal>()(v); }
        size_t operator()(const PMString& v) const { return std::hash<std::u16string>()(v.GetUTF16()); }
        size_t operator()(UID v) const { return std::hash<UID>()(v) * 31; }
        size_t operator()(const TabStopTable& v) const
        {
            size_t seed = v.GetStops().size();
            for (const TabStop& stop : v.GetStops()) Combine(seed, std::hash<PMReal>()(stop.position) + stop.alignment);
            return seed;
        }
    };
    size_t seed = value.index();
    Combine(seed, std::visit(Visitor{}, value));
    return seed;
}

size_t HashFormat(const TextFormat& format)
{
    size_t seed = std::hash<UID>()(format.style);
    for (const auto& [kind, value] : format.overrides.GetAttributes()) {
        Combine(seed, static_cast<size_t>(kind));
        Combine(seed, HashValue(value));
    }
    return seed;
}

} // namespace

TextFormatPool::TextFormatPool() { Intern(TextFormat()); }

TextFormatPool::Id TextFormatPool::Intern(const TextFormat& format)
{
    const size_t hash = HashFormat(format);
    auto [first, last] = mByHash.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (mFormats[it->second] == format) return it->second;
    Id id = static_cast<Id>(mFormats.size());
    mFormats.push_back(format);
    mByHash.emplace(hash, id);
    return id;
}
