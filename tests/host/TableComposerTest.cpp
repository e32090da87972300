// Tables as the composer sets them: cell text set by the line breaker at the cell's width, row
// heights from it, vertical justification, rows that go on in the next columns and frames with
// the header and footer rows repeated, rows kept together, a row deeper than a column, tables
// that run out of frames, edits in cells, the preview of a table across two frames.
#include <gtest/gtest.h>

#include <numeric>

#include "CmdUtils.h"
#include "Document.h"
#include "DocumentList.h"
#include "JsonDumpWriter.h"
#include "NewDocCmd.h"
#include "PreviewWriter.h"
#include "Spread.h"
#include "Story.h"
#include "StoryComposer.h"
#include "StyleUtils.h"
#include "Table.h"
#include "TableCommands.h"
#include "TextCommands.h"
#include "TextFrame.h"

#include "host/PreviewImage.h"

namespace {

constexpr const char* kFamily = "DejaVu Sans";

class TableComposerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto newDocCmd = std::make_shared<NewDocCmd>();
        ASSERT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
        db = newDocCmd->GetItemList().GetDataBase();
    }
    void TearDown() override
    {
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }

    // A story of `text` in DejaVu Sans 10 on 12 points.
    Story& AddStory(const std::u16string& text)
    {
        Story& story = *db->Create<Story>();
        db->GetDocument()->stories.push_back(story.GetUID());
        story.textModel.Insert(0, text);
        Format(story, 0, story.textModel.TotalLength());
        return story;
    }
    void Format(Story& story, int32 index, int32 length)
    {
        AttributeBossList attributes;
        attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(*db, kFamily));
        attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Book"));
        attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10));
        attributes.ApplyAttribute(TextAttribute::kLeading, PMReal(12));
        story.textModel.ApplyAttributes(attributes, index, length);
    }
    // `count` frames `width` x `height` threaded after one another.
    std::vector<TextFrame*> AddFrames(Story& story, int count, PMReal width, PMReal height)
    {
        std::vector<TextFrame*> frames;
        for (int i = 0; i < count; ++i) {
            TextFrame& frame = *db->Create<TextFrame>();
            frame.story = story.GetUID();
            frame.pathBounds = PMRect(0, 0, width, height);
            if (!frames.empty()) {
                frames.back()->nextFrame = frame.GetUID();
                frame.previousFrame = frames.back()->GetUID();
            }
            frames.push_back(&frame);
        }
        return frames;
    }
    // A table of `body` body rows between `header` and `footer` rows, `columns` columns 60 wide,
    // at `index`, every row fixed at `rowHeight` (0: rows grow with their text).
    Table& AddTable(Story& story, int32 index, int32 header, int32 body, int32 footer, int32 columns, PMReal rowHeight)
    {
        auto newTableCmd = std::make_shared<NewTableCmd>();
        newTableCmd->SetItemList(UIDList(story.GetRef()));
        newTableCmd->textIndex = index;
        newTableCmd->headerRows = header;
        newTableCmd->bodyRows = body;
        newTableCmd->footerRows = footer;
        newTableCmd->columns = columns;
        newTableCmd->height = (rowHeight > 0 ? rowHeight : 12) * (header + body + footer);
        newTableCmd->width = 60.0 * columns;
        EXPECT_EQ(CmdUtils::ProcessCommand(newTableCmd), kSuccess);
        Table& table = *db->Get<Table>(newTableCmd->GetItemList().GetUIDs().front());
        for (TableRow& row : table.rows) {
            row.autoGrow = rowHeight <= 0;
            if (rowHeight > 0) row.height = rowHeight;
        }
        Format(story, 0, story.textModel.TotalLength());
        story.frameList.Reset();
        return table;
    }
    void SetCellText(Story& story, const Table& table, GridAddress at, const std::u16string& text)
    {
        auto insertCmd = std::make_shared<InsertTextCmd>();
        insertCmd->SetItemList(UIDList(story.GetRef()));
        insertCmd->index = story.textModel.FindThread(table.CellAt(at).text).start;
        insertCmd->text = text;
        ASSERT_EQ(CmdUtils::ProcessCommand(insertCmd), kSuccess);  // takes on the format of the cell's return
    }
    static const ComposedCell* CellOf(const Story& story, const Table& table, GridAddress at)
    {
        const ComposedTable* composed = story.frameList.FindTable(table.GetUID());
        return composed ? composed->FindCell(table.CellAt(at).text) : nullptr;
    }
    // Every part of `table` in thread order.
    static std::vector<const ComposedTablePart*> PartsOf(const Story& story, const Table& table)
    {
        std::vector<const ComposedTablePart*> parts;
        for (const ComposedFrame& frame : story.frameList.GetFrames())
            for (const ComposedTablePart& part : frame.tableParts)
                if (part.table && part.table->table == table.GetUID()) parts.push_back(&part);
        return parts;
    }

    DataBase* db = nullptr;
    StoryComposer composer;
};

