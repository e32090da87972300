// TextRects as text frames: their place in spread coordinates, columns, threads along TRNext
// across pages, side-head areas as insets, frames on master pages, and the lookups the
// content importer uses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "ObjectModel.h"
#include "Spread.h"
#include "Story.h"
#include "TempFolder.h"
#include "TestUtils.h"
#include "TextFrame.h"
#include "WarningsPresenter.h"

#include "base/MifDocInterface.h"
#include "layout/IMifLayoutImporter.h"
#include "layout/IMifTextFrameUtils.h"
#include "mif/MifKeywords.h"

namespace {

class MifTextRectImportTest : public ::testing::Test {
protected:
    // Test programs run side by side: each has its own input file and diagnostic log.
    void SetUp() override
    {
        mSavedLogDir = std::getenv("TESSEL_LOG_DIR") ? std::getenv("TESSEL_LOG_DIR") : "";
        setenv("TESSEL_LOG_DIR", mFolder.Path().c_str(), 1);
    }
    void Import(const std::string& mif)
    {
        auto path = mFolder / "textrect-test.mif";
        std::ofstream(path, std::ios::binary) << mif;
        UIDRef document;
        PMString message;
        ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
        presenter.Clear();
        CAlert::SetPresenter(&presenter);
        CmdUtils::ProcessScheduledCmds();
        CAlert::SetPresenter(nullptr);
        std::filesystem::remove(path);
        db = document.GetDataBase();
        importer = MifDocInterface<IMifLayoutImporter>(db);
        ASSERT_TRUE(importer);
    }
    void TearDown() override
    {
        importer = InterfacePtr<IMifLayoutImporter>();
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
        setenv("TESSEL_LOG_DIR", mSavedLogDir.c_str(), 1);
    }
    // The frame made for TextRect `id`; fails the test when there is none.
    const TextFrame& Frame(int32 id) const
    {
        const TextFrame* frame = db->Get<TextFrame>(importer->GetItemOfId(id).GetUID());
        EXPECT_NE(frame, nullptr) << "TextRect " << id;
        static const TextFrame none;
        return frame ? *frame : none;
    }
    UID FrameUID(int32 id) const { return importer->GetItemOfId(id).GetUID(); }
    // The frame's bounds in the coordinates of the page `pageUID`.
    PMRect OnPage(int32 id, UID pageUID) const
    {
        PMRect bounds = Frame(id).GetBoundsInSpread();
        const PMRect& page = db->Get<Page>(pageUID)->boundsInSpread;
        return PMRect(bounds.left - page.left, bounds.top - page.top, bounds.right - page.left, bounds.bottom - page.top);
    }


    TempFolder mFolder{"textrect"};
    std::string mSavedLogDir;
    DataBase* db = nullptr;
    InterfacePtr<IMifLayoutImporter> importer;
    WarningsPresenter presenter;
};

// What the diagnostic log gains while `action` runs.
template <class Action>
std::string LoggedBy(Action action)
{
    std::string log = (std::filesystem::path(std::getenv("TESSEL_LOG_DIR")) / "orvane.log").string();
    size_t before = ReadFile(log).size();
    action();
    std::string written = ReadFile(log);
    return written.size() > before ? written.substr(before) : std::string();
}

const char* kTwoSided = "<Document <DPageSize 612pt 792pt> <DTwoSides Yes>>\n";

} // namespace

