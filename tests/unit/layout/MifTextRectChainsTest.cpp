// MifTextRectChains: the chains TRNext makes of the TextRects, and the flow that names each
// chain's first TextRect.
#include <gtest/gtest.h>

#include <map>

#include "TestUtils.h"

#include "layout/MifTextRectChains.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

namespace {

// The TextRects of a parsed page, by ID.
std::map<int32, const MifObject*> TextRectsOf(const MifObject& root)
{
    std::map<int32, const MifObject*> textRects;
    for (const MifObject& page : root.Children(kMifPage))
        for (const MifObject& textRect : page.Children(kMifTextRect)) {
            MifPropVal id;
            textRects[textRect.GetPropVal(kMifID, id) ? id.id : 0] = &textRect;
        }
    return textRects;
}

std::string TagOf(const MifObject* flow) { return flow ? MifTextRectChains::FlowTag(*flow).GetUTF8String() : "<none>"; }

} // namespace

TEST(MifTextRectChains, ChainsFollowTRNextToTheirFlow)
{
    // 3 -> 1 -> 2 make one chain headed by 3, whatever the IDs' order; 4 stands alone.
    ParsedMif mif("<Page <TextRect <ID 1> <TRNext 2>> <TextRect <ID 2>> <TextRect <ID 3> <TRNext 1>> <TextRect <ID 4>>>\n"
                  "<TextFlow <TFTag `B'> <Para <ParaLine <TextRectID 4>>>>\n"
                  "<TextFlow <TFTag `A'> <Para <ParaLine <TextRectID 3>>>>\n");
    ASSERT_TRUE(mif.root);
    const MifTextRectChains chains(TextRectsOf(*mif.root), *mif.root);
    EXPECT_EQ(chains.HeadOf(1), 3);
    EXPECT_EQ(chains.HeadOf(2), 3);
    EXPECT_EQ(chains.HeadOf(3), 3);
    EXPECT_EQ(chains.HeadOf(4), 4);
    EXPECT_EQ(chains.HeadOf(99), 99);  // unknown: its own head
    EXPECT_EQ(TagOf(chains.FlowOf(2)), "A");
    EXPECT_EQ(TagOf(chains.FlowOf(4)), "B");
    EXPECT_EQ(TagOf(chains.FlowOfHead(1)), "<none>");  // 1 heads no chain
}

TEST(MifTextRectChains, LoopTakesItsLowestIdAndFirstFlowWins)
{
    // 5 -> 6 -> 5 is a loop: both take 5 as their head. Two flows name 5: the first is kept.
    ParsedMif mif("<Page <TextRect <ID 6> <TRNext 5>> <TextRect <ID 5> <TRNext 6>> <TextRect <ID 7>>>\n"
                  "<TextFlow <TFTag `First'> <Para <ParaLine <TextRectID 5>>>>\n"
                  "<TextFlow <TFTag `Second'> <Para <ParaLine <TextRectID 5>>>>\n"
                  "<TextFlow <Para <ParaLine <TextRectID 7>>>>\n");
    ASSERT_TRUE(mif.root);
    const MifTextRectChains chains(TextRectsOf(*mif.root), *mif.root);
    EXPECT_EQ(chains.HeadOf(5), 5);
    EXPECT_EQ(chains.HeadOf(6), 5);
    EXPECT_EQ(TagOf(chains.FlowOf(6)), "First");
    ASSERT_NE(chains.FlowOf(7), nullptr);
    EXPECT_EQ(TagOf(chains.FlowOf(7)), "");  // an untagged flow
}