TEST_F(TableComposerTest, CellTextIsSetAtTheCellWidthAndSizesItsRow)
{
    Story& story = AddStory(u"Before\r");
    AddFrames(story, 1, 400, 600);
    Table& table = AddTable(story, 7, 0, 2, 0, 2, 0);
    // Cell (0, 0): a text that wraps in 60 points less 8 of insets; (0, 1) one word; row 1 fixed.
    SetCellText(story, table, GridAddress{0, 0}, u"one two three four five six seven");
    SetCellText(story, table, GridAddress{0, 1}, u"word");
    table.rows[1].autoGrow = false;
    table.rows[1].height = 30;
    composer.Compose(story);

    const ComposedCell* wrapped = CellOf(story, table, GridAddress{0, 0});
    ASSERT_NE(wrapped, nullptr);
    ASSERT_GE(wrapped->lines.size(), 3u);
    for (const ComposedLine& line : wrapped->lines) EXPECT_LE(line.width, 52 + 1e-6);
    // Line indexes count from the cell's thread; x from the cell's left edge.
    EXPECT_EQ(wrapped->lines.front().start, 0);
    EXPECT_DOUBLE_EQ(wrapped->lines.front().left, 4);
    // The row is as deep as its deepest cell with its insets; the fixed row keeps its height.
    const ComposedTable* composed = story.frameList.FindTable(table.GetUID());
    ASSERT_NE(composed, nullptr);
    EXPECT_NEAR(composed->rowHeights[0], wrapped->contentHeight + 8, 1e-6);
    EXPECT_NEAR(wrapped->contentHeight, 12.0 * (wrapped->lines.size() - 1) + wrapped->lines.front().ascent + wrapped->lines.back().descent, 1e-6);
    EXPECT_DOUBLE_EQ(composed->rowHeights[1], 30);
    // The table's line is as deep as the table; the composer's metrics for a cell match the
    // cell set alone.
    const ComposedLine* tableLine = story.frameList.FindLine(7);
    ASSERT_NE(tableLine, nullptr);
    EXPECT_NEAR(tableLine->ascent, composed->rowHeights[0] + 30, 1e-6);
    std::vector<ComposedLine> alone = composer.ComposeCell(story, table.CellAt(GridAddress{0, 0}).text);
    ASSERT_EQ(alone.size(), wrapped->lines.size());
    EXPECT_DOUBLE_EQ(alone.back().descent, wrapped->lines.back().descent);
    EXPECT_TRUE(composer.ComposeCell(story, kInvalidUID).empty());
}

