// The story's text model: run trees against a plain model, paragraphs and their returns,
// insertion formats, deletions that join paragraphs, footnote threads and their anchors, and the
// text commands' checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "CmdUtils.h"
#include "DocumentList.h"
#include "NewDocCmd.h"
#include "RunTree.h"
#include "Story.h"
#include "StyleUtils.h"
#include "TextCommands.h"
#include "TextModel.h"

namespace {

// The value at each position, as the tree holds it.
std::vector<int> Flatten(RunTree<int>& tree)
{
    std::vector<int> values;
    tree.ForEach([&](const RunTree<int>::Run& run) { values.insert(values.end(), run.length, *run.value); });
    return values;
}

TEST(RunTreeTest, RandomEditsMatchAPlainSequence)
{
    std::mt19937 random(7);
    RunTree<int> tree;
    std::vector<int> plain;
    for (int step = 0; step < 4000; ++step) {
        int length = static_cast<int>(plain.size());
        int op = static_cast<int>(random() % 5);
        int pos = length ? static_cast<int>(random() % (length + 1)) : 0;
        if (op <= 1 || length == 0) {
            int count = 1 + static_cast<int>(random() % 5);
            int value = static_cast<int>(random() % 3);
            tree.Insert(pos, count, value);
            plain.insert(plain.begin() + pos, count, value);
        } else if (op == 2) {
            int to = std::min(length, pos + 1 + static_cast<int>(random() % 6));
            tree.Erase(pos, to);
            plain.erase(plain.begin() + pos, plain.begin() + to);
        } else if (op == 3 && pos < length) {
            tree.Grow(pos, 2);  // the run holding pos gets two more of its value
            auto run = tree.Find(pos);
            plain.insert(plain.begin() + pos, 2, *run.value);
        } else {
            tree.SplitAt(pos);
            tree.Coalesce(0, static_cast<int>(plain.size()));
        }
        ASSERT_EQ(tree.Length(), static_cast<int>(plain.size()));
        if (step % 97 == 0) {
            ASSERT_EQ(Flatten(tree), plain) << "step " << step;
        }
    }
    EXPECT_EQ(Flatten(tree), plain);
    // Coalescing leaves no two neighbouring runs with one value.
    tree.Coalesce(0, tree.Length());
    int previous = -1;
    tree.ForEach([&](const RunTree<int>::Run& run) {
        EXPECT_NE(*run.value, previous);
        previous = *run.value;
    });
}

// Runs cut at one place again and again, as a story grows at its end, in front of its footnote
// and cell threads: the tree stays shallow, so every look-up stays logarithmic.
TEST(RunTreeTest, CuttingRunsAtTheEndKeepsTheTreeShallow)
{
    RunTree<int> tree;
    tree.Insert(0, 1, 0);
    int primaryEnd = 1;
    for (int paragraph = 0; paragraph < 20000; ++paragraph) {
        tree.Grow(primaryEnd - 1, 50);
        tree.SplitAt(primaryEnd + 49);
        primaryEnd += 50;
        if (paragraph % 10 == 0) tree.Insert(tree.Length(), 1, 1);   // a footnote's thread after the text
        if (paragraph % 7 == 0) tree.Erase(primaryEnd - 20, primaryEnd - 10);
        if (paragraph % 7 == 0) primaryEnd -= 10;
    }
    EXPECT_GT(tree.RunCount(), 20000);
    EXPECT_LT(tree.Depth(), 60);
}

TEST(RunTreeTest, FindAndJoin)
{
    RunTree<int> tree;
    tree.Insert(0, 3, 1);
    tree.Insert(3, 2, 2);
    EXPECT_EQ(tree.Find(3).start, 3);
    EXPECT_EQ(*tree.Find(4).value, 2);
    EXPECT_EQ(tree.Find(5).value, nullptr);
    tree.JoinAt(3);
    EXPECT_EQ(tree.RunCount(), 1);
    EXPECT_EQ(*tree.Find(4).value, 1);
}

TEST(RunTreeTest, ANodeFoundOnceGivesItsRunsStartAfterAnyEdits)
{
    std::mt19937 random(3);
    RunTree<int> tree;
    tree.Insert(0, 4, 1);
    tree.Insert(4, 3, 2);   // the run to follow: value 2
    tree.Insert(7, 5, 3);
    const int32 node = tree.NodeAt(5);
    ASSERT_NE(node, 0);
    EXPECT_EQ(*tree.ValueOf(node), 2);
    EXPECT_EQ(tree.StartOf(node), 4);
    // Edits before and after it move it; its node keeps telling where it starts.
    int32 start = 4;
    for (int step = 0; step < 500; ++step) {
        const int32 length = tree.Length();
        if (random() % 2 == 0) {
            const int32 pos = static_cast<int32>(random() % (start + 1));
            tree.Insert(pos, 2, 5);
            start += 2;
        } else {
            const int32 pos = start + 3 + static_cast<int32>(random() % (length - start - 2));
            tree.Insert(pos, 1, 7);
        }
        ASSERT_EQ(tree.StartOf(node), start) << step;
        ASSERT_EQ(tree.NodeAt(start), node) << step;
    }
    EXPECT_EQ(tree.NodeAt(tree.Length()), 0);
    EXPECT_EQ(tree.ValueOf(0), nullptr);
    // Erased, the node holds no run's value any more.
    tree.Erase(start, start + 3);
    EXPECT_EQ(*tree.ValueOf(node), 0);
}

TEST(TextModelTest, ThreadsAreFoundAgainAsTextBeforeThemChangesAndAfterTheyGo)
{
    TextModel model;
    model.Insert(0, u"body");
    std::vector<TextRange> threads;
    for (UID owner = 100; owner < 110; ++owner) threads.push_back(model.AddThread(TextThread{TextThreadKind::kCell, owner}));
    for (UID owner = 100; owner < 110; ++owner) EXPECT_EQ(model.FindThread(owner).start, threads[owner - 100].start);
    // Text into the earlier threads moves the later ones.
    for (UID owner = 100; owner < 110; ++owner) {
        const TextRange range = model.FindThread(owner);
        ASSERT_TRUE(model.Insert(range.start, u"cell text"));
        EXPECT_EQ(model.GetText(model.FindThread(owner).start, 10), u"cell text\r");
    }
    EXPECT_EQ(model.FindThread(109).length, 10);
    EXPECT_EQ(model.FindThread(109).End(), model.TotalLength());
    // A thread removed is found no more; a new thread may take its run's place.
    ASSERT_TRUE(model.RemoveThread(104));
    EXPECT_EQ(model.FindThread(104).length, 0);
    const TextRange added = model.AddThread(TextThread{TextThreadKind::kCell, 200});
    EXPECT_EQ(model.FindThread(200).start, added.start);
    EXPECT_EQ(model.FindThread(104).length, 0);
    EXPECT_EQ(model.GetText(model.FindThread(105).start, 10), u"cell text\r");
    // Text deleted across a thread's start leaves the rest of it found whole.
    const TextRange before = model.FindThread(106);
    ASSERT_TRUE(model.Delete(before.start, 4));
    EXPECT_EQ(model.GetText(model.FindThread(106).start, model.FindThread(106).length), u" text\r");
    EXPECT_EQ(model.FindThread(kInvalidUID).length, 0);
}

TEST(TextModelTest, ParagraphsEndWithTheirReturns)
{
    TextModel model;
    EXPECT_EQ(model.TotalLength(), 1);
    EXPECT_EQ(model.GetText(0, 1), u"\r");
    EXPECT_FALSE(model.Insert(1, u"x"));  // not past the final return
    EXPECT_FALSE(model.Insert(-1, u"x"));
    EXPECT_FALSE(model.Insert(0, u""));

    ASSERT_TRUE(model.ApplyStyle(StyleKind::kParagraph, 5, 0, 0, true));
    ASSERT_TRUE(model.Insert(0, u"One"));
    ASSERT_TRUE(model.Insert(3, u"\rTwo"));
    ASSERT_TRUE(model.ApplyStyle(StyleKind::kParagraph, 6, 7, 0, true));  // the paragraph of the final return
    ASSERT_TRUE(model.Insert(7, u"\rThree"));
    EXPECT_EQ(model.GetText(0, model.TotalLength()), u"One\rTwo\rThree\r");

    std::vector<std::pair<int32, UID>> paragraphs;
    model.ForEachParagraph(0, model.TotalLength(), [&](int32 start, int32 length, const TextFormat& format) {
        paragraphs.emplace_back(length, format.style);
        EXPECT_EQ(model.GetChar(start + length - 1), u'\r');
    });
    // A return inserted inside a paragraph gives the new paragraph the same formatting.
    EXPECT_EQ(paragraphs, (std::vector<std::pair<int32, UID>>{{4, 5}, {4, 6}, {6, 6}}));
    EXPECT_EQ(model.GetParagraphRange(9).start, 8);
}

TEST(TextModelTest, FormattingAtAnIndexIsTakenOnByTheNextInsertion)
{
    TextModel model;
    model.Insert(0, u"plain");
    AttributeBossList bold;
    bold.ApplyAttribute(TextAttribute::kFontStyle, PMString("Bold"));
    ASSERT_TRUE(model.ApplyStyle(StyleKind::kCharacter, 9, 5, 0, true));
    ASSERT_TRUE(model.ApplyAttributes(bold, 5, 0));
    model.Insert(5, u" bold");
    model.Insert(10, u"er");  // continues the run before it
    EXPECT_EQ(model.GetCharacterFormat(2)->style, kInvalidUID);
    const TextFormat* format = model.GetCharacterFormat(11);
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->style, 9u);
    EXPECT_EQ(*format->overrides.Get<PMString>(TextAttribute::kFontStyle), PMString("Bold"));
    // The final return keeps the story's default formatting.
    EXPECT_EQ(model.GetCharacterFormat(model.TotalLength() - 1)->style, kInvalidUID);
    EXPECT_EQ(model.CharacterRunCount(), 3);

