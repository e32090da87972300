// Stories in the package: a ParagraphStyleRange per paragraph with its style and overrides, a
// CharacterStyleRange per run, returns as <Br/> between paragraphs, the page number and forced
// line breaks as InDesign writes them, and footnotes with their own paragraphs at their markers.
#include <gtest/gtest.h>

#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "Story.h"
#include "Style.h"
#include "TextFrame.h"

#include "host/IdmlPackage.h"
#include "host/TestDocument.h"

namespace {

std::string Attr(pugi::xml_node element, const char* name) { return element.attribute(name).value(); }

// Each child of a character range as "name:text", processing instructions as "?name value".
std::vector<std::string> Pieces(pugi::xml_node characters)
{
    std::vector<std::string> pieces;
    for (pugi::xml_node piece : characters.children()) {
        if (std::string(piece.name()) == "Properties") continue;
        std::string text;
        for (pugi::xml_node part : piece.children())
            text += part.type() == pugi::node_pi ? std::string("<?") + part.name() + " " + part.value() + "?>" : part.value();
        pieces.push_back(std::string(piece.name()) + ":" + text);
    }
    return pieces;
}

TEST(IdmlStoryWriter, ParagraphsRunsAndSpecialCharacters)
{
    TestDocument doc;
    Spread& spread = doc.AddSpread(1);
    Style& heading = *doc.DB().Create<Style>();
    heading.kind = StyleKind::kParagraph;
    heading.name = "Heading";
    doc.Doc().paragraphStyles.push_back(heading.GetUID());
    Style& emphasis = *doc.DB().Create<Style>();
    emphasis.kind = StyleKind::kCharacter;
    emphasis.name = "Emphasis";
    doc.Doc().characterStyles.push_back(emphasis.GetUID());

    Story& story = *doc.DB().Create<Story>();
    doc.Doc().stories.push_back(story.GetUID());
    TextFrame& frame = *doc.DB().Create<TextFrame>();
    frame.spread = spread.GetUID();
    frame.story = story.GetUID();
    frame.pathBounds = PMRect(0, 0, 100, 100);
    spread.pageItems.push_back(frame.GetUID());

    TextModel& model = story.textModel;
    model.ApplyStyle(StyleKind::kParagraph, heading.GetUID(), 0, 0, true);
    AttributeBossList indent;
    indent.ApplyAttribute(TextAttribute::kLeftIndent, PMReal(18));
    model.ApplyAttributes(indent, 0, 0);
    model.Insert(0, u"Title\rPage \x18 line\nbreak ");
    model.ApplyStyle(StyleKind::kCharacter, emphasis.GetUID(), 24, 0, true);
    model.Insert(24, u"it\x04.");
    model.SetOwnedItem(26, 999);
    TextRange note = model.AddThread(TextThread{TextThreadKind::kFootnote, 999});
    model.Insert(note.start, u"A note");

    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(doc.DB(), &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    EXPECT_EQ(package.Check(), std::vector<std::string>());

    pugi::xml_node root = package.Part(IdmlIds::StoryPart(story.GetUID())).child("Story");
    std::vector<pugi::xml_node> paragraphs;
    for (pugi::xml_node paragraph : root.children("ParagraphStyleRange")) paragraphs.push_back(paragraph);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(Attr(paragraphs[0], "AppliedParagraphStyle"), "ParagraphStyle/Heading");
    EXPECT_EQ(Attr(paragraphs[0], "LeftIndent"), "18");
    EXPECT_EQ(Pieces(paragraphs[0].child("CharacterStyleRange")), (std::vector<std::string>{"Content:Title", "Br:"}));
    // The paragraph made by the return keeps the formatting of the one it was cut from.
    EXPECT_EQ(Attr(paragraphs[1], "AppliedParagraphStyle"), "ParagraphStyle/Heading");

    std::vector<pugi::xml_node> runs;
    for (pugi::xml_node run : paragraphs[1].children("CharacterStyleRange")) runs.push_back(run);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(Attr(runs[0], "AppliedCharacterStyle"), IdmlIds::kNoCharacterStyle);
    EXPECT_EQ(Pieces(runs[0]), (std::vector<std::string>{"Content:Page <?ACE 18?> line\u2028break "}));
    EXPECT_EQ(Attr(runs[1], "AppliedCharacterStyle"), "CharacterStyle/Emphasis");
    EXPECT_EQ(Pieces(runs[1]), (std::vector<std::string>{"Content:it", "Footnote:", "Content:."}));
    // The footnote holds its own paragraph, its number first; the final return writes nothing.
    pugi::xml_node footnote = runs[1].child("Footnote");
    pugi::xml_node noteText = footnote.child("ParagraphStyleRange").child("CharacterStyleRange");
    EXPECT_EQ(Pieces(noteText), (std::vector<std::string>{"Content:<?ACE 4?>", "Content:A note"}));
    EXPECT_EQ(Pieces(runs[2]), std::vector<std::string>{});
}

} // namespace
