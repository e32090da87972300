// Tables of the host: the new-table command and the table commands (merges, inserted rows,
// header and footer rows, strokes on edges), deleting a table with its text, and the table as
// the IDML package and the JSON dump write it.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "Document.h"
#include "DocumentList.h"
#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "JsonDumpWriter.h"
#include "NewDocCmd.h"
#include "Spread.h"
#include "Story.h"
#include "SwatchUtils.h"
#include "Table.h"
#include "TableCommands.h"
#include "TextCommands.h"
#include "TextFrame.h"

#include "host/IdmlPackage.h"
#include "host/IdmlSchema.h"

namespace {

std::shared_ptr<NewTableCmd> NewTable(Story& story, int32 index, int32 header, int32 body, int32 footer, int32 columns)
{
    auto newTableCmd = std::make_shared<NewTableCmd>();
    newTableCmd->SetItemList(UIDList(story.GetRef()));
    newTableCmd->textIndex = index;
    newTableCmd->headerRows = header;
    newTableCmd->bodyRows = body;
    newTableCmd->footerRows = footer;
    newTableCmd->columns = columns;
    newTableCmd->height = 60;
    newTableCmd->width = 300;
    return newTableCmd;
}

// A new open document (commands change open documents only), closed after the test.
class TableCommandsTest : public ::testing::Test {
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
    DataBase* db = nullptr;
};

std::u16string ThreadText(const Story& story, UID owner)
{
    TextRange thread = story.textModel.FindThread(owner);
    return thread.length > 0 ? story.textModel.GetText(thread.start, thread.length) : u"";
}

TEST_F(TableCommandsTest, NewTablesMergesRowsAndSections)
{
    Story& story = *db->Create<Story>();
    story.textModel.Insert(0, u"Text\r");
    // Out of range, no body rows, no columns: refused, nothing changed.
    EXPECT_EQ(CmdUtils::ProcessCommand(NewTable(story, 9, 0, 1, 0, 1)), kInvalidParameterError);
    EXPECT_EQ(CmdUtils::ProcessCommand(NewTable(story, 5, 0, 0, 0, 1)), kInvalidParameterError);
    EXPECT_EQ(CmdUtils::ProcessCommand(NewTable(story, 5, 0, 1, 0, 0)), kInvalidParameterError);
    EXPECT_EQ(story.textModel.TotalLength(), 6);

    auto newTableCmd = NewTable(story, 5, 1, 3, 1, 3);
    ASSERT_EQ(CmdUtils::ProcessCommand(newTableCmd), kSuccess);
    Table* table = db->Get<Table>(newTableCmd->GetItemList().GetUIDs().front());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(story.textModel.GetChar(5), kTextChar_Table);
    EXPECT_EQ(story.textModel.GetOwnedItem(5), table->GetUID());
    EXPECT_EQ(table->RowCount(), 5);
    EXPECT_DOUBLE_EQ(table->rows[0].height, 12);
    EXPECT_DOUBLE_EQ(table->columns[2].width, 100);
    int32 cells = 0;
    story.textModel.ForEachThread([&](const TextRange&, const TextThread& thread) { cells += thread.kind == TextThreadKind::kCell; });
    EXPECT_EQ(cells, 15);

    TableCommands tableCommands(table->GetRef());
    const TableCell& corner = table->CellAt(GridAddress{1, 1});
    story.textModel.Insert(story.textModel.FindThread(table->CellAt(GridAddress{2, 2}).text).start, u"kept");
    ASSERT_EQ(tableCommands.MergeCells(GridArea(1, 1, 3, 3)), kSuccess);
    EXPECT_EQ(corner.rowSpan, 2);
    EXPECT_TRUE(table->CellAt(GridAddress{2, 2}).covered);
    EXPECT_EQ(table->AnchorOf(GridAddress{2, 2}), (GridAddress{1, 1}));
    // The covered cells' text goes on in the merged cell; their threads go.
    EXPECT_EQ(ThreadText(story, corner.text), u"kept\r");
    // An area that cuts through a merged cell, or leaves the grid, is refused.
    EXPECT_EQ(tableCommands.MergeCells(GridArea(2, 0, 3, 2)), kInvalidParameterError);
    EXPECT_EQ(tableCommands.MergeCells(GridArea(0, 0, 1, 4)), kInvalidParameterError);
    EXPECT_EQ(tableCommands.InsertRows(RowRange{2, 1}, TableCommands::eBefore, 6), kInvalidParameterError);

    // Rows inserted at either end join the section beside them and take the strokes there.
    CellStrokeRecord heavy;
    heavy.sides = CellStrokeRecord::kBottom | CellStrokeRecord::kLeft;
    heavy.mask = CellStrokeRecord::kWeight | CellStrokeRecord::kType;
    heavy.weight = 3;
    heavy.strokeType = kStrokeTypeDouble;
    ASSERT_EQ(tableCommands.ApplyCellStrokes(GridArea(4, 0, 5, 3), heavy), kSuccess);
    EXPECT_DOUBLE_EQ(table->RowEdge(5, 1).weight, 3);
    EXPECT_DOUBLE_EQ(table->ColumnEdge(4, 0).weight, 3);
    EXPECT_DOUBLE_EQ(table->ColumnEdge(4, 1).weight, 1);
    ASSERT_EQ(tableCommands.InsertRows(RowRange{5, 1}, TableCommands::eBefore, 6), kSuccess);
    EXPECT_EQ(table->footerRowCount, 2);
    EXPECT_DOUBLE_EQ(table->RowEdge(5, 1).weight, 3);
    EXPECT_DOUBLE_EQ(table->RowEdge(6, 1).weight, 3);
    EXPECT_DOUBLE_EQ(table->ColumnEdge(5, 0).weight, 3);
    EXPECT_DOUBLE_EQ(table->RowEdge(4, 1).weight, 1);
    ASSERT_EQ(tableCommands.InsertRows(RowRange{0, 1}, TableCommands::eBefore, 6), kSuccess);
    EXPECT_EQ(table->headerRowCount, 2);
    EXPECT_EQ(table->BodyRowCount(), 3);
    EXPECT_TRUE(table->CellAt(GridAddress{3, 2}).covered);  // the merge moved down with its rows
    // Body rows become header rows only from the first body row; never the last body row.
    EXPECT_EQ(tableCommands.ConvertToHeaderRows(RowRange{3, 1}), kInvalidParameterError);
    EXPECT_EQ(tableCommands.ConvertToHeaderRows(RowRange{2, 1}), kSuccess);
    EXPECT_EQ(tableCommands.ConvertToFooterRows(RowRange{3, 2}), kInvalidParameterError);
    EXPECT_EQ(table->headerRowCount, 3);

    // Deleting the table character takes the table, its cells and their threads.
    const UID tableUID = table->GetUID();
    auto deleteCmd = std::make_shared<DeleteTextCmd>();
    deleteCmd->SetItemList(UIDList(story.GetRef()));
    deleteCmd->index = 5;
    deleteCmd->length = 1;
    ASSERT_EQ(CmdUtils::ProcessCommand(deleteCmd), kSuccess);
    EXPECT_EQ(db->Get<Table>(tableUID), nullptr);
    EXPECT_EQ(story.textModel.TotalLength(), 6);
    int32 left = 0;
    for (const auto& [uid, object] : db->GetObjects()) left += dynamic_cast<const CellText*>(object.get()) != nullptr;
    EXPECT_EQ(left, 0);
}

TEST_F(TableCommandsTest, PackageAndDumpWriteTheGrid)
{
    Document& document = *db->GetDocument();
    ASSERT_FALSE(document.spreads.empty());
    Spread& spread = *db->Get<Spread>(document.spreads.front());
    Story& story = *db->Create<Story>();
    document.stories.push_back(story.GetUID());
    TextFrame& frame = *db->Create<TextFrame>();
    frame.spread = spread.GetUID();
    frame.story = story.GetUID();
    frame.pathBounds = PMRect(0, 0, 400, 400);
    spread.pageItems.push_back(frame.GetUID());
    story.textModel.Insert(0, u"Before\r\r");
    auto newTableCmd = NewTable(story, 7, 1, 2, 0, 2);
    ASSERT_EQ(CmdUtils::ProcessCommand(newTableCmd), kSuccess);
    Table& table = *db->Get<Table>(newTableCmd->GetItemList().GetUIDs().front());
    TableCommands tableCommands(table.GetRef());
    ASSERT_EQ(tableCommands.MergeCells(GridArea(1, 0, 2, 2)), kSuccess);
    story.textModel.Insert(story.textModel.FindThread(table.CellAt(GridAddress{1, 0}).text).start, u"wide cell");
    CellStrokeRecord doubleLine;
    doubleLine.sides = CellStrokeRecord::kTop;
    doubleLine.mask = CellStrokeRecord::kWeight | CellStrokeRecord::kType | CellStrokeRecord::kColor;
    doubleLine.weight = 2.5;
    doubleLine.strokeType = kStrokeTypeDouble;
    doubleLine.color = SwatchUtils::GetNoneSwatch(*db);
    ASSERT_EQ(tableCommands.ApplyCellStrokes(table.GetTotalArea(), doubleLine), kSuccess);
    table.CellAt(GridAddress{0, 0}).rotation = 270;

    std::string bytes;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    ASSERT_TRUE(package.IsOpen()) << package.GetError();
    EXPECT_EQ(package.Check(), std::vector<std::string>());
    EXPECT_TRUE(IdmlSchema::Validates(bytes));
    pugi::xml_node element = package.Part(IdmlIds::StoryPart(story.GetUID())).child("Story").find_node([](pugi::xml_node n) {
        return std::string(n.name()) == "Table";
    });
    ASSERT_TRUE(element);
    EXPECT_STREQ(element.attribute("HeaderRowCount").value(), "1");
    EXPECT_STREQ(element.attribute("BodyRowCount").value(), "2");
    EXPECT_STREQ(element.attribute("ColumnCount").value(), "2");
    std::vector<std::string> names;
    for (pugi::xml_node cell : element.children("Cell")) names.push_back(cell.attribute("Name").value());
    EXPECT_EQ(names, (std::vector<std::string>{"0:0", "1:0", "0:1", "0:2", "1:2"}));
    pugi::xml_node wide = element.find_child_by_attribute("Cell", "Name", "0:1");
    EXPECT_STREQ(wide.attribute("ColumnSpan").value(), "2");
    EXPECT_STREQ(wide.child("ParagraphStyleRange").child("CharacterStyleRange").child("Content").text().get(), "wide cell");
    pugi::xml_node top = element.find_child_by_attribute("Cell", "Name", "1:0");
    EXPECT_STREQ(top.attribute("TopEdgeStrokeWeight").value(), "2.5");
    EXPECT_STREQ(top.attribute("TopEdgeStrokeType").value(), IdmlIds::kStrokeThinThin);
    EXPECT_STREQ(top.attribute("TopEdgeStrokeColor").value(), IdmlIds::kSwatchNone);
    // A turned cell carries its rotation.
    EXPECT_STREQ(element.find_child_by_attribute("Cell", "Name", "0:0").attribute("RotationAngle").value(), "270");
    EXPECT_STREQ(top.attribute("RotationAngle").value(), "0");

    const std::string dump = JsonDumpWriter::Dump(*db);
    EXPECT_NE(dump.find("\"kind\": \"Table\""), std::string::npos);
    EXPECT_NE(dump.find("\"columnSpan\": 2"), std::string::npos);
    EXPECT_NE(dump.find("\"kind\": \"CellText\""), std::string::npos);
}

} // namespace