    // Formatting text as it already is leaves no extra runs; paragraph attributes stay out of
    // the character strand.
    model.ApplyStyle(StyleKind::kCharacter, 9, 5, 7, false);
    AttributeBossList indent;
    indent.ApplyAttribute(TextAttribute::kLeftIndent, PMReal(12));
    model.ApplyAttributes(indent, 0, 3);
    EXPECT_EQ(model.CharacterRunCount(), 3);
    EXPECT_EQ(*model.GetParagraphFormat(0)->overrides.Get<PMReal>(TextAttribute::kLeftIndent), 12);
    EXPECT_FALSE(model.GetCharacterFormat(0)->overrides.Contains(TextAttribute::kLeftIndent));
}

TEST(TextModelTest, InsertionAtAParagraphStartContinuesTheTextAfterIt)
{
    TextModel model;
    model.Insert(0, u"a\rb");
    model.ApplyStyle(StyleKind::kCharacter, 4, 2, 1, true);  // "b"
    model.Insert(2, u"x");
    EXPECT_EQ(model.GetCharacterFormat(2)->style, 4u);
    EXPECT_EQ(model.GetCharacterFormat(0)->style, kInvalidUID);
}

TEST(TextModelTest, DeletingAReturnJoinsTheParagraphsIntoTheFirst)
{
    TextModel model;
    model.Insert(0, u"ab\rcd");
    model.ApplyStyle(StyleKind::kParagraph, 1, 0, 0, true);
    model.ApplyStyle(StyleKind::kParagraph, 2, 3, 0, true);
    ASSERT_TRUE(model.Delete(1, 3));  // "b\rc"
    EXPECT_EQ(model.GetText(0, model.TotalLength()), u"ad\r");
    EXPECT_EQ(model.ParagraphRunCount(), 1);
    EXPECT_EQ(model.GetParagraphFormat(0)->style, 1u);
    EXPECT_FALSE(model.Delete(2, 1));  // the story's final return stays
    EXPECT_FALSE(model.Delete(0, 0));
}