TEST_F(MifTextRectImportTest, Frame_PlaceAndColumns)
{
    Import(std::string("<MIFFile 9.00>\n") + kTwoSided +
           "<Page <PageType BodyPage> <TextRect <ID 5> <ShapeRect 36pt 36pt 540pt 720pt>>>\n"
           "<Page <PageType BodyPage> <TextRect <ID 6> <ShapeRect 72pt 0pt 200pt 100pt> <TRNumColumns 2>"
           " <TRColumnGap 12pt> <TRColumnBalance Yes>> <TextRect <ShapeRect 0 0 10pt 10pt>> <TextRect <ID 8>>>\n"
           "<Page <PageType BodyPage> <TextRect <ID 9> <ShapeRect 0pt 0pt 100pt 100pt> <TRNumColumns 0>"
           " <TRColumnGap -6pt>>>\n");
    std::vector<UID> pages = db->GetDocument()->GetPages();
    ASSERT_GE(pages.size(), 3u);
    EXPECT_EQ(OnPage(5, pages[0]), PMRect(36, 36, 576, 756));
    EXPECT_EQ(Frame(5).columnCount, 1);
    EXPECT_EQ(Frame(5).columnGutter, 0);
    EXPECT_EQ(Frame(5).firstBaselineOffset, FirstBaselineOffset::kLeadingOffset);
    EXPECT_FALSE(importer->GetColumnBalance(5));
    // The second page is the left page of the second spread, left of the spine.
    // Its columns are balanced, and with no text it ends 100 pt halved five times high.
    EXPECT_EQ(Frame(6).GetBoundsInSpread(), PMRect(-612 + 72, -396, -612 + 272, -396 + 3.125));
    EXPECT_EQ(Frame(6).columnCount, 2);
    EXPECT_EQ(Frame(6).columnGutter, 12);
    EXPECT_EQ(importer->GetColumnCount(6), 2);
    EXPECT_TRUE(importer->GetColumnBalance(6));
    // A TextRect without ID is recorded under 0; one without ShapeRect makes nothing.
    EXPECT_EQ(OnPage(0, pages[1]), PMRect(0, 0, 10, 10));
    EXPECT_FALSE(importer->GetItemOfId(8).ExistsInDB());
    EXPECT_EQ(db->Get<Spread>(db->Get<Page>(pages[1])->spread)->pageItems.size(), 3u);   // 6 and 0 here, 9 on the facing page
    // Impossible counts and gaps fall back to what a frame can hold.
    EXPECT_EQ(Frame(9).columnCount, 1);
    EXPECT_EQ(Frame(9).columnGutter, 0);
    EXPECT_EQ(importer->GetColumnCount(7), 1);
    EXPECT_EQ(importer->GetIdOfItem(db, FrameUID(6)), 6);
    EXPECT_EQ(importer->GetIdOfItem(db, pages[0]), 0);
    // Every frame has its own story until threaded.
    EXPECT_EQ(db->GetDocument()->stories.size(), 4u);
    EXPECT_EQ(importer->GetStoryOfTextRect(5).GetUID(), Frame(5).story);
    EXPECT_FALSE(importer->GetStoryOfTextRect(8).ExistsInDB());
}

