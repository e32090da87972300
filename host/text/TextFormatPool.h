// TextFormatPool: the distinct formats of a story, each kept once. Runs hold a format's id, so
// that the thousands of paragraphs and runs that share a style and its overrides share one
// attribute list, and equal formats compare by id.
#pragma once

#include <deque>
#include <unordered_map>

#include "TextFormat.h"

class TextFormatPool {
public:
    using Id = uint32;
    static constexpr Id kDefault = 0;  // no style, no overrides

    TextFormatPool();
    // The id of `format`, added when it is new.
    Id Intern(const TextFormat& format);
    // The format of `id`; references stay valid as formats are added.
    const TextFormat& Get(Id id) const { return mFormats[id]; }
    size_t Count() const { return mFormats.size(); }

private:
    std::deque<TextFormat> mFormats;
    std::unordered_multimap<size_t, Id> mByHash;
};
