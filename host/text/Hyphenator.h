// Hyphenator: where a word may be hyphenated, from libhyphen's patterns.
//
// The patterns are the installed dictionary of the language (US English unless another is
// asked for and installed), loaded once. A word's points are worked out once and kept: a long
// story repeats its words.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "PMTypes.h"

class Hyphenator {
public:
    // The patterns of `language` (a locale name such as "en_US"), from TESSEL_HYPHEN_DIR or the
    // system's dictionaries; without them no word is hyphenated.
    explicit Hyphenator(const std::string& language = "en_US");
    ~Hyphenator();
    Hyphenator(const Hyphenator&) = delete;
    Hyphenator& operator=(const Hyphenator&) = delete;

    bool HasPatterns() const { return mDictionary != nullptr; }
    // The offsets in `word` (letters only, no spaces or punctuation around it) after which it may
    // be broken with a hyphen, ascending; at least `before` letters before each and `after` after.
    // Words shorter than `minimum` letters are never broken.
    const std::vector<int32>& Points(const std::u16string& word, int32 minimum = 5, int32 before = 2, int32 after = 2);

private:
    void* mDictionary = nullptr;  // HyphenDict
    std::unordered_map<std::u16string, std::vector<int32>> mPoints;
    std::vector<int32> mNone;
};