TEST_F(MifTextRectImportTest, Threads_AlongTRNextAcrossPages)
{
    std::string logged = LoggedBy([&] {
        Import(std::string("<MIFFile 9.00>\n") + kTwoSided +
               "<TextFlow <TFTag `A'> <Notes > <Para <ParaLine <TextRectID 3> <String `x'>>>>\n"
               "<Page <PageType BodyPage> <TextRect <ID 9> <ShapeRect 0 0 50pt 50pt>>"
               " <TextRect <ID 3> <ShapeRect 0 0 50pt 50pt> <TRNext 7>>>\n"
               "<Page <PageType BodyPage> <TextRect <ID 7> <ShapeRect 0 0 50pt 50pt> <TRNext 9>>"
               " <TextRect <ID 11> <ShapeRect 0 0 50pt 50pt> <TRNext 40>>>\n"
               "<Page <PageType ReferencePage> <TextRect <ID 40> <ShapeRect 0 0 50pt 50pt>>>\n");
    });
    // A TRNext into a reference page is the file's problem: the user is told, with its line.
    EXPECT_EQ(logged.find("mIDtoMultiColumnRef"), std::string::npos) << logged;
    EXPECT_TRUE(presenter.HasLine("Line 5: TRNext names no TextRect of a body or master page, the thread ends here: 40"));
    EXPECT_EQ(Frame(3).nextFrame, FrameUID(7));
    EXPECT_EQ(Frame(7).previousFrame, FrameUID(3));
    EXPECT_EQ(Frame(7).nextFrame, FrameUID(9));
    EXPECT_EQ(Frame(9).previousFrame, FrameUID(7));
    EXPECT_EQ(Frame(9).nextFrame, kInvalidUID);
    EXPECT_EQ(Frame(3).spread, Frame(9).spread);
    EXPECT_NE(Frame(3).spread, Frame(7).spread);
    for (int32 id : {7, 9}) EXPECT_EQ(importer->GetStoryOfTextRect(id).GetUID(), Frame(3).story);
    // A TRNext to a TextRect on a reference page leaves the chain open there.
    EXPECT_EQ(Frame(11).nextFrame, kInvalidUID);
    EXPECT_EQ(db->GetDocument()->stories.size(), 2u);
    Utils<IMifTextFrameUtils> textFrameUtils;
    ASSERT_TRUE(textFrameUtils);
    EXPECT_EQ(textFrameUtils->GetNextFrame(importer->GetItemOfId(3)).GetUID(), FrameUID(7));
    EXPECT_EQ(textFrameUtils->GetPreviousFrame(importer->GetItemOfId(3)).GetUID(), kInvalidUID);
}

TEST_F(MifTextRectImportTest, Threads_LoopsAndSharedTargetsStayFinite)
{
    std::string logged = LoggedBy([&] {
        Import("<MIFFile 9.00>\n"
               "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 1>>>>\n"
               "<Page <TextRect <ID 1> <ShapeRect 0 0 50pt 50pt> <TRNext 2>>"
               " <TextRect <ID 2> <ShapeRect 0 0 50pt 50pt> <TRNext 1> <TRSideheadWidth 10pt>>"
               " <TextRect <ID 4> <ShapeRect 0 0 50pt 50pt> <TRNext 2>>>\n");
    });
    // Both refusals reach the user with the line of their TRNext; nothing fails inside.
    EXPECT_EQ(logged.find("textLinkCmd failed"), std::string::npos) << logged;
    EXPECT_TRUE(presenter.HasLine("Line 3: TRNext would close the thread into a loop, not threaded: 1"));
    EXPECT_TRUE(presenter.HasLine("Line 3: TRNext names a TextRect that another TextRect already threads to, not threaded: 2"));
    // 1 -> 2 is made; 2 -> 1 would close a loop and 4 -> 2 would give 2 two predecessors.
    EXPECT_EQ(Frame(1).nextFrame, FrameUID(2));
    EXPECT_EQ(Frame(2).nextFrame, kInvalidUID);
    EXPECT_EQ(Frame(4).nextFrame, kInvalidUID);
    // The head of a looping chain is the ID the walk meets again; the side heads still apply.
    EXPECT_TRUE(importer->HasSideheads(2));
    EXPECT_EQ(Frame(2).insets, PMRect(10, 0, 0, 0));
}

