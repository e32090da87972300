// TableComposer: the room a table takes where its story is composed.
//
// A table sits alone in its paragraph, on the line of its table character; the composer makes
// that line as tall as the table, so the text after it, the overflow and the frame that holds
// each character stay right. Row heights: a fixed row keeps its height; a row that grows with
// its content is as tall as its tallest cell's text (estimated from the cell's paragraphs at
// their point size with auto leading, wrapped at an average character width of half an em),
// within its minimum and maximum.
// Not yet: rows that break across columns and frames, and header and footer rows repeated
// after a break; a table taller than its column is cut at the column's foot.
#pragma once

#include <vector>

#include "FrameList.h"

class DataBase;
class Table;
class TextModel;

namespace TableComposer {
// The table anchored in [start, end) of `model`; null when none is.
const Table* FindTable(const DataBase& db, const TextModel& model, int32 start, int32 end);
// The height of each row of `table` as set.
std::vector<PMReal> RowHeights(const DataBase& db, const TextModel& model, const Table& table);
// When `line` holds a table character, makes it as tall as the table (at most `columnHeight`):
// its baseline comes below the table, which stands `line.ascent` above it.
void ReserveSpace(const DataBase& db, const TextModel& model, PMReal columnHeight, ComposedLine& line);
}
