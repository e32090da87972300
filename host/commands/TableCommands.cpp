#include "TableCommands.h"

#include <algorithm>
#include <cmath>

#include "Story.h"
#include "Table.h"

namespace {

constexpr PMReal kMinRowHeight = 3.0;
constexpr PMReal kMinColumnWidth = 3.0;
constexpr PMReal kDefaultColumnWidth = 36.0;
constexpr PMReal kDefaultRowHeight = 14.0;
// More rows or columns than any page can show are refused as damaged input.
constexpr int32 kMaxRows = 100000;
constexpr int32 kMaxColumns = 1000;

Story* TableStory(DataBase* db, const Table* table) { return db && table ? db->Get<Story>(table->story) : nullptr; }

// A cell of `table` with a thread of its own at the end of the story.
TableCell NewCell(DataBase& db, Story& story, const Table& table)
{
    CellText* text = db.Create<CellText>();
    text->table = table.GetUID();
    story.textModel.AddThread(TextThread{TextThreadKind::kCell, text->GetUID()});
    TableCell cell;
    cell.text = text->GetUID();
    return cell;
}

void RemoveCellText(DataBase& db, Story& story, UID text)
{
    if (text == kInvalidUID) return;
    story.textModel.RemoveThread(text);
    db.Delete(text);
}

bool InGrid(const Table& table, const GridArea& area)
{
    return !area.IsEmpty() && area.top >= 0 && area.left >= 0 && area.bottom <= table.RowCount() && area.right <= table.ColumnCount();
}

void ApplyCellAttribute(TableCell& cell, TableAttribute kind, const TableAttributeValue& value)
{
    const PMReal* real = std::get_if<PMReal>(&value);
    const int32* integer = std::get_if<int32>(&value);
    const UID* uid = std::get_if<UID>(&value);
    switch (kind) {
    case TableAttribute::kCellInsetLeft: if (real) cell.insets[0] = std::max<PMReal>(0, *real); break;
    case TableAttribute::kCellInsetTop: if (real) cell.insets[1] = std::max<PMReal>(0, *real); break;
    case TableAttribute::kCellInsetRight: if (real) cell.insets[2] = std::max<PMReal>(0, *real); break;
    case TableAttribute::kCellInsetBottom: if (real) cell.insets[3] = std::max<PMReal>(0, *real); break;
    case TableAttribute::kCellFillColor: if (uid) cell.fillColor = *uid; break;
    case TableAttribute::kCellFillTint: if (real) cell.fillTint = std::clamp<PMReal>(*real, 0, 100); break;
    case TableAttribute::kCellRotation: if (real) cell.rotation = *real; break;
    case TableAttribute::kCellFirstLineRule: if (integer) cell.firstLineRule = *integer; break;
    case TableAttribute::kCellVerticalJustification: if (integer) cell.verticalJustification = std::clamp(*integer, 0, 3); break;
    default: break;
    }
}

void ApplyRowAttribute(TableRow& row, TableAttribute kind, const TableAttributeValue& value)
{
    const PMReal* real = std::get_if<PMReal>(&value);
    const int32* integer = std::get_if<int32>(&value);
    switch (kind) {
    case TableAttribute::kRowMinHeight: if (real) row.minHeight = std::max<PMReal>(0, *real); break;
    case TableAttribute::kRowMaxHeight: if (real) row.maxHeight = std::max<PMReal>(0, *real); break;
    case TableAttribute::kRowAutoGrow: if (integer) row.autoGrow = *integer != 0; break;
    case TableAttribute::kRowKeepWithNext: if (integer) row.keepWithNext = *integer; break;
    default: break;
    }
}

void ApplyTableAttribute(Table& table, TableAttribute kind, const TableAttributeValue& value)
{
    const PMReal* real = std::get_if<PMReal>(&value);
    const int32* integer = std::get_if<int32>(&value);
    const UID* uid = std::get_if<UID>(&value);
    switch (kind) {
    case TableAttribute::kTableSpaceBefore: if (real) table.spaceBefore = *real; break;
    case TableAttribute::kTableSpaceAfter: if (real) table.spaceAfter = *real; break;
    case TableAttribute::kAltRowFirstColor: if (uid) table.rowFill.firstColor = *uid; break;
    case TableAttribute::kAltRowNextColor: if (uid) table.rowFill.nextColor = *uid; break;
    case TableAttribute::kAltRowFirstCount: if (integer) table.rowFill.firstCount = std::max(0, *integer); break;
    case TableAttribute::kAltRowNextCount: if (integer) table.rowFill.nextCount = std::max(0, *integer); break;
    case TableAttribute::kAltColumnFirstColor: if (uid) table.columnFill.firstColor = *uid; break;
    case TableAttribute::kAltColumnNextColor: if (uid) table.columnFill.nextColor = *uid; break;
    case TableAttribute::kAltColumnFirstCount: if (integer) table.columnFill.firstCount = std::max(0, *integer); break;
    case TableAttribute::kAltColumnNextCount: if (integer) table.columnFill.nextCount = std::max(0, *integer); break;
    case TableAttribute::kAltFillPattern: if (integer) table.alternatingPattern = *integer; break;
    case TableAttribute::kAltRowFirstTint: if (real) table.rowFill.firstTint = *real; break;
    case TableAttribute::kAltRowNextTint: if (real) table.rowFill.nextTint = *real; break;
    case TableAttribute::kAltColumnFirstTint: if (real) table.columnFill.firstTint = *real; break;
    case TableAttribute::kAltColumnNextTint: if (real) table.columnFill.nextTint = *real; break;
    default: break;
    }
}

void ApplyStroke(TableStroke& edge, const CellStrokeRecord& stroke)
{
    if (stroke.mask & CellStrokeRecord::kWeight) edge.weight = std::max<PMReal>(0, stroke.weight);
    if (stroke.mask & CellStrokeRecord::kColor) {
        edge.color = stroke.color;
        edge.tint = stroke.tint;
    }
    if (stroke.mask & CellStrokeRecord::kType) edge.type = stroke.strokeType;
}

Table* TargetTable(DataBase* db, const UIDList& items)
{
    if (!db || items.Length() != 1) return nullptr;
    return db->Get<Table>(items.GetUIDs().front());
}

ErrorCode Resize(DataBase* db, const UIDList& items, const RowRange& range, PMReal size, bool rows)
{
    Table* table = TargetTable(db, items);
    if (!table || !std::isfinite(size) || size <= 0) return kInvalidParameterError;
    const int32 count = rows ? table->RowCount() : table->ColumnCount();
    if (range.count < 1 || range.start < 0 || range.start + range.count > count) return kInvalidParameterError;
    for (int32 i = range.start; i < range.start + range.count; ++i) {
        if (rows) table->rows[static_cast<size_t>(i)].height = std::max(kMinRowHeight, size);
        else table->columns[static_cast<size_t>(i)].width = std::max(kMinColumnWidth, size);
    }
    if (Story* story = TableStory(db, table))
        story->frameList.NoteTableEdit(table->GetUID(), story->textModel.GetRevision(), story->textModel.GetRevision());
    return kSuccess;
}

} // namespace

