#include "ShapedWordCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FontCache.h"

namespace {

// A shaping whose every array tells the word and face it was made for.
struct Arrays {
    std::vector<uint32> glyphs;
    std::vector<int32> clusters;
    std::vector<double> advances, offsetsX, offsetsY, prefix;
    Arrays(std::u16string_view text, uint32 tag)
    {
        for (size_t i = 0; i < text.size(); ++i) {
            glyphs.push_back(tag * 100000 + text[i]);
            clusters.push_back(static_cast<int32>(i));
            advances.push_back(tag + 0.5);
            offsetsX.push_back(0.25 * tag);
            offsetsY.push_back(-0.25 * tag);
        }
        prefix.assign(text.size() + 1, 0);
        for (size_t i = 0; i < text.size(); ++i) prefix[i + 1] = prefix[i] + advances[i];
    }
};

// Adds the word `text` of `face` to `cache` as `made` shapes it.
const ShapedText& Keep(ShapedWordCache& cache, const FontFaceEntry* face, std::u16string_view text, const Arrays& made)
{
    ShapedWordCache::NewWord word = cache.Add(face, text, made.glyphs.size());
    EXPECT_EQ(word.prefix.size(), text.size() + 1);
    std::copy(made.glyphs.begin(), made.glyphs.end(), word.glyphs.begin());
    std::copy(made.clusters.begin(), made.clusters.end(), word.clusters.begin());
    std::copy(made.advances.begin(), made.advances.end(), word.advances.begin());
    std::copy(made.offsetsX.begin(), made.offsetsX.end(), word.offsetsX.begin());
    std::copy(made.offsetsY.begin(), made.offsetsY.end(), word.offsetsY.begin());
    std::copy(made.prefix.begin(), made.prefix.end(), word.prefix.begin());
    word.width = made.prefix.back();
    return word.shaped;
}

void ExpectSame(const ShapedText& kept, const Arrays& made)
{
    EXPECT_EQ(std::vector<uint32>(kept.glyphs.begin(), kept.glyphs.end()), made.glyphs);
    EXPECT_EQ(std::vector<int32>(kept.clusters.begin(), kept.clusters.end()), made.clusters);
    EXPECT_EQ(std::vector<double>(kept.advances.begin(), kept.advances.end()), made.advances);
    EXPECT_EQ(std::vector<double>(kept.offsetsX.begin(), kept.offsetsX.end()), made.offsetsX);
    EXPECT_EQ(std::vector<double>(kept.offsetsY.begin(), kept.offsetsY.end()), made.offsetsY);
    EXPECT_EQ(std::vector<double>(kept.prefix.begin(), kept.prefix.end()), made.prefix);
    EXPECT_EQ(kept.width, made.prefix.back());
}

TEST(ShapedWordCacheTest, KeepsEachWordPerFaceAndFindsItByTextAlone)
{
    FontFaceEntry roman, bold;
    ShapedWordCache cache;
    EXPECT_EQ(cache.Find(&roman, u"word"), nullptr);
    const Arrays romanWord(u"word", 1), boldWord(u"word", 2), empty(u"", 3);
    std::u16string text = u"word";
    const ShapedText& kept = Keep(cache, &roman, text, romanWord);
    Keep(cache, &bold, u"word", boldWord);
    Keep(cache, &roman, u"", empty);
    text = u"xxxx";  // the cache holds its own copy of the text
    ASSERT_NE(cache.Find(&roman, u"word"), nullptr);
    EXPECT_EQ(cache.Find(&roman, u"word"), &kept);
    ExpectSame(kept, romanWord);
    ExpectSame(*cache.Find(&bold, u"word"), boldWord);
    ExpectSame(*cache.Find(&roman, u""), empty);
    EXPECT_EQ(cache.Find(&roman, u"wor"), nullptr);
    EXPECT_EQ(cache.Find(&roman, u"words"), nullptr);
    EXPECT_EQ(cache.Find(&roman, u"xxxx"), nullptr);
    EXPECT_EQ(cache.Find(nullptr, u"word"), nullptr);
    EXPECT_EQ(cache.Size(), 3u);
    cache.Clear();
    EXPECT_EQ(cache.Size(), 0u);
    EXPECT_EQ(cache.Find(&roman, u"word"), nullptr);
    Keep(cache, &roman, u"word", boldWord);  // usable again after clearing
    ExpectSame(*cache.Find(&roman, u"word"), boldWord);
}

TEST(ShapedWordCacheTest, WordsStayWhereTheyAreAsTheCacheGrowsAndLongTextsFit)
{
    FontFaceEntry face;
    ShapedWordCache cache;
    std::vector<std::u16string> words;
    std::vector<const ShapedText*> kept;
    for (int i = 0; i < 20000; ++i) {
        words.push_back(u"w" + std::u16string(static_cast<size_t>(i % 7), u'x') + std::u16string(1, char16_t(u'A' + i % 26)) +
                        std::u16string(static_cast<size_t>(i / 26), u'y').substr(0, 40) + std::u16string(1, char16_t(0x100 + i)));
        kept.push_back(&Keep(cache, &face, words.back(), Arrays(words.back(), 1)));
    }
    // A text larger than a block of the arena, and words added after it.
    const std::u16string paragraph(100000, u'p');
    const Arrays long_(paragraph, 4);
    const ShapedText& longKept = Keep(cache, &face, paragraph, long_);
    Keep(cache, &face, u"after", Arrays(u"after", 5));
    for (size_t i = 0; i < words.size(); ++i) {
        ASSERT_EQ(cache.Find(&face, words[i]), kept[i]) << i;
        EXPECT_EQ(kept[i]->glyphs.size(), words[i].size());
        EXPECT_EQ(kept[i]->glyphs.back(), 100000u + words[i].back());
    }
    EXPECT_EQ(cache.Find(&face, paragraph), &longKept);
    ExpectSame(longKept, long_);
    ExpectSame(*cache.Find(&face, u"after"), Arrays(u"after", 5));
    EXPECT_EQ(cache.Size(), words.size() + 2);
}

} // namespace