TEST_F(MifTextRectImportTest, Sideheads_InsetsByPlacementAndPage)
{
    std::string rects;
    const char* placements[] = {"Inside", "Outside", "Right", "Left"};
    for (int page = 0; page < 2; ++page) {
        rects += "<Page <PageType BodyPage>";
        for (int i = 0; i < 4; ++i)
            rects += "<TextRect <ID " + std::to_string(page * 10 + i + 1) + "> <ShapeRect 36pt 36pt 400pt 600pt>"
                     " <TRSideheadWidth 108pt> <TRSideheadGap 18pt> <TRSideheadPlacement " + placements[i] + ">>";
        rects += ">\n";
    }
    Import(std::string("<MIFFile 9.00>\n") + kTwoSided +
           "<TextFlow <TFSideheads Yes> <Notes > <Para <ParaLine <TextRectID 11>>>>\n"
           "<TextFlow <TFSideheads No> <Para <ParaLine <TextRectID 12>>>>\n" + rects +
           // a flow with side heads, area widths below zero
           "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 13>>>>\n"
           "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 1>>>>\n"
           "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 2>>>>\n"
           "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 3>>>>\n"
           "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 4>>>>\n"
           "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 14>>>>\n"
           "<Page <PageType BodyPage> <TextRect <ID 30> <ShapeRect 0 0 50pt 50pt> <TRSideheadWidth -5pt>"
           " <TRSideheadGap -1pt>>>\n"
           "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 30>>>>\n");
    // Page 1 (IDs 1-4) is a right page, page 2 (IDs 11-14) a left page.
    EXPECT_EQ(Frame(1).insets, PMRect(126, 0, 0, 0));   // Inside on a right page: left
    EXPECT_EQ(Frame(2).insets, PMRect(0, 0, 126, 0));   // Outside on a right page: right
    EXPECT_EQ(Frame(3).insets, PMRect(0, 0, 126, 0));
    EXPECT_EQ(Frame(4).insets, PMRect(126, 0, 0, 0));
    EXPECT_EQ(Frame(11).insets, PMRect(0, 0, 126, 0));  // Inside on a left page: right
    EXPECT_EQ(importer->GetSideheadPlacement(11), kMifRight);
    EXPECT_EQ(importer->GetSideheadPlacement(importer->GetItemOfId(11)), kMifRight);
    EXPECT_EQ(importer->GetSideheadWidth(11), 108);
    EXPECT_EQ(importer->GetSideheadGap(importer->GetItemOfId(11)), 18);
    EXPECT_TRUE(importer->HasSideheads(importer->GetItemOfId(11)));
    // A flow without side heads leaves the frame's insets alone.
    EXPECT_EQ(Frame(12).insets, PMRect(0, 0, 0, 0));
    EXPECT_FALSE(importer->HasSideheads(12));
    EXPECT_EQ(importer->GetSideheadWidth(12), 0);
    EXPECT_EQ(importer->GetSideheadPlacement(12), kMifLeft);
    EXPECT_EQ(Frame(14).insets, PMRect(126, 0, 0, 0));  // Left stays left on a left page
    EXPECT_TRUE(importer->IsOnLeftPage(importer->GetItemOfId(11)));
    EXPECT_FALSE(importer->IsOnLeftPage(importer->GetItemOfId(1)));
    // Negative width and gap count as 0.
    EXPECT_TRUE(importer->HasSideheads(30));
    EXPECT_EQ(Frame(30).insets, PMRect(0, 0, 0, 0));
    EXPECT_FALSE(importer->HasSideheads(99));
}

TEST_F(MifTextRectImportTest, Masters_FramesOnMasterSpreads)
{
    Import(std::string("<MIFFile 9.00>\n") + kTwoSided +
           "<Page <PageType LeftMasterPage> <PageTag `Left'> <TextRect <ID 1> <ShapeRect 36pt 36pt 100pt 100pt>"
           " <TRNext 2>>>\n"
           "<Page <PageType RightMasterPage> <PageTag `Right'> <TextRect <ID 2> <ShapeRect 36pt 36pt 100pt 100pt>>>\n"
           "<Page <PageType OtherMasterPage> <PageTag `Chapter'> <TextRect <ID 3> <ShapeRect 0 0 100pt 100pt>>>\n"
           "<Page <PageType BodyPage> <TextRect <ID 4> <ShapeRect 0 0 100pt 100pt>>>\n");
    const std::vector<UID>& masters = db->GetDocument()->masterSpreads;
    ASSERT_EQ(masters.size(), 2u);
    const MasterSpread* a = db->Get<MasterSpread>(masters[0]);
    EXPECT_EQ(a->pageItems, (std::vector<UID>{FrameUID(1), FrameUID(2)}));
    EXPECT_EQ(OnPage(1, a->pages[0]), PMRect(36, 36, 136, 136));
    EXPECT_EQ(OnPage(2, a->pages[1]), PMRect(36, 36, 136, 136));
    EXPECT_TRUE(importer->IsOnLeftPage(importer->GetItemOfId(1)));
    EXPECT_FALSE(importer->IsOnLeftPage(importer->GetItemOfId(2)));
    EXPECT_EQ(Frame(1).nextFrame, FrameUID(2));
    EXPECT_EQ(Frame(3).spread, masters[1]);
    // Nothing is left on the scratch spread, which is gone.
    size_t items = 0;
    for (UID uid : db->GetDocument()->spreads) items += db->Get<Spread>(uid)->pageItems.size();
    EXPECT_EQ(items, 1u);
}

