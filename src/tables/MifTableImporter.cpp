#include "tables/MifTableImporter.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "DataBase.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"
#include "Story.h"
#include "SwatchUtils.h"
#include "Table.h"
#include "TableCommands.h"
#include "TaskProgressBar.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "tables/IMifTableUtils.h"
#include "tables/MifTableRulings.h"

namespace {

constexpr double kEpsilon = MifTableFormat::kEpsilon;
constexpr double kMaxLength = MifTableFormat::kMaxLength;
// More rows or columns than this are refused as damaged input.
constexpr int32 kMaxColumns = 1000;
constexpr int32 kMaxRows = 100000;

int32 RowsOf(const MifObject& tbl, int32 section)
{
    int32 count = 0;
    for (const MifObject& mifSection : tbl.Children(section))
        for (const MifObject& row : mifSection.Children(kMifRow)) {
            (void)row;
            ++count;
        }
    return count;
}

} // namespace

void MifTableImporter::Reset()
{
    mFormat = MifTableFormat();
    mCells.Clear();
    mTitleCell = GridAddress{-1, -1};
    mSpaceBefore = mSpaceAfter = 0;
    mColumns.Clear();
}

UID MifTableImporter::ImportTable(const UIDRef& storyRef, TablePlacement& placement)
{
    const MifObject* tbl = placement.tbl;
    const int32 textIndex = placement.tableParagraph;
    // 1. Start.
    if (TaskProgressBar* progressBarManager = ProgressBarManager::GetCurrent()) {
        PMString text("OV#0xB40#kMifImportingTableKey");
        text.Translate();
        progressBarManager->SetTaskText(text);
    }
    Reset();
    if (!tbl) {
        MIF_LOG_NIL(tbl);
        return kInvalidUID;
    }
    DataBase* db = storyRef.GetDataBase();
    if (!db || !db->Get<Story>(storyRef.GetUID())) {
        MIF_LOG_NIL(db->Get<Story>(storyRef.GetUID()));
        return kInvalidUID;
    }
    mFormat = MifTableFormat::Of(*tbl, mMifRoot ? mMifRoot->GetObject(kMifTblCatalog) : nullptr);

    // 2. Checks.
    const MifProblemReporter report(this);
    if (!CheckTable(*tbl, report)) return kInvalidUID;

    // 3. Create.
    const UIDRef table = CreateTable(storyRef, textIndex, *tbl);
    if (!table.GetDataBase()) return kInvalidUID;

    // 4. and 5. Columns and rows: fixed widths now, the hinted ones once their cells hold text.
    MifPropVal numColumns;
    tbl->GetPropVal(kMifTblNumColumns, numColumns);
    mColumns.Read(*tbl, numColumns.id, storyRef, textIndex, report);
    mColumns.ResizeFixed(table, report);
    SizeRows(table, *tbl, report);
    // 6. The table format.
    MifTableRulings rulings(this, mMifRoot, table);
    ApplyTableFormat(table, rulings, placement.precedingSpace, placement.extraSpaceBefore, placement.extraSpaceAfter,
                     placement.titleGapExtra);
    // 7. and 8. Cells and their text.
    ImportCells(table, *tbl, rulings, report);
    placement.spaceBefore = mSpaceBefore;
    placement.spaceAfter = mSpaceAfter;
    return table.GetUID();
}

