#include "TableComposer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "DataBase.h"
#include "Table.h"

namespace {

constexpr PMReal kEpsilon = 1e-6;

// The quarter turns counterclockwise of a cell's text: 0 to 3; a rotation that is no multiple of
// 90 degrees sets the text unturned.
int32 QuarterTurns(const TableCell& cell)
{
    const PMReal turns = cell.rotation / 90;
    const PMReal whole = std::round(turns);
    if (!std::isfinite(turns) || std::abs(turns - whole) > 1e-8) return 0;
    return static_cast<int32>(((static_cast<long long>(whole) % 4) + 4) % 4);
}

bool Sideways(const TableCell& cell) { return QuarterTurns(cell) % 2 == 1; }

// The cell's insets (left, top, right, bottom on the page) as its turned text sees them: before
// its lines, above them, after them, below them.
std::array<PMReal, 4> TextInsets(const TableCell& cell)
{
    const int32 turns = QuarterTurns(cell);
    std::array<PMReal, 4> insets{};
    for (int32 k = 0; k < 4; ++k) insets[static_cast<size_t>(k)] = cell.insets[(k + 4 - turns) % 4];
    return insets;
}

PMReal CellWidth(const Table& table, const TableCell& cell, int32 column)
{
    PMReal width = 0;
    for (int32 k = column; k < std::min(table.ColumnCount(), column + std::max(1, cell.columnSpan)); ++k)
        width += table.columns[static_cast<size_t>(k)].width;
    return width;
}

// The width the cell's lines are set in: across its columns less its insets; for text turned a
// quarter, along its rows: a fixed row's height, or as far as a row that grows may grow (the row
// then grows with the width of the text).
PMReal LineWidth(const Table& table, const TableCell& cell, int32 row, int32 column)
{
    const std::array<PMReal, 4> insets = TextInsets(cell);
    if (!Sideways(cell)) return CellWidth(table, cell, column) - insets[0] - insets[2];
    PMReal length = 0;
    for (int32 r = row; r < std::min(table.RowCount(), row + std::max(1, cell.rowSpan)); ++r) {
        const TableRow& tableRow = table.rows[static_cast<size_t>(r)];
        length += std::max<PMReal>(0, tableRow.autoGrow ? std::max(tableRow.maxHeight, tableRow.minHeight) : tableRow.height);
    }
    return length - insets[0] - insets[2];
}

// Sets the cell's text and moves its lines into the cell's frame of reference: indexes from its
// thread's start, x from the cell's (turned) text area's starting edge, baselines from the top of
// its text area.
ComposedCell SetCell(const TextRange& thread, const Table& table, const TableCell& cell, int32 row, int32 column,
                     const TableComposer::CellSetter& setCell)
{
    ComposedCell composed;
    composed.text = cell.text;
    composed.row = row;
    composed.column = column;
    composed.rotation = QuarterTurns(cell) * 90;
    const PMReal width = LineWidth(table, cell, row, column);
    if (thread.length <= 0 || !(width > kEpsilon)) return composed;
    composed.lines = setCell(thread, width, cell.firstLineRule, composed.contentHeight);
    const PMReal inset = TextInsets(cell)[0];
    for (ComposedLine& line : composed.lines) {
        composed.contentWidth = std::max(composed.contentWidth, line.left + line.width);
        line.start -= thread.start;
        line.left += inset;
        line.origin += inset;
        for (GlyphRun& run : line.runs) {
            run.start -= thread.start;
            run.x += inset;
        }
    }
    return composed;
}

// Marks the rows that hold together: a row kept with the next, and the rows of a merged cell.
void JoinRows(const Table& table, ComposedTable& composed)
{
    const int32 rows = table.RowCount();
    std::vector<char>& joinedBelow = composed.joinedBelow;
    joinedBelow.assign(static_cast<size_t>(rows), 0);
    for (int32 r = 0; r + 1 < rows; ++r)
        if (table.rows[static_cast<size_t>(r)].keepWithNext > 0) joinedBelow[static_cast<size_t>(r)] = 1;
    for (const ComposedCell& cell : composed.cells) {
        const int32 span = std::min(rows - cell.row, table.CellAt(GridAddress{cell.row, cell.column}).rowSpan);
        for (int32 r = cell.row; r < cell.row + span - 1; ++r) joinedBelow[static_cast<size_t>(r)] = 1;
    }
}

// Row heights: a fixed row keeps its own; one that grows takes its deepest cell of one row.
void SetRowHeights(const Table& table, ComposedTable& composed)
{
    const int32 rows = table.RowCount();
    std::vector<PMReal>& heights = composed.rowHeights;
    heights.assign(static_cast<size_t>(rows), 0);
    // How deep a cell's text reaches down its rows: its lines' depth, or for text turned a
    // quarter, the width of its longest line.
    auto cellDepth = [&](const ComposedCell& cell) {
        const TableCell& model = table.CellAt(GridAddress{cell.row, cell.column});
        return (Sideways(model) ? cell.contentWidth : cell.contentHeight) + model.insets[1] + model.insets[3];
    };
    auto limits = [&](int32 r, PMReal depth) {
        const TableRow& row = table.rows[static_cast<size_t>(r)];
        if (!row.autoGrow) return std::max<PMReal>(0, row.height);
        const PMReal low = std::max<PMReal>(0, row.minHeight);
        return std::clamp(depth, low, std::max(low, row.maxHeight));
    };
    std::vector<PMReal> depth(static_cast<size_t>(rows), 0);
    for (const ComposedCell& cell : composed.cells)
        if (table.CellAt(GridAddress{cell.row, cell.column}).rowSpan <= 1)
            depth[static_cast<size_t>(cell.row)] = std::max(depth[static_cast<size_t>(cell.row)], cellDepth(cell));
    for (int32 r = 0; r < rows; ++r) heights[static_cast<size_t>(r)] = limits(r, depth[static_cast<size_t>(r)]);
    // A merged cell deeper than its rows makes its last row that grows deeper.
    for (const ComposedCell& cell : composed.cells) {
        const int32 span = std::min(rows - cell.row, table.CellAt(GridAddress{cell.row, cell.column}).rowSpan);
        if (span <= 1) continue;
        PMReal have = 0;
        for (int32 r = cell.row; r < cell.row + span; ++r) have += heights[static_cast<size_t>(r)];
        const PMReal missing = cellDepth(cell) - have;
        if (missing <= kEpsilon) continue;
        for (int32 r = cell.row + span - 1; r >= cell.row; --r)
            if (table.rows[static_cast<size_t>(r)].autoGrow) {
                heights[static_cast<size_t>(r)] = limits(r, heights[static_cast<size_t>(r)] + missing);
                break;
            }
    }
}

// Stands each cell's lines where its vertical justification puts them, and notes the cells whose
// text is deeper than their rows.
void PlaceCellLines(const Table& table, ComposedTable& composed)
{
    const int32 rows = table.RowCount();
    const std::vector<PMReal>& heights = composed.rowHeights;
    for (ComposedCell& cell : composed.cells) {
        const TableCell& model = table.CellAt(GridAddress{cell.row, cell.column});
        const int32 span = std::clamp(model.rowSpan, 1, rows - cell.row);
        PMReal height = 0;
        for (int32 r = cell.row; r < cell.row + span; ++r) height += heights[static_cast<size_t>(r)];
        // Turned text stands across the cell: its lines go down the cell's width.
        const std::array<PMReal, 4> insets = TextInsets(model);
        const PMReal across = Sideways(model) ? CellWidth(table, model, cell.column) : height;
        const PMReal room = across - insets[1] - insets[3];
        cell.overset = cell.contentHeight > room + kEpsilon ||
                       (Sideways(model) && cell.contentWidth > height - model.insets[1] - model.insets[3] + kEpsilon);
        PMReal offset = insets[1];
        if (!cell.overset && model.verticalJustification == 1) offset += (room - cell.contentHeight) / 2;
        else if (!cell.overset && model.verticalJustification == 2) offset += room - cell.contentHeight;
        for (ComposedLine& line : cell.lines) line.baseline += offset;
    }
}

} // namespace

