// Tables at their anchors: the checks, the grid (sections, sizes, straddles, titles), cell text,
// cell margins and angles, rulings and shading, the anchor's paragraph, and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "MifImportFixture.h"
#include "ObjectModel.h"
#include "Story.h"
#include "SwatchUtils.h"
#include "Table.h"
#include "TestUtils.h"
#include "TextComposer.h"

#include "layout/IMifLayoutImporter.h"
#include "mif/MifKeywords.h"
#include "tables/IMifTableUtils.h"

namespace {

constexpr const char* kSetup =
    "<ColorCatalog <Color <ColorTag `Red'> <ColorCyan 0> <ColorMagenta 100> <ColorYellow 100> <ColorBlack 0>>>\n"
    "<RulingCatalog\n"
    " <Ruling <RulingTag `Thin'> <RulingPenWidth 1pt> <RulingLines 1>>\n"
    " <Ruling <RulingTag `Medium'> <RulingPenWidth 2pt> <RulingLines 1>>\n"
    " <Ruling <RulingTag `Double'> <RulingPenWidth 0.5pt> <RulingGap 2pt> <RulingLines 2>>\n"
    " <Ruling <RulingTag `RedLine'> <RulingPenWidth 1.5pt> <RulingColor `Red'>>\n"
    " <Ruling <RulingTag `Pen0'> <RulingPenWidth 0pt> <RulingLines 1>>\n"
    " <Ruling <RulingTag `NoLines'> <RulingPenWidth 1pt> <RulingLines 0>>\n"
    ">\n"
    "<PgfCatalog\n"
    " <Pgf <PgfTag `Body'> <PgfSpBefore 0pt> <PgfSpAfter 12pt> <PgfLeading 2pt> <PgfFont <FFamily `Times'> <FSize 12pt>>>\n"
    " <Pgf <PgfTag `Cell'> <PgfCellMargins 2pt 2pt 2pt 2pt> <PgfCellLMarginFixed Yes> <PgfCellAlignment Bottom>\n"
    "  <PgfFont <FFamily `Times'> <FSize 10pt>>>\n"
    ">\n"
    "<TblCatalog <TblFormat <TblTag `Format A'> <TblCellMargins 6pt 6pt 6pt 6pt> <TblAlignment Center> <TblPlacement Anywhere>\n"
    " <TblLIndent 10pt>>>\n"
    "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n";

// A cell holding one paragraph of `text`.
std::string Cell(const std::string& text, const std::string& extra = "", const std::string& tag = "Body")
{
    return "<Cell " + extra + " <CellContent <Para <PgfTag `" + tag + "'> <ParaLine <String `" + text + "'>>>>>";
}

std::string Row(const std::string& cells, const std::string& extra = "") { return "<Row " + extra + " " + cells + ">"; }

// A flow whose one paragraph anchors the tables `anchors` (ATbl statements and text).
std::string Flow(const std::string& line) { return "<TextFlow <Para <PgfTag `Body'> <ParaLine <TextRectID 1> " + line + ">>>\n"; }

class MifTableImportTest : public MifImportFixture {
protected:
    void Import(const std::string& tbls, const std::string& flow, const std::string& setup = kSetup)
    {
        std::ostringstream mif;
        mif << "<MIFFile 2015>\n" << setup << "<Tbls " << tbls << ">\n" << flow;
        OpenMif("tessel-table-test.mif", mif.str());
        if (HasFatalFailure()) return;
        tables.clear();
        story->textModel.ForEachOwnedItem(0, story->textModel.GetThreadRange(0).End(), [&](int32, UID item) {
            if (const Table* table = db->Get<Table>(item)) tables.push_back(table);
        });
    }
    std::u16string Primary() const { return story->textModel.GetText(0, story->textModel.GetThreadRange(0).length); }
    std::u16string CellText(const Table& table, int32 row, int32 column) const
    {
        const TextRange thread = story->textModel.FindThread(table.CellAt(GridAddress{row, column}).text);
        return thread.length > 0 ? story->textModel.GetText(thread.start, thread.length - 1) : u"(none)";
    }
    const AttributeBossList& ParaOverrides(int32 index) const { return story->textModel.GetParagraphFormat(index)->overrides; }
    std::vector<const Table*> tables;
};

TEST_F(MifTableImportTest, TablesWithoutColumnsOrBodyRowsGiveOneMessageAndNoTable)
{
    Import("<Tbl <TblID 1> <TblBody " + Row(Cell("a")) + ">>\n"
           "<Tbl <TblID 2> <TblNumColumns 0> <TblBody " + Row(Cell("b")) + ">>\n"
           "<Tbl <TblID 3> <TblNumColumns 1> <TblH " + Row(Cell("c")) + ">>\n",
           Flow("<String `Text'> <ATbl 1> <ATbl 2> <ATbl 3>"));
    EXPECT_TRUE(tables.empty());
    EXPECT_TRUE(Warned("Line 19: Table import: missing <TblNumColumns > statement: the table with TblID 1 is left out, with the text "
                       "of 1 cell(s)"));
    EXPECT_TRUE(Warned("Line 20: Table import: invalid <TblNumColumns > statement (0 columns): the table with TblID 2 is left out, "
                       "with the text of 1 cell(s)"));
    EXPECT_TRUE(Warned("Line 21: Table import: trying to import empty table (0 body rows): the table with TblID 3 is left out, with "
                       "the text of 1 cell(s)"));
    // The paragraph stays whole: no return or table character is left behind.
    EXPECT_EQ(Primary(), u"Text\r");
}

TEST_F(MifTableImportTest, SectionsSizesStraddlesAndCellTextArrive)
{
    Import("<Tbl <TblID 1> <TblTag `Format A'> <TblNumColumns 3>\n"
           " <TblColumnWidth 100pt> <TblColumnWidth 0pt> <TblColumnWidth 50pt>\n"
           " <TblH " + Row(Cell("H1") + Cell("H2") + Cell("H3"), "<RowHeight 20pt>") + ">\n"
           " <TblBody " + Row(Cell("A", "<CellColumns 2>") + Cell("") + Cell("C"), "<RowMinHeight 14pt>") +
               Row(Cell("D", "<CellRows 2>") + Cell("E") + Cell("F"), "<RowHeight 0pt> <RowMaxHeight 40pt>") +
               Row(Cell("") + Cell("G") + Cell("H")) + ">\n"
           " <TblF " + Row(Cell("F1") + Cell("F2") + Cell("F3")) + ">>\n",
           Flow("<String `Before'> <ATbl 1>"));
    ASSERT_EQ(tables.size(), 1u);
    const Table& table = *tables[0];
    EXPECT_EQ(table.headerRowCount, 1);
    EXPECT_EQ(table.BodyRowCount(), 3);
    EXPECT_EQ(table.footerRowCount, 1);
    ASSERT_EQ(table.ColumnCount(), 3);
    EXPECT_DOUBLE_EQ(table.columns[0].width, 100);
    EXPECT_DOUBLE_EQ(table.columns[1].width, 150.0 / 3);  // width 0: the new table's share stands
    EXPECT_DOUBLE_EQ(table.columns[2].width, 50);
    // A row with a height is fixed; one without grows between its minimum and maximum.
    EXPECT_FALSE(table.rows[0].autoGrow);
    EXPECT_DOUBLE_EQ(table.rows[0].height, 20);
    EXPECT_TRUE(table.rows[1].autoGrow);
    EXPECT_DOUBLE_EQ(table.rows[1].minHeight, 14);
    EXPECT_DOUBLE_EQ(table.rows[1].maxHeight, 1000);
    EXPECT_TRUE(table.rows[2].autoGrow);
    EXPECT_DOUBLE_EQ(table.rows[2].minHeight, 0);
    EXPECT_DOUBLE_EQ(table.rows[2].maxHeight, 40);
    // Straddles are merged cells; the cells under them hold nothing.
    EXPECT_EQ(table.CellAt(GridAddress{1, 0}).columnSpan, 2);
    EXPECT_TRUE(table.CellAt(GridAddress{1, 1}).covered);
    EXPECT_EQ(table.CellAt(GridAddress{2, 0}).rowSpan, 2);
    EXPECT_TRUE(table.CellAt(GridAddress{3, 0}).covered);
    EXPECT_EQ(CellText(table, 0, 2), u"H3");
    EXPECT_EQ(CellText(table, 1, 0), u"A");
    EXPECT_EQ(CellText(table, 1, 2), u"C");
    EXPECT_EQ(CellText(table, 2, 0), u"D");
    EXPECT_EQ(CellText(table, 3, 2), u"H");
    EXPECT_EQ(CellText(table, 4, 1), u"F2");
    // The table sits in a paragraph of its own after the anchoring line, formatted from its
    // format's catalog entry; the text index went on after it.
    EXPECT_EQ(Primary(), u"Before\r\x16\r");
    EXPECT_EQ(*ParaOverrides(7).Get<int32>(TextAttribute::kJustification), 1);
    EXPECT_DOUBLE_EQ(*ParaOverrides(7).Get<PMReal>(TextAttribute::kLeftIndent), 10);
    EXPECT_EQ(*ParaOverrides(0).Get<int32>(TextAttribute::kKeepWithNext), 1);  // not Float
    // The table utilities sum the file's widths and heights.
    Utils<IMifTableUtils> tableUtils;
    ASSERT_TRUE(tableUtils);
    EXPECT_DOUBLE_EQ(tableUtils->GetTableWidth(nullptr), 0);
}

TEST_F(MifTableImportTest, CellMarginsAddToTheTablesAndTurnWithTheCell)
{
    Import("<Tbl <TblID 1> <TblTag `Format A'> <TblNumColumns 2>\n"
           " <TblBody " + Row(Cell("margins", "", "Cell") + Cell("turned", "<CellAngle 90>")) + ">>\n"
           "<Tbl <TblID 2> <TblFormat <TblCellMargins 1pt 2pt 3pt 4pt>> <TblNumColumns 1>\n"
           " <TblBody " + Row(Cell("turned", "<CellAngle 90>")) + Row(Cell("upside", "<CellAngle 180>")) + ">>\n",
           Flow("<ATbl 1> <ATbl 2>"));
    ASSERT_EQ(tables.size(), 2u);
    const TableCell& margins = tables[0]->CellAt(GridAddress{0, 0});
    // Left is fixed: it stands alone; the others add the table's 6 pt.
    EXPECT_DOUBLE_EQ(margins.insets[0], 2);
    EXPECT_DOUBLE_EQ(margins.insets[1], 8);
    EXPECT_DOUBLE_EQ(margins.insets[2], 8);
    EXPECT_EQ(margins.verticalJustification, 2);
    // Set at the bottom: the bottom inset grows by the descent of the cell's last line as the
    // composer sets it.
    const std::vector<ComposedLine> lines = TextComposer::Get().ComposeCell(*story, margins.text);
    ASSERT_FALSE(lines.empty());
    EXPECT_GT(lines.back().descent, 1);
    EXPECT_NEAR(margins.insets[3], 8 + lines.back().descent, 1e-6);
    const TableCell& turned = tables[1]->CellAt(GridAddress{0, 0});
    EXPECT_DOUBLE_EQ(turned.rotation, 90);
    EXPECT_DOUBLE_EQ(turned.insets[0], 2);
    EXPECT_DOUBLE_EQ(turned.insets[1], 3);
    EXPECT_DOUBLE_EQ(turned.insets[2], 4);
    EXPECT_DOUBLE_EQ(turned.insets[3], 1);
    const TableCell& upside = tables[1]->CellAt(GridAddress{1, 0});
    EXPECT_DOUBLE_EQ(upside.insets[0], 3);
    EXPECT_DOUBLE_EQ(upside.insets[3], 2);
    // The table's own format wins over the catalog; the first-line rule is the leading offset.
    EXPECT_EQ(turned.firstLineRule, 2);
}

TEST_F(MifTableImportTest, TitlesGetARowOfTheirOwn)
{
    Import("<Tbl <TblID 1> <TblFormat <TblTitlePlacement InFooter> <TblTitleGap 3pt>> <TblNumColumns 2>\n"
           " <TblTitle <TblTitleContent <Para <PgfTag `Body'> <ParaLine <String `Table 1: Tides'>>>>>\n"
           " <TblBody " + Row(Cell("a") + Cell("b")) + ">>\n"
           "<Tbl <TblID 2> <TblFormat <TblTitlePlacement InHeader>> <TblNumColumns 2>\n"
           " <TblTitle <TblTitleContent <Para <PgfTag `Body'> <ParaLine <String `Above'>>>>>\n"
           " <TblH " + Row(Cell("h") + Cell("i")) + "> <TblBody " + Row(Cell("c") + Cell("d")) + ">>\n",
           Flow("<ATbl 1> <ATbl 2>"));
    ASSERT_EQ(tables.size(), 2u);
    const Table& footer = *tables[0];
    ASSERT_EQ(footer.RowCount(), 2);
    EXPECT_EQ(footer.footerRowCount, 1);
    EXPECT_EQ(footer.CellAt(GridAddress{1, 0}).columnSpan, 2);
    EXPECT_EQ(CellText(footer, 1, 0), u"Table 1: Tides");
    EXPECT_EQ(CellText(footer, 0, 1), u"b");
    const TableCell& title = footer.CellAt(GridAddress{1, 0});
    EXPECT_EQ(title.verticalJustification, 2);
    EXPECT_DOUBLE_EQ(title.insets[1], 3 + 4);  // the gap plus a third of the 12 pt paragraph font
    EXPECT_DOUBLE_EQ(title.insets[0], 0);
    EXPECT_EQ(title.fillColor, SwatchUtils::GetNoneSwatch(*db));
    EXPECT_DOUBLE_EQ(footer.RowEdge(2, 0).weight, 0);
    EXPECT_EQ(footer.RowEdge(2, 0).type, kStrokeTypeNone);
    const Table& header = *tables[1];
    EXPECT_EQ(header.headerRowCount, 2);
    EXPECT_EQ(CellText(header, 0, 0), u"Above");
    EXPECT_EQ(CellText(header, 1, 0), u"h");
    EXPECT_EQ(CellText(header, 2, 1), u"d");
    EXPECT_DOUBLE_EQ(header.CellAt(GridAddress{0, 0}).insets[3], 6);  // no gap given: 6 pt
}

TEST_F(MifTableImportTest, RowAndColumnRulingsFollowTheirPeriods)
{
    std::string rows;
    for (int i = 0; i < 9; ++i) rows += Row(Cell("r") + Cell("s") + Cell("t"));
    Import("<Tbl <TblID 1> <TblFormat <TblBodyRowRuling `Thin'> <TblXRowRuling `Medium'> <TblRulingPeriod 4>\n"
           "  <TblColumnRuling `Thin'> <TblXColumnRuling `Double'> <TblXColumnNum 2> <TblLRuling `None'> <TblRRuling `Nowhere'>\n"
           "  <TblBlockSize 20>>\n"
           " <TblNumColumns 3> <TblBody " + rows + ">>\n"
           "<Tbl <TblID 2> <TblFormat <TblBodyRowRuling `Thin'> <TblRulingPeriod 4> <TblXColumnNum 0> <TblColumnRuling `Medium'>>\n"
           " <TblNumColumns 2> <TblBody " + rows + ">>\n",
           Flow("<ATbl 1> <ATbl 2>"));
    ASSERT_EQ(tables.size(), 2u);
    const Table& table = *tables[0];
    // Below body rows 4 and 8 the X ruling, below the others the body ruling, the last neither.
    EXPECT_DOUBLE_EQ(table.RowEdge(4, 0).weight, 2);
    EXPECT_DOUBLE_EQ(table.RowEdge(8, 1).weight, 2);
    EXPECT_DOUBLE_EQ(table.RowEdge(1, 0).weight, 1);
    EXPECT_DOUBLE_EQ(table.RowEdge(7, 2).weight, 1);
    EXPECT_DOUBLE_EQ(table.RowEdge(9, 0).weight, 0);
    // The X column ruling on the second column's right edge, a 2.5 pt double line.
    EXPECT_DOUBLE_EQ(table.ColumnEdge(0, 2).weight, 2.5);
    EXPECT_EQ(table.ColumnEdge(5, 2).type, kStrokeTypeDouble);
    EXPECT_DOUBLE_EQ(table.ColumnEdge(5, 1).weight, 1);
    // None: zero weight in the None swatch; a tag missing from the catalog: zero weight only, on
    // an edge that had no ruling before.
    EXPECT_DOUBLE_EQ(table.ColumnEdge(3, 0).weight, 0);
    EXPECT_EQ(table.ColumnEdge(3, 0).color, SwatchUtils::GetNoneSwatch(*db));
    EXPECT_DOUBLE_EQ(table.ColumnEdge(3, 3).weight, 0);
    EXPECT_EQ(table.ColumnEdge(3, 3).color, SwatchUtils::GetNoneSwatch(*db));
    // A block size beyond the body keeps every body row with the next.
    for (int32 r = 0; r < 8; ++r) EXPECT_EQ(table.rows[static_cast<size_t>(r)].keepWithNext, 1) << r;
    // Without an X ruling the 4th and 8th rows keep the stroke they had; an X column of 0 is none.
    const Table& plain = *tables[1];
    EXPECT_DOUBLE_EQ(plain.RowEdge(4, 0).weight, 0);
    EXPECT_DOUBLE_EQ(plain.RowEdge(3, 0).weight, 1);
    EXPECT_DOUBLE_EQ(plain.ColumnEdge(0, 1).weight, 2);
    EXPECT_EQ(plain.rows[0].keepWithNext, 0);
}

TEST_F(MifTableImportTest, EdgesThatNoRulingNamesHaveNoStroke)
{
    // Only the heading's bottom is ruled, by its cells; "None", the empty tag and a ruling of no
    // lines draw nothing, a pen of no width a hairline.
    Import("<Tbl <TblID 1> <TblNumColumns 3>\n"
           " <TblH " + Row(Cell("h1", "<CellBRuling `Thin'>") + Cell("h2", "<CellBRuling `Thin'>") + Cell("h3", "<CellBRuling `Thin'>")) + ">\n"
           " <TblBody " + Row(Cell("a") + Cell("b") + Cell("c")) + Row(Cell("d") + Cell("e") + Cell("f")) + ">>\n"
           "<Tbl <TblID 2> <TblFormat <TblLRuling `None'> <TblRRuling `'> <TblTRuling `NoLines'> <TblBRuling `Pen0'>\n"
           "  <TblColumnRuling `Thin'>> <TblNumColumns 2>\n"
           " <TblBody " + Row(Cell("a", "<CellRRuling `'>") + Cell("b")) + Row(Cell("c") + Cell("d")) + ">>\n",
           Flow("<ATbl 1> <ATbl 2>"));
    ASSERT_EQ(tables.size(), 2u);
    const Table& heading = *tables[0];
    for (int32 c = 0; c < 3; ++c) {
        EXPECT_DOUBLE_EQ(heading.RowEdge(1, c).weight, 1) << c;
        for (int32 r : {0, 2, 3}) EXPECT_DOUBLE_EQ(heading.RowEdge(r, c).weight, 0) << r << " " << c;
    }
    for (int32 r = 0; r < 3; ++r)
        for (int32 c = 0; c <= 3; ++c) EXPECT_DOUBLE_EQ(heading.ColumnEdge(r, c).weight, 0) << r << " " << c;
    const Table& edges = *tables[1];
    const UID none = SwatchUtils::GetNoneSwatch(*db);
    EXPECT_DOUBLE_EQ(edges.ColumnEdge(0, 0).weight, 0);
    EXPECT_EQ(edges.ColumnEdge(0, 0).color, none);
    EXPECT_DOUBLE_EQ(edges.ColumnEdge(1, 2).weight, 0);
    EXPECT_DOUBLE_EQ(edges.RowEdge(0, 1).weight, 0);
    EXPECT_EQ(edges.RowEdge(0, 1).color, none);
    EXPECT_DOUBLE_EQ(edges.RowEdge(2, 0).weight, 0.25);
    EXPECT_EQ(edges.RowEdge(2, 0).type, kStrokeTypeSolid);
    // The cell's empty ruling takes the format's column ruling off its edge only.
    EXPECT_DOUBLE_EQ(edges.ColumnEdge(0, 1).weight, 0);
    EXPECT_DOUBLE_EQ(edges.ColumnEdge(1, 1).weight, 1);
}

TEST_F(MifTableImportTest, AFileWithoutRulingCatalogHasFrameMakersRulings)
{
    // As SDF writes its tables: formats name FrameMaker's standard rulings and the file brings
    // no catalog of them.
    const std::string setup =
        "<PgfCatalog <Pgf <PgfTag `Body'> <PgfFont <FFamily `Times'> <FSize 10pt>>>>\n"
        "<TblCatalog\n"
        " <TblFormat <TblTag `Grid'> <TblBodyRowRuling `Very Thin'> <TblRulingPeriod 4> <TblXRowRuling `Very Thin'>\n"
        "  <TblColumnRuling `Very Thin'> <TblXColumnNum 1> <TblXColumnRuling `Very Thin'> <TblLRuling `Very Thin'>\n"
        "  <TblRRuling `Very Thin'> <TblTRuling `Very Thin'> <TblBRuling `Thick'> <TblSeparatorRuling `Double'> <TblHFRowRuling `'>>\n"
        " <TblFormat <TblTag `Columns'> <TblBodyRowRuling `'> <TblRulingPeriod 4> <TblXRowRuling `'> <TblColumnRuling `Medium'>\n"
        "  <TblSeparatorRuling `Made Up'>>>\n"
        "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n";
    const std::string grid = " <TblNumColumns 2> <TblH " + Row(Cell("h") + Cell("i")) + "> <TblBody " + Row(Cell("a") + Cell("b")) +
                             Row(Cell("c") + Cell("d")) + ">>\n";
    Import("<Tbl <TblID 1> <TblTag `Grid'>" + grid + "<Tbl <TblID 2> <TblTag `Columns'>" + grid, Flow("<ATbl 1> <ATbl 2>"), setup);
    ASSERT_EQ(tables.size(), 2u);
    const Table& table = *tables[0];
    EXPECT_DOUBLE_EQ(table.RowEdge(0, 0).weight, 0.25);
    EXPECT_DOUBLE_EQ(table.RowEdge(2, 1).weight, 0.25);
    EXPECT_DOUBLE_EQ(table.RowEdge(3, 1).weight, 3);
    EXPECT_DOUBLE_EQ(table.RowEdge(1, 0).weight, 2.5);
    EXPECT_EQ(table.RowEdge(1, 0).type, kStrokeTypeDouble);
    for (int32 r = 0; r < 3; ++r)
        for (int32 c = 0; c <= 2; ++c) EXPECT_DOUBLE_EQ(table.ColumnEdge(r, c).weight, 0.25) << r << " " << c;
    // Empty tags rule nothing; a tag FrameMaker does not know either rules nothing.
    const Table& columns = *tables[1];
    EXPECT_DOUBLE_EQ(columns.RowEdge(2, 0).weight, 0);
    EXPECT_DOUBLE_EQ(columns.RowEdge(1, 0).weight, 0);
    EXPECT_DOUBLE_EQ(columns.ColumnEdge(1, 1).weight, 2);
    EXPECT_DOUBLE_EQ(columns.ColumnEdge(1, 0).weight, 0);
}

TEST_F(MifTableImportTest, CellRulingsShadingAndColors)
{
    Import("<Tbl <TblID 1> <TblFormat <TblShadePeriod 2> <TblAltShadePeriod 1> <TblXColor `Red'> <TblXFill 3>\n"
           "  <TblHFColor `Red'> <TblHFFill 4> <TblSeparatorRuling `RedLine'>>\n"
           " <TblNumColumns 2> <TblH " + Row(Cell("h") + Cell("i")) + ">\n"
           " <TblBody " + Row(Cell("a", "<CellRRuling `Thin'>") + Cell("b", "<CellLRuling `Medium'> <CellColor `Red'> <CellFill 2>")) +
               Row(Cell("c", "<CellRRuling `Medium'>") + Cell("d", "<CellLRuling `Thin'>")) + ">>\n",
           Flow("<ATbl 1>"));
    ASSERT_EQ(tables.size(), 1u);
    const Table& table = *tables[0];
    // The heavier of two rulings on a shared edge, whichever cell comes first.
    EXPECT_DOUBLE_EQ(table.ColumnEdge(1, 1).weight, 2);
    EXPECT_DOUBLE_EQ(table.ColumnEdge(2, 1).weight, 2);
    const UID red = table.CellAt(GridAddress{1, 1}).fillColor;
    EXPECT_NE(red, kInvalidUID);
    EXPECT_DOUBLE_EQ(table.CellAt(GridAddress{1, 1}).fillTint, 70);
    // Header fill and separator; the body's alternating fills, None where no color is given.
    EXPECT_EQ(table.CellAt(GridAddress{0, 0}).fillColor, red);
    EXPECT_DOUBLE_EQ(table.CellAt(GridAddress{0, 1}).fillTint, 30);
    EXPECT_DOUBLE_EQ(table.RowEdge(1, 0).weight, 1.5);
    EXPECT_EQ(table.RowEdge(1, 0).color, red);
    EXPECT_EQ(table.alternatingPattern, 0);
    EXPECT_EQ(table.rowFill.firstCount, 2);
    EXPECT_EQ(table.rowFill.nextCount, 1);
    EXPECT_EQ(table.rowFill.firstColor, SwatchUtils::GetNoneSwatch(*db));
    EXPECT_EQ(table.rowFill.nextColor, red);
    EXPECT_DOUBLE_EQ(table.rowFill.nextTint, 50);
}

TEST_F(MifTableImportTest, AnchorsSplitTheirParagraphAfterTheLine)
{
    Import("<Tbl <TblID 1> <TblNumColumns 1> <TblBody " + Row(Cell("one")) + ">>\n"
           "<Tbl <TblID 2> <TblFormat <TblPlacement Float>> <TblNumColumns 1> <TblBody " + Row(Cell("two")) + ">>\n"
           "<Tbl <TblID 3> <TblFormat <TblPlacement Anywhere>> <TblNumColumns 1> <TblBody " + Row(Cell("three")) + ">>\n",
           "<TextFlow <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `Start '> <ATbl 1> <ATbl 2> <Char HardReturn>>\n"
           "  <ParaLine <String `rest'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `Next'> <ATbl 3>>>>\n");
    ASSERT_EQ(tables.size(), 3u);
    // Both tables of the line follow it, the first anchored first; the text after the line
    // follows them in a paragraph of its own.
    EXPECT_EQ(Primary(), u"Start \n\r\x16\r\x16\rrest\rNext\r\x16\r");
    EXPECT_EQ(CellText(*tables[0], 0, 0), u"one");
    EXPECT_EQ(CellText(*tables[1], 0, 0), u"two");
    EXPECT_EQ(CellText(*tables[2], 0, 0), u"three");
    // The paragraph cut before the tables loses its space after; neither table asks to keep
    // with it (no placement, Float).
    EXPECT_DOUBLE_EQ(*ParaOverrides(0).Get<PMReal>(TextAttribute::kSpaceAfter), 0);
    EXPECT_FALSE(ParaOverrides(0).Contains(TextAttribute::kKeepWithNext));
    // A table at the paragraph's end keeps its space after; Anywhere keeps it with its text.
    EXPECT_DOUBLE_EQ(*ParaOverrides(17).Get<PMReal>(TextAttribute::kSpaceAfter), 12);

    EXPECT_EQ(*ParaOverrides(17).Get<int32>(TextAttribute::kKeepWithNext), 1);
    EXPECT_EQ(*ParaOverrides(22).Get<int32>(TextAttribute::kKeepWithNext), 0);
}

TEST_F(MifTableImportTest, AnAnchorMovesWithTheTabsDeletedBeforeIt)
{
    // The tab has no stop to go to and goes; the anchor after it stays after the first line.
    Import("<Tbl <TblID 1> <TblNumColumns 1> <TblBody " + Row(Cell("one")) + ">>\n",
           Flow("<String `a'> <Char Tab> <String `b'> <ATbl 1> <Char HardReturn>> <ParaLine <String `rest'>"));
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(Primary(), u"ab\n\r\x16\rrest\r");
}

TEST_F(MifTableImportTest, BadTablesAndAnchorsAreReportedAndTheRestBuilt)
{
    Import("<Tbl <TblID 1> <TblNumColumns 2> <TblColumnWidth 999999pt>\n"
           " <TblBody " + Row(Cell("a", "<CellColumns 5> <CellRows 3>") + Cell("b")) + Row(Cell("c") + Cell("d") + Cell("lost")) + "<Row>" +
               Row("<Cell <CellContent <Para <ParaLine <String `x'> <FNote 5>>>>>") + ">>\n",
           Flow("<ATbl 1> <ATbl 1> <ATbl 9>"));
    ASSERT_EQ(tables.size(), 1u);
    const Table& table = *tables[0];
    EXPECT_EQ(table.RowCount(), 4);
    // The straddle is cut to the grid; the text of the cells it covers goes on in it.
    EXPECT_EQ(table.CellAt(GridAddress{0, 0}).columnSpan, 2);
    EXPECT_EQ(table.CellAt(GridAddress{0, 0}).rowSpan, 3);
    EXPECT_EQ(CellText(table, 0, 0), u"a\rb\rc\rd");
    EXPECT_EQ(CellText(table, 3, 0), u"x");
    EXPECT_TRUE(Warned("Line 19: Table import: a column width no page can hold is passed over"));
    EXPECT_TRUE(Warned("Line 20: Table import: a row has more cells than the table has columns, the cells past the last column are "
                       "skipped: 3"));
    EXPECT_TRUE(Warned("Line 20: Table import: a straddle runs past the table's last row or column, it is cut to fit"));
    EXPECT_TRUE(Warned("Line 20: Table import: footnotes within tables are not supported, footnote is ignored"));
    EXPECT_TRUE(Warned("Line 22: Table import: the table is anchored more than once, only its first anchor is kept: 1"));
    EXPECT_TRUE(Warned("Line 22: Table import: no Tbl has the TblID of this anchor, the anchor is skipped: 9"));
}

TEST_F(MifTableImportTest, TheTextOfCoveredCellsGoesOnInTheStraddle)
{
    // Table 1: plain straddles, one over a cell with text and one over an empty cell. Table 2: a
    // straddle across the top of one that runs down, which cannot be merged.
    Import("<Tbl <TblID 1> <TblNumColumns 2>\n"
           " <TblBody " + Row(Cell("A", "<CellColumns 2>") + Cell("B")) + Row(Cell("C") + Cell("D")) +
               Row(Cell("E", "<CellRows 2> <CellColumns 2>") + Cell("")) + Row(Cell("") + Cell("")) + ">>\n"
           "<Tbl <TblID 2> <TblNumColumns 2>\n"
           " <TblBody " + Row(Cell("P", "<CellColumns 2>") + Cell("Q", "<CellRows 2> <CellBRuling `Thin'>")) + Row(Cell("R") + Cell("S")) + ">>\n",
           Flow("<ATbl 1> <ATbl 2>"));
    ASSERT_EQ(tables.size(), 2u);
    const Table& plain = *tables[0];
    EXPECT_EQ(CellText(plain, 0, 0), u"A\rB");   // a paragraph of its own after the straddle's
    EXPECT_EQ(CellText(plain, 1, 1), u"D");
    EXPECT_EQ(CellText(plain, 2, 0), u"E");       // empty covered cells add no empty paragraphs
    // The straddle that overlaps stays apart, said with its line; the one it overlaps takes the
    // text it covers.
    const Table& overlap = *tables[1];
    EXPECT_EQ(overlap.CellAt(GridAddress{0, 0}).columnSpan, 1);
    EXPECT_EQ(overlap.CellAt(GridAddress{0, 1}).rowSpan, 2);
    EXPECT_EQ(CellText(overlap, 0, 0), u"P");
    EXPECT_EQ(CellText(overlap, 0, 1), u"Q\rS");
    EXPECT_EQ(CellText(overlap, 1, 0), u"R");
    EXPECT_TRUE(WarnedAt("<Cell <CellColumns 2> <CellContent <Para <PgfTag `Body'> <ParaLine <String `P'", "Table import: a straddle overlaps another, its cells stay apart"));
}

TEST_F(MifTableImportTest, TablesLeftOutSayWhichAndHowMuchTextWithTheirLine)
{
    Import("<Tbl <TblID 1> <TblNumColumns 1> <TblBody " + Row(Cell("first")) + ">>\n"
           "<Tbl <TblID 1> <TblNumColumns 2> <TblBody " + Row(Cell("lost") + Cell("")) + Row(Cell("too") + Cell("also")) + ">>\n"
           "<Tbl <TblID 2> <TblNumColumns 0> <TblBody " + Row(Cell("x") + Cell("y")) + ">>\n"
           "<Tbl <TblID 3> <TblNumColumns 1> <TblH " + Row(Cell("head")) + ">>\n",
           Flow("<ATbl 1> <ATbl 2> <ATbl 3>"));
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(CellText(*tables[0], 0, 0), u"first");
    EXPECT_TRUE(WarnedAt("<Tbl <TblID 1> <TblNumColumns 2>", "Table import: another Tbl before this one has the same TblID, this one is never placed: "
                        "the table with TblID 1 is left out, with the text of 3 cell(s)"));
    EXPECT_TRUE(WarnedAt("<Tbl <TblID 2>", "Table import: invalid <TblNumColumns > statement (0 columns): the table with TblID 2 is left out, with the "
                        "text of 2 cell(s)"));
    EXPECT_TRUE(WarnedAt("<Tbl <TblID 3>", "Table import: trying to import empty table (0 body rows): the table with TblID 3 is left out, with the text "
                        "of 1 cell(s)"));
}

TEST_F(MifTableImportTest, HintedColumnsAreSizedFromTheirTextAndTheTablesWidth)
{
    // Table 1 as SDF writes it: the hints in the TblColumn statements of the table's own format.
    // Table 2 as the MIF statements of a Tbl: one width after the other, of any kind. Table 3
    // has no TblWidth: its columns share the text column less the format's 10 pt indent. In
    // table 4 only the cell that says so sizes its column.
    Import("<Tbl <TblID 1> <TblFormat <TblWidth 300pt>\n"
           "  <TblColumn <TblColumnNum 0> <TblColumnWidthA 0pt 300pt>> <TblColumn <TblColumnNum 1> <TblColumnWidthA 100pt 300pt>>\n"
           "  <TblColumn <TblColumnNum 2> <TblColumnWidthP 1>>>\n"
           " <TblNumColumns 3> <TblH " + Row(Cell("Length") + Cell("Night") + Cell("Week")) + ">\n"
           " <TblBody " + Row(Cell("Under 8 m") + Cell("12.00") + Cell("70.00")) + "> <TblBody " + Row(Cell("8 to 12 m") + Cell("18.00") + Cell("105.00")) + ">>\n"
           "<Tbl <TblID 2> <TblFormat <TblWidth 380pt>> <TblNumColumns 4>\n"
           " <TblColumnWidth 80pt> <TblColumnWidthP 2> <TblColumnWidthP 1> <TblColumnWidthA 0pt 20pt>\n"
           " <TblBody " + Row(Cell("a") + Cell("b") + Cell("c") + Cell("far wider than twenty points")) + ">>\n"
           "<Tbl <TblID 3> <TblTag `Format A'> <TblFormat <TblColumn <TblColumnWidthP 1>> <TblColumn <TblColumnWidthP 1>>>\n"
           " <TblNumColumns 2> <TblBody " + Row(Cell("a") + Cell("b")) + ">>\n"
           "<Tbl <TblID 4> <TblFormat <TblColumn <TblColumnNum 0> <TblColumnWidthA 0pt 300pt>>> <TblNumColumns 1>\n"
           " <TblBody " + Row(Cell("x", "<CellAffectsColumnWidthA Yes>")) + Row(Cell("a cell that does not count")) + ">>\n",
           Flow("<ATbl 1> <ATbl 2> <ATbl 3> <ATbl 4>"));
    ASSERT_EQ(tables.size(), 4u);
    // The widest text of a shrink-wrapped column sets it on one line, whole words; the column is
    // as wide as that line and the cell's insets.
    const Table& sdf = *tables[0];
    double widest = 0;
    for (int32 row = 0; row < 3; ++row) {
        const TableCell& cell = sdf.CellAt(GridAddress{row, 0});
        const std::vector<ComposedLine> lines = TextComposer::Get().ComposeCell(*story, cell.text);
        ASSERT_EQ(lines.size(), 1u) << row;
        widest = std::max(widest, static_cast<double>(lines[0].left + lines[0].width + cell.insets[0] + cell.insets[2]));
    }
    EXPECT_GT(sdf.columns[0].width, 36);
    EXPECT_NEAR(sdf.columns[0].width, widest, 1e-6);
    EXPECT_DOUBLE_EQ(sdf.columns[1].width, 100);  // its least width
    EXPECT_NEAR(sdf.Width(), 300, 1e-6);
    const Table& mixed = *tables[1];
    EXPECT_DOUBLE_EQ(mixed.columns[0].width, 80);
    EXPECT_NEAR(mixed.columns[1].width, 280.0 * 2 / 3, 1e-6);
    EXPECT_NEAR(mixed.columns[2].width, 280.0 / 3, 1e-6);
    EXPECT_DOUBLE_EQ(mixed.columns[3].width, 20);  // its greatest width
    const Table& shared = *tables[2];
    EXPECT_NEAR(shared.columns[0].width, (432 - 10) / 2.0, 1e-6);
    EXPECT_NEAR(shared.columns[1].width, (432 - 10) / 2.0, 1e-6);
    const Table& restricted = *tables[3];
    const TableCell& counted = restricted.CellAt(GridAddress{0, 0});
    const std::vector<ComposedLine> lines = TextComposer::Get().ComposeCell(*story, counted.text);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(restricted.columns[0].width, lines[0].left + lines[0].width + counted.insets[0] + counted.insets[2], 1e-6);
}

TEST_F(MifTableImportTest, ColumnWidthsOfNoLengthAreReportedAndKeepTheNewTablesShare)
{
    Import("<Tbl <TblID 1> <TblNumColumns 4>\n"
           " <TblColumnWidth -5>\n <TblColumnWidth 0>\n <TblColumnWidth -2147483649>\n <TblColumnWidth 100pt>\n"
           " <TblBody " + Row(Cell("a") + Cell("b") + Cell("c") + Cell("d")) + ">>\n",
           Flow("<ATbl 1>"));
    ASSERT_EQ(tables.size(), 1u);
    const Table& table = *tables[0];
    for (int32 c = 0; c < 3; ++c) EXPECT_DOUBLE_EQ(table.columns[static_cast<size_t>(c)].width, 25) << c;
    EXPECT_DOUBLE_EQ(table.columns[3].width, 100);
    for (const char* width : {"<TblColumnWidth -5>", "<TblColumnWidth 0>", "<TblColumnWidth -2147483649>"})
        EXPECT_TRUE(WarnedAt(width, "Table import: a column width of zero or less is passed over, the column keeps the width "
                                            "the new table gave it"))
            << width << "\n" << presenter.text;
    size_t reports = 0;
    for (size_t at = 0; (at = presenter.text.find("a column width of zero or less", at)) != std::string::npos; ++at) ++reports;
    EXPECT_EQ(reports, 3u);
}

} // namespace