bool MifTableImporter::CheckTable(const MifObject& tbl, const MifProblemReporter& report) const
{
    // A table that is not built takes its cells' text with it: the message says how much.
    auto leftOut = [&tbl]() {
        Utils<IMifTableUtils> tableUtils;
        return tableUtils ? tableUtils->GetLeftOutText(&tbl) : PMString();
    };
    MifPropVal numColumns;
    const MifProp* columnsProp = tbl.FindProp(kMifTblNumColumns);
    if (!columnsProp || !tbl.GetPropVal(kMifTblNumColumns, numColumns)) {
        report({tbl.line, "Table import: missing <TblNumColumns > statement", leftOut()});
        return false;
    }
    if (numColumns.id < 1) {
        report({tbl.line, "Table import: invalid <TblNumColumns > statement (0 columns)", leftOut()});
        return false;
    }
    if (RowsOf(tbl, kMifTblBody) < 1) {
        report({tbl.line, "Table import: trying to import empty table (0 body rows)", leftOut()});
        return false;
    }
    const int32 rows = RowsOf(tbl, kMifTblH) + RowsOf(tbl, kMifTblBody) + RowsOf(tbl, kMifTblF);
    if (numColumns.id > kMaxColumns || rows > kMaxRows) {
        report({tbl.line, "Table import: the table has more rows or columns than a document can hold, it is skipped", leftOut()});
        return false;
    }
    return true;
}

UIDRef MifTableImporter::CreateTable(const UIDRef& storyRef, int32 textIndex, const MifObject& tbl) const
{
    Utils<IMifTableUtils> tableUtils;
    if (!tableUtils) {
        MIF_LOG_NIL(tableUtils);
        return UIDRef();
    }
    MifPropVal numColumns;
    tbl.GetPropVal(kMifTblNumColumns, numColumns);
    auto newTableCmd = std::make_shared<NewTableCmd>();
    newTableCmd->textIndex = textIndex;
    newTableCmd->headerRows = RowsOf(tbl, kMifTblH);
    newTableCmd->bodyRows = RowsOf(tbl, kMifTblBody);
    newTableCmd->footerRows = RowsOf(tbl, kMifTblF);
    newTableCmd->columns = numColumns.id;
    newTableCmd->height = tableUtils->GetTableHeight(&tbl);
    newTableCmd->width = tableUtils->GetTableWidth(&tbl);
    newTableCmd->cellContentClass = 0xB665;
    newTableCmd->extra = 0;
    if (!MIF_RUN_COMMAND(newTableCmd, UIDList(storyRef))) return UIDRef();
    if (newTableCmd->GetItemList().Length() < 1) {
        MIF_LOG_FALSE(newTableCmd->GetItemList().Length() >= 1);
        return UIDRef();
    }
    return UIDRef(storyRef.GetDataBase(), newTableCmd->GetItemList().GetUIDs().front());
}

void MifTableImporter::SizeRows(const UIDRef& table, const MifObject& tbl, const MifProblemReporter& report) const
{
    TableCommands tableCommands(table);
    int32 index = 0;
    for (const MifProp* sectionProp : tbl.props) {
        if (!sectionProp) break;
        if (!MifTableFormat::IsSection(sectionProp->id) || sectionProp->type != kMifTypeObject || !sectionProp->value.object) continue;
        for (const MifObject& row : sectionProp->value.object->Children(kMifRow)) {
            TableAttributeList attributes;
            MifPropVal value;
            const MifProp* heightProp = row.FindProp(kMifRowHeight);
            const double height = heightProp && MifDimCount(heightProp->type) > 0 ? heightProp->value.dim[0] : 0;
            if (height > 0 && std::isfinite(height)) {
                if (height > kEpsilon && height < kMaxLength) {
                    auto resizeCmd = std::make_shared<ResizeRowsCmd>();
                    resizeCmd->realNumberData = height;
                    resizeCmd->rowColumnRangeData = RowRange{index, 1};
                    MIF_RUN_COMMAND(resizeCmd, UIDList(table));
                } else {
                    report({heightProp->line, "Table import: a row height no page can hold is passed over", PMString()});
                }
                attributes.ApplyAttribute(TableAttribute::kRowAutoGrow, int32(0));
            } else {
                double minHeight = row.GetPropVal(kMifRowMinHeight, value) ? value.dim[0] : 0;
                double maxHeight = row.GetPropVal(kMifRowMaxHeight, value) ? value.dim[0] : 1000.0;
                if (!std::isfinite(minHeight) || minHeight < 0 || minHeight >= kMaxLength) minHeight = 0;
                if (!std::isfinite(maxHeight) || maxHeight <= 0 || maxHeight >= kMaxLength) maxHeight = 1000.0;
                attributes.ApplyAttribute(TableAttribute::kRowMinHeight, minHeight);
                attributes.ApplyAttribute(TableAttribute::kRowMaxHeight, std::max(minHeight, maxHeight));
                attributes.ApplyAttribute(TableAttribute::kRowAutoGrow, int32(1));
            }
            if (tableCommands.ApplyRowOverrides(RowRange{index, 1}, attributes) != kSuccess)
                MIF_LOG_ERROR(tableCommands.ApplyRowOverrides(RowRange{index, 1}, attributes));
            ++index;
        }
    }
}