namespace TableComposer {

const Table* FindTable(const DataBase& db, const TextModel& model, int32 start, int32 end)
{
    const Table* found = nullptr;
    model.ForEachOwnedItem(start, end, [&](int32 index, UID item) {
        if (!found && model.GetChar(index) == kTextChar_Table) found = db.Get<Table>(item);
    });
    return found;
}

std::shared_ptr<ComposedTable> Compose(const DataBase& db, const TextModel& model, const Table& table, const CellSetter& setCell,
                                       const ThreadFinder& threadOf)
{
    auto composed = std::make_shared<ComposedTable>();
    composed->table = table.GetUID();
    const int32 rows = table.RowCount(), columns = table.ColumnCount();
    composed->columnLefts.assign(static_cast<size_t>(columns) + 1, 0);
    for (int32 c = 0; c < columns; ++c)
        composed->columnLefts[static_cast<size_t>(c) + 1] =
            composed->columnLefts[static_cast<size_t>(c)] + std::max<PMReal>(0, table.columns[static_cast<size_t>(c)].width);
    if (table.cells.size() != static_cast<size_t>(rows) * static_cast<size_t>(columns)) return composed;

    for (int32 r = 0; r < rows; ++r)
        for (int32 c = 0; c < columns; ++c) {
            const TableCell& cell = table.CellAt(GridAddress{r, c});
            if (cell.covered || cell.text == kInvalidUID) continue;
            composed->cellOf[cell.text] = composed->cells.size();
            composed->cells.push_back(SetCell(threadOf(cell.text), table, cell, r, c, setCell));
        }

    JoinRows(table, *composed);
    SetRowHeights(table, *composed);
    PlaceCellLines(table, *composed);
    return composed;
}

std::vector<ComposedLine> ComposeCell(const DataBase& db, const TextModel& model, const Table& table, UID text, const CellSetter& setCell)
{
    (void)db;
    const int32 columns = table.ColumnCount();
    GridAddress at;
    if (columns <= 0 || table.cells.size() != static_cast<size_t>(table.RowCount()) * static_cast<size_t>(columns) || !table.FindCell(text, at))
        return {};
    const TableCell& cell = table.CellAt(at);
    ComposedCell composed = SetCell(model.FindThread(text), table, cell, at.row, at.column, setCell);
    for (ComposedLine& line : composed.lines) line.baseline += TextInsets(cell)[1];
    return std::move(composed.lines);
}

Fit FitRows(const Table& table, const ComposedTable& composed, int32& next, PMReal room, bool columnEmpty)
{
    Fit fit;
    const int32 rows = std::min(table.RowCount(), static_cast<int32>(composed.rowHeights.size()));
    const int32 header = std::clamp(table.headerRowCount, 0, rows);
    const int32 bodyEnd = std::max(header, rows - std::clamp(table.footerRowCount, 0, rows));
    auto heightOf = [&](int32 r) { return composed.rowHeights[static_cast<size_t>(r)]; };
    PMReal headerHeight = 0, footerHeight = 0;
    for (int32 r = 0; r < header; ++r) headerHeight += heightOf(r);
    for (int32 r = bodyEnd; r < rows; ++r) footerHeight += heightOf(r);
    next = std::clamp(next, header, bodyEnd);

    // The body rows from `from` that hold together: a row kept with the next, or a merged cell
    // that reaches into the next, takes the next along.
    auto blockEnd = [&](int32 from) {
        int32 end = from + 1;
        while (end < bodyEnd && static_cast<size_t>(end - 1) < composed.joinedBelow.size() && composed.joinedBelow[static_cast<size_t>(end - 1)]) ++end;
        return std::min(end, bodyEnd);
    };

    PMReal height = headerHeight;
    int32 end = next;
    while (end < bodyEnd) {
        const int32 blockStop = blockEnd(end);
        PMReal block = 0;
        for (int32 r = end; r < blockStop; ++r) block += heightOf(r);
        if (height + block + footerHeight > room + kEpsilon) break;
        height += block;
        end = blockStop;
    }
    const bool empty = end == next && next < bodyEnd;
    if (empty && !columnEmpty) return fit;  // nothing fits below the text: the next column
    if (empty) {
        // A block deeper than a whole column stands alone, cut at the foot.
        end = blockEnd(next);
        PMReal block = 0;
        for (int32 r = next; r < end; ++r) block += heightOf(r);
        for (int32 r = next; r < end; ++r) fit.rows.push_back(r);
        fit.height = std::max<PMReal>(0, std::min(block, room));
        fit.clipped = block > room + kEpsilon;
        next = end;
        return fit;
    }
    if (next >= bodyEnd && !columnEmpty && headerHeight + footerHeight > room + kEpsilon) return fit;  // a table of no body rows
    for (int32 r = 0; r < header; ++r) fit.rows.push_back(r);
    for (int32 r = next; r < end; ++r) fit.rows.push_back(r);
    for (int32 r = bodyEnd; r < rows; ++r) fit.rows.push_back(r);
    fit.height = height + footerHeight;
    if (fit.height > room + kEpsilon) {  // header and footer rows alone deeper than the column
        fit.height = std::max<PMReal>(0, room);
        fit.clipped = true;
    }
    next = end;
    return fit;
}

} // namespace TableComposer
