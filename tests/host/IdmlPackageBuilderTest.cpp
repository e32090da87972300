// IdmlPackageBuilder: parts sealed as soon as they are whole make the same package as parts kept
// as trees to the end, in designmap order whatever the order they were added in.
#include <gtest/gtest.h>

#include <string>

#include "IdmlPackageBuilder.h"

namespace {

// The package of what `builder` holds, with a styles part added last.
std::string PackWithStyles(IdmlPackageBuilder& builder)
{
    builder.AddPart(IdmlSlot::kStyles, "Styles", "Resources/Styles.xml").append_child("RootCharacterStyleGroup");
    std::string package;
    EXPECT_EQ(builder.Pack(&package), kSuccess);
    return package;
}

// A package of a story, two spreads and the styles, added out of designmap order; `seal` seals
// the parts after each one, as the writers do.
std::string BuildPackage(bool seal)
{
    IdmlPackageBuilder builder;
    auto sealed = [&] {
        if (seal) builder.SealParts();
    };
    builder.AddPart(IdmlSlot::kStory, "Story", "Stories/Story_u10.xml").append_child("Story").append_attribute("Self").set_value("u10");
    sealed();
    for (const char* spread : {"u20", "u30"}) {
        pugi::xml_node element = builder.AddPart(IdmlSlot::kSpread, "Spread", std::string("Spreads/Spread_") + spread + ".xml").append_child("Spread");
        element.append_attribute("Self").set_value(spread);
        element.append_child("Page").append_attribute("Name").set_value("1 & <2>");
        sealed();
    }
    return PackWithStyles(builder);
}

} // namespace

TEST(IdmlPackageBuilder, SealedPartsMakeTheSamePackage)
{
    const std::string kept = BuildPackage(false);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(BuildPackage(true), kept);
    // The styles, added last, come before the spreads and the story.
    const size_t styles = kept.find("Resources/Styles.xml"), spread = kept.find("Spreads/Spread_u20.xml"),
                 story = kept.find("Stories/Story_u10.xml");
    ASSERT_NE(styles, std::string::npos);
    EXPECT_LT(styles, spread);
    EXPECT_LT(spread, story);
}

namespace {

// A package of one story of `paragraphs` paragraphs, each with a run of `text`, a footnote with
// a paragraph of its own and a character that must be escaped; `writeOutEvery`: the story's
// paragraphs are written out of the tree every so many (0: never), as the story writer does.
std::string StoryPackage(int paragraphs, const std::string& text, int writeOutEvery)
{
    IdmlPackageBuilder builder;
    pugi::xml_node story = builder.AddPart(IdmlSlot::kStory, "Story", "Stories/Story_u10.xml").append_child("Story");
    story.append_attribute("Self").set_value("u10");
    story.append_child("StoryPreference").append_attribute("OpticalMarginAlignment").set_value("false");
    for (int p = 0; p < paragraphs; ++p) {
        if (writeOutEvery > 0 && p % writeOutEvery == 0) builder.WriteOut(story);
        pugi::xml_node paragraph = story.append_child("ParagraphStyleRange");
        paragraph.append_attribute("AppliedParagraphStyle").set_value(("ParagraphStyle/P" + std::to_string(p % 7)).c_str());
        pugi::xml_node characters = paragraph.append_child("CharacterStyleRange");
        characters.append_child("Content").text().set((text + " <" + std::to_string(p) + "> & more").c_str());
        characters.append_child("Footnote").append_child("ParagraphStyleRange").append_child("Br");
        characters.append_child("Br");
    }
    return PackWithStyles(builder);
}

} // namespace

// A long story written out of its tree in batches is the same part, byte for byte, as the story
// written whole: short and long paragraphs, a batch of one, a part past a piece's megabyte.
TEST(IdmlPackageBuilder, StoryWrittenOutInBatchesIsTheSameStory)
{
    for (const auto& [paragraphs, text] : {std::pair{3, std::string("short")}, std::pair{2000, std::string(700, 'x')}}) {
        const std::string whole = StoryPackage(paragraphs, text, 0);
        ASSERT_FALSE(whole.empty());
        for (int every : {1, 2, 256}) EXPECT_EQ(StoryPackage(paragraphs, text, every), whole) << paragraphs << " paragraphs, every " << every;
    }
}

// Writing out an element that has no children changes nothing: an empty story stays one empty
// element, as it is when never written out.
TEST(IdmlPackageBuilder, WritingOutAnEmptyStoryKeepsItEmpty)
{
    auto package = [](bool writeOut) {
        IdmlPackageBuilder builder;
        pugi::xml_node story = builder.AddPart(IdmlSlot::kStory, "Story", "Stories/Story_u10.xml").append_child("Story");
        if (writeOut) builder.WriteOut(story);
        std::string bytes;
        EXPECT_EQ(builder.Pack(&bytes), kSuccess);
        return bytes;
    };
    EXPECT_EQ(package(true), package(false));
}
