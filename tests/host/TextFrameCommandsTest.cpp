// Text frame commands: making frames with their stories, threading and unthreading, columns,
// insets and the first baseline, and the targets each refuses.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentLayout.h"
#include "DocumentList.h"
#include "NewDocCmd.h"
#include "Spread.h"
#include "Story.h"
#include "TextFrameCommands.h"

namespace {

class TextFrameCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto newDocCmd = std::make_shared<NewDocCmd>();
        newDocCmd->GetData().numPages = 2;
        ASSERT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
        db = newDocCmd->GetItemList().GetDataBase();
    }
    void TearDown() override
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    UID SpreadAt(size_t i) const { return db->GetDocument()->spreads.at(i); }
    // A 100 x 50 pt frame placed at (x, y) of spread `spread`; kInvalidUID when refused.
    UID Create(UID spread, PMReal x = 0, PMReal y = 0)
    {
        auto createTextFrameCmd = std::make_shared<CreateTextFrameCmd>();
        createTextFrameCmd->SetItemList(UIDList(UIDRef(db, spread)));
        createTextFrameCmd->bounds = PMRect(0, 0, 100, 50);
        createTextFrameCmd->transform = PMMatrix::Translation(x, y);
        if (CmdUtils::ProcessCommand(createTextFrameCmd) != kSuccess) return kInvalidUID;
        return createTextFrameCmd->GetItemList().At(0);
    }
    ErrorCode Link(UID a, UID b)
    {
        auto textLinkCmd = std::make_shared<TextLinkCmd>();
        UIDList items(db);
        items.Append(a);
        items.Append(b);
        textLinkCmd->SetItemList(items);
        return CmdUtils::ProcessCommand(textLinkCmd);
    }
    const TextFrame& Frame(UID uid) const { return *db->Get<TextFrame>(uid); }

    DataBase* db = nullptr;
};

} // namespace

TEST_F(TextFrameCommandsTest, Create_FrameWithStoryOnSpread)
{
    UID frame = Create(SpreadAt(1), -306, -396);
    ASSERT_NE(frame, kInvalidUID);
    EXPECT_EQ(db->Get<Spread>(SpreadAt(1))->pageItems, std::vector<UID>{frame});
    EXPECT_EQ(Frame(frame).spread, SpreadAt(1));
    EXPECT_EQ(Frame(frame).GetBoundsInSpread(), PMRect(-306, -396, -206, -346));
    EXPECT_EQ(Frame(frame).columnCount, 1);
    const Story* story = db->Get<Story>(Frame(frame).story);
    ASSERT_NE(story, nullptr);
    EXPECT_TRUE(story->IsEmpty());
    EXPECT_EQ(db->GetDocument()->stories, std::vector<UID>{story->GetUID()});
    // A later frame stands in front of the earlier one.
    UID second = Create(SpreadAt(1));
    EXPECT_EQ(db->Get<Spread>(SpreadAt(1))->pageItems, (std::vector<UID>{frame, second}));
}

TEST_F(TextFrameCommandsTest, Create_RefusesBadTargets)
{
    UID page = db->GetDocument()->GetPages().front();
    EXPECT_EQ(Create(page), kInvalidUID);   // a page is no spread
    auto createTextFrameCmd = std::make_shared<CreateTextFrameCmd>();
    createTextFrameCmd->SetItemList(UIDList(UIDRef(db, SpreadAt(0))));
    createTextFrameCmd->bounds = PMRect(10, 10, 10, 40);   // no width
    EXPECT_NE(CmdUtils::ProcessCommand(createTextFrameCmd), kSuccess);
    createTextFrameCmd->bounds = PMRect(0, 0, 10, 10);
    createTextFrameCmd->layer = page;   // no layer
    EXPECT_NE(CmdUtils::ProcessCommand(createTextFrameCmd), kSuccess);
    EXPECT_TRUE(db->GetDocument()->stories.empty());
    // Master spreads hold frames too.
    EXPECT_NE(Create(db->GetDocument()->masterSpreads.front()), kInvalidUID);
}

TEST_F(TextFrameCommandsTest, Link_ThreadsJoinTheFirstStory)
{
    UID a = Create(SpreadAt(0)), b = Create(SpreadAt(1)), c = Create(SpreadAt(1));
    UID storyA = Frame(a).story;
    db->Get<Story>(Frame(a).story)->textModel.Insert(0, u"first");
    db->Get<Story>(Frame(c).story)->textModel.Insert(0, u"third");
    ASSERT_EQ(Link(b, c), kSuccess);   // b's chain first, then joined after a
    ASSERT_EQ(Link(a, b), kSuccess);
    EXPECT_EQ(Frame(a).nextFrame, b);
    EXPECT_EQ(Frame(b).previousFrame, a);
    EXPECT_EQ(Frame(b).nextFrame, c);
    EXPECT_EQ(Frame(c).previousFrame, b);
    for (UID frame : {a, b, c}) EXPECT_EQ(Frame(frame).story, storyA);
    EXPECT_EQ(db->GetDocument()->stories, std::vector<UID>{storyA});
    EXPECT_EQ(db->Get<Story>(storyA)->GetPrimaryText(), PMString("first\rthird"));

    // A frame in the middle of a thread, one that ends none, the same story, or a loop: refused.
    UID d = Create(SpreadAt(0));
    EXPECT_NE(Link(a, d), kSuccess);
    EXPECT_NE(Link(d, b), kSuccess);
    EXPECT_NE(Link(c, a), kSuccess);
    EXPECT_NE(Link(d, d), kSuccess);
    EXPECT_NE(Link(d, db->GetDocument()->GetPages().front()), kSuccess);
    EXPECT_EQ(Frame(d).previousFrame, kInvalidUID);
    EXPECT_EQ(Frame(c).nextFrame, kInvalidUID);
}