TEST_F(MifTextRectImportTest, SingleSided_LeftMasterFramesAreNotMade)
{
    Import("<MIFFile 9.00>\n"
           "<Page <PageType LeftMasterPage> <PageTag `Left'> <TextRect <ID 1> <ShapeRect 0 0 100pt 100pt>>>\n"
           "<Page <PageType RightMasterPage> <PageTag `Right'> <TextRect <ID 2> <ShapeRect 0 0 100pt 100pt>>>\n"
           "<Page <TextRect <ID 4> <ShapeRect 0 0 100pt 100pt>>>\n");
    EXPECT_FALSE(importer->GetItemOfId(1).ExistsInDB());
    const MasterSpread* a = db->Get<MasterSpread>(db->GetDocument()->masterSpreads.front());
    EXPECT_EQ(a->pageItems, std::vector<UID>{FrameUID(2)});
    EXPECT_EQ(OnPage(2, a->pages[0]), PMRect(0, 0, 100, 100));
    EXPECT_FALSE(importer->IsOnLeftPage(importer->GetItemOfId(4)));
}

namespace {

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

} // namespace

TEST_F(MifTextRectImportTest, Threads_LoopOfThreeIsRefusedOnceAndSharesOneFlow)
{
    std::string logged = LoggedBy([&] {
        Import("<MIFFile 9.00>\n"
               "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 4>>>>\n"
               "<Page <TextRect <ID 4> <ShapeRect 0 0 50pt 50pt> <TRNext 9> <TRSideheadWidth 10pt>>"
               " <TextRect <ID 9> <ShapeRect 0 0 50pt 50pt> <TRNext 6> <TRSideheadWidth 10pt>>"
               " <TextRect <ID 6> <ShapeRect 0 0 50pt 50pt> <TRNext 4> <TRSideheadWidth 10pt>>>\n");
    });
    // 4 -> 9 and 6 -> 4 are made in ID order; 9 -> 6 would close the loop, and the user is told
    // once, before the host is asked.
    EXPECT_EQ(Count(logged, "): textLinkCmd failed"), 0u) << logged;
    EXPECT_EQ(Count(presenter.text, "TRNext would close the thread into a loop, not threaded: 6"), 1u) << presenter.text;
    EXPECT_EQ(Frame(6).nextFrame, FrameUID(4));
    EXPECT_EQ(Frame(4).nextFrame, FrameUID(9));
    EXPECT_EQ(Frame(9).nextFrame, kInvalidUID);
    EXPECT_EQ(db->GetDocument()->stories.size(), 1u);
    // A loop has no head: its TextRects take the lowest ID of the loop, so all find the flow of 4.
    for (int32 id : {4, 6, 9}) {
        EXPECT_TRUE(importer->HasSideheads(id)) << id;
        EXPECT_EQ(Frame(id).insets, PMRect(10, 0, 0, 0)) << id;
    }
}

