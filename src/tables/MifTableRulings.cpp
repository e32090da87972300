#include "tables/MifTableRulings.h"

#include <algorithm>
#include <cmath>

#include "DataBase.h"
#include "InterfacePtr.h"
#include "SwatchUtils.h"
#include "Table.h"
#include "TableCommands.h"

#include "base/MifAssertLog.h"
#include "catalogs/IMifColorImporter.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "tables/MifTableFormat.h"

namespace {

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
        return std::isfinite(value) && value > 0 && value < MifTableFormat::kMaxLength ? value : 0.0;
    };
    pen.width = length(kMifRulingPenWidth);
    pen.gap = length(kMifRulingGap);
    const MifProp* lines = ruling->FindProp(kMifRulingLines);
    pen.lines = lines && MifIsIntegerType(lines->type) ? lines->value.id : 1;
    pen.color = MifTableFormat::StringOf(ruling->FindProp(kMifRulingColor));
    return true;
}

} // namespace

MifTableRulings::MifTableRulings(const IPMUnknown* importObject, const MifObject* mifRoot, const UIDRef& table)
    : mImportObject(importObject), mMifRoot(mifRoot), mTable(table),
      mNoneSwatch(table.GetDataBase() ? SwatchUtils::GetNoneSwatch(*table.GetDataBase()) : kInvalidUID)
{
}

double MifTableRulings::FillToTint(int32 fill)
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

const Table* MifTableRulings::Model() const
{
    const Table* model = MifTableFormat::TableOf(mTable);
    if (!model) MIF_LOG_NIL(model);
    return model;
}

CellStrokeRecord MifTableRulings::RulingToStroke(const PMString& rulingTag, int32 sides) const
{
    CellStrokeRecord stroke;
    stroke.sides = sides;
    RulingPen pen;
    // "None", the empty tag (MIF's "no ruling") and a ruling of no lines draw nothing.
    const bool none = rulingTag.IsEmpty() || rulingTag == PMString("None");
    const bool found = !none && FindRuling(mMifRoot, rulingTag, pen);
    if (none || (found && pen.lines == 0)) {
        stroke.mask = CellStrokeRecord::kWeight | CellStrokeRecord::kColor;
        stroke.weight = 0;
        stroke.color = mNoneSwatch;
        return stroke;
    }
    if (!found) {
        stroke.mask = CellStrokeRecord::kWeight;
        stroke.weight = 0;
        return stroke;
    }
    const double width = pen.width > MifTableFormat::kEpsilon ? pen.width : kHairline;
    if (pen.lines == 2) {
        stroke.strokeType = kStrokeTypeDouble;
        stroke.weight = width + pen.gap;
    } else {
        stroke.strokeType = kStrokeTypeSolid;
        stroke.weight = width;
    }
    stroke.mask = CellStrokeRecord::kWeight | CellStrokeRecord::kType;
    if (pen.color && !pen.color->IsEmpty()) {
        InterfacePtr<IMifColorImporter> colorImporter(mImportObject, IID_IMIFCOLORIMPORTER);
        const UID colorUID = colorImporter ? colorImporter->GetColorUID(*pen.color) : kInvalidUID;
        if (colorUID != kInvalidUID) {
            stroke.color = colorUID;
            stroke.mask |= CellStrokeRecord::kColor;
        }
    }
    return stroke;
}

void MifTableRulings::ClearRulings()
{
    const Table* model = Model();
    if (!model) return;
    CellStrokeRecord none = RulingToStroke(PMString("None"));
    none.sides = CellStrokeRecord::kTop | CellStrokeRecord::kBottom;
    for (int32 row = 0; row < model->RowCount(); ++row) ApplyStrokes(GridArea(row, 0, row + 1, model->ColumnCount()), none);
    none.sides = CellStrokeRecord::kLeft | CellStrokeRecord::kRight;
    for (int32 column = 0; column < model->ColumnCount(); ++column) ApplyStrokes(GridArea(0, column, model->RowCount(), column + 1), none);
}

void MifTableRulings::ApplyStrokes(const GridArea& area, const CellStrokeRecord& stroke) const
{
    if (stroke.sides == 0 || area.IsEmpty()) return;
    TableCommands tableCommands(mTable);
    if (tableCommands.ApplyCellStrokes(area, stroke) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyCellStrokes(area, stroke));
}