TEST_F(TableComposerTest, VerticalJustificationAndMergedCells)
{
    Story& story = AddStory(u"\r");
    AddFrames(story, 1, 400, 600);
    Table& table = AddTable(story, 0, 0, 3, 0, 3, 0);
    for (TableRow& row : table.rows) row.minHeight = 40;
    SetCellText(story, table, GridAddress{0, 0}, u"top");
    SetCellText(story, table, GridAddress{0, 1}, u"middle");
    SetCellText(story, table, GridAddress{0, 2}, u"bottom");
    table.CellAt(GridAddress{0, 1}).verticalJustification = 1;
    table.CellAt(GridAddress{0, 2}).verticalJustification = 2;
    // A merged cell over rows 1 and 2 with more text than two 40-point rows hold.
    TableCommands tableCommands(table.GetRef());
    ASSERT_EQ(tableCommands.MergeCells(GridArea(1, 0, 3, 1)), kSuccess);
    SetCellText(story, table, GridAddress{1, 0}, u"a b c d e f g h i j k l m n o p q r s t u v w x y z a b c d e f g h i j k l m n o p q r s t u v w x y z");
    composer.Compose(story);

    const ComposedCell* top = CellOf(story, table, GridAddress{0, 0});
    const ComposedCell* middle = CellOf(story, table, GridAddress{0, 1});
    const ComposedCell* bottom = CellOf(story, table, GridAddress{0, 2});
    ASSERT_TRUE(top && middle && bottom);
    const PMReal firstTop = top->lines.front().baseline - top->lines.front().ascent;
    EXPECT_NEAR(firstTop, 4, 1e-6);
    EXPECT_NEAR(middle->lines.front().baseline - middle->lines.front().ascent, 4 + (32 - middle->contentHeight) / 2, 1e-6);
    EXPECT_NEAR(bottom->lines.back().baseline + bottom->lines.back().descent, 40 - 4, 1e-6);
    // The merged cell's excess goes to its last row.
    const ComposedTable* composed = story.frameList.FindTable(table.GetUID());
    const ComposedCell* merged = CellOf(story, table, GridAddress{1, 0});
    ASSERT_TRUE(composed && merged);
    EXPECT_GT(merged->contentHeight + 8, 80);
    EXPECT_DOUBLE_EQ(composed->rowHeights[1], 40);
    EXPECT_NEAR(composed->rowHeights[1] + composed->rowHeights[2], merged->contentHeight + 8, 1e-6);
    EXPECT_FALSE(merged->overset);
}

TEST_F(TableComposerTest, RowsGoOnInTheNextFramesWithHeaderAndFooterRepeated)
{
    Story& story = AddStory(u"Intro\r\rAfter\r");
    std::vector<TextFrame*> frames = AddFrames(story, 3, 400, 200);
    frames[1]->columnCount = 2;
    frames[1]->columnGutter = 10;
    // 1 header, 20 body rows of 20 points, 1 footer: 440 points of rows.
    Table& table = AddTable(story, 6, 1, 20, 1, 3, 20);
    table.rows[5].keepWithNext = 1;  // rows 5 and 6 hold together
    table.rows[6].keepWithNext = 1;  // and 7
    composer.Compose(story);

    std::vector<const ComposedTablePart*> parts = PartsOf(story, table);
    ASSERT_GE(parts.size(), 3u);
    std::vector<int32> body;
    for (size_t i = 0; i < parts.size(); ++i) {
        const ComposedTablePart& part = *parts[i];
        EXPECT_EQ(part.continued, i > 0);
        EXPECT_FALSE(part.clipped);
        // Every part starts with the header row and ends with the footer row, and fits its column.
        ASSERT_GE(part.rows.size(), 3u);
        EXPECT_EQ(part.rows.front(), 0);
        EXPECT_EQ(part.rows.back(), 21);
        EXPECT_NEAR(part.height, 20.0 * part.rows.size(), 1e-6);
        EXPECT_LE(part.top + part.height, 200 + 1e-6);
        if (i > 0) {
            EXPECT_DOUBLE_EQ(part.top, 0);
        }
        body.insert(body.end(), part.rows.begin() + 1, part.rows.end() - 1);
        // Rows kept together are not parted.
        for (size_t k = 1; k + 1 < part.rows.size(); ++k)
            if (part.rows[k] == 5 || part.rows[k] == 6) {
                ASSERT_LT(k + 2, part.rows.size());
                EXPECT_EQ(part.rows[k + 1], part.rows[k] + 1);
            }
    }
    // Each body row once, in order.
    std::vector<int32> expected(20);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(body, expected);
    // The first part follows the intro in frame 0; the next ones stand in frame 1's two columns.
    EXPECT_GT(parts[0]->top, 0);
    EXPECT_EQ(parts[1]->column, 0);
    EXPECT_EQ(parts[2]->column, 1);
    EXPECT_DOUBLE_EQ(parts[2]->left, parts[1]->left + 195 + 10);
    // The table's character is in the first frame, the text after it where the last part ends.
    EXPECT_EQ(story.frameList.FindFrameOfIndex(6), frames[0]->GetUID());
    const std::vector<ComposedFrame>& composed = story.frameList.GetFrames();
    size_t lastFrame = 0;
    for (size_t f = 0; f < composed.size(); ++f)
        for (const ComposedTablePart& part : composed[f].tableParts)
            if (&part == parts.back()) lastFrame = f;
    EXPECT_EQ(story.frameList.FindFrameOfIndex(8), composed[lastFrame].frame);
    const ComposedLine* after = story.frameList.FindLine(8);
    ASSERT_NE(after, nullptr);
    EXPECT_GT(after->baseline, parts.back()->top + parts.back()->height);
    EXPECT_FALSE(story.frameList.Overflows());

    // The dump shows where each part landed.
    const std::string dump = JsonDumpWriter::Dump(*db);
    EXPECT_NE(dump.find("\"tableParts\""), std::string::npos);
    EXPECT_NE(dump.find("\"continued\": true"), std::string::npos);
}

