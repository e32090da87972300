// Template frames of master pages: a master page's text frame whose flow has a tag is the model
// of the body pages' frames of that flow. It stays on its master, empty, as the master's primary
// text frame; the text its flow holds is reported, not imported. Untagged master frames
// (running heads and feet) keep their text.
#include <gtest/gtest.h>

#include "Document.h"
#include "IdmlIds.h"
#include "IdmlPackage.h"
#include "IdmlWriter.h"
#include "MifImportFixture.h"
#include "Spread.h"
#include "TextFrame.h"

#include "base/MifDocInterface.h"

namespace {

constexpr const char* kMasterAndBody =
    "<MIFFile 9.00>\n"
    "<PgfCatalog <Pgf <PgfTag `Body'> <PgfFont <FFamily `DejaVu Sans'> <FSize 10pt>>>>\n"
    "<Page <PageType RightMasterPage> <PageTag `Right'>\n"
    " <TextRect <ID 9> <ShapeRect 1\" 8\" 3\" 1\">>\n"
    " <TextRect <ID 6> <ShapeRect 1\" 0.5\" 6\" 0.3\">>\n"
    " <TextRect <ID 8> <ShapeRect 1\" 1\" 6\" 6\">>\n"
    ">\n"
    "<Page <PageType BodyPage> <PageBackground `Default'> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 6\">>>\n"
    "<TextFlow <Para <PgfTag `Body'> <ParaLine <TextRectID 6> <String `Running head'>>>>\n"
    "<TextFlow <TFTag `B'> <Para <PgfTag `Body'> <ParaLine <TextRectID 9>>>>\n"
    "<TextFlow <TFTag `A'> <TFAutoConnect Yes>\n"
    " <Para <PgfTag `Body'> <ParaLine <TextRectID 8> <String `Text in the MASTER PAGE.'>>>>\n"
    "<TextFlow <TFTag `A'> <TFAutoConnect Yes> <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `Body text'>>>>\n";

class MifTemplateFrameTest : public MifImportFixture {
protected:
    const TextFrame* FrameOf(int32 id) const
    {
        InterfacePtr<IMifLayoutImporter> layout = MifDocInterface<IMifLayoutImporter>(db);
        return layout ? db->Get<TextFrame>(layout->GetItemOfId(id).GetUID()) : nullptr;
    }
    std::u16string TextOf(const TextFrame* frame) const
    {
        const Story* s = frame ? db->Get<Story>(frame->story) : nullptr;
        return s ? s->textModel.GetText(0, s->textModel.TotalLength()) : u"(no story)";
    }
};

} // namespace

TEST_F(MifTemplateFrameTest, TemplateStaysEmptyOnItsMasterAndBackgroundKeepsItsText)
{
    OpenMif("tessel-template-test.mif", kMasterAndBody);
    EXPECT_EQ(story->textModel.GetText(0, story->textModel.TotalLength()), u"Body text\r");

    const TextFrame* page = FrameOf(8);
    const TextFrame* unconnected = FrameOf(9);
    const TextFrame* runningHead = FrameOf(6);
    ASSERT_NE(page, nullptr);
    ASSERT_NE(unconnected, nullptr);
    ASSERT_NE(runningHead, nullptr);
    const MasterSpread* master = db->Get<MasterSpread>(page->spread);
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(TextOf(page), u"\r");
    EXPECT_EQ(TextOf(unconnected), u"\r");
    EXPECT_EQ(TextOf(runningHead), u"Running head\r");

    // Of the two templates, the one of the autoconnected flow, though it stands later.
    EXPECT_EQ(master->primaryTextFrame, page->GetUID());

    // The master text is said once, with its flow's line; the empty template says nothing.
    EXPECT_TRUE(Warned("Line 11: Text of a master page's template frame (flow A) is not imported, as FrameMaker shows it on no "
                       "body page: \"Text in the MASTER PAGE.\""));
    EXPECT_FALSE(Mentioned("(flow B)"));

    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    pugi::xml_node spread = package.Part(IdmlIds::MasterSpreadPart(master->GetUID())).child("MasterSpread");
    EXPECT_EQ(std::string(spread.attribute("PrimaryTextFrame").value()), IdmlIds::ForUID(page->GetUID()));
    EXPECT_EQ(package.Check(), std::vector<std::string>());
}

// A master whose frames all hold background text has no primary text frame.
TEST_F(MifTemplateFrameTest, MasterWithoutTaggedFlowHasNoPrimaryFrame)
{
    OpenMif("tessel-template-test.mif",
            "<MIFFile 9.00>\n"
            "<Page <PageType RightMasterPage> <PageTag `Right'> <TextRect <ID 6> <ShapeRect 1\" 0.5\" 6\" 0.3\">>>\n"
            "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 6\">>>\n"
            "<TextFlow <Para <ParaLine <TextRectID 6> <String `Foot'>>>>\n"
            "<TextFlow <TFTag `A'> <Para <ParaLine <TextRectID 1> <String `Body'>>>>\n");
    const TextFrame* foot = FrameOf(6);
    ASSERT_NE(foot, nullptr);
    EXPECT_EQ(TextOf(foot), u"Foot\r");
    EXPECT_EQ(db->Get<MasterSpread>(foot->spread)->primaryTextFrame, kInvalidUID);
    EXPECT_FALSE(Mentioned("template frame"));
}