void MifTableImporter::ApplyTableFormat(const UIDRef& table, MifTableRulings& rulings, double precedingSpace, double extraSpaceBefore,
                                        double extraSpaceAfter, double titleGapExtra)
{
    const Table* model = MifTableFormat::TableOf(table);
    if (!model) {
        MIF_LOG_NIL(model);
        return;
    }
    // 1. Cell defaults on the whole table.
    TableCommands tableCommands(table);
    TableAttributeList attributes;
    attributes.ApplyAttribute(TableAttribute::kCellFirstLineRule, int32(2));
    if (const MifProp* margins = mFormat.Find(kMifTblCellMargins); margins && MifDimCount(margins->type) >= 4) {
        attributes.ApplyAttribute(TableAttribute::kCellInsetLeft, margins->value.dim[0]);
        attributes.ApplyAttribute(TableAttribute::kCellInsetTop, margins->value.dim[1]);
        attributes.ApplyAttribute(TableAttribute::kCellInsetRight, margins->value.dim[2]);
        attributes.ApplyAttribute(TableAttribute::kCellInsetBottom, margins->value.dim[3]);
    }
    if (tableCommands.ApplyCellOverrides(model->GetTotalArea(), attributes) != kSuccess)
        MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(model->GetTotalArea(), attributes));
    // FrameMaker draws no ruling where neither the format nor a cell gives one: the strokes the
    // new table came with go before the rulings are applied.
    rulings.ClearRulings();
    // 2. to 4. Shading and rulings.
    rulings.ApplyHeaderFooterFormat(mFormat);
    rulings.ApplyBodyShading(mFormat);
    rulings.ApplyTableRulings(mFormat);
    // 5. and 6.
    ImportTitle(table, titleGapExtra);
    ApplySpacing(table, precedingSpace, extraSpaceBefore, extraSpaceAfter);
}

