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

// `count` values at `at`, zero; `at` moves past them (rounded for a double).
template <typename T>
std::span<T> Take(std::byte*& at, size_t count)
{
    T* values = reinterpret_cast<T*>(at);
    std::uninitialized_value_construct_n(values, count);
    at += RoundUp(count * sizeof(T));
    return {values, count};
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
            (text.empty() || std::memcmp(entry.Text(), text.data(), text.size() * sizeof(char16_t)) == 0))
            return &entry.shaped;
    }
}

ShapedWordCache::NewWord ShapedWordCache::Add(const FontFaceEntry* face, std::u16string_view text, size_t glyphCount)
{
    const size_t bytes = RoundUp(sizeof(Entry)) + RoundUp(text.size() * sizeof(char16_t)) + RoundUp(glyphCount * sizeof(uint32)) +
                         RoundUp(glyphCount * sizeof(int32)) + (3 * glyphCount + text.size() + 1) * sizeof(double);
    std::byte* at = Allocate(bytes);
    Entry* entry = new (at) Entry{face, text.size(), {}};
    at += RoundUp(sizeof(Entry));
    std::uninitialized_copy(text.begin(), text.end(), reinterpret_cast<char16_t*>(at));
    at += RoundUp(text.size() * sizeof(char16_t));
    const std::span<uint32> glyphs = Take<uint32>(at, glyphCount);
    const std::span<int32> clusters = Take<int32>(at, glyphCount);
    const std::span<double> advances = Take<double>(at, glyphCount);
    const std::span<double> offsetsX = Take<double>(at, glyphCount);
    const std::span<double> offsetsY = Take<double>(at, glyphCount);
    const std::span<double> prefix = Take<double>(at, text.size() + 1);
    ShapedText& shaped = entry->shaped;
    shaped = ShapedText{glyphs, advances, offsetsX, offsetsY, clusters, 0, prefix};
    if ((mSize + 1) * 2 > mSlots.size()) Grow();
    Insert(Hash(face, text), entry);
    ++mSize;
    return NewWord{glyphs, clusters, advances, offsetsX, offsetsY, prefix, shaped.width, shaped};
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