TEST_F(TableComposerTest, RowDeeperThanAColumnStandsAloneAndTablesRunOutOfFrames)
{
    Story& story = AddStory(u"Intro\r\rAfter\r");
    std::vector<TextFrame*> frames = AddFrames(story, 3, 300, 100);
    Table& table = AddTable(story, 6, 0, 3, 0, 2, 30);
    table.rows[1].height = 250;  // deeper than any frame
    composer.Compose(story);
    std::vector<const ComposedTablePart*> parts = PartsOf(story, table);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0]->rows, std::vector<int32>{0});
    EXPECT_EQ(parts[1]->rows, std::vector<int32>{1});
    EXPECT_TRUE(parts[1]->clipped);
    EXPECT_DOUBLE_EQ(parts[1]->height, 100);
    EXPECT_EQ(parts[2]->rows, std::vector<int32>{2});
    EXPECT_FALSE(story.frameList.Overflows());
    EXPECT_EQ(story.frameList.FindFrameOfIndex(8), frames[2]->GetUID());

    // Rows left over after the last frame: the table and the text after it are overset.
    table.rows[2].height = 90;
    table.rows[0].height = 90;
    TableCommands(table.GetRef()).ApplyRowOverrides(RowRange{0, 1}, TableAttributeList{});
    composer.Compose(story);
    EXPECT_TRUE(story.frameList.Overflows());
    EXPECT_EQ(story.frameList.GetOversetIndex(), 6);
    EXPECT_EQ(story.frameList.FindFrameOfIndex(8), kInvalidUID);
}

TEST_F(TableComposerTest, EditsInCellsSetTheTableAgainFromItsFrame)
{
    Story& story = AddStory(u"Intro\r");
    AddFrames(story, 4, 300, 100);
    // Text that fills the first frame, then the table, then more text.
    std::u16string filler;
    for (int i = 0; i < 12; ++i) filler += u"Line of text\r";
    story.textModel.Insert(0, filler);
    const int32 at = story.textModel.GetThreadRange(0).End() - 1;
    Table& table = AddTable(story, at, 0, 2, 0, 2, 0);
    story.textModel.Insert(at + 1, u"\rTail");
    Format(story, 0, story.textModel.TotalLength());
    story.frameList.Reset();
    composer.Compose(story);
    const UID tableFrame = story.frameList.FindFrameOfIndex(at);
    ASSERT_NE(tableFrame, kInvalidUID);
    const ComposedCell* cell = CellOf(story, table, GridAddress{1, 1});
    ASSERT_NE(cell, nullptr);
    ASSERT_EQ(cell->lines.size(), 1u);
    auto depth = [&] {
        const std::vector<PMReal>& heights = story.frameList.FindTable(table.GetUID())->rowHeights;
        return std::accumulate(heights.begin(), heights.end(), PMReal(0));
    };
    const PMReal depthBefore = depth();

    // Text typed into a cell: the table is set again with it, the frames before it keep theirs.
    SetCellText(story, table, GridAddress{1, 1}, u"many words in a narrow cell wrap");
    EXPECT_FALSE(story.frameList.IsCurrent(story.textModel.GetRevision()));
    composer.Compose(story);
    cell = CellOf(story, table, GridAddress{1, 1});
    ASSERT_NE(cell, nullptr);
    EXPECT_GT(cell->lines.size(), 1u);
    EXPECT_GT(depth(), depthBefore);

    // A change to the table alone damages its frame, not the whole story.
    const int64 revision = story.textModel.GetRevision();
    TableAttributeList attributes;
    attributes.ApplyAttribute(TableAttribute::kRowMinHeight, PMReal(40));
    ASSERT_EQ(TableCommands(table.GetRef()).ApplyRowOverrides(RowRange{0, 1}, attributes), kSuccess);
    EXPECT_TRUE(story.frameList.IsComposed());
    EXPECT_EQ(story.frameList.GetRevision(), revision);
    EXPECT_GE(story.frameList.GetFirstDamagedFrame(), 0);
    composer.Compose(story);
    EXPECT_NEAR(story.frameList.FindTable(table.GetUID())->rowHeights[0], 40, 1e-6);
    const int64 linesSet = composer.GetLinesSet();
    story.frameList.Reset();
    composer.Compose(story);
    EXPECT_LE(linesSet + 8, composer.GetLinesSet());  // the first frame's lines were kept
}