ErrorCode NewTableCmd::Do()
{
    DataBase* db = GetDataBase();
    Story* story = db && mItems.Length() == 1 ? db->Get<Story>(mItems.GetUIDs().front()) : nullptr;
    if (!story) return kInvalidParameterError;
    const int32 rowCount = headerRows + bodyRows + footerRows;
    if (headerRows < 0 || footerRows < 0 || bodyRows < 1 || rowCount > kMaxRows || columns < 1 || columns > kMaxColumns)
        return kInvalidParameterError;
    TextModel& model = story->textModel;
    TextRange primary = model.GetThreadRange(0);
    if (textIndex < 0 || textIndex >= primary.End()) return kInvalidParameterError;
    const int64 before = model.GetRevision();
    if (!model.Insert(textIndex, std::u16string(1, kTextChar_Table))) return kInvalidParameterError;
    Table* table = db->Create<Table>();
    table->story = story->GetUID();
    model.SetOwnedItem(textIndex, table->GetUID());
    table->headerRowCount = headerRows;
    table->footerRowCount = footerRows;
    const PMReal rowHeight = std::isfinite(height) && height > 0 ? std::max(kMinRowHeight, height / rowCount) : kDefaultRowHeight;
    const PMReal columnWidth = std::isfinite(width) && width > 0 ? std::max(kMinColumnWidth, width / columns) : kDefaultColumnWidth;
    table->rows.assign(static_cast<size_t>(rowCount), TableRow{});
    for (TableRow& row : table->rows) row.height = rowHeight;
    table->columns.assign(static_cast<size_t>(columns), TableColumn{columnWidth});
    table->cells.reserve(static_cast<size_t>(rowCount) * static_cast<size_t>(columns));
    for (int32 i = 0; i < rowCount * columns; ++i) table->cells.push_back(NewCell(*db, *story, *table));
    table->rowEdges.assign(static_cast<size_t>(rowCount + 1) * static_cast<size_t>(columns), TableStroke{});
    table->columnEdges.assign(static_cast<size_t>(rowCount) * static_cast<size_t>(columns + 1), TableStroke{});
    story->frameList.NoteEdit(textIndex, before, model.GetRevision());
    mItems = UIDList(table->GetRef());
    return kSuccess;
}

