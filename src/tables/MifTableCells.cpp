#include "tables/MifTableCells.h"

#include <algorithm>
#include <cmath>

#include "DataBase.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "Story.h"
#include "Table.h"
#include "TableCommands.h"

#include "base/MifAssertLog.h"
#include "base/MifProblemReporter.h"
#include "catalogs/IMifColorImporter.h"
#include "content/IMifContentImporter.h"
#include "content/IMifTextModelUtils.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "tables/IMifTableUtils.h"
#include "tables/MifTableFormat.h"
#include "tables/MifTableRulings.h"

namespace {

constexpr double kEpsilon = MifTableFormat::kEpsilon;
constexpr double kMaxLength = MifTableFormat::kMaxLength;

const PMString* StringOf(const MifProp* prop) { return MifTableFormat::StringOf(prop); }

} // namespace

void MifTableCells::Clear()
{
    mCellMap.clear();
    mCellGrid.clear();
    mGridRows = mGridColumns = 0;
    mPending.clear();
}

void MifTableCells::MarkStraddle(const GridAddress& at, int32 rows, int32 columns)
{
    for (int32 i = 0; i < rows; ++i)
        for (int32 j = 0; j < columns; ++j) {
            const int32 r = at.row + i, c = at.column + j;
            if (r < 0 || c < 0 || r >= mGridRows || c >= mGridColumns) continue;
            mCellGrid[static_cast<size_t>(r) * static_cast<size_t>(mGridColumns) + static_cast<size_t>(c)] = {rows - 1 - i, columns - 1 - j};
        }
}

bool MifTableCells::IsAnchorOrFree(const GridAddress& at) const
{
    if (at.row < 0 || at.column < 0 || at.row >= mGridRows || at.column >= mGridColumns) return false;
    auto cell = [&](int32 r, int32 c) { return mCellGrid[static_cast<size_t>(r) * static_cast<size_t>(mGridColumns) + static_cast<size_t>(c)]; };
    return (at.row == 0 || cell(at.row - 1, at.column).first == 0) && (at.column == 0 || cell(at.row, at.column - 1).second == 0);
}

bool MifTableCells::ImportCells(const UIDRef& table, const MifObject& tbl, const GridAddress& titleCell, const MifObject* mifRoot,
                                MifTableRulings& rulings, const MifProblemReporter& report)
{
    const Table* model = MifTableFormat::TableOf(table);
    if (!model) {
        MIF_LOG_NIL(model);
        return false;
    }
    mMifRoot = mifRoot;
    mGridRows = model->RowCount();
    mGridColumns = model->ColumnCount();
    mCellGrid.assign(static_cast<size_t>(mGridRows) * static_cast<size_t>(mGridColumns), {0, 0});
    if (titleCell.row >= 0) MarkStraddle(titleCell, 1, mGridColumns);

    // The MIF rows, in file order, with their grid row: the footer title row is passed over.
    std::vector<const MifObject*> rows;
    for (const MifProp* prop : tbl.props) {
        if (!prop) break;
        if (!MifTableFormat::IsSection(prop->id) || prop->type != kMifTypeObject || !prop->value.object) continue;
        for (const MifObject& row : prop->value.object->Children(kMifRow)) rows.push_back(&row);
    }
    const bool titleLast = titleCell.row >= 0 && titleCell.row == mGridRows - 1;
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
            report({rows[i]->line, "Table import: a row has more cells than the table has columns, the cells past the last column are skipped",
                    MifTableFormat::Number(static_cast<int32>(cells.size()))});
        if (r < 0) continue;
        for (size_t c = std::min(cells.size(), static_cast<size_t>(mGridColumns)); c-- > 0;)
            ImportCell(table, *cells[c], r, static_cast<int32>(c), rulings, report);
    }
    if (titleCell.row >= 0)
        if (const MifObject* title = tbl.GetObject(kMifTblTitle))
            if (const MifObject* content = title->GetObject(kMifTblTitleContent)) {
                ApplyCellParagraphFormat(table, titleCell, *content);
                mPending.emplace_back(titleCell, content);
            }
    return true;
}

