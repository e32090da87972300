#include "tables/MifTableImporter.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "DataBase.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"
#include "Story.h"
#include "SwatchUtils.h"
#include "Table.h"
#include "TableCommands.h"
#include "TaskProgressBar.h"
#include "TextFrame.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "catalogs/IMifColorImporter.h"
#include "content/IMifContentImporter.h"
#include "content/IMifTextModelUtils.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "tables/IMifTableUtils.h"

namespace {

constexpr double kEpsilon = 1e-8;
// Lengths beyond this are damaged input, not a table a page can hold.
constexpr double kMaxLength = 1.0e5;
// More rows or columns than this are refused as damaged input.
constexpr int32 kMaxColumns = 1000;
constexpr int32 kMaxRows = 100000;

const PMString* StringOf(const MifProp* prop)
{
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

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

bool IsSection(int32 id) { return id == kMifTblH || id == kMifTblBody || id == kMifTblF; }

bool IsLength(double value) { return std::isfinite(value) && value > kEpsilon && value < kMaxLength; }

PMString Number(int32 value)
{
    PMString text;
    text.AppendNumber(value);
    return text;
}

// A ruling as FrameMaker draws it.
struct RulingPen {
    double width = 0;        // of one line; 0 when the file gives none
    double gap = 0;          // between the two lines of a double ruling
    int32 lines = 1;         // 0 none, 1 single, 2 double
    const PMString* color = nullptr;
};

// FrameMaker sets a pen of no width as the finest line it draws.
constexpr double kHairline = 0.25;

// The ruling catalog FrameMaker gives a file that brings none of its own (one that does replaces
// it whole).
const struct {
    const char* tag;
    double width;
    double gap;
    int32 lines;
} kDefaultRulings[] = {
    {"Thin", 0.5, 0, 1}, {"Medium", 2.0, 0, 1}, {"Double", 0.5, 2.0, 2}, {"Thick", 3.0, 0, 1}, {"Very Thin", 0.25, 0, 1},
};

// The ruling `tag` names in the file's catalog, else in FrameMaker's default one when the file
// has no catalog; false when neither knows it.
bool FindRuling(const MifObject* root, const PMString& tag, RulingPen& pen)
{
    const MifObject* catalog = root ? root->GetObject(kMifRulingCatalog) : nullptr;
    if (!catalog) {
        static const PMString black("Black");
        for (const auto& ruling : kDefaultRulings)
            if (tag == PMString(ruling.tag)) {
                pen = RulingPen{ruling.width, ruling.gap, ruling.lines, &black};
                return true;
            }
        return false;
    }
    const MifObject* ruling = catalog->FindObjectWithString(kMifRulingTag, tag, 1);
    if (!ruling) return false;
    auto length = [ruling](int32 id) {
        const MifProp* prop = ruling->FindProp(id);
        const double value = prop && MifDimCount(prop->type) > 0 ? prop->value.dim[0] : 0;
        return std::isfinite(value) && value > 0 && value < kMaxLength ? value : 0.0;
    };
    pen.width = length(kMifRulingPenWidth);
    pen.gap = length(kMifRulingGap);
    const MifProp* lines = ruling->FindProp(kMifRulingLines);
    pen.lines = lines && MifIsIntegerType(lines->type) ? lines->value.id : 1;
    pen.color = StringOf(ruling->FindProp(kMifRulingColor));
    return true;
}

} // namespace

double MifTableImporter::FillToTint(int32 fill)
{
    switch (fill) {
    case 0: return 100;
    case 1: return 90;
    case 2: return 70;
    case 3: return 50;
    case 4: return 30;
    case 5: return 10;
    case 6: return 3;
    case 7:
    case 15: return 0;
    default: return 100;
    }
}

void MifTableImporter::Reset()
{
    mTbl = mTblFormat = mCatalogFormat = nullptr;
    mCellMap.clear();
    mCellGrid.clear();
    mGridRows = mGridColumns = 0;
    mTitleCell = GridAddress{-1, -1};
    mPending.clear();
    mSpaceBefore = mSpaceAfter = 0;
    mColumnHints.clear();
}

Table* MifTableImporter::GetTable(const UIDRef& table) const
{
    return table.GetDataBase() ? table.GetDataBase()->Get<Table>(table.GetUID()) : nullptr;
}

const MifProp* MifTableImporter::FindTblProp(int32 id) const
{
    if (mTblFormat)
        if (const MifProp* prop = mTblFormat->FindProp(id)) return prop;
    return mCatalogFormat ? mCatalogFormat->FindProp(id) : nullptr;
}

bool MifTableImporter::GetTblInt(int32 id, int32& value) const
{
    const MifProp* prop = FindTblProp(id);
    if (!prop || !MifIsIntegerType(prop->type)) return false;
    value = prop->value.id;
    return true;
}

bool MifTableImporter::GetTblDim(int32 id, double& value) const
{
    const MifProp* prop = FindTblProp(id);
    if (!prop || MifDimCount(prop->type) < 1) return false;
    value = prop->value.dim[0];
    return std::isfinite(value);
}

const PMString* MifTableImporter::GetTblString(int32 id) const { return StringOf(FindTblProp(id)); }

int32 MifTableImporter::GetTblKeyword(int32 id) const
{
    const MifProp* prop = FindTblProp(id);
    return prop && prop->type == kMifTypeKeyword ? prop->value.keyword : -1;
}

UID MifTableImporter::ImportTable(const UIDRef& storyRef, int32 textIndex, const MifObject* tbl, double precedingSpace,
                                  double extraSpaceBefore, double extraSpaceAfter, double titleGapExtra, double* outSpaceBefore,
                                  double* outSpaceAfter)
{
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
    mTbl = tbl;
    mStoryRef = storyRef;
    mTextIndex = textIndex;
    mTblFormat = tbl->GetObject(kMifTblFormat);
    // The format's tag, else the tag the Tbl itself carries (FrameMaker writes it there).
    const PMString* tag = mTblFormat ? StringOf(mTblFormat->FindProp(kMifTblTag)) : nullptr;
    if (!tag) tag = StringOf(tbl->FindProp(kMifTblTag));
    if (const MifObject* catalog = mMifRoot && tag ? mMifRoot->GetObject(kMifTblCatalog) : nullptr)
        mCatalogFormat = catalog->FindObjectWithString(kMifTblTag, *tag, 1);

    // 2. Checks.
    if (!CheckTable(*tbl)) return kInvalidUID;

    // 3. Create.
    Utils<IMifTableUtils> tableUtils;
    if (!tableUtils) {
        MIF_LOG_NIL(tableUtils);
        return kInvalidUID;
    }
    MifPropVal numColumns;
    tbl->GetPropVal(kMifTblNumColumns, numColumns);
    auto newTableCmd = std::make_shared<NewTableCmd>();
    newTableCmd->textIndex = textIndex;
    newTableCmd->headerRows = RowsOf(*tbl, kMifTblH);
    newTableCmd->bodyRows = RowsOf(*tbl, kMifTblBody);
    newTableCmd->footerRows = RowsOf(*tbl, kMifTblF);
    newTableCmd->columns = numColumns.id;
    newTableCmd->height = tableUtils->GetTableHeight(tbl);
    newTableCmd->width = tableUtils->GetTableWidth(tbl);
    newTableCmd->cellContentClass = 0xB665;
    newTableCmd->extra = 0;
    if (!MIF_RUN_COMMAND(newTableCmd, UIDList(storyRef))) return kInvalidUID;
    if (newTableCmd->GetItemList().Length() < 1) {
        MIF_LOG_FALSE(newTableCmd->GetItemList().Length() >= 1);
        return kInvalidUID;
    }
    const UIDRef table(db, newTableCmd->GetItemList().GetUIDs().front());

    // 4. and 5. Columns and rows: fixed widths now, the hinted ones once their cells hold text.
    ReadColumnHints(*tbl, numColumns.id);
    ResizeColumns(table);
    SizeRows(table, *tbl);
    // 6. The table format.
    ApplyTableFormat(table, precedingSpace, extraSpaceBefore, extraSpaceAfter, titleGapExtra);
    // 7. and 8. Cells and their text.
    ImportCells(table, *tbl);
    if (outSpaceBefore) *outSpaceBefore = mSpaceBefore;
    if (outSpaceAfter) *outSpaceAfter = mSpaceAfter;
    return table.GetUID();
}

bool MifTableImporter::CheckTable(const MifObject& tbl)
{
    // A table that is not built takes its cells' text with it: the message says how much.
    auto leftOut = [&tbl]() {
        Utils<IMifTableUtils> tableUtils;
        return tableUtils ? tableUtils->GetLeftOutText(&tbl) : PMString();
    };
    MifPropVal numColumns;
    const MifProp* columnsProp = tbl.FindProp(kMifTblNumColumns);
    if (!columnsProp || !tbl.GetPropVal(kMifTblNumColumns, numColumns)) {
        MifProblemReporter(this).Report({tbl.line, "Table import: missing <TblNumColumns > statement", leftOut()});
        return false;
    }
    if (numColumns.id < 1) {
        MifProblemReporter(this).Report({tbl.line, "Table import: invalid <TblNumColumns > statement (0 columns)", leftOut()});
        return false;
    }
    if (RowsOf(tbl, kMifTblBody) < 1) {
        MifProblemReporter(this).Report({tbl.line, "Table import: trying to import empty table (0 body rows)", leftOut()});
        return false;
    }
    const int32 rows = RowsOf(tbl, kMifTblH) + RowsOf(tbl, kMifTblBody) + RowsOf(tbl, kMifTblF);
    if (numColumns.id > kMaxColumns || rows > kMaxRows) {
        MifProblemReporter(this).Report({tbl.line, "Table import: the table has more rows or columns than a document can hold, it is skipped", leftOut()});
        return false;
    }
    return true;
}

void MifTableImporter::ReadColumnHints(const MifObject& tbl, int32 columns)
{
    mColumnHints.assign(static_cast<size_t>(std::max(0, columns)), ColumnHint());
    auto read = [](const MifProp& prop, ColumnHint& hint) {
        hint.line = prop.line;
        if (prop.id == kMifTblColumnWidth && prop.type == kMifTypeDim) {
            hint.kind = ColumnHint::kFixed;
            hint.width = prop.value.dim[0];
        } else if (prop.id == kMifTblColumnWidthA && MifDimCount(prop.type) >= 2) {
            hint.kind = ColumnHint::kShrinkWrap;
            hint.width = prop.value.dim[0];
            hint.maximum = prop.value.dim[1];
        } else if (prop.id == kMifTblColumnWidthP && MifIsIntegerType(prop.type)) {
            hint.kind = ColumnHint::kProportional;
            hint.share = prop.value.id;
        }
        return hint.kind != ColumnHint::kNone;
    };
    // The Tbl's own width statements, the k-th for column k, whatever their kind.
    int32 k = 0;
    for (const MifProp* prop : tbl.props) {
        if (!prop) break;
        ColumnHint hint;
        if (!read(*prop, hint)) continue;
        const int32 column = k++;
        if (column >= columns) {
            MifProblemReporter(this).Report({prop->line, "Table import: a TblColumnWidth for a column the table does not have is passed over", Number(column + 1)});
            continue;
        }
        mColumnHints[static_cast<size_t>(column)] = hint;
    }
    // Then the TblColumn statements of the table's own format, for the columns still without
    // one (SDF writes its hints there). Those of a catalog format only shape new tables.
    const MifObject* format = tbl.GetObject(kMifTblFormat);
    if (!format) return;
    int32 order = 0;
    for (const MifObject& tblColumn : format->Children(kMifTblColumn)) {
        MifPropVal number;
        const int32 column = tblColumn.GetPropVal(kMifTblColumnNum, number) ? number.id : order;
        ++order;
        if (column < 0 || column >= columns || mColumnHints[static_cast<size_t>(column)].kind != ColumnHint::kNone) continue;
        for (const MifProp* prop : tblColumn.props) {
            if (!prop) break;
            if (ColumnHint hint; read(*prop, hint)) {
                mColumnHints[static_cast<size_t>(column)] = hint;
                break;
            }
        }
    }
}

void MifTableImporter::ResizeColumns(const UIDRef& table)
{
    for (size_t column = 0; column < mColumnHints.size(); ++column) {
        const ColumnHint& hint = mColumnHints[column];
        if (hint.kind != ColumnHint::kFixed) continue;
        if (!(hint.width > kEpsilon)) {  // the new table's width stands
            MifProblemReporter(this).Report({hint.line, "OV#0xB40#kMifColumnWidthOfNoLengthKey", PMString()});
            continue;
        }
        if (!IsLength(hint.width)) {
            MifProblemReporter(this).Report({hint.line, "Table import: a column width no page can hold is passed over", PMString()});
            continue;
        }
        ResizeColumn(table, static_cast<int32>(column), hint.width);
    }
}

void MifTableImporter::ResizeColumn(const UIDRef& table, int32 column, double width)
{
    if (!IsLength(width)) return;
    auto resizeCmd = std::make_shared<ResizeColumnsCmd>();
    resizeCmd->realNumberData = width;
    resizeCmd->rowColumnRangeData = RowRange{column, 1};
    MIF_RUN_COMMAND(resizeCmd, UIDList(table));
}

void MifTableImporter::SizeHintedColumns(const UIDRef& table)
{
    const Table* model = GetTable(table);
    if (!model) return;
    const int32 columns = std::min(model->ColumnCount(), static_cast<int32>(mColumnHints.size()));
    auto length = [](double value) { return std::isfinite(value) && value > 0 && value < kMaxLength ? value : 0.0; };
    // Shrink-wrapped columns first: as wide as the widest text of their cells, within their
    // bounds; the text is measured as set in the column at its greatest width.
    for (int32 column = 0; column < columns; ++column) {
        const ColumnHint& hint = mColumnHints[static_cast<size_t>(column)];
        if (hint.kind != ColumnHint::kShrinkWrap) continue;
        const double least = length(hint.width);
        double greatest = length(hint.maximum);
        if (!(greatest > kEpsilon)) greatest = AvailableWidth();  // no maximum: what the table may take
        greatest = std::max(greatest, least);
        if (!(greatest > kEpsilon)) continue;
        ResizeColumn(table, column, greatest);
        ResizeColumn(table, column, std::clamp(NaturalWidth(table, column), std::max(least, 1.0), greatest));
    }
    // Proportional columns share what the others leave of the table's width.
    int32 shares = 0;
    double taken = 0;
    for (int32 column = 0; column < columns; ++column) {
        const ColumnHint& hint = mColumnHints[static_cast<size_t>(column)];
        if (hint.kind == ColumnHint::kProportional && hint.share > 0 && hint.share <= 1000000) shares += hint.share;
        else taken += model->columns[static_cast<size_t>(column)].width;
    }
    for (int32 column = columns; column < model->ColumnCount(); ++column) taken += model->columns[static_cast<size_t>(column)].width;
    if (shares <= 0) return;
    const double rest = AvailableWidth() - taken;
    if (!(rest > kEpsilon)) {
        MifProblemReporter(this).Report({mTbl ? mTbl->line : 0, "Table import: the other columns leave no room for the proportional ones, they keep the width the new table gave them", PMString()});
        return;
    }
    for (int32 column = 0; column < columns; ++column) {
        const ColumnHint& hint = mColumnHints[static_cast<size_t>(column)];
        if (hint.kind == ColumnHint::kProportional && hint.share > 0 && hint.share <= 1000000)
            ResizeColumn(table, column, rest * hint.share / shares);
    }
}

double MifTableImporter::NaturalWidth(const UIDRef& table, int32 column) const
{
    const Table* model = GetTable(table);
    Utils<IMifTableUtils> tableUtils;
    if (!model || !tableUtils) return 0;
    auto affects = [this](const GridAddress& at) {
        auto cell = mCellMap.find(at);
        const MifProp* prop = cell != mCellMap.end() && cell->second ? cell->second->FindProp(kMifCellAffectsColumnWidthA) : nullptr;
        return prop && prop->type == kMifTypeBool && prop->value.boolean != 0;
    };
    bool restricted = false;
    for (int32 row = 0; row < model->RowCount(); ++row) restricted = restricted || affects(GridAddress{row, column});
    double widest = 0;
    for (int32 row = 0; row < model->RowCount(); ++row) {
        const GridAddress at{row, column};
        const TableCell& cell = model->CellAt(at);
        if (cell.covered || cell.columnSpan != 1 || (restricted && !affects(at))) continue;
        if (std::fabs(cell.rotation - 90) <= kEpsilon || std::fabs(cell.rotation - 270) <= kEpsilon) continue;
        const double text = cell.text != kInvalidUID ? tableUtils->GetCellTextWidth(mStoryRef, cell.text) : 0;
        widest = std::max(widest, text + cell.insets[0] + cell.insets[2]);
    }
    return widest;
}

double MifTableImporter::AvailableWidth() const
{
    double width = 0;
    if (GetTblDim(kMifTblWidth, width) && IsLength(width)) return width;
    Utils<IMifTextModelUtils> textModelUtils;
    DataBase* db = mStoryRef.GetDataBase();
    const TextFrame* frame = textModelUtils && db ? db->Get<TextFrame>(textModelUtils->FindFrameOfIndex(mStoryRef, mTextIndex)) : nullptr;
    if (!frame) return 0;
    const int32 columns = std::max(1, frame->columnCount);
    const double column =
        (frame->pathBounds.Width() - frame->insets.left - frame->insets.right - std::max(0.0, static_cast<double>(frame->columnGutter)) * (columns - 1)) /
        columns;
    double left = 0, right = 0;
    if (!GetTblDim(kMifTblLIndent, left) || !std::isfinite(left)) left = 0;
    if (!GetTblDim(kMifTblRIndent, right) || !std::isfinite(right)) right = 0;
    return std::max(0.0, column - left - right);
}

void MifTableImporter::SizeRows(const UIDRef& table, const MifObject& tbl)
{
    TableCommands tableCommands(table);
    int32 index = 0;
    for (const MifProp* sectionProp : tbl.props) {
        if (!sectionProp) break;
        if (!IsSection(sectionProp->id) || sectionProp->type != kMifTypeObject || !sectionProp->value.object) continue;
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
                    MifProblemReporter(this).Report({heightProp->line, "Table import: a row height no page can hold is passed over", PMString()});
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

void MifTableImporter::ApplyTableFormat(const UIDRef& table, double precedingSpace, double extraSpaceBefore, double extraSpaceAfter,
                                        double titleGapExtra)
{
    const Table* model = GetTable(table);
    if (!model) {
        MIF_LOG_NIL(model);
        return;
    }
    // 1. Cell defaults on the whole table.
    TableCommands tableCommands(table);
    TableAttributeList attributes;
    attributes.ApplyAttribute(TableAttribute::kCellFirstLineRule, int32(2));
    if (const MifProp* margins = FindTblProp(kMifTblCellMargins); margins && MifDimCount(margins->type) >= 4) {
        attributes.ApplyAttribute(TableAttribute::kCellInsetLeft, margins->value.dim[0]);
        attributes.ApplyAttribute(TableAttribute::kCellInsetTop, margins->value.dim[1]);
        attributes.ApplyAttribute(TableAttribute::kCellInsetRight, margins->value.dim[2]);
        attributes.ApplyAttribute(TableAttribute::kCellInsetBottom, margins->value.dim[3]);
    }
    if (tableCommands.ApplyCellOverrides(model->GetTotalArea(), attributes) != kSuccess)
        MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(model->GetTotalArea(), attributes));
    // FrameMaker draws no ruling where neither the format nor a cell gives one: the strokes the
    // new table came with go before the rulings are applied.
    ClearRulings(table, *model);
    // 2. to 4. Shading and rulings.
    ApplyHeaderFooterFormat(table, mTblFormat, mCatalogFormat);
    ApplyBodyShading(table, mTblFormat, mCatalogFormat);
    ApplyTableRulings(table, mTblFormat, mCatalogFormat);
    // 5. and 6.
    ImportTitle(table, titleGapExtra);
    ApplySpacing(table, precedingSpace, extraSpaceBefore, extraSpaceAfter);
}

void MifTableImporter::ImportTitle(const UIDRef& table, double titleGapExtra)
{
    const int32 placement = GetTblKeyword(kMifTblTitlePlacement);
    if (placement != kMifInHeader && placement != kMifInFooter) return;
    const Table* model = GetTable(table);
    if (!model) return;
    double gap = 6.0;
    if (GetTblDim(kMifTblTitleGap, gap)) gap += titleGapExtra;
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
    const Table* model = GetTable(table);
    if (!model) return;
    double spBefore = 0, spAfter = 0;
    if (!GetTblDim(kMifTblSpBefore, spBefore) || std::fabs(spBefore) >= kMaxLength) spBefore = 0;
    if (!GetTblDim(kMifTblSpAfter, spAfter) || std::fabs(spAfter) >= kMaxLength) spAfter = 0;
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

// ---- cells ----

void MifTableImporter::MarkStraddle(const GridAddress& at, int32 rows, int32 columns)
{
    for (int32 i = 0; i < rows; ++i)
        for (int32 j = 0; j < columns; ++j) {
            const int32 r = at.row + i, c = at.column + j;
            if (r < 0 || c < 0 || r >= mGridRows || c >= mGridColumns) continue;
            mCellGrid[static_cast<size_t>(r) * static_cast<size_t>(mGridColumns) + static_cast<size_t>(c)] = {rows - 1 - i, columns - 1 - j};
        }
}

bool MifTableImporter::IsAnchorOrFree(const GridAddress& at) const
{
    if (at.row < 0 || at.column < 0 || at.row >= mGridRows || at.column >= mGridColumns) return false;
    auto cell = [&](int32 r, int32 c) { return mCellGrid[static_cast<size_t>(r) * static_cast<size_t>(mGridColumns) + static_cast<size_t>(c)]; };
    return (at.row == 0 || cell(at.row - 1, at.column).first == 0) && (at.column == 0 || cell(at.row, at.column - 1).second == 0);
}

void MifTableImporter::ImportCells(const UIDRef& table, const MifObject& tbl)
{
    const Table* model = GetTable(table);
    if (!model) {
        MIF_LOG_NIL(model);
        return;
    }
    mGridRows = model->RowCount();
    mGridColumns = model->ColumnCount();
    mCellGrid.assign(static_cast<size_t>(mGridRows) * static_cast<size_t>(mGridColumns), {0, 0});
    if (mTitleCell.row >= 0) MarkStraddle(mTitleCell, 1, mGridColumns);

    // The MIF rows, in file order, with their grid row: the footer title row is passed over.
    std::vector<const MifObject*> rows;
    for (const MifProp* prop : tbl.props) {
        if (!prop) break;
        if (!IsSection(prop->id) || prop->type != kMifTypeObject || !prop->value.object) continue;
        for (const MifObject& row : prop->value.object->Children(kMifRow)) rows.push_back(&row);
    }
    const bool titleLast = mTitleCell.row >= 0 && mTitleCell.row == mGridRows - 1;
    const int32 lastRow = mGridRows - 1 - (titleLast ? 1 : 0);
    auto cellsOf = [](const MifObject& row) {
        std::vector<const MifObject*> cells;
        for (const MifObject& cell : row.Children(kMifCell)) cells.push_back(&cell);
        return cells;
    };
    // The cell map first, so that every cell's neighbours are known to its rulings.
    for (size_t i = 0; i < rows.size(); ++i) {
        const int32 r = lastRow - static_cast<int32>(rows.size() - 1 - i);
        std::vector<const MifObject*> cells = cellsOf(*rows[i]);
        for (size_t c = 0; c < cells.size() && static_cast<int32>(c) < mGridColumns; ++c)
            if (r >= 0) mCellMap[GridAddress{r, static_cast<int32>(c)}] = cells[c];
    }
    // From the last cell to the first, so that a straddle is merged after the cells it covers
    // had their rulings.
    for (size_t i = rows.size(); i-- > 0;) {
        const int32 r = lastRow - static_cast<int32>(rows.size() - 1 - i);
        std::vector<const MifObject*> cells = cellsOf(*rows[i]);
        if (static_cast<int32>(cells.size()) > mGridColumns)
            MifProblemReporter(this).Report({rows[i]->line, "Table import: a row has more cells than the table has columns, the cells past the last column are skipped", Number(static_cast<int32>(cells.size()))});
        if (r < 0) continue;
        for (size_t c = std::min(cells.size(), static_cast<size_t>(mGridColumns)); c-- > 0;) ImportCell(table, *cells[c], r, static_cast<int32>(c));
    }
    if (mTitleCell.row >= 0)
        if (const MifObject* title = tbl.GetObject(kMifTblTitle))
            if (const MifObject* content = title->GetObject(kMifTblTitleContent)) {
                ApplyCellParagraphFormat(table, mTitleCell, *content);
                mPending.emplace_back(mTitleCell, content);
            }
    ImportPendingParagraphs(table, *model);
}

void MifTableImporter::ImportPendingParagraphs(const UIDRef& table, const Table& model)
{
    // In file order (the list was filled from the last cell). The text of a cell under a straddle
    // goes on in the straddling cell, after the text before it, as FrameMaker keeps it; the empty
    // paragraphs FrameMaker writes in covered cells add nothing.
    Utils<IMifTableUtils> tableUtils;
    std::vector<std::pair<GridAddress, std::vector<const MifObject*>>> cells;
    std::map<GridAddress, size_t> cellIndex;
    for (size_t i = mPending.size(); i-- > 0;) {
        GridAddress at = mPending[i].first;
        const MifObject* content = mPending[i].second;
        if (!IsAnchorOrFree(at)) {
            if (!model.IsValid(at) || !model.CellAt(at).covered || !tableUtils || !tableUtils->HasText(content)) continue;
            at = model.AnchorOf(at);
        }
        auto [entry, added] = cellIndex.emplace(at, cells.size());
        if (added) cells.emplace_back(at, std::vector<const MifObject*>());
        cells[entry->second].second.push_back(content);
    }
    for (const auto& [at, contents] : cells) ImportCellParagraphs(table, at, contents);
    // The hinted columns take their widths from the text now in their cells; the cells' insets
    // then follow the lines as they are set at those widths.
    SizeHintedColumns(table);
    for (const auto& entry : cells) CorrectCellFromText(table, entry.first);
}

void MifTableImporter::ImportCell(const UIDRef& table, const MifObject& cell, int32 row, int32 column)
{
    TableCommands tableCommands(table);
    MifPropVal value;
    int32 rows = cell.GetPropVal(kMifCellRows, value) ? value.id : 1;
    int32 columns = cell.GetPropVal(kMifCellColumns, value) ? value.id : 1;
    if (rows < 1) rows = 1;
    if (columns < 1) columns = 1;
    if (row + rows > mGridRows || column + columns > mGridColumns) {
        MifProblemReporter(this).Report({cell.line, "Table import: a straddle runs past the table's last row or column, it is cut to fit", PMString()});
        rows = std::min(rows, mGridRows - row);
        columns = std::min(columns, mGridColumns - column);
    }
    ApplyCellRulings(table, cell, row, column, rows, columns);
    if (rows > 1 || columns > 1) {
        const GridArea mergeArea(row, column, row + rows, column + columns);
        if (tableCommands.MergeCells(mergeArea) != kSuccess) {
            MIF_LOG_ERROR(tableCommands.MergeCells(mergeArea));
            MifProblemReporter(this).Report({cell.line, "Table import: a straddle overlaps another, its cells stay apart", PMString()});
        } else {
            MarkStraddle(GridAddress{row, column}, rows, columns);
        }
    }
    // Fill and angle.
    TableAttributeList attributes;
    if (const PMString* color = StringOf(cell.FindProp(kMifCellColor)); color && !color->IsEmpty()) {
        InterfacePtr<IMifColorImporter> colorImporter(this, IID_IMIFCOLORIMPORTER);
        UID colorUID = colorImporter ? colorImporter->GetColorUID(*color) : kInvalidUID;
        if (colorUID != kInvalidUID) attributes.ApplyAttribute(TableAttribute::kCellFillColor, colorUID);
        else MIF_LOG_FALSE(colorUID != kInvalidUID);
    }
    if (const MifProp* fill = cell.FindProp(kMifCellFill); fill && MifIsIntegerType(fill->type))
        attributes.ApplyAttribute(TableAttribute::kCellFillTint, FillToTint(fill->value.id));
    if (const MifProp* angle = cell.FindProp(kMifCellAngle); angle && angle->type == kMifTypeNumber && std::isfinite(angle->value.number))
        attributes.ApplyAttribute(TableAttribute::kCellRotation, angle->value.number);
    const GridArea cellArea(GridAddress{row, column}, GridSpan{1, 1});
    if (!attributes.IsEmpty() && tableCommands.ApplyCellOverrides(cellArea, attributes) != kSuccess)
        MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(cellArea, attributes));
    if (const MifObject* content = cell.GetObject(kMifCellContent)) {
        ApplyCellParagraphFormat(table, GridAddress{row, column}, *content);
        mPending.emplace_back(GridAddress{row, column}, content);
    }
}

void MifTableImporter::ApplyCellParagraphFormat(const UIDRef& table, const GridAddress& at, const MifObject& content)
{
    const Table* model = GetTable(table);
    if (!model || !model->IsValid(at)) {
        MIF_LOG_FALSE(model && model->IsValid(at));
        return;
    }
    const MifObject* para = content.GetObject(kMifPara);
    if (!para) return;
    const MifObject* own = para->GetObject(kMifPgf);
    const MifObject* catalogPgf = nullptr;
    if (const PMString* tag = StringOf(para->FindProp(kMifPgfTag, false)); tag && mMifRoot)
        if (const MifObject* pgfCatalog = mMifRoot->GetObject(kMifPgfCatalog)) catalogPgf = pgfCatalog->FindObjectWithString(kMifPgfTag, *tag, 1);
    // The paragraph's own Pgf may name its tag too.
    if (!catalogPgf && own && mMifRoot)
        if (const PMString* tag = StringOf(own->FindProp(kMifPgfTag)))
            if (const MifObject* pgfCatalog = mMifRoot->GetObject(kMifPgfCatalog)) catalogPgf = pgfCatalog->FindObjectWithString(kMifPgfTag, *tag, 1);
    auto find = [&](int32 id) -> const MifProp* {
        if (own)
            if (const MifProp* prop = own->FindProp(id)) return prop;
        return catalogPgf ? catalogPgf->FindProp(id) : nullptr;
    };
    TableAttributeList attributes;
    if (const MifProp* alignment = find(kMifPgfCellAlignment); alignment && alignment->type == kMifTypeKeyword) {
        const int32 keyword = alignment->value.keyword;
        if (keyword == kMifTop) attributes.ApplyAttribute(TableAttribute::kCellVerticalJustification, int32(0));
        else if (keyword == kMifMiddle) attributes.ApplyAttribute(TableAttribute::kCellVerticalJustification, int32(1));
        else if (keyword == kMifBottom) attributes.ApplyAttribute(TableAttribute::kCellVerticalJustification, int32(2));
    }
    if (const MifProp* margins = find(kMifPgfCellMargins); margins && MifDimCount(margins->type) >= 4) {
        const TableCell& cell = model->CellAt(at);
        const int32 fixedIds[4] = {kMifPgfCellLMarginFixed, kMifPgfCellTMarginFixed, kMifPgfCellRMarginFixed, kMifPgfCellBMarginFixed};
        const TableAttribute kinds[4] = {TableAttribute::kCellInsetLeft, TableAttribute::kCellInsetTop, TableAttribute::kCellInsetRight,
                                         TableAttribute::kCellInsetBottom};
        for (int32 side = 0; side < 4; ++side) {
            const MifProp* fixed = find(fixedIds[side]);
            const bool isFixed = fixed && fixed->type == kMifTypeBool && fixed->value.boolean != 0;
            double inset = margins->value.dim[side];
            if (!std::isfinite(inset) || std::fabs(inset) >= kMaxLength) inset = 0;
            attributes.ApplyAttribute(kinds[side], isFixed ? inset : inset + cell.insets[side]);
        }
    }
    TableCommands tableCommands(table);
    const GridArea cellArea(at, GridSpan{1, 1});
    if (!attributes.IsEmpty() && tableCommands.ApplyCellOverrides(cellArea, attributes) != kSuccess)
        MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(cellArea, attributes));
    // Insets turn with a rotated cell.
    const TableCell& cell = model->CellAt(at);
    int32 turn = -1;
    for (int32 angle : {90, 180, 270})
        if (std::fabs(cell.rotation - angle) <= kEpsilon) turn = angle;
    if (turn > 0) {
        const double* in = cell.insets;  // left, top, right, bottom
        double out[4];
        if (turn == 90) out[0] = in[1], out[1] = in[2], out[2] = in[3], out[3] = in[0];
        else if (turn == 180) out[0] = in[2], out[1] = in[3], out[2] = in[0], out[3] = in[1];
        else out[0] = in[3], out[1] = in[0], out[2] = in[1], out[3] = in[2];
        TableAttributeList turned;
        turned.ApplyAttribute(TableAttribute::kCellInsetLeft, out[0]);
        turned.ApplyAttribute(TableAttribute::kCellInsetTop, out[1]);
        turned.ApplyAttribute(TableAttribute::kCellInsetRight, out[2]);
        turned.ApplyAttribute(TableAttribute::kCellInsetBottom, out[3]);
        if (tableCommands.ApplyCellOverrides(cellArea, turned) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(cellArea, turned));
    }
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}

void MifTableImporter::ImportCellParagraphs(const UIDRef& table, const GridAddress& at, const std::vector<const MifObject*>& contents)
{
    const Table* model = GetTable(table);
    if (!model || !model->IsValid(at)) return;
    const UID text = model->CellAt(at).text;
    if (text == kInvalidUID) return;
    InterfacePtr<IMifContentImporter> contentImporter(this, IID_IMIFCONTENTIMPORTER);
    if (!contentImporter) {
        MIF_LOG_NIL(contentImporter);
        return;
    }
    for (const MifObject* content : contents) contentImporter->ImportTextIntoFrame(UIDRef(table.GetDataBase(), text), at.row, at.column, content);
}

void MifTableImporter::CorrectCellFromText(const UIDRef& table, const GridAddress& at)
{
    const Table* model = GetTable(table);
    if (!model || !model->IsValid(at)) return;
    const UID text = model->CellAt(at).text;
    if (text == kInvalidUID) return;
    const Story* story = table.GetDataBase()->Get<Story>(model->story);
    Utils<IMifTextModelUtils> textModelUtils;
    if (!story || !textModelUtils) return;
    const TextRange thread = story->textModel.FindThread(text);
    if (thread.length <= 0) return;
    const UIDRef storyRef = story->GetRef();
    TableCommands tableCommands(table);
    const GridArea cellArea(at, GridSpan{1, 1});
    const TableCell& cell = model->CellAt(at);
    if (cell.verticalJustification == 2) {
        const double descent = textModelUtils->GetMetric2(storyRef, std::max(thread.start, thread.End() - 2));
        if (descent > kEpsilon) {
            TableAttributeList attributes;
            attributes.ApplyAttribute(TableAttribute::kCellInsetBottom, cell.insets[3] + descent);
            if (tableCommands.ApplyCellOverrides(cellArea, attributes) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(cellArea, attributes));
        }
    }
    double ascent = 0, third = 0;
    textModelUtils->GetLineMetrics(storyRef, thread.start, &ascent, nullptr, &third, nullptr);
    if (ascent + kEpsilon < third) {
        TableAttributeList attributes;
        attributes.ApplyAttribute(TableAttribute::kCellFirstLineRule, int32(1));
        if (tableCommands.ApplyCellOverrides(cellArea, attributes) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(cellArea, attributes));
    }
}

// ---- rulings and shading ----

CellStrokeRecord MifTableImporter::RulingToStroke(const PMString& rulingTag)
{
    CellStrokeRecord stroke;
    RulingPen pen;
    // "None", the empty tag (MIF's "no ruling") and a ruling of no lines draw nothing.
    if (rulingTag.IsEmpty() || rulingTag == PMString("None") || (FindRuling(mMifRoot, rulingTag, pen) && pen.lines == 0)) {
        stroke.mask = CellStrokeRecord::kWeight | CellStrokeRecord::kColor;
        stroke.weight = 0;
        stroke.color = mNoneSwatch;
        return stroke;
    }
    if (!FindRuling(mMifRoot, rulingTag, pen)) {
        stroke.mask = CellStrokeRecord::kWeight;
        stroke.weight = 0;
        return stroke;
    }
    const double width = pen.width > kEpsilon ? pen.width : kHairline;
    if (pen.lines == 2) {
        stroke.strokeType = kStrokeTypeDouble;
        stroke.weight = width + pen.gap;
    } else {
        stroke.strokeType = kStrokeTypeSolid;
        stroke.weight = width;
    }
    stroke.mask = CellStrokeRecord::kWeight | CellStrokeRecord::kType;
    if (pen.color && !pen.color->IsEmpty()) {
        InterfacePtr<IMifColorImporter> colorImporter(this, IID_IMIFCOLORIMPORTER);
        const UID colorUID = colorImporter ? colorImporter->GetColorUID(*pen.color) : kInvalidUID;
        if (colorUID != kInvalidUID) {
            stroke.color = colorUID;
            stroke.mask |= CellStrokeRecord::kColor;
        }
    }
    return stroke;
}

void MifTableImporter::ClearRulings(const UIDRef& table, const Table& model)
{
    mNoneSwatch = SwatchUtils::GetNoneSwatch(*table.GetDataBase());
    CellStrokeRecord none = RulingToStroke(PMString("None"));
    none.sides = CellStrokeRecord::kTop | CellStrokeRecord::kBottom;
    for (int32 row = 0; row < model.RowCount(); ++row) ApplyStrokes(table, GridArea(row, 0, row + 1, model.ColumnCount()), none);
    none.sides = CellStrokeRecord::kLeft | CellStrokeRecord::kRight;
    for (int32 column = 0; column < model.ColumnCount(); ++column) ApplyStrokes(table, GridArea(0, column, model.RowCount(), column + 1), none);
}

void MifTableImporter::ApplyStrokes(const UIDRef& table, const GridArea& area, const CellStrokeRecord& stroke)
{
    if (stroke.sides == 0 || area.IsEmpty()) return;
    TableCommands tableCommands(table);
    if (tableCommands.ApplyCellStrokes(area, stroke) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyCellStrokes(area, stroke));
}

const Table* MifTableImporter::UseFormats(const UIDRef& table, const MifObject* tblFormat, const MifObject* catalogFormat)
{
    mTblFormat = tblFormat;
    mCatalogFormat = catalogFormat;
    const Table* model = GetTable(table);
    if (!model) {
        MIF_LOG_NIL(model);
        return nullptr;
    }
    mNoneSwatch = SwatchUtils::GetNoneSwatch(*table.GetDataBase());
    return model;
}

UID MifTableImporter::ColorOrNone(int32 id)
{
    const PMString* name = GetTblString(id);
    if (!name || name->IsEmpty()) return mNoneSwatch;
    InterfacePtr<IMifColorImporter> colorImporter(this, IID_IMIFCOLORIMPORTER);
    if (!colorImporter) {
        MIF_LOG_NIL(colorImporter);
        return mNoneSwatch;
    }
    const UID colorUID = colorImporter->GetColorUID(*name);
    return colorUID != kInvalidUID ? colorUID : mNoneSwatch;
}

void MifTableImporter::ApplyHeaderFooterFormat(const UIDRef& table, const MifObject* tblFormat, const MifObject* catalogFormat)
{
    const Table* model = UseFormats(table, tblFormat, catalogFormat);
    if (!model) return;
    if (const PMString* separator = GetTblString(kMifTblSeparatorRuling); separator && !separator->IsEmpty()) {
        CellStrokeRecord stroke = RulingToStroke(*separator);
        if (model->headerRowCount > 0) {
            stroke.sides = CellStrokeRecord::kBottom;
            ApplyStrokes(table, model->GetHeaderArea(), stroke);
        }
        if (model->footerRowCount > 0) {
            stroke.sides = CellStrokeRecord::kTop;
            ApplyStrokes(table, model->GetFooterArea(), stroke);
        }
    }
    TableAttributeList attributes;
    if (const PMString* color = GetTblString(kMifTblHFColor); color && !color->IsEmpty()) {
        InterfacePtr<IMifColorImporter> colorImporter(this, IID_IMIFCOLORIMPORTER);
        const UID colorUID = colorImporter ? colorImporter->GetColorUID(*color) : kInvalidUID;
        if (colorUID == kInvalidUID) MIF_LOG_FALSE(colorUID != kInvalidUID);
        else attributes.ApplyAttribute(TableAttribute::kCellFillColor, colorUID);
    }
    int32 fill = 0;
    if (GetTblInt(kMifTblHFFill, fill)) attributes.ApplyAttribute(TableAttribute::kCellFillTint, FillToTint(fill));
    if (attributes.IsEmpty()) return;
    TableCommands tableCommands(table);
    for (const GridArea& area : {model->GetHeaderArea(), model->GetFooterArea()})
        if (!area.IsEmpty() && tableCommands.ApplyCellOverrides(area, attributes) != kSuccess)
            MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(area, attributes));
}

