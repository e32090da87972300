// Text frames and stories in the package: the frame's place, outline, thread and preferences,
// each story in its own part listed in designmap, and an empty story with no Content.
#include <gtest/gtest.h>

#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "Story.h"
#include "TextFrame.h"

#include "host/IdmlPackage.h"
#include "host/IdmlSchema.h"
#include "host/TestDocument.h"

namespace {

std::string Attr(pugi::xml_node element, const char* name) { return element.attribute(name).value(); }

TextFrame& AddFrame(TestDocument& doc, Spread& spread, Story& story, PMRect bounds, PMReal x, PMReal y)
{
    TextFrame& frame = *doc.DB().Create<TextFrame>();
    frame.spread = spread.GetUID();
    frame.story = story.GetUID();
    frame.pathBounds = bounds;
    frame.itemTransform = PMMatrix::Translation(x, y);
    spread.pageItems.push_back(frame.GetUID());
    return frame;
}

Story& AddStory(TestDocument& doc)
{
    Story& story = *doc.DB().Create<Story>();
    doc.Doc().stories.push_back(story.GetUID());
    return story;
}

} // namespace

TEST(IdmlTextFrameWriter, Frames_ThreadGeometryAndPreferences)
{
    TestDocument doc;
    Layer& layer = doc.AddLayer("Text");
    Spread& first = doc.AddSpread(1);
    Spread& second = doc.AddSpread(1);
    MasterSpread& master = doc.AddMaster("A", "Master", 1);
    Story& story = AddStory(doc);
    story.textModel.Insert(0, u"One\rTwo & <three>");
    Story& empty = AddStory(doc);
    TextFrame& a = AddFrame(doc, first, story, PMRect(0, 0, 468, 648), -234, -324);
    TextFrame& b = AddFrame(doc, second, story, PMRect(0, 0, 100, 50), 10, 20);
    a.nextFrame = b.GetUID();
    b.previousFrame = a.GetUID();
    a.layer = layer.GetUID();
    a.columnCount = 2;
    a.columnGutter = 12;
    a.insets = PMRect(126, 1, 2, 3);
    a.firstBaselineOffset = FirstBaselineOffset::kLeadingOffset;
    TextFrame& m = AddFrame(doc, master, empty, PMRect(0, 0, 50, 50), 0, 0);

    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(doc.DB(), &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    EXPECT_EQ(package.Check(), std::vector<std::string>());
    EXPECT_TRUE(IdmlSchema::Validates(bytes));

    pugi::xml_node frameA = package.FindSelf(IdmlIds::ForUID(a.GetUID()));
    ASSERT_TRUE(frameA);
    EXPECT_EQ(std::string(frameA.name()), "TextFrame");
    EXPECT_EQ(std::string(frameA.parent().name()), "Spread");
    EXPECT_EQ(Attr(frameA, "ParentStory"), IdmlIds::ForUID(story.GetUID()));
    EXPECT_EQ(Attr(frameA, "PreviousTextFrame"), "n");
    EXPECT_EQ(Attr(frameA, "NextTextFrame"), IdmlIds::ForUID(b.GetUID()));
    EXPECT_EQ(Attr(frameA, "ItemLayer"), IdmlIds::ForUID(layer.GetUID()));
    EXPECT_EQ(Attr(frameA, "ItemTransform"), "1 0 0 1 -234 -324");
    std::vector<std::string> anchors;
    for (pugi::xml_node point : frameA.child("Properties").child("PathGeometry").child("GeometryPathType").child("PathPointArray").children("PathPointType"))
        anchors.push_back(Attr(point, "Anchor"));
    EXPECT_EQ(anchors, (std::vector<std::string>{"0 0", "0 648", "468 648", "468 0"}));
    pugi::xml_node preference = frameA.child("TextFramePreference");
    EXPECT_EQ(Attr(preference, "TextColumnCount"), "2");
    EXPECT_EQ(Attr(preference, "TextColumnGutter"), "12");
    EXPECT_EQ(Attr(preference, "FirstBaselineOffset"), "LeadingOffset");
    std::vector<std::string> insets;
    for (pugi::xml_node item : preference.child("Properties").child("InsetSpacing").children("ListItem")) insets.push_back(item.text().get());
    EXPECT_EQ(insets, (std::vector<std::string>{"1", "126", "3", "2"}));   // top, left, bottom, right

    pugi::xml_node frameB = package.FindSelf(IdmlIds::ForUID(b.GetUID()));
    EXPECT_EQ(Attr(frameB, "PreviousTextFrame"), IdmlIds::ForUID(a.GetUID()));
    EXPECT_EQ(Attr(frameB, "ItemLayer"), IdmlIds::ForUID(layer.GetUID()));   // the frontmost layer
    EXPECT_EQ(std::string(package.FindSelf(IdmlIds::ForUID(m.GetUID())).parent().name()), "MasterSpread");

    EXPECT_EQ(Attr(package.Part("designmap.xml"), "StoryList"),
              IdmlIds::ForUID(story.GetUID()) + " " + IdmlIds::ForUID(empty.GetUID()));
    std::vector<std::string> pieces;
    for (pugi::xml_node paragraph : package.Part(IdmlIds::StoryPart(story.GetUID())).child("Story").children("ParagraphStyleRange"))
        for (pugi::xml_node piece : paragraph.child("CharacterStyleRange").children())
            pieces.push_back(std::string(piece.name()) + ":" + piece.text().get());
    EXPECT_EQ(pieces, (std::vector<std::string>{"Content:One", "Br:", "Content:Two & <three>"}));
    pugi::xml_node none = package.Part(IdmlIds::StoryPart(empty.GetUID())).child("Story").child("ParagraphStyleRange").child("CharacterStyleRange");
    ASSERT_TRUE(none);
    EXPECT_FALSE(none.first_child());
}