void MifTableImporter::ImportTitle(const UIDRef& table, double titleGapExtra)
{
    const int32 placement = mFormat.GetKeyword(kMifTblTitlePlacement);
    if (placement != kMifInHeader && placement != kMifInFooter) return;
    const Table* model = MifTableFormat::TableOf(table);
    if (!model) return;
    double gap = 6.0;
    if (mFormat.GetDim(kMifTblTitleGap, gap)) gap += titleGapExtra;
    if (!std::isfinite(gap) || gap < 0 || gap >= kMaxLength) gap = 6.0;
    TableCommands tableCommands(table);
    const bool header = placement == kMifInHeader;
    const int32 row = header ? 0 : model->RowCount();
    if (tableCommands.InsertRows(RowRange{row, 1}, TableCommands::eBefore, 6.0) != kSuccess) {
        MIF_LOG_ERROR(tableCommands.InsertRows(RowRange{row, 1}, TableCommands::eBefore, 6.0));
        return;
    }
    const ErrorCode converted = header ? tableCommands.ConvertToHeaderRows(RowRange{row, 1}) : tableCommands.ConvertToFooterRows(RowRange{row, 1});
    if (converted != kSuccess) MIF_LOG_ERROR(converted);
    const GridArea titleArea(row, 0, row + 1, model->ColumnCount());
    TableAttributeList attributes;
    attributes.ApplyAttribute(TableAttribute::kCellVerticalJustification, int32(header ? 0 : 2));
    attributes.ApplyAttribute(TableAttribute::kCellInsetTop, header ? 0.0 : gap);
    attributes.ApplyAttribute(TableAttribute::kCellInsetBottom, header ? gap : 0.0);
    if (tableCommands.ApplyCellOverrides(titleArea, attributes) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(titleArea, attributes));
    if (tableCommands.MergeCells(titleArea) != kSuccess) MIF_LOG_ERROR(tableCommands.MergeCells(titleArea));
    // The title stands outside the table's frame of rulings.
    CellStrokeRecord noStroke;
    noStroke.mask = CellStrokeRecord::kWeight | CellStrokeRecord::kType;
    noStroke.weight = 0;
    noStroke.strokeType = kStrokeTypeNone;
    noStroke.sides = CellStrokeRecord::kLeft | CellStrokeRecord::kRight | (header ? CellStrokeRecord::kTop : CellStrokeRecord::kBottom);
    if (tableCommands.ApplyCellStrokes(titleArea, noStroke) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyCellStrokes(titleArea, noStroke));
    TableAttributeList cell;
    cell.ApplyAttribute(TableAttribute::kCellInsetLeft, 0.0);
    cell.ApplyAttribute(TableAttribute::kCellInsetRight, 0.0);
    cell.ApplyAttribute(TableAttribute::kCellFillColor, SwatchUtils::GetNoneSwatch(*table.GetDataBase()));
    if (tableCommands.ApplyCellOverrides(titleArea, cell) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(titleArea, cell));
    TableAttributeList grow;
    grow.ApplyAttribute(TableAttribute::kRowAutoGrow, int32(1));
    if (tableCommands.ApplyRowOverrides(RowRange{row, 1}, grow) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyRowOverrides(RowRange{row, 1}, grow));
    mTitleCell = GridAddress{row, 0};
}

void MifTableImporter::ApplySpacing(const UIDRef& table, double precedingSpace, double extraSpaceBefore, double extraSpaceAfter)
{
    const Table* model = MifTableFormat::TableOf(table);
    if (!model) return;
    double spBefore = 0, spAfter = 0;
    if (!mFormat.GetDim(kMifTblSpBefore, spBefore) || std::fabs(spBefore) >= kMaxLength) spBefore = 0;
    if (!mFormat.GetDim(kMifTblSpAfter, spAfter) || std::fabs(spAfter) >= kMaxLength) spAfter = 0;
    const double p = precedingSpace < spBefore - kEpsilon ? precedingSpace : 0;
    const double q = precedingSpace < spAfter - kEpsilon ? precedingSpace : 0;
    const double topWeight = model->RowEdge(0, 0).weight;
    const double bottomWeight = model->RowEdge(model->RowCount(), model->ColumnCount() - 1).weight;
    mSpaceBefore = spBefore - p + extraSpaceBefore - 0.5 * topWeight;
    mSpaceAfter = spAfter - q + extraSpaceAfter - 0.5 * bottomWeight;
    TableAttributeList attributes;
    attributes.ApplyAttribute(TableAttribute::kTableSpaceBefore, mSpaceBefore);
    attributes.ApplyAttribute(TableAttribute::kTableSpaceAfter, mSpaceAfter);
    TableCommands tableCommands(table);
    if (tableCommands.ApplyTableOverrides(attributes) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyTableOverrides(attributes));
}

void MifTableImporter::ImportCells(const UIDRef& table, const MifObject& tbl, MifTableRulings& rulings, const MifProblemReporter& report)
{
    if (!mCells.ImportCells(table, tbl, mTitleCell, mMifRoot, rulings, report)) return;
    const std::vector<GridAddress> filled = mCells.ImportText(table);
    // The hinted columns take their widths from the text now in their cells; the cells' insets
    // then follow the lines as they are set at those widths.
    mColumns.SizeHinted(table, mFormat, mCells.GetCellMap(), report);
    for (const GridAddress& at : filled) mCells.CorrectCellFromText(table, at);
}