void MifTableImporter::ApplyBodyShading(const UIDRef& table, const MifObject* tblFormat, const MifObject* catalogFormat)
{
    const Table* model = UseFormats(table, tblFormat, catalogFormat);
    if (!model) return;
    const MifProp* byColumnProp = FindTblProp(kMifTblShadeByColumn);
    const bool byColumn = byColumnProp && byColumnProp->type == kMifTypeBool && byColumnProp->value.boolean != 0;
    TableAttributeList attributes;
    attributes.ApplyAttribute(TableAttribute::kAltFillPattern, int32(byColumn ? 1 : 0));
    int32 firstCount = 0, nextCount = 0, firstFill = 0, nextFill = 0;
    // Without a period the count stays as it was: FrameMaker always writes both.
    if (GetTblInt(kMifTblShadePeriod, firstCount))
        attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnFirstCount : TableAttribute::kAltRowFirstCount, std::max(0, firstCount));
    if (GetTblInt(kMifTblAltShadePeriod, nextCount))
        attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnNextCount : TableAttribute::kAltRowNextCount, std::max(0, nextCount));
    attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnFirstColor : TableAttribute::kAltRowFirstColor, ColorOrNone(kMifTblBodyColor));
    attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnNextColor : TableAttribute::kAltRowNextColor, ColorOrNone(kMifTblXColor));
    if (!GetTblInt(kMifTblBodyFill, firstFill)) firstFill = 0;
    if (!GetTblInt(kMifTblXFill, nextFill)) nextFill = 0;
    attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnFirstTint : TableAttribute::kAltRowFirstTint, FillToTint(firstFill));
    attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnNextTint : TableAttribute::kAltRowNextTint, FillToTint(nextFill));
    TableCommands tableCommands(table);
    if (tableCommands.ApplyTableOverrides(attributes) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyTableOverrides(attributes));

    // Block size: the first and the last n body rows hold together.
    int32 n = 1;
    if (!GetTblInt(kMifTblBlockSize, n)) n = 1;
    const int32 bodyRows = model->BodyRowCount();
    n = std::min(n, bodyRows);
    if (n > 1) {
        TableAttributeList keep;
        keep.ApplyAttribute(TableAttribute::kRowKeepWithNext, int32(1));
        const int32 firstBody = model->headerRowCount, endBody = model->headerRowCount + bodyRows;
        for (const RowRange& range : {RowRange{firstBody, n - 1}, RowRange{endBody - n, n - 1}})
            if (tableCommands.ApplyRowOverrides(range, keep) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyRowOverrides(range, keep));
    }
}

