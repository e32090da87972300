#include "ShapedWordCache.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

// An entry as laid out in the arena: this header, then the text's characters, then the shaped
// arrays its ShapedText views (glyphs, clusters, advances, x and y offsets, prefix widths).
struct ShapedWordCache::Entry {
    const FontFaceEntry* face;
    size_t length;
    ShapedText shaped;
    const char16_t* Text() const { return reinterpret_cast<const char16_t*>(this + 1); }
};

namespace {

constexpr size_t kBlockBytes = 64 * 1024;
constexpr size_t kFirstSlots = 1024;

constexpr size_t RoundUp(size_t bytes) { return (bytes + alignof(double) - 1) & ~(alignof(double) - 1); }

// Copies `from` to `at` and returns the copy's view; `at` moves past it (rounded for a double).
template <typename T>
std::span<const T> Place(std::byte*& at, std::span<const T> from)
{
    T* to = reinterpret_cast<T*>(at);
    std::uninitialized_copy(from.begin(), from.end(), to);
    at += RoundUp(from.size() * sizeof(T));
    return {to, from.size()};
}

} // namespace

uint64 ShapedWordCache::Hash(const FontFaceEntry* face, std::u16string_view text)
{
    uint64 hash = std::hash<std::u16string_view>()(text);
    hash ^= static_cast<uint64>(reinterpret_cast<uintptr_t>(face)) * 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

const ShapedText* ShapedWordCache::Find(const FontFaceEntry* face, std::u16string_view text) const
{
    if (mSlots.empty()) return nullptr;
    const uint64 hash = Hash(face, text);
    const size_t mask = mSlots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = mSlots[i];
        if (!slot.entry) return nullptr;
        const Entry& entry = *slot.entry;
        if (slot.hash == hash && entry.face == face && entry.length == text.size() &&
            std::memcmp(entry.Text(), text.data(), text.size() * sizeof(char16_t)) == 0)
            return &entry.shaped;
    }
}

const ShapedText& ShapedWordCache::Add(const FontFaceEntry* face, std::u16string_view text, const ShapedText& shaped)
{
    const size_t bytes = RoundUp(sizeof(Entry)) + RoundUp(text.size() * sizeof(char16_t)) +
                         RoundUp(shaped.glyphs.size() * sizeof(uint32)) + RoundUp(shaped.clusters.size() * sizeof(int32)) +
                         (shaped.advances.size() + shaped.offsetsX.size() + shaped.offsetsY.size() + shaped.prefix.size()) * sizeof(double);
    std::byte* at = Allocate(bytes);
    Entry* entry = new (at) Entry{face, text.size(), {}};
    at += RoundUp(sizeof(Entry));
    Place(at, std::span<const char16_t>(text));
    ShapedText& copy = entry->shaped;
    copy.glyphs = Place(at, shaped.glyphs);
    copy.clusters = Place(at, shaped.clusters);
    copy.advances = Place(at, shaped.advances);
    copy.offsetsX = Place(at, shaped.offsetsX);
    copy.offsetsY = Place(at, shaped.offsetsY);
    copy.prefix = Place(at, shaped.prefix);
    copy.width = shaped.width;
    if ((mSize + 1) * 2 > mSlots.size()) Grow();
    Insert(Hash(face, text), entry);
    ++mSize;
    return copy;
}

void ShapedWordCache::Clear()
{
    mSlots.clear();
    mSize = 0;
    mBlocks.clear();
    mFree = nullptr;
    mFreeBytes = 0;
}

std::byte* ShapedWordCache::Allocate(size_t bytes)
{
    if (bytes > mFreeBytes) {
        // A long piece of text gets a block of its own; the words after it are still taken
        // from the rest of the block before.
        if (bytes > kBlockBytes / 4) {
            mBlocks.push_back(std::make_unique<std::byte[]>(bytes));
            return mBlocks.back().get();
        }
        mBlocks.push_back(std::make_unique<std::byte[]>(kBlockBytes));
        mFree = mBlocks.back().get();
        mFreeBytes = kBlockBytes;
    }
    std::byte* at = mFree;
    mFree += bytes;
    mFreeBytes -= bytes;
    return at;
}

void ShapedWordCache::Insert(uint64 hash, Entry* entry)
{
    const size_t mask = mSlots.size() - 1;
    size_t i = hash & mask;
    while (mSlots[i].entry) i = (i + 1) & mask;
    mSlots[i] = Slot{hash, entry};
}

void ShapedWordCache::Grow()
{
    std::vector<Slot> old = std::exchange(mSlots, std::vector<Slot>(std::max(kFirstSlots, mSlots.size() * 2)));
    for (const Slot& slot : old)
        if (slot.entry) Insert(slot.hash, slot.entry);
}