std::vector<GridAddress> MifTableCells::ImportText(const UIDRef& table)
{
    const Table* model = MifTableFormat::TableOf(table);
    if (!model) return {};
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
            if (!model->IsValid(at) || !model->CellAt(at).covered || !tableUtils || !tableUtils->HasText(content)) continue;
            at = model->AnchorOf(at);
        }
        auto [entry, added] = cellIndex.emplace(at, cells.size());
        if (added) cells.emplace_back(at, std::vector<const MifObject*>());
        cells[entry->second].second.push_back(content);
    }
    std::vector<GridAddress> filled;
    for (const auto& [at, contents] : cells) {
        ImportCellParagraphs(table, at, contents);
        filled.push_back(at);
    }
    return filled;
}

void MifTableCells::ImportCell(const UIDRef& table, const MifObject& cell, int32 row, int32 column, MifTableRulings& rulings,
                               const MifProblemReporter& report)
{
    TableCommands tableCommands(table);
    MifPropVal value;
    int32 rows = cell.GetPropVal(kMifCellRows, value) ? value.id : 1;
    int32 columns = cell.GetPropVal(kMifCellColumns, value) ? value.id : 1;
    if (rows < 1) rows = 1;
    if (columns < 1) columns = 1;
    if (row + rows > mGridRows || column + columns > mGridColumns) {
        report({cell.line, "Table import: a straddle runs past the table's last row or column, it is cut to fit", PMString()});
        rows = std::min(rows, mGridRows - row);
        columns = std::min(columns, mGridColumns - column);
    }
    rulings.ApplyCellRulings(cell, mCellMap, row, column, rows, columns);
    if (rows > 1 || columns > 1) {
        const GridArea mergeArea(row, column, row + rows, column + columns);
        if (tableCommands.MergeCells(mergeArea) != kSuccess) {
            MIF_LOG_ERROR(tableCommands.MergeCells(mergeArea));
            report({cell.line, "Table import: a straddle overlaps another, its cells stay apart", PMString()});
        } else {
            MarkStraddle(GridAddress{row, column}, rows, columns);
        }
    }
    // Fill and angle.
    TableAttributeList attributes;
    if (const PMString* color = StringOf(cell.FindProp(kMifCellColor)); color && !color->IsEmpty()) {
        InterfacePtr<IMifColorImporter> colorImporter(mImportObject, IID_IMIFCOLORIMPORTER);
        UID colorUID = colorImporter ? colorImporter->GetColorUID(*color) : kInvalidUID;
        if (colorUID != kInvalidUID) attributes.ApplyAttribute(TableAttribute::kCellFillColor, colorUID);
        else MIF_LOG_FALSE(colorUID != kInvalidUID);
    }
    if (const MifProp* fill = cell.FindProp(kMifCellFill); fill && MifIsIntegerType(fill->type))
        attributes.ApplyAttribute(TableAttribute::kCellFillTint, MifTableRulings::FillToTint(fill->value.id));
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

void MifTableCells::ApplyCellParagraphFormat(const UIDRef& table, const GridAddress& at, const MifObject& content) const
{
    const Table* model = MifTableFormat::TableOf(table);
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

void MifTableCells::ImportCellParagraphs(const UIDRef& table, const GridAddress& at, const std::vector<const MifObject*>& contents) const
{
    const Table* model = MifTableFormat::TableOf(table);
    if (!model || !model->IsValid(at)) return;
    const UID text = model->CellAt(at).text;
    if (text == kInvalidUID) return;
    InterfacePtr<IMifContentImporter> contentImporter(mImportObject, IID_IMIFCONTENTIMPORTER);
    if (!contentImporter) {
        MIF_LOG_NIL(contentImporter);
        return;
    }
    for (const MifObject* content : contents) contentImporter->ImportTextIntoFrame(UIDRef(table.GetDataBase(), text), at.row, at.column, content);
}

void MifTableCells::CorrectCellFromText(const UIDRef& table, const GridAddress& at) const
{
    const Table* model = MifTableFormat::TableOf(table);
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