TEST(TextModelTest, FootnoteThreadsFollowTheStoryAndTheirMarkers)
{
    TextModel model;
    model.Insert(0, u"Body\x04.");
    ASSERT_TRUE(model.SetOwnedItem(4, 77));
    TextRange thread = model.AddThread(TextThread{TextThreadKind::kFootnote, 77});
    EXPECT_EQ(thread.start, 7);
    ASSERT_TRUE(model.Insert(thread.start, u"Note"));
    // Text before the marker moves the marker and the footnote's thread along.
    ASSERT_TRUE(model.Insert(0, u"The "));
    EXPECT_EQ(model.GetOwnedItem(8), 77u);
    EXPECT_EQ(model.GetOwnedItem(4), kInvalidUID);
    TextRange moved = model.FindThread(77);
    EXPECT_EQ(moved.start, 11);
    EXPECT_EQ(model.GetText(moved.start, moved.length), u"Note\r");
    EXPECT_EQ(model.GetThreadRange(0).length, 11);
    EXPECT_EQ(model.GetThread(12).kind, TextThreadKind::kFootnote);
    // A deletion may not run from the story's text into a footnote's.
    EXPECT_FALSE(model.Delete(9, 4));
    int32 paragraphs = 0;
    model.ForEachParagraph(0, model.TotalLength(), [&](int32, int32, const TextFormat&) { ++paragraphs; });
    EXPECT_EQ(paragraphs, 2);
}