TEST_F(MifTextRectImportTest, Threads_LongChainsFindTheirHeadsInAnyIdOrder)
{
    // Chain A runs from ID 3000 down to 1001, chain B from 1 up to 1000, 100 frames a page; only
    // the flow of A has side heads. A later TextRect with ID 7 replaces the first one.
    std::string mif = "<MIFFile 9.00>\n<TextFlow <TFSideheads No> <Para <ParaLine <TextRectID 1>>>>\n";
    for (int page = 0; page < 30; ++page) {
        mif += "<Page";
        for (int i = 0; i < 100; ++i) {
            int n = page * 100 + i;   // 0 .. 2999
            int id = n < 1000 ? n + 1 : 4000 - n;
            int next = n < 1000 ? (id < 1000 ? id + 1 : 0) : (id > 1001 ? id - 1 : 0);
            mif += " <TextRect <ID " + std::to_string(id) + "> <ShapeRect 0 0 50pt 50pt> <TRSideheadWidth 12pt>";
            if (next) mif += " <TRNext " + std::to_string(next) + ">";
            mif += ">";
        }
        mif += ">\n";
    }
    mif += "<Page <TextRect <ID 7> <ShapeRect 0 0 60pt 60pt> <TRNext 8>>>\n";
    mif += "<TextFlow <TFSideheads Yes> <Para <ParaLine <TextRectID 2999>>> <Para <ParaLine <TextRectID 3000>>>>\n";
    std::string logged = LoggedBy([&] { Import(mif); });
    EXPECT_EQ(Count(logged, "textLinkCmd failed"), 0u) << logged;
    EXPECT_EQ(db->GetDocument()->stories.size(), 3u);   // A, B, and the first TextRect 7's own
    for (int32 id = 1001; id <= 3000; ++id) {
        ASSERT_EQ(Frame(id).story, Frame(3000).story) << id;
        ASSERT_EQ(Frame(id).nextFrame, id > 1001 ? FrameUID(id - 1) : kInvalidUID) << id;
        ASSERT_TRUE(importer->HasSideheads(id)) << id;
    }
    EXPECT_EQ(Frame(3000).previousFrame, kInvalidUID);
    for (int32 id = 1; id <= 1000; ++id) {
        ASSERT_EQ(Frame(id).story, Frame(1).story) << id;
        ASSERT_FALSE(importer->HasSideheads(id)) << id;
    }
    EXPECT_EQ(Frame(1000).nextFrame, kInvalidUID);
    EXPECT_EQ(Frame(7).GetBoundsInSpread().Width(), 60);
    EXPECT_EQ(importer->GetIdOfItem(db, FrameUID(7)), 7);
    EXPECT_EQ(importer->GetIdOfItem(db, FrameUID(2999)), 2999);
    EXPECT_EQ(importer->GetIdOfItem(nullptr, FrameUID(2999)), 0);
}

TEST_F(MifTextRectImportTest, Finalize_BalancedFramesAreFittedToTheirText)
{
    Import(ReadFile(std::string(TESSEL_TEST_DATA_DIR) + "/balanced-columns.mif"));
    // 20 lines of 12 pt in two columns: ten in each, the frame a little above ten lines high
    // (the first baseline a leading below the top, the last line's descent below it), as the
    // document was composed once the import had finished.
    const TextFrame& balanced = Frame(1);
    const Story* story = db->Get<Story>(balanced.story);
    ASSERT_NE(story, nullptr);
    EXPECT_FALSE(story->frameList.Overflows());
    ASSERT_EQ(story->frameList.GetFrameCount(), 1);
    std::vector<int32> perColumn(2, 0);
    PMReal lastBottom = 0;
    for (const ComposedLine& line : story->frameList.GetFrames()[0].lines) {
        ++perColumn.at(static_cast<size_t>(line.column));
        lastBottom = std::max(lastBottom, line.baseline + line.descent);
    }
    EXPECT_EQ(perColumn, (std::vector<int32>{10, 10}));
    EXPECT_GE(balanced.pathBounds.Height(), lastBottom - 1e-6);
    EXPECT_LT(balanced.pathBounds.Height(), lastBottom + 0.5);
    EXPECT_GT(balanced.pathBounds.Height(), 120);
    // The top edge stays where the TextRect put it.
    std::vector<UID> pages = db->GetDocument()->GetPages();
    EXPECT_NEAR(OnPage(1, pages.at(0)).top, 72, 1e-9);
    // An unbalanced frame keeps its height; a balanced one without text ends at its last try
    // above 2 pt (10 halved twice).
    EXPECT_EQ(Frame(2).pathBounds.Height(), 60);
    EXPECT_DOUBLE_EQ(Frame(3).pathBounds.Height(), 2.5);
}