TEST_F(TableComposerTest, TurnedCellsSetTheirLinesAlongTheirRows)
{
    Story& story = AddStory(u"\r");
    AddFrames(story, 1, 400, 600);
    Table& table = AddTable(story, 0, 0, 2, 0, 3, 0);
    const std::u16string text = u"one two three four five six seven";
    for (int32 c = 0; c < 3; ++c) SetCellText(story, table, GridAddress{0, c}, text);
    SetCellText(story, table, GridAddress{1, 0}, text);
    // Row 0: a cell turned 90 (insets left 1, top 2, right 3, bottom 4), one turned 180, one not.
    TableCell& up = table.CellAt(GridAddress{0, 0});
    up.rotation = 90;
    up.insets[0] = 1;
    up.insets[1] = 2;
    up.insets[2] = 3;
    up.insets[3] = 4;
    table.CellAt(GridAddress{0, 1}).rotation = 180;
    // Row 1: fixed at 50 points, its first cell turned 270.
    table.rows[1].autoGrow = false;
    table.rows[1].height = 50;
    table.CellAt(GridAddress{1, 0}).rotation = 270;
    composer.Compose(story);

    const ComposedTable* composed = story.frameList.FindTable(table.GetUID());
    const ComposedCell* turned = CellOf(story, table, GridAddress{0, 0});
    const ComposedCell* half = CellOf(story, table, GridAddress{0, 1});
    const ComposedCell* plain = CellOf(story, table, GridAddress{0, 2});
    const ComposedCell* fixed = CellOf(story, table, GridAddress{1, 0});
    ASSERT_TRUE(composed && turned && half && plain && fixed);
    // The growing row lets the turned text run in one line and grows by its width and the
    // insets at the row's top and bottom.
    EXPECT_EQ(turned->rotation, 90);
    ASSERT_EQ(turned->lines.size(), 1u);
    EXPECT_GT(turned->contentWidth, 100);
    EXPECT_NEAR(composed->rowHeights[0], turned->contentWidth + 2 + 4, 1e-6);
    // Its lines start after the bottom inset and hang from the left one.
    EXPECT_DOUBLE_EQ(turned->lines.front().left, 4);
    EXPECT_NEAR(turned->lines.front().baseline - turned->lines.front().ascent, 1, 1e-6);
    EXPECT_FALSE(turned->overset);
    // A half turn sets its text as an unturned cell does.
    EXPECT_EQ(half->rotation, 180);
    ASSERT_EQ(half->lines.size(), plain->lines.size());
    EXPECT_GT(plain->lines.size(), 2u);
    // The fixed row keeps its height; its turned cell breaks its lines at it less the insets.
    EXPECT_DOUBLE_EQ(composed->rowHeights[1], 50);
    EXPECT_EQ(fixed->rotation, 270);
    EXPECT_GT(fixed->lines.size(), 2u);
    for (const ComposedLine& line : fixed->lines) EXPECT_LE(line.width, 42 + 1e-6);
    // Set alone, a turned cell's lines are the same.
    std::vector<ComposedLine> alone = composer.ComposeCell(story, up.text);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_DOUBLE_EQ(alone.front().baseline, turned->lines.front().baseline);
}

