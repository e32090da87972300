// TableComposer: tables where their story is composed.
//
// A table sits alone in its paragraph, on the line of its table character. When the composer
// reaches that line it sets the table once: every cell's text is set by the story's own line
// breaker across the cell's width less its insets, a row that grows with its content is as
// tall as its tallest cell (within its minimum and maximum; a merged cell's excess goes to its
// last row), and each cell's lines are placed by its vertical justification. Then the rows go
// into the columns of the thread: as many as fit in each column, never splitting a row, a merged
// cell's rows or rows kept with the next; the header rows head every part and the footer rows
// foot it. A row deeper than a whole column stands alone in a column of its own, cut at the
// column's foot (as FrameMaker shows it), so the text after it goes on. A cell turned a quarter
// (90 or 270 degrees) sets its lines along its rows, as long as a fixed row is high or a growing
// row may grow, and its row grows with the width of its text; a cell turned half sets them as an
// unturned one. Turned lines stay in the turned text area's own coordinates (ComposedCell).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "FrameList.h"
#include "TextModel.h"

class DataBase;
class Table;

namespace TableComposer {
// The table anchored in [start, end) of `model`; null when none is.
const Table* FindTable(const DataBase& db, const TextModel& model, int32 start, int32 end);

// Sets the text of `thread` in a column `width` wide from its top, the first baseline placed by
// `firstLineRule` (0 ascent, 1 cap height, 2 leading); the lines (story indexes, x from the
// column's left, baselines from its top) and how deep they reach.
using CellSetter = std::function<std::vector<ComposedLine>(const TextRange& thread, PMReal width, int32 firstLineRule, PMReal& height)>;

// The thread a cell's text owns (TextModel::FindThread).
using ThreadFinder = std::function<TextRange(UID text)>;

// Sets `table`: its cells' lines, its row heights and column offsets.
std::shared_ptr<ComposedTable> Compose(const DataBase& db, const TextModel& model, const Table& table, const CellSetter& setCell,
                                       const ThreadFinder& threadOf);

// The lines of the cell whose thread is `thread` (owned by `text`) as `Compose` sets them, the
// cell's own row heights aside (for questions about one cell's lines while its table is built).
std::vector<ComposedLine> ComposeCell(const DataBase& db, const TextModel& model, const Table& table, UID text, const CellSetter& setCell);

// The rows of the part that goes into a column: `next` is the first row not placed yet (0 for
// the table's first part), `room` the depth left in the column, `columnEmpty` whether the column
// holds nothing above. No rows when nothing fits (the part goes to the next column); `next` then
// stays, else it moves past the rows placed.
struct Fit {
    std::vector<int32> rows;
    PMReal height = 0;
    bool clipped = false;  // one block deeper than the whole column, cut at its foot
};
Fit FitRows(const Table& table, const ComposedTable& composed, int32& next, PMReal room, bool columnEmpty);
}