TEST_F(TextFrameCommandsTest, LinkPairs_AsOnePairAfterTheOther)
{
    // Pairs in an order that threads tails first, a loop, a second predecessor, a non-frame.
    std::vector<UID> f;
    for (int i = 0; i < 6; ++i) f.push_back(Create(SpreadAt(i % 2)));
    const char* texts[] = {"a", "", "c", "d", "e", "f"};
    for (int i = 0; i < 6; ++i)
        if (*texts[i]) db->Get<Story>(Frame(f[i]).story)->textModel.Insert(0, PMString(texts[i]).GetUTF16());
    UID storyOfFirst = Frame(f[0]).story, storyOfLone = Frame(f[5]).story;
    UID page = db->GetDocument()->GetPages().front();
    std::vector<std::pair<UID, UID>> pairs = {{f[3], f[4]}, {f[2], f[3]}, {f[1], f[2]}, {f[0], f[1]}, {f[4], f[0]},
                                              {f[5], f[2]}, {f[5], page}, {f[5], f[5]}};
    auto textLinkCmd = std::make_shared<TextLinkPairsCmd>();
    UIDList items(db);
    for (const auto& [a, b] : pairs) {
        items.Append(a);
        items.Append(b);
    }
    textLinkCmd->SetItemList(items);
    ASSERT_EQ(CmdUtils::ProcessCommand(textLinkCmd), kSuccess);
    std::vector<ErrorCode> expected = {kSuccess, kSuccess, kSuccess, kSuccess, kInvalidParameterError,
                                       kInvalidParameterError, kInvalidParameterError, kInvalidParameterError};
    EXPECT_EQ(textLinkCmd->results, expected);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Frame(f[i]).story, storyOfFirst) << i;
        EXPECT_EQ(Frame(f[i]).nextFrame, i < 4 ? f[i + 1] : kInvalidUID) << i;
        EXPECT_EQ(Frame(f[i]).previousFrame, i > 0 ? f[i - 1] : kInvalidUID) << i;
    }
    // Texts join in the order the links were made; the stories that joined another are gone.
    EXPECT_EQ(db->Get<Story>(storyOfFirst)->GetPrimaryText(), PMString("a\rc\rd\re"));
    EXPECT_EQ(db->GetDocument()->stories, (std::vector<UID>{storyOfFirst, storyOfLone}));
    EXPECT_EQ(Frame(f[5]).story, storyOfLone);
    EXPECT_EQ(Frame(f[5]).nextFrame, kInvalidUID);

    // Pairs that join threads made before the command; an item list of no pairs is refused.
    UID g = Create(SpreadAt(0));
    UIDList more(db);
    more.Append(g);
    more.Append(f[5]);
    more.Append(f[4]);
    more.Append(g);
    textLinkCmd->SetItemList(more);
    ASSERT_EQ(CmdUtils::ProcessCommand(textLinkCmd), kSuccess);
    EXPECT_EQ(textLinkCmd->results, (std::vector<ErrorCode>{kSuccess, kSuccess}));
    for (UID frame : {g, f[5]}) EXPECT_EQ(Frame(frame).story, storyOfFirst);
    EXPECT_EQ(db->Get<Story>(storyOfFirst)->GetPrimaryText(), PMString("a\rc\rd\re\rf"));
    EXPECT_EQ(db->GetDocument()->stories, std::vector<UID>{storyOfFirst});
    more.Append(g);
    textLinkCmd->SetItemList(more);
    EXPECT_NE(CmdUtils::ProcessCommand(textLinkCmd), kSuccess);
}

