// IdmlTableWriter: a table of a story as IDML keeps it: a <Table> with its header, body and
// footer row counts, its <Row> and <Column> sizes and one <Cell Name="column:row"> per cell that
// is not covered by a merged one (with RowSpan and ColumnSpan), each with its insets, fill,
// rotation, vertical justification, edge strokes and text.
#pragma once

#include <functional>

#include "IdmlXml.h"
#include "TextModel.h"

class IdmlContext;
class Table;

class IdmlTableWriter {
public:
    // Writes the paragraphs of a cell's thread into its <Cell>.
    using ThreadWriter = std::function<void(const TextRange& thread, pugi::xml_node cell)>;
    static void Write(IdmlContext& context, const TextModel& model, const Table& table, pugi::xml_node parent,
                      const ThreadWriter& writeThread);
};
