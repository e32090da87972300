#include "IdmlTableWriter.h"

#include <algorithm>
#include <string>

#include "IdmlCatalog.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "Table.h"

namespace {

// IDML's limits on a table's sections and columns.
constexpr int32 kMaxHeaderRows = 25;
constexpr int32 kMaxColumns = 200;

std::string SwatchOr(const IdmlCatalog& catalog, UID swatch, const char* fallback)
{
    std::string ref = swatch != kInvalidUID ? catalog.SwatchRef(swatch) : std::string();
    return ref.empty() ? fallback : ref;
}

void WriteEdge(const IdmlCatalog& catalog, pugi::xml_node cell, const char* edge, const TableStroke& stroke)
{
    const std::string prefix(edge);
    IdmlXml::SetReal(cell, (prefix + "StrokeWeight").c_str(), stroke.weight);
    IdmlXml::SetText(cell, (prefix + "StrokeType").c_str(), stroke.type == kStrokeTypeDouble ? IdmlIds::kStrokeThinThin : IdmlIds::kStrokeSolid);
    IdmlXml::SetText(cell, (prefix + "StrokeColor").c_str(), SwatchOr(catalog, stroke.color, IdmlIds::kColorBlack));
    IdmlXml::SetReal(cell, (prefix + "StrokeTint").c_str(), std::clamp<PMReal>(stroke.tint, 0, 100));
}

const char* Justification(int32 value)
{
    switch (value) {
    case 1: return "CenterAlign";
    case 2: return "BottomAlign";
    case 3: return "JustifyAlign";
    default: return "TopAlign";
    }
}

const char* FirstBaseline(int32 rule)
{
    switch (rule) {
    case 1: return "CapHeight";
    case 2: return "LeadingOffset";
    default: return "AscentOffset";
    }
}

// The alternating fills of the table's body rows or columns, when it has them.
void WriteAlternatingFill(const IdmlCatalog& catalog, const Table& table, pugi::xml_node element)
{
    const bool byColumns = table.alternatingPattern == 1;
    const TableAlternatingFill& fill = byColumns ? table.columnFill : table.rowFill;
    if (table.alternatingPattern < 0 || fill.firstCount <= 0) return;
    const char* kind = byColumns ? "Column" : "Row";
    auto set = [&](const char* start, const char* what, auto value, auto setter) {
        setter(element, (std::string(start) + kind + "Fill" + what).c_str(), value);
    };
    set("Start", "Color", SwatchOr(catalog, fill.firstColor, IdmlIds::kSwatchNone), [](pugi::xml_node e, const char* n, const std::string& v) { IdmlXml::SetText(e, n, v); });
    set("Start", "Count", fill.firstCount, [](pugi::xml_node e, const char* n, int32 v) { IdmlXml::SetInteger(e, n, v); });
    set("Start", "Tint", fill.firstTint, [](pugi::xml_node e, const char* n, PMReal v) { IdmlXml::SetReal(e, n, v); });
    set("End", "Color", SwatchOr(catalog, fill.nextColor, IdmlIds::kSwatchNone), [](pugi::xml_node e, const char* n, const std::string& v) { IdmlXml::SetText(e, n, v); });
    set("End", "Count", fill.nextCount, [](pugi::xml_node e, const char* n, int32 v) { IdmlXml::SetInteger(e, n, v); });
    set("End", "Tint", fill.nextTint, [](pugi::xml_node e, const char* n, PMReal v) { IdmlXml::SetReal(e, n, v); });
}

// A <Row> per row and a <Column> per column (IDML's limit on columns kept).
void WriteRowsAndColumns(const Table& table, const std::string& self, pugi::xml_node element)
{
    const int32 rows = table.RowCount(), columns = table.ColumnCount();
    for (int32 r = 0; r < rows; ++r) {
        const TableRow& row = table.rows[static_cast<size_t>(r)];
        pugi::xml_node rowElement = element.append_child("Row");
        IdmlXml::SetText(rowElement, "Self", self + "Row" + std::to_string(r));
        IdmlXml::SetText(rowElement, "Name", std::to_string(r));
        IdmlXml::SetReal(rowElement, "SingleRowHeight", row.height);
        if (row.autoGrow) {
            IdmlXml::SetReal(rowElement, "MinimumHeight", std::max<PMReal>(row.minHeight, 0));
            IdmlXml::SetReal(rowElement, "MaximumHeight", std::max(row.maxHeight, row.minHeight));
        } else {
            IdmlXml::SetReal(rowElement, "MinimumHeight", row.height);
            IdmlXml::SetReal(rowElement, "MaximumHeight", row.height);
        }
        IdmlXml::SetBool(rowElement, "AutoGrow", row.autoGrow);
        IdmlXml::SetBool(rowElement, "KeepWithNextRow", row.keepWithNext != 0);
    }
    for (int32 c = 0; c < std::min(columns, kMaxColumns); ++c) {
        pugi::xml_node columnElement = element.append_child("Column");
        IdmlXml::SetText(columnElement, "Self", self + "Column" + std::to_string(c));
        IdmlXml::SetText(columnElement, "Name", std::to_string(c));
        IdmlXml::SetReal(columnElement, "SingleColumnWidth", table.columns[static_cast<size_t>(c)].width);
    }
}

// The <Cell> of the cell at row `r`, column `c`, that no merged cell covers, with its text.
void WriteCell(const IdmlCatalog& catalog, const TextModel& model, const Table& table, int32 r, int32 c, const std::string& self,
               pugi::xml_node element, const IdmlTableWriter::ThreadWriter& writeThread)
{
    const int32 rows = table.RowCount(), columns = table.ColumnCount();
    const TableCell& cell = table.CellAt(GridAddress{r, c});
    const int32 rowSpan = std::max(1, cell.rowSpan), columnSpan = std::max(1, std::min(cell.columnSpan, kMaxColumns - c));
    pugi::xml_node cellElement = element.append_child("Cell");
    const std::string name = std::to_string(c) + ":" + std::to_string(r);
    IdmlXml::SetText(cellElement, "Self", self + "i" + std::to_string(c) + "i" + std::to_string(r));
    IdmlXml::SetText(cellElement, "Name", name);
    IdmlXml::SetInteger(cellElement, "RowSpan", rowSpan);
    IdmlXml::SetInteger(cellElement, "ColumnSpan", columnSpan);
    IdmlXml::SetReal(cellElement, "TopInset", cell.insets[1]);
    IdmlXml::SetReal(cellElement, "LeftInset", cell.insets[0]);
    IdmlXml::SetReal(cellElement, "BottomInset", cell.insets[3]);
    IdmlXml::SetReal(cellElement, "RightInset", cell.insets[2]);
    if (cell.fillColor != kInvalidUID) IdmlXml::SetText(cellElement, "FillColor", SwatchOr(catalog, cell.fillColor, IdmlIds::kSwatchNone));
    if (cell.fillTint >= 0) IdmlXml::SetReal(cellElement, "FillTint", cell.fillTint);
    IdmlXml::SetText(cellElement, "FirstBaselineOffset", FirstBaseline(cell.firstLineRule));
    IdmlXml::SetText(cellElement, "VerticalJustification", Justification(cell.verticalJustification));
    IdmlXml::SetReal(cellElement, "RotationAngle", cell.rotation);
    // The merged cell's edges are those of the grid around its span.
    WriteEdge(catalog, cellElement, "LeftEdge", table.ColumnEdge(r, c));
    WriteEdge(catalog, cellElement, "TopEdge", table.RowEdge(r, c));
    WriteEdge(catalog, cellElement, "RightEdge", table.ColumnEdge(r, std::min(c + columnSpan, columns)));
    WriteEdge(catalog, cellElement, "BottomEdge", table.RowEdge(std::min(r + rowSpan, rows), c));
    IdmlXml::SetText(cellElement, "AppliedCellStyle", IdmlIds::kNoCellStyle);
    const TextRange thread = model.FindThread(cell.text);
    if (thread.length > 0) writeThread(thread, cellElement);
}

} // namespace

