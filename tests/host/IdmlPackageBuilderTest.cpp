// IdmlPackageBuilder: parts sealed as soon as they are whole make the same package as parts kept
// as trees to the end, in designmap order whatever the order they were added in.
#include <gtest/gtest.h>

#include <string>

#include "IdmlPackageBuilder.h"

namespace {

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
    builder.AddPart(IdmlSlot::kStyles, "Styles", "Resources/Styles.xml").append_child("RootCharacterStyleGroup");
    std::string package;
    EXPECT_EQ(builder.Pack(&package), kSuccess);
    return package;
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