// Random edits against a plain string: the characters, paragraph runs that each end with their
// return, the insertion formats after deletions, and the footnote thread at the end.
TEST(TextModelTest, RandomEditsKeepTheStrandsInStep)
{
    std::mt19937 random(11);
    TextModel model;
    TextRange note = model.AddThread(TextThread{TextThreadKind::kFootnote, 5});
    model.Insert(note.start, u"note");
    std::u16string plain = u"\r";
    const char16_t pieces[][6] = {u"ab", u"\r", u"xyz\r", u"q", u"\r\r"};
    for (int step = 0; step < 3000; ++step) {
        int32 bodyEnd = static_cast<int32>(plain.size()) - 1;  // in front of the final return
        int32 at = static_cast<int32>(random() % (bodyEnd + 1));
        if (random() % 3 != 0 || bodyEnd == 0) {
            std::u16string text = pieces[random() % 5];
            if (random() % 4 == 0) model.ApplyStyle(StyleKind::kCharacter, 1 + random() % 3, at, 0, true);
            ASSERT_TRUE(model.Insert(at, text));
            plain.insert(static_cast<size_t>(at), text);
        } else {
            int32 length = std::min<int32>(bodyEnd - at, 1 + static_cast<int32>(random() % 4));
            if (length == 0) continue;
            ASSERT_TRUE(model.Delete(at, length));
            plain.erase(static_cast<size_t>(at), static_cast<size_t>(length));
        }
        if (step % 50 != 0) continue;
        TextRange body = model.GetThreadRange(0);
        ASSERT_EQ(model.GetText(0, body.length), plain) << step;
        int32 paragraphs = 0;
        model.ForEachParagraph(0, body.length, [&](int32 start, int32 length, const TextFormat&) {
            ++paragraphs;
            EXPECT_EQ(model.GetChar(start + length - 1), u'\r') << step;
        });
        ASSERT_EQ(paragraphs, std::count(plain.begin(), plain.end(), u'\r')) << step;
        TextRange thread = model.FindThread(5);
        ASSERT_EQ(model.GetText(thread.start, thread.length), u"note\r") << step;
    }
}