TEST_F(TextFrameCommandsTest, Unlink_RestOfThreadGetsNewStory)
{
    UID a = Create(SpreadAt(0)), b = Create(SpreadAt(0)), c = Create(SpreadAt(1));
    ASSERT_EQ(Link(a, b), kSuccess);
    ASSERT_EQ(Link(b, c), kSuccess);
    auto textUnlinkCmd = std::make_shared<TextUnlinkCmd>();
    textUnlinkCmd->SetItemList(UIDList(UIDRef(db, b)));
    ASSERT_EQ(CmdUtils::ProcessCommand(textUnlinkCmd), kSuccess);
    EXPECT_EQ(Frame(a).nextFrame, kInvalidUID);
    EXPECT_EQ(Frame(b).previousFrame, kInvalidUID);
    EXPECT_EQ(Frame(b).nextFrame, c);
    EXPECT_NE(Frame(b).story, Frame(a).story);
    EXPECT_EQ(Frame(c).story, Frame(b).story);
    EXPECT_EQ(db->GetDocument()->stories.size(), 2u);
    // The first frame of a thread has nothing to unlink.
    EXPECT_NE(CmdUtils::ProcessCommand(textUnlinkCmd), kSuccess);
}

TEST_F(TextFrameCommandsTest, RemoveSpread_ThreadClosesAndStoriesGo)
{
    UID a = Create(SpreadAt(0)), b = Create(SpreadAt(1)), c = Create(SpreadAt(0)), lone = Create(SpreadAt(1));
    ASSERT_EQ(Link(a, b), kSuccess);
    ASSERT_EQ(Link(b, c), kSuccess);
    UID loneStory = Frame(lone).story;
    DocumentLayout::RemoveSpread(*db, SpreadAt(1));
    EXPECT_EQ(Frame(a).nextFrame, c);
    EXPECT_EQ(Frame(c).previousFrame, a);
    EXPECT_FALSE(db->ExistsInDB(b));
    EXPECT_FALSE(db->ExistsInDB(loneStory));
    EXPECT_EQ(db->GetDocument()->stories, std::vector<UID>{Frame(a).story});
}

TEST_F(TextFrameCommandsTest, Settings_ColumnsInsetsFirstBaseline)
{
    UID frame = Create(SpreadAt(0));
    auto changeNumberOfColumnsCmd = std::make_shared<ChangeNumberOfColumnsCmd>();
    changeNumberOfColumnsCmd->SetItemList(UIDList(UIDRef(db, frame)));
    changeNumberOfColumnsCmd->columnCount = 3;
    changeNumberOfColumnsCmd->gutter = 18;
    ASSERT_EQ(CmdUtils::ProcessCommand(changeNumberOfColumnsCmd), kSuccess);
    changeNumberOfColumnsCmd->columnCount = -1;   // keep the count, change the gutter
    changeNumberOfColumnsCmd->gutter = 6;
    ASSERT_EQ(CmdUtils::ProcessCommand(changeNumberOfColumnsCmd), kSuccess);
    EXPECT_EQ(Frame(frame).columnCount, 3);
    EXPECT_EQ(Frame(frame).columnGutter, 6);
    changeNumberOfColumnsCmd->columnCount = 0;
    EXPECT_NE(CmdUtils::ProcessCommand(changeNumberOfColumnsCmd), kSuccess);
    changeNumberOfColumnsCmd->columnCount = 2;
    changeNumberOfColumnsCmd->gutter = -3;
    EXPECT_NE(CmdUtils::ProcessCommand(changeNumberOfColumnsCmd), kSuccess);
    EXPECT_EQ(Frame(frame).columnCount, 3);

    auto setTextInsetCmd = std::make_shared<SetTextInsetCmd>();
    setTextInsetCmd->SetItemList(UIDList(UIDRef(db, frame)));
    setTextInsetCmd->textInset = PMRect(126, 0, 0, 4);
    ASSERT_EQ(CmdUtils::ProcessCommand(setTextInsetCmd), kSuccess);
    EXPECT_EQ(Frame(frame).insets, PMRect(126, 0, 0, 4));
    setTextInsetCmd->textInset = PMRect(0, -1, 0, 0);
    EXPECT_NE(CmdUtils::ProcessCommand(setTextInsetCmd), kSuccess);

    auto setFrameFirstLineOffsetMetricCmd = std::make_shared<SetFrameFirstLineOffsetMetricCmd>();
    setFrameFirstLineOffsetMetricCmd->SetItemList(UIDList(UIDRef(db, frame)));
    setFrameFirstLineOffsetMetricCmd->intData = 2;
    ASSERT_EQ(CmdUtils::ProcessCommand(setFrameFirstLineOffsetMetricCmd), kSuccess);
    EXPECT_EQ(Frame(frame).firstBaselineOffset, FirstBaselineOffset::kLeadingOffset);
    setFrameFirstLineOffsetMetricCmd->intData = 6;
    EXPECT_NE(CmdUtils::ProcessCommand(setFrameFirstLineOffsetMetricCmd), kSuccess);
    // Commands on something that is not a text frame change nothing.
    setFrameFirstLineOffsetMetricCmd->SetItemList(UIDList(UIDRef(db, SpreadAt(0))));
    setFrameFirstLineOffsetMetricCmd->intData = 1;
    EXPECT_NE(CmdUtils::ProcessCommand(setFrameFirstLineOffsetMetricCmd), kSuccess);
}