TEST_F(MifTextRectImportTest, Finalize_FramesThatCannotBeFittedKeepTheirHeightAndTheImportGoesOn)
{
    std::string logged = LoggedBy([&] {
        Import("<MIFFile 9.00>\n"
               "<Page <TextRect <ID 1> <ShapeRect 0 0 200pt 1pt> <TRColumnBalance Yes>>"
               " <TextRect <ID 2> <ShapeRect 0 0 200pt 300pt> <TRNext 3> <TRColumnBalance Yes>>"
               " <TextRect <ID 3> <ShapeRect 0 400pt 200pt 300pt> <TRColumnBalance Yes>>>\n"
               "<TextFlow <Para <ParaLine <TextRectID 1> <String `Text'>>>>\n"
               "<TextFlow <Para <ParaLine <TextRectID 2> <String `More text'>>>>\n");
    });
    // Too low to halve; and the first frame of a thread is not fitted, while its last is.
    EXPECT_EQ(Frame(1).GetBoundsInSpread().Height(), 1);
    EXPECT_EQ(Count(logged, "): height > kMinFitHeight == false"), 1u) << logged;
    EXPECT_EQ(Frame(2).GetBoundsInSpread().Height(), 300);
    EXPECT_LT(Frame(3).GetBoundsInSpread().Height(), 3);
    const Story* story = db->Get<Story>(Frame(2).story);
    ASSERT_NE(story, nullptr);
    EXPECT_FALSE(story->frameList.Overflows());
}

TEST_F(MifTextRectImportTest, Finalize_AFrameThatMissesItsTextByADescentGrowsByIt)
{
    // Two lines 14.4 pt apart fill a frame 28.8 pt high as FrameMaker sets them; the host keeps
    // room for the last line's descenders, so that frame grows by them. Three such lines do not
    // fit it either way: that frame keeps its height and its text stays overset.
    auto para = [](int32 rect, const char* text) {
        return std::string("<Para <Pgf <PgfLineSpacing Fixed> <PgfLeading 2.4pt> <PgfFont <FSize 12pt>>>"
                           " <ParaLine <TextRectID ") + std::to_string(rect) + "> <String `" + text + "'>>>";
    };
    Import(std::string("<MIFFile 9.00>\n"
                       "<Page <TextRect <ID 1> <ShapeRect 0 0 200pt 28.8pt>>"
                       " <TextRect <ID 2> <ShapeRect 0 100pt 200pt 28.8pt>>>\n") +
           "<TextFlow " + para(1, "Harbour") + para(1, "Guide") + ">\n" +
           "<TextFlow " + para(2, "One") + para(2, "Two") + para(2, "Three") + ">\n");
    const TextFrame& grown = Frame(1);
    const Story* story = db->Get<Story>(grown.story);
    ASSERT_NE(story, nullptr);
    EXPECT_FALSE(story->frameList.Overflows());
    ASSERT_EQ(story->frameList.GetFrames().at(0).lines.size(), 2u);
    const ComposedLine& last = story->frameList.GetFrames()[0].lines.back();
    EXPECT_NEAR(last.baseline, 28.8, 1e-6);
    EXPECT_NEAR(grown.pathBounds.Height(), 28.8 + last.descent, 1e-6);
    EXPECT_NEAR(grown.pathBounds.top, 0, 1e-9);

    const TextFrame& kept = Frame(2);
    EXPECT_DOUBLE_EQ(kept.pathBounds.Height(), 28.8);
    const Story* overset = db->Get<Story>(kept.story);
    ASSERT_NE(overset, nullptr);
    EXPECT_TRUE(overset->frameList.Overflows());
}