TEST(TextModelTest, AStoryOfManyParagraphsKeepsOneRunPerParagraph)
{
    TextModel model;
    int32 index = 0;
    for (int i = 0; i < 20000; ++i) {
        if (i > 0) {
            model.Insert(index, u"\r");
            ++index;
        }
        model.ApplyStyle(StyleKind::kParagraph, static_cast<UID>(1 + i % 3), index, 0, true);
        model.Insert(index, u"Some paragraph text.");
        index += 20;
    }
    EXPECT_EQ(model.TotalLength(), 20000 * 21);
    EXPECT_EQ(model.ParagraphRunCount(), 20000);
    EXPECT_EQ(model.CharacterRunCount(), 1);
    // The 20,000 paragraphs share their three formats (and the default one).
    EXPECT_EQ(model.FormatCount(), 4u);
    EXPECT_EQ(model.GetParagraphFormat(21 * 12345 + 3)->style, static_cast<UID>(1 + 12345 % 3));
    EXPECT_EQ(model.GetText(21 * 19999, 21), u"Some paragraph text.\r");
}

class TextCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto newDocCmd = std::make_shared<NewDocCmd>();
        ASSERT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
        db = newDocCmd->GetItemList().GetDataBase();
        story = db->Create<Story>();
    }
    void TearDown() override
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    template <class Cmd>
    std::shared_ptr<Cmd> On()
    {
        auto cmd = std::make_shared<Cmd>();
        cmd->SetItemList(UIDList(story->GetRef()));
        return cmd;
    }

    DataBase* db = nullptr;
    Story* story = nullptr;
};

TEST_F(TextCommandsTest, CommandsCheckTheirStoryAndRange)
{
    auto insertCmd = On<InsertTextCmd>();
    insertCmd->index = 1;
    insertCmd->text = u"late";
    EXPECT_EQ(CmdUtils::ProcessCommand(insertCmd), kInvalidParameterError);
    insertCmd = On<InsertTextCmd>();
    insertCmd->text = u"ok";
    EXPECT_EQ(CmdUtils::ProcessCommand(insertCmd), kSuccess);
    EXPECT_EQ(story->GetPrimaryText(), PMString("ok"));

    auto applyStyleCmd = On<ApplyTextStyleCmd>();
    applyStyleCmd->style = 123456;  // no style
    EXPECT_EQ(CmdUtils::ProcessCommand(applyStyleCmd), kInvalidParameterError);
    applyStyleCmd = On<ApplyTextStyleCmd>();
    applyStyleCmd->style = StyleUtils::FindStyle(*db, StyleKind::kCharacter, "[No character style]");
    applyStyleCmd->length = 2;
    EXPECT_EQ(CmdUtils::ProcessCommand(applyStyleCmd), kSuccess);

    auto footnoteCmd = On<CreateFootnoteCmd>();
    footnoteCmd->rangeData = TextRange{0, 0};  // 'o' is no footnote marker
    EXPECT_EQ(CmdUtils::ProcessCommand(footnoteCmd), kInvalidParameterError);
}

TEST_F(TextCommandsTest, DeletingAFootnoteMarkerTakesTheFootnoteAlong)
{
    story->textModel.Insert(0, u"a\x04z");
    auto footnoteCmd = On<CreateFootnoteCmd>();
    footnoteCmd->rangeData = TextRange{1, 0};
    ASSERT_EQ(CmdUtils::ProcessCommand(footnoteCmd), kSuccess);
    UID footnote = footnoteCmd->uidData;
    ASSERT_NE(db->Get<Footnote>(footnote), nullptr);
    TextRange thread = story->textModel.FindThread(footnote);
    story->textModel.Insert(thread.start, u"note");

    auto deleteCmd = On<DeleteTextCmd>();
    deleteCmd->index = 1;
    deleteCmd->length = 1;
    ASSERT_EQ(CmdUtils::ProcessCommand(deleteCmd), kSuccess);
    EXPECT_EQ(db->Get<Footnote>(footnote), nullptr);
    EXPECT_EQ(story->textModel.GetText(0, story->textModel.TotalLength()), u"az\r");
}

} // namespace