UID MifTableRulings::ColorOrNone(const MifTableFormat& format, int32 id) const
{
    const PMString* name = format.GetString(id);
    if (!name || name->IsEmpty()) return mNoneSwatch;
    InterfacePtr<IMifColorImporter> colorImporter(mImportObject, IID_IMIFCOLORIMPORTER);
    if (!colorImporter) {
        MIF_LOG_NIL(colorImporter);
        return mNoneSwatch;
    }
    const UID colorUID = colorImporter->GetColorUID(*name);
    return colorUID != kInvalidUID ? colorUID : mNoneSwatch;
}

void MifTableRulings::ApplyHeaderFooterFormat(const MifTableFormat& format)
{
    const Table* model = Model();
    if (!model) return;
    if (const PMString* separator = format.GetString(kMifTblSeparatorRuling); separator && !separator->IsEmpty()) {
        CellStrokeRecord stroke = RulingToStroke(*separator);
        if (model->headerRowCount > 0) {
            stroke.sides = CellStrokeRecord::kBottom;
            ApplyStrokes(model->GetHeaderArea(), stroke);
        }
        if (model->footerRowCount > 0) {
            stroke.sides = CellStrokeRecord::kTop;
            ApplyStrokes(model->GetFooterArea(), stroke);
        }
    }
    TableAttributeList attributes;
    if (const PMString* color = format.GetString(kMifTblHFColor); color && !color->IsEmpty()) {
        InterfacePtr<IMifColorImporter> colorImporter(mImportObject, IID_IMIFCOLORIMPORTER);
        const UID colorUID = colorImporter ? colorImporter->GetColorUID(*color) : kInvalidUID;
        if (colorUID == kInvalidUID) MIF_LOG_FALSE(colorUID != kInvalidUID);
        else attributes.ApplyAttribute(TableAttribute::kCellFillColor, colorUID);
    }
    int32 fill = 0;
    if (format.GetInt(kMifTblHFFill, fill)) attributes.ApplyAttribute(TableAttribute::kCellFillTint, FillToTint(fill));
    if (attributes.IsEmpty()) return;
    TableCommands tableCommands(mTable);
    for (const GridArea& area : {model->GetHeaderArea(), model->GetFooterArea()})
        if (!area.IsEmpty() && tableCommands.ApplyCellOverrides(area, attributes) != kSuccess)
            MIF_LOG_ERROR(tableCommands.ApplyCellOverrides(area, attributes));
}