ErrorCode ResizeRowsCmd::Do() { return Resize(GetDataBase(), mItems, rowColumnRangeData, realNumberData, true); }
ErrorCode ResizeColumnsCmd::Do() { return Resize(GetDataBase(), mItems, rowColumnRangeData, realNumberData, false); }

Table* TableCommands::GetTable() const { return mTable.GetDataBase() ? mTable.GetDataBase()->Get<Table>(mTable.GetUID()) : nullptr; }

void TableCommands::Damage(int64 before) const
{
    // The lines from the frame where the table begins are set again.
    if (Story* story = TableStory(mTable.GetDataBase(), GetTable()))
        story->frameList.NoteTableEdit(mTable.GetUID(), before < 0 ? story->textModel.GetRevision() : before, story->textModel.GetRevision());
}

ErrorCode TableCommands::ApplyTableOverrides(const TableAttributeList& attributes)
{
    Table* table = GetTable();
    if (!table) return kInvalidParameterError;
    for (const auto& [kind, value] : attributes.GetAttributes()) ApplyTableAttribute(*table, kind, value);
    Damage();
    return kSuccess;
}

ErrorCode TableCommands::ApplyRowOverrides(const RowRange& rows, const TableAttributeList& attributes)
{
    Table* table = GetTable();
    if (!table || rows.count < 1 || rows.start < 0 || rows.start + rows.count > table->RowCount()) return kInvalidParameterError;
    for (int32 r = rows.start; r < rows.start + rows.count; ++r)
        for (const auto& [kind, value] : attributes.GetAttributes()) ApplyRowAttribute(table->rows[static_cast<size_t>(r)], kind, value);
    Damage();
    return kSuccess;
}

ErrorCode TableCommands::ApplyCellOverrides(const GridArea& area, const TableAttributeList& attributes)
{
    Table* table = GetTable();
    if (!table || !InGrid(*table, area)) return kInvalidParameterError;
    for (int32 r = area.top; r < area.bottom; ++r)
        for (int32 c = area.left; c < area.right; ++c)
            for (const auto& [kind, value] : attributes.GetAttributes()) ApplyCellAttribute(table->CellAt(GridAddress{r, c}), kind, value);
    Damage();
    return kSuccess;
}

ErrorCode TableCommands::ApplyCellStrokes(const GridArea& area, const CellStrokeRecord& stroke)
{
    Table* table = GetTable();
    if (!table || !InGrid(*table, area)) return kInvalidParameterError;
    for (int32 r = area.top; r < area.bottom; ++r) {
        if (stroke.sides & CellStrokeRecord::kLeft) ApplyStroke(table->ColumnEdge(r, area.left), stroke);
        if (stroke.sides & CellStrokeRecord::kRight) ApplyStroke(table->ColumnEdge(r, area.right), stroke);
    }
    for (int32 c = area.left; c < area.right; ++c) {
        if (stroke.sides & CellStrokeRecord::kTop) ApplyStroke(table->RowEdge(area.top, c), stroke);
        if (stroke.sides & CellStrokeRecord::kBottom) ApplyStroke(table->RowEdge(area.bottom, c), stroke);
    }
    Damage();
    return kSuccess;
}