void IdmlTableWriter::Write(IdmlContext& context, const TextModel& model, const Table& table, pugi::xml_node parent,
                            const ThreadWriter& writeThread)
{
    const IdmlCatalog& catalog = context.GetCatalog();
    const int32 rows = table.RowCount(), columns = table.ColumnCount();
    if (rows < 1 || columns < 1 || table.BodyRowCount() < 1) return;
    const std::string self = IdmlIds::ForUID(table.GetUID());
    pugi::xml_node element = parent.append_child("Table");
    IdmlXml::SetText(element, "Self", self);
    IdmlXml::SetInteger(element, "HeaderRowCount", std::min(table.headerRowCount, kMaxHeaderRows));
    IdmlXml::SetInteger(element, "FooterRowCount", std::min(table.footerRowCount, kMaxHeaderRows));
    IdmlXml::SetInteger(element, "BodyRowCount", table.BodyRowCount());
    IdmlXml::SetInteger(element, "ColumnCount", std::min(columns, kMaxColumns));
    IdmlXml::SetReal(element, "SpaceBefore", table.spaceBefore);
    IdmlXml::SetReal(element, "SpaceAfter", table.spaceAfter);
    WriteAlternatingFill(catalog, table, element);
    IdmlXml::SetText(element, "AppliedTableStyle", IdmlIds::kBasicTableStyle);
    IdmlXml::SetText(element, "TableDirection", "LeftToRightDirection");

    WriteRowsAndColumns(table, self, element);
    for (int32 r = 0; r < rows; ++r)
        for (int32 c = 0; c < std::min(columns, kMaxColumns); ++c)
            if (!table.CellAt(GridAddress{r, c}).covered) WriteCell(catalog, model, table, r, c, self, element, writeThread);
}