void MifTableImporter::ApplyTableRulings(const UIDRef& table, const MifObject* tblFormat, const MifObject* catalogFormat)
{
    const Table* model = UseFormats(table, tblFormat, catalogFormat);
    if (!model) return;
    const int32 columns = model->ColumnCount();
    const GridArea body = model->GetBodyArea();
    auto rowArea = [&](int32 row) { return GridArea(row, 0, row + 1, columns); };
    // 1. Body rows.
    if (const PMString* bodyRuling = GetTblString(kMifTblBodyRowRuling)) {
        CellStrokeRecord data = RulingToStroke(*bodyRuling);
        data.sides = CellStrokeRecord::kBottom;
        CellStrokeRecord xdata;
        if (const PMString* xRuling = GetTblString(kMifTblXRowRuling)) {
            xdata = RulingToStroke(*xRuling);
            xdata.sides = CellStrokeRecord::kBottom;
        }
        int32 period = 0;
        if (GetTblInt(kMifTblRulingPeriod, period) && period > 0)
            for (int32 i = 0; body.top + i < body.bottom - 1; ++i) ApplyStrokes(table, rowArea(body.top + i), ((i + 1) % period) == 0 ? xdata : data);
    }
    // 2. Header and footer rows.
    if (const PMString* hfRuling = GetTblString(kMifTblHFRowRuling); hfRuling && !hfRuling->IsEmpty()) {
        CellStrokeRecord data = RulingToStroke(*hfRuling);
        data.sides = CellStrokeRecord::kBottom;
        for (int32 r = 0; r + 1 < model->headerRowCount; ++r) ApplyStrokes(table, rowArea(r), data);
        const int32 footerStart = model->RowCount() - model->footerRowCount;
        for (int32 r = footerStart; r + 1 < model->RowCount(); ++r) ApplyStrokes(table, rowArea(r), data);
        if (model->headerRowCount > 0) {
            CellStrokeRecord top = data;
            top.sides = CellStrokeRecord::kTop;
            ApplyStrokes(table, rowArea(body.top), top);
        }
        if (model->footerRowCount > 0) ApplyStrokes(table, rowArea(body.bottom - 1), data);
    }
    // 3. Columns.
    if (const PMString* columnRuling = GetTblString(kMifTblColumnRuling); columnRuling && !columnRuling->IsEmpty()) {
        CellStrokeRecord data = RulingToStroke(*columnRuling);
        data.sides = CellStrokeRecord::kRight;
        CellStrokeRecord xdata;
        if (const PMString* xRuling = GetTblString(kMifTblXColumnRuling)) {
            xdata = RulingToStroke(*xRuling);
            xdata.sides = CellStrokeRecord::kRight;
        }
        int32 xColumnNum = 0;
        const int32 xcolumn = GetTblInt(kMifTblXColumnNum, xColumnNum) && xColumnNum >= 1 ? xColumnNum - 1 : -1;
        for (int32 c = 0; c + 1 < columns; ++c)
            ApplyStrokes(table, GridArea(0, c, model->RowCount(), c + 1), c == xcolumn ? xdata : data);
    }
    // 4. Outer edges.
    const struct {
        int32 id;
        int32 side;
    } outer[] = {{kMifTblLRuling, CellStrokeRecord::kLeft},
                 {kMifTblTRuling, CellStrokeRecord::kTop},
                 {kMifTblRRuling, CellStrokeRecord::kRight},
                 {kMifTblBRuling, CellStrokeRecord::kBottom}};
    for (const auto& edge : outer)
        if (const PMString* ruling = GetTblString(edge.id); ruling && !ruling->IsEmpty()) {
            CellStrokeRecord stroke = RulingToStroke(*ruling);
            stroke.sides = edge.side;
            ApplyStrokes(table, model->GetTotalArea(), stroke);
        }
}