ErrorCode TableCommands::MergeCells(const GridArea& area)
{
    Table* table = GetTable();
    DataBase* db = mTable.GetDataBase();
    Story* story = TableStory(db, table);
    if (!story || !InGrid(*table, area)) return kInvalidParameterError;
    // Every cell of the area must be a whole cell inside it.
    for (int32 r = area.top; r < area.bottom; ++r)
        for (int32 c = area.left; c < area.right; ++c) {
            const TableCell& cell = table->CellAt(GridAddress{r, c});
            if (cell.covered) {
                GridAddress anchor = table->AnchorOf(GridAddress{r, c});
                if (anchor.row < area.top || anchor.column < area.left) return kInvalidParameterError;
            } else if (r + cell.rowSpan > area.bottom || c + cell.columnSpan > area.right) {
                return kInvalidParameterError;
            }
        }
    TableCell& anchor = table->CellAt(GridAddress{area.top, area.left});
    TextModel& model = story->textModel;
    const int64 before = model.GetRevision();
    for (int32 r = area.top; r < area.bottom; ++r)
        for (int32 c = area.left; c < area.right; ++c) {
            if (r == area.top && c == area.left) continue;
            TableCell& cell = table->CellAt(GridAddress{r, c});
            // What the covered cell held goes on in the merged cell, after its own text.
            TextRange from = model.FindThread(cell.text);
            if (from.length > 1) {
                std::u16string text = model.GetText(from.start, from.length - 1);
                TextRange to = model.FindThread(anchor.text);
                if (to.length > 1) text.insert(text.begin(), kTextChar_CR);
                if (to.length > 0) model.Insert(to.End() - 1, text);
            }
            RemoveCellText(*db, *story, cell.text);
            cell = TableCell{};
            cell.covered = true;
            cell.rowSpan = cell.columnSpan = 0;
        }
    anchor.rowSpan = area.bottom - area.top;
    anchor.columnSpan = area.right - area.left;
    Damage(before);
    return kSuccess;
}

ErrorCode TableCommands::InsertRows(const RowRange& rows, InsertPosition position, PMReal height)
{
    Table* table = GetTable();
    DataBase* db = mTable.GetDataBase();
    Story* story = TableStory(db, table);
    if (!story || rows.count < 1 || rows.count > kMaxRows || table->RowCount() + rows.count > kMaxRows) return kInvalidParameterError;
    const int32 rowCount = table->RowCount();
    if (rows.start < 0 || rows.start > rowCount || (position == eAfter && rows.start >= rowCount)) return kInvalidParameterError;
    const int32 at = position == eBefore ? rows.start : rows.start + 1;
    // A row inserted between two sections, or where a merged cell spans, is refused rather than
    // cutting through the span.
    if (at > 0 && at < rowCount)
        for (int32 c = 0; c < table->ColumnCount(); ++c)
            if (table->CellAt(GridAddress{at, c}).covered && table->AnchorOf(GridAddress{at, c}).row < at) return kInvalidParameterError;
    // The section of the row beside which they go.
    const int32 beside = std::clamp(position == eBefore ? (at < rowCount ? at : at - 1) : rows.start, 0, rowCount - 1);
    if (beside < table->headerRowCount) table->headerRowCount += rows.count;
    else if (beside >= rowCount - table->footerRowCount) table->footerRowCount += rows.count;
    const int64 before = story->textModel.GetRevision();
    TableRow row;
    row.height = std::isfinite(height) && height > 0 ? std::max(kMinRowHeight, height) : kDefaultRowHeight;
    table->rows.insert(table->rows.begin() + at, static_cast<size_t>(rows.count), row);
    std::vector<TableCell> added;
    for (int32 i = 0; i < rows.count * table->ColumnCount(); ++i) added.push_back(NewCell(*db, *story, *table));
    table->cells.insert(table->cells.begin() + static_cast<std::ptrdiff_t>(at) * table->ColumnCount(), added.begin(), added.end());
    table->ResizeEdges(at, rows.count);
    Damage(before);
    return kSuccess;
}

ErrorCode TableCommands::ConvertToHeaderRows(const RowRange& rows)
{
    Table* table = GetTable();
    if (!table || rows.count < 1 || rows.start < 0) return kInvalidParameterError;
    if (rows.start + rows.count <= table->headerRowCount) return kSuccess;  // header rows already
    if (rows.start != table->headerRowCount || rows.count >= table->BodyRowCount()) return kInvalidParameterError;
    table->headerRowCount += rows.count;
    Damage();
    return kSuccess;
}

ErrorCode TableCommands::ConvertToFooterRows(const RowRange& rows)
{
    Table* table = GetTable();
    if (!table || rows.count < 1 || rows.start < 0 || rows.start + rows.count > table->RowCount()) return kInvalidParameterError;
    const int32 footerStart = table->RowCount() - table->footerRowCount;
    if (rows.start >= footerStart) return kSuccess;  // footer rows already
    if (rows.start + rows.count != footerStart || rows.count >= table->BodyRowCount()) return kInvalidParameterError;
    table->footerRowCount += rows.count;
    Damage();
    return kSuccess;
}

void RemoveTables(DataBase& db, Story& story, const std::vector<UID>& items)
{
    for (UID uid : items) {
        Table* table = db.Get<Table>(uid);
        if (!table) continue;
        for (const TableCell& cell : table->cells) RemoveCellText(db, story, cell.text);
        db.Delete(uid);
    }
}