void MifTableRulings::ApplyBodyShading(const MifTableFormat& format)
{
    const Table* model = Model();
    if (!model) return;
    const MifProp* byColumnProp = format.Find(kMifTblShadeByColumn);
    const bool byColumn = byColumnProp && byColumnProp->type == kMifTypeBool && byColumnProp->value.boolean != 0;
    TableAttributeList attributes;
    attributes.ApplyAttribute(TableAttribute::kAltFillPattern, int32(byColumn ? 1 : 0));
    int32 firstCount = 0, nextCount = 0, firstFill = 0, nextFill = 0;
    // Without a period the count stays as it was: FrameMaker always writes both.
    if (format.GetInt(kMifTblShadePeriod, firstCount))
        attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnFirstCount : TableAttribute::kAltRowFirstCount, std::max(0, firstCount));
    if (format.GetInt(kMifTblAltShadePeriod, nextCount))
        attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnNextCount : TableAttribute::kAltRowNextCount, std::max(0, nextCount));
    attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnFirstColor : TableAttribute::kAltRowFirstColor, ColorOrNone(format, kMifTblBodyColor));
    attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnNextColor : TableAttribute::kAltRowNextColor, ColorOrNone(format, kMifTblXColor));
    if (!format.GetInt(kMifTblBodyFill, firstFill)) firstFill = 0;
    if (!format.GetInt(kMifTblXFill, nextFill)) nextFill = 0;
    attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnFirstTint : TableAttribute::kAltRowFirstTint, FillToTint(firstFill));
    attributes.ApplyAttribute(byColumn ? TableAttribute::kAltColumnNextTint : TableAttribute::kAltRowNextTint, FillToTint(nextFill));
    TableCommands tableCommands(mTable);
    if (tableCommands.ApplyTableOverrides(attributes) != kSuccess) MIF_LOG_ERROR(tableCommands.ApplyTableOverrides(attributes));

    // Block size: the first and the last n body rows hold together.
    int32 n = 1;
    if (!format.GetInt(kMifTblBlockSize, n)) n = 1;
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
void MifTableRulings::ApplyTableRulings(const MifTableFormat& format)
{
    const Table* model = Model();
    if (!model) return;
    const int32 columns = model->ColumnCount();
    const GridArea body = model->GetBodyArea();
    auto rowArea = [&](int32 row) { return GridArea(row, 0, row + 1, columns); };
    // 1. Body rows.
    if (const PMString* bodyRuling = format.GetString(kMifTblBodyRowRuling)) {
        const CellStrokeRecord data = RulingToStroke(*bodyRuling, CellStrokeRecord::kBottom);
        const PMString* xRuling = format.GetString(kMifTblXRowRuling);
        const CellStrokeRecord xdata = xRuling ? RulingToStroke(*xRuling, CellStrokeRecord::kBottom) : CellStrokeRecord();
        int32 period = 0;
        if (format.GetInt(kMifTblRulingPeriod, period) && period > 0)
            for (int32 i = 0; body.top + i < body.bottom - 1; ++i) ApplyStrokes(rowArea(body.top + i), ((i + 1) % period) == 0 ? xdata : data);
    }
    // 2. Header and footer rows.
    if (const PMString* hfRuling = format.GetString(kMifTblHFRowRuling); hfRuling && !hfRuling->IsEmpty()) {
        const CellStrokeRecord data = RulingToStroke(*hfRuling, CellStrokeRecord::kBottom);
        for (int32 r = 0; r + 1 < model->headerRowCount; ++r) ApplyStrokes(rowArea(r), data);
        const int32 footerStart = model->RowCount() - model->footerRowCount;
        for (int32 r = footerStart; r + 1 < model->RowCount(); ++r) ApplyStrokes(rowArea(r), data);
        if (model->headerRowCount > 0) {
            CellStrokeRecord top = data;
            top.sides = CellStrokeRecord::kTop;
            ApplyStrokes(rowArea(body.top), top);
        }
        if (model->footerRowCount > 0) ApplyStrokes(rowArea(body.bottom - 1), data);
    }
    // 3. Columns.
    if (const PMString* columnRuling = format.GetString(kMifTblColumnRuling); columnRuling && !columnRuling->IsEmpty()) {
        const CellStrokeRecord data = RulingToStroke(*columnRuling, CellStrokeRecord::kRight);
        const PMString* xRuling = format.GetString(kMifTblXColumnRuling);
        const CellStrokeRecord xdata = xRuling ? RulingToStroke(*xRuling, CellStrokeRecord::kRight) : CellStrokeRecord();
        int32 xColumnNum = 0;
        const int32 xcolumn = format.GetInt(kMifTblXColumnNum, xColumnNum) && xColumnNum >= 1 ? xColumnNum - 1 : -1;
        for (int32 c = 0; c + 1 < columns; ++c)
            ApplyStrokes(GridArea(0, c, model->RowCount(), c + 1), c == xcolumn ? xdata : data);
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
        if (const PMString* ruling = format.GetString(edge.id); ruling && !ruling->IsEmpty()) {
            ApplyStrokes(model->GetTotalArea(), RulingToStroke(*ruling, edge.side));
        }
}

void MifTableRulings::ApplyCellRulings(const MifObject& cell, const std::map<GridAddress, const MifObject*>& cells, int32 row, int32 column,
                                       int32 rows, int32 columns)
{
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
        const PMString* ruling = MifTableFormat::StringOf(cell.FindProp(side.own));
        if (!ruling) continue;
        const CellStrokeRecord stroke = RulingToStroke(*ruling, side.side);
        auto neighbour = cells.find(side.neighbour);
        const PMString* facing = neighbour != cells.end() && neighbour->second ? MifTableFormat::StringOf(neighbour->second->FindProp(side.facing)) : nullptr;
        // The heavier of the two rulings on a shared edge wins, whichever cell comes first.
        if (facing && stroke.weight < RulingToStroke(*facing).weight - MifTableFormat::kEpsilon) continue;
        // Along the whole straddle: its edges are those of the merged cell.
        ApplyStrokes(GridArea(row, column, row + rows, column + columns), stroke);
    }
}