TEST_F(TableComposerTest, PreviewDrawsATurnedCellsTextTurned)
{
    Story& story = AddStory(u"\r");
    Spread& spread = *db->Get<Spread>(db->GetDocument()->spreads.at(0));
    const Page& page = *db->Get<Page>(spread.pages.at(0));
    TextFrame& frame = *AddFrames(story, 1, 200, 300).front();
    frame.spread = spread.GetUID();
    frame.itemTransform = PMMatrix::Translation(page.boundsInSpread.left + 20, page.boundsInSpread.top + 10);
    spread.pageItems.push_back(frame.GetUID());
    Table& table = AddTable(story, 0, 0, 1, 0, 2, 0);
    SetCellText(story, table, GridAddress{0, 0}, u"WWWWWWWW");
    table.CellAt(GridAddress{0, 0}).rotation = 90;
    story.frameList.Reset();
    composer.ComposeAll(*db);
    std::vector<const ComposedTablePart*> parts = PartsOf(story, table);
    const ComposedTable* composed = story.frameList.FindTable(table.GetUID());
    ASSERT_TRUE(composed && parts.size() == 1u);
    const PMReal rowTop = 10 + parts[0]->top, rowBottom = rowTop + composed->rowHeights[0];
    ASSERT_GT(rowBottom - rowTop, 60);
    std::string png;
    ASSERT_EQ(PreviewWriter::BuildPngs(*db, PreviewOptions{72, false}, [&](int32 number, std::string_view image) {
        if (number == 1) png = image;
        return kSuccess;
    }, nullptr), kSuccess);
    PreviewImage image(png);
    ASSERT_TRUE(image.IsValid());
    // The word runs up the cell's left side from its bottom, in a band one line wide; the right of
    // the cell stays clean.
    EXPECT_GT(image.InkIn(24, int(rowBottom) - 30, 38, int(rowBottom) - 6), 20);
    EXPECT_GT(image.InkIn(24, int(rowTop) + 8, 38, int(rowTop) + 30), 20);
    EXPECT_EQ(image.InkIn(42, int(rowTop) + 3, 77, int(rowBottom) - 3), 0);
}

TEST_F(TableComposerTest, PreviewDrawsEachPartWithItsCellText)
{
    Story& story = AddStory(u"\r");
    Spread& spread = *db->Get<Spread>(db->GetDocument()->spreads.at(0));
    const Page& page = *db->Get<Page>(spread.pages.at(0));
    std::vector<TextFrame*> frames = AddFrames(story, 2, 200, 80);
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i]->spread = spread.GetUID();
        frames[i]->itemTransform = PMMatrix::Translation(page.boundsInSpread.left + 20, page.boundsInSpread.top + 10 + 100.0 * i);
        spread.pageItems.push_back(frames[i]->GetUID());
    }
    // Six rows of 20 points in two columns of 60: four rows fit each 80-point frame.
    Table& table = AddTable(story, 0, 0, 6, 0, 2, 20);
    SetCellText(story, table, GridAddress{5, 1}, u"WWWW");
    story.frameList.Reset();
    composer.ComposeAll(*db);
    std::vector<const ComposedTablePart*> parts = PartsOf(story, table);
    ASSERT_EQ(parts.size(), 2u);
    ASSERT_EQ(parts[1]->rows, (std::vector<int32>{4, 5}));
    std::string png;
    ASSERT_EQ(PreviewWriter::BuildPngs(*db, PreviewOptions{72, false}, [&](int32 number, std::string_view image) {
        if (number == 1) png = image;
        return kSuccess;
    }, nullptr), kSuccess);
    PreviewImage image(png);
    ASSERT_TRUE(image.IsValid());
    // The second part's top ruling at the second frame's top; the glyphs of row 5's second cell
    // inside that cell, none in its first cell.
    EXPECT_GT(image.InkIn(20, 109, 140, 112), 100);
    EXPECT_GT(image.InkIn(82, 132, 138, 148), 20);
    EXPECT_EQ(image.InkIn(23, 132, 77, 148), 0);
}

} // namespace