TEST_F(MifTextRectImportTest, Rebuild_ANewFrameForTheTextRectOfAnItem)
{
    const std::string mif = "<MIFFile 9.00>\n"
                            "<Page <TextRect <ID 4> <ShapeRect 36pt 36pt 300pt 200pt> <TRNumColumns 3> <TRColumnGap 6pt>"
                            " <TRColumnBalance Yes>>>\n";
    Import(mif);
    // Once the import has finished, its statements are gone: no item leads to one.
    UIDRef imported = importer->GetItemOfId(4);
    EXPECT_EQ(importer->GetMifObjectOfItem(imported.GetUID()), nullptr);
    std::string logged = LoggedBy([&] { EXPECT_FALSE(importer->RebuildTextFrame(imported).ExistsInDB()); });
    EXPECT_EQ(Count(logged, "): mifTextRect == nil"), 1u) << logged;

    // While a layout is imported (here a second time, from a tree that lives), items lead back
    // to their TextRects.
    ParsedMif parsed(mif);
    importer->Init(IDFile(), parsed.root.get(), kSuppressUI);
    importer->ImportLayout();
    UIDRef old = importer->GetItemOfId(4);
    ASSERT_NE(old.GetUID(), imported.GetUID());
    ASSERT_NE(importer->GetMifObjectOfItem(old.GetUID()), nullptr);
    EXPECT_EQ(importer->GetMifObjectOfItem(old.GetUID())->id, kMifTextRect);
    UIDRef rebuilt = importer->RebuildTextFrame(old);
    ASSERT_TRUE(rebuilt.ExistsInDB());
    EXPECT_NE(rebuilt.GetUID(), old.GetUID());
    const TextFrame* frame = db->Get<TextFrame>(rebuilt.GetUID());
    ASSERT_NE(frame, nullptr);
    const TextFrame* oldFrame = db->Get<TextFrame>(old.GetUID());
    ASSERT_NE(oldFrame, nullptr);   // the item stays, for its caller to keep or remove
    EXPECT_EQ(frame->GetBoundsInSpread(), oldFrame->GetBoundsInSpread());
    EXPECT_EQ(frame->spread, oldFrame->spread);
    EXPECT_EQ(importer->GetItemOfId(4), rebuilt);
    EXPECT_EQ(importer->GetIdOfItem(db, old.GetUID()), 0);
    EXPECT_EQ(frame->columnCount, 3);
    EXPECT_EQ(frame->columnGutter, 6);
    EXPECT_EQ(frame->firstBaselineOffset, FirstBaselineOffset::kLeadingOffset);
    EXPECT_TRUE(importer->GetColumnBalance(4));
    EXPECT_EQ(importer->GetStoryOfTextRect(4).GetUID(), frame->story);
    // Items the import did not make, or that are no page items, give no frame.
    logged = LoggedBy([&] {
        EXPECT_FALSE(importer->RebuildTextFrame(UIDRef(db, db->GetDocument()->GetPages().at(0))).ExistsInDB());
        EXPECT_FALSE(importer->RebuildTextFrame(UIDRef()).ExistsInDB());
    });
    EXPECT_EQ(Count(logged, "): hierarchy == nil"), 2u) << logged;
    importer->Finalize();
    EXPECT_EQ(importer->GetMifObjectOfItem(old.GetUID()), nullptr);
}
