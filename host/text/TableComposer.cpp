#include "TableComposer.h"

#include <algorithm>
#include <cmath>

#include "DataBase.h"
#include "StyleUtils.h"
#include "Table.h"
#include "TextModel.h"

namespace {

constexpr PMReal kDefaultPointSize = 12;
constexpr PMReal kAutoLeadingFactor = 1.2;
constexpr PMReal kAverageCharWidth = 0.5;  // of an em

PMReal PointSizeAt(const DataBase& db, const TextModel& model, int32 index)
{
    for (const TextFormat* format : {model.GetCharacterFormat(index), model.GetParagraphFormat(index)}) {
        if (!format) continue;
        if (const PMReal* size = format->overrides.Get<PMReal>(TextAttribute::kPointSize)) return *size;
        if (const AttributeValue* value = StyleUtils::GetInheritedAttribute(db, format->style, TextAttribute::kPointSize))
            if (const PMReal* size = std::get_if<PMReal>(value)) return *size;
    }
    return kDefaultPointSize;
}

// The height of the text of `thread` set `width` wide.
PMReal TextHeight(const DataBase& db, const TextModel& model, const TextRange& thread, PMReal width)
{
    PMReal height = 0;
    model.ForEachParagraph(thread.start, thread.End(), [&](int32 start, int32 length, const TextFormat& paragraph) {
        PMReal size = PointSizeAt(db, model, start);
        if (!(size > 0) || !std::isfinite(size)) size = kDefaultPointSize;
        PMReal leading = size * kAutoLeadingFactor;
        if (const PMReal* value = paragraph.overrides.Get<PMReal>(TextAttribute::kLeading); value && *value > 0) leading = *value;
        const int32 characters = std::max(0, length - 1);
        const PMReal textWidth = characters * kAverageCharWidth * size;
        const int32 lines = width > 1 ? std::max(1, static_cast<int32>(std::ceil(textWidth / width))) : 1;
        height += lines * leading;
    });
    return height;
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

std::vector<PMReal> RowHeights(const DataBase& db, const TextModel& model, const Table& table)
{
    std::vector<PMReal> heights;
    for (int32 r = 0; r < table.RowCount(); ++r) {
        const TableRow& row = table.rows[static_cast<size_t>(r)];
        if (!row.autoGrow) {
            heights.push_back(row.height);
            continue;
        }
        PMReal content = 0;
        for (int32 c = 0; c < table.ColumnCount(); ++c) {
            const TableCell& cell = table.CellAt(GridAddress{r, c});
            if (cell.covered || cell.rowSpan > 1) continue;
            PMReal width = 0;
            for (int32 k = c; k < std::min(table.ColumnCount(), c + std::max(1, cell.columnSpan)); ++k)
                width += table.columns[static_cast<size_t>(k)].width;
            const TextRange thread = model.FindThread(cell.text);
            const PMReal text = thread.length > 0 ? TextHeight(db, model, thread, width - cell.insets[0] - cell.insets[2]) : 0;
            content = std::max(content, text + cell.insets[1] + cell.insets[3]);
        }
        heights.push_back(std::clamp(content, row.minHeight, std::max(row.minHeight, row.maxHeight)));
    }
    return heights;
}

void ReserveSpace(const DataBase& db, const TextModel& model, PMReal columnHeight, ComposedLine& line)
{
    const Table* table = FindTable(db, model, line.start, line.End());
    if (!table) return;
    PMReal height = 0;
    for (PMReal row : RowHeights(db, model, *table)) height += row;
    height = std::min(height, std::max<PMReal>(0, columnHeight));
    line.leading = line.descent + std::max<PMReal>(0, table->spaceBefore) + height;
    line.ascent = height;
    line.descent = std::max<PMReal>(0, table->spaceAfter);
    line.width = table->Width();
}

} // namespace TableComposer