void MifTableImporter::ApplyCellRulings(const UIDRef& table, const MifObject& cell, int32 row, int32 column, int32 rows, int32 columns)
{
    mNoneSwatch = table.GetDataBase() ? SwatchUtils::GetNoneSwatch(*table.GetDataBase()) : kInvalidUID;
    const struct {
        int32 own;
        int32 facing;
        int32 side;
        GridAddress neighbour;
    } sides[] = {{kMifCellLRuling, kMifCellRRuling, CellStrokeRecord::kLeft, GridAddress{row, column - 1}},
                 {kMifCellTRuling, kMifCellBRuling, CellStrokeRecord::kTop, GridAddress{row - 1, column}},
                 {kMifCellRRuling, kMifCellLRuling, CellStrokeRecord::kRight, GridAddress{row, column + columns}},
                 {kMifCellBRuling, kMifCellTRuling, CellStrokeRecord::kBottom, GridAddress{row + rows, column}}};
    for (const auto& side : sides) {
        const PMString* ruling = StringOf(cell.FindProp(side.own));
        if (!ruling) continue;
        CellStrokeRecord stroke = RulingToStroke(*ruling);
        auto neighbour = mCellMap.find(side.neighbour);
        const PMString* facing = neighbour != mCellMap.end() && neighbour->second ? StringOf(neighbour->second->FindProp(side.facing)) : nullptr;
        // The heavier of the two rulings on a shared edge wins, whichever cell comes first.
        if (facing && stroke.weight < RulingToStroke(*facing).weight - kEpsilon) continue;
        stroke.sides = side.side;
        // Along the whole straddle: its edges are those of the merged cell.
        ApplyStrokes(table, GridArea(row, column, row + rows, column + columns), stroke);
    }
}
