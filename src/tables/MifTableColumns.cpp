#include "tables/MifTableColumns.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "DataBase.h"
#include "Table.h"
#include "TableCommands.h"
#include "TextFrame.h"

#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "content/IMifTextModelUtils.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "tables/IMifTableUtils.h"
#include "tables/MifTableFormat.h"

namespace {

constexpr double kEpsilon = MifTableFormat::kEpsilon;
constexpr double kMaxLength = MifTableFormat::kMaxLength;


} // namespace

bool MifTableColumns::ReadHint(const MifProp& prop, Hint& hint)
{
    hint.line = prop.line;
    if (prop.id == kMifTblColumnWidth && prop.type == kMifTypeDim) {
        hint.kind = Hint::kFixed;
        hint.width = prop.value.dim[0];
    } else if (prop.id == kMifTblColumnWidthA && MifDimCount(prop.type) >= 2) {
        hint.kind = Hint::kShrinkWrap;
        hint.width = prop.value.dim[0];
        hint.maximum = prop.value.dim[1];
    } else if (prop.id == kMifTblColumnWidthP && MifIsIntegerType(prop.type)) {
        hint.kind = Hint::kProportional;
        hint.share = prop.value.id;
    }
    return hint.kind != Hint::kNone;
}

void MifTableColumns::Read(const MifObject& tbl, int32 columns, const UIDRef& story, int32 textIndex, const MifProblemReporter& report)
{
    mStory = story;
    mTextIndex = textIndex;
    mLine = tbl.line;
    mHints.assign(static_cast<size_t>(std::max(0, columns)), Hint());
    // The Tbl's own width statements, the k-th for column k, whatever their kind.
    int32 k = 0;
    for (const MifProp* prop : tbl.props) {
        if (!prop) break;
        Hint hint;
        if (!ReadHint(*prop, hint)) continue;
        const int32 column = k++;
        if (column >= columns) {
            report({prop->line, "Table import: a TblColumnWidth for a column the table does not have is passed over", MifTableFormat::Number(column + 1)});
            continue;
        }
        mHints[static_cast<size_t>(column)] = hint;
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
        if (column < 0 || column >= columns || mHints[static_cast<size_t>(column)].kind != Hint::kNone) continue;
        for (const MifProp* prop : tblColumn.props) {
            if (!prop) break;
            if (Hint hint; ReadHint(*prop, hint)) {
                mHints[static_cast<size_t>(column)] = hint;
                break;
            }
        }
    }
}

void MifTableColumns::ResizeFixed(const UIDRef& table, const MifProblemReporter& report) const
{
    for (size_t column = 0; column < mHints.size(); ++column) {
        const Hint& hint = mHints[column];
        if (hint.kind != Hint::kFixed) continue;
        if (!(hint.width > kEpsilon)) {  // the new table's width stands
            report({hint.line, "OV#0xB40#kMifColumnWidthOfNoLengthKey", PMString()});
            continue;
        }
        if (!MifTableFormat::IsLength(hint.width)) {
            report({hint.line, "Table import: a column width no page can hold is passed over", PMString()});
            continue;
        }
        Resize(table, static_cast<int32>(column), hint.width);
    }
}

void MifTableColumns::Resize(const UIDRef& table, int32 column, double width)
{
    if (!MifTableFormat::IsLength(width)) return;
    auto resizeCmd = std::make_shared<ResizeColumnsCmd>();
    resizeCmd->realNumberData = width;
    resizeCmd->rowColumnRangeData = RowRange{column, 1};
    MIF_RUN_COMMAND(resizeCmd, UIDList(table));
}

void MifTableColumns::SizeHinted(const UIDRef& table, const MifTableFormat& format, const std::map<GridAddress, const MifObject*>& cells,
                                 const MifProblemReporter& report) const
{
    const Table* model = MifTableFormat::TableOf(table);
    if (!model) return;
    const int32 columns = std::min(model->ColumnCount(), static_cast<int32>(mHints.size()));
    auto length = [](double value) { return std::isfinite(value) && value > 0 && value < kMaxLength ? value : 0.0; };
    // Shrink-wrapped columns first: as wide as the widest text of their cells, within their
    // bounds; the text is measured as set in the column at its greatest width.
    for (int32 column = 0; column < columns; ++column) {
        const Hint& hint = mHints[static_cast<size_t>(column)];
        if (hint.kind != Hint::kShrinkWrap) continue;
        const double least = length(hint.width);
        double greatest = length(hint.maximum);
        if (!(greatest > kEpsilon)) greatest = AvailableWidth(format);  // no maximum: what the table may take
        greatest = std::max(greatest, least);
        if (!(greatest > kEpsilon)) continue;
        Resize(table, column, greatest);
        Resize(table, column, std::clamp(NaturalWidth(table, column, cells), std::max(least, 1.0), greatest));
    }
    // Proportional columns share what the others leave of the table's width.
    auto isShare = [](const Hint& hint) { return hint.kind == Hint::kProportional && hint.share > 0 && hint.share <= 1000000; };
    int32 shares = 0;
    double taken = 0;
    for (int32 column = 0; column < columns; ++column) {
        const Hint& hint = mHints[static_cast<size_t>(column)];
        if (isShare(hint)) shares += hint.share;
        else taken += model->columns[static_cast<size_t>(column)].width;
    }
    for (int32 column = columns; column < model->ColumnCount(); ++column) taken += model->columns[static_cast<size_t>(column)].width;
    if (shares <= 0) return;
    const double rest = AvailableWidth(format) - taken;
    if (!(rest > kEpsilon)) {
        report({mLine, "Table import: the other columns leave no room for the proportional ones, they keep the width the new table gave them",
                PMString()});
        return;
    }
    for (int32 column = 0; column < columns; ++column)
        if (const Hint& hint = mHints[static_cast<size_t>(column)]; isShare(hint)) Resize(table, column, rest * hint.share / shares);
}

double MifTableColumns::NaturalWidth(const UIDRef& table, int32 column, const std::map<GridAddress, const MifObject*>& cells) const
{
    const Table* model = MifTableFormat::TableOf(table);
    Utils<IMifTableUtils> tableUtils;
    if (!model || !tableUtils) return 0;
    auto affects = [&cells](const GridAddress& at) {
        auto cell = cells.find(at);
        const MifProp* prop = cell != cells.end() && cell->second ? cell->second->FindProp(kMifCellAffectsColumnWidthA) : nullptr;
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
        const double text = cell.text != kInvalidUID ? tableUtils->GetCellTextWidth(mStory, cell.text) : 0;
        widest = std::max(widest, text + cell.insets[0] + cell.insets[2]);
    }
    return widest;
}

double MifTableColumns::AvailableWidth(const MifTableFormat& format) const
{
    double width = 0;
    if (format.GetDim(kMifTblWidth, width) && MifTableFormat::IsLength(width)) return width;
    Utils<IMifTextModelUtils> textModelUtils;
    DataBase* db = mStory.GetDataBase();
    const TextFrame* frame = textModelUtils && db ? db->Get<TextFrame>(textModelUtils->FindFrameOfIndex(mStory, mTextIndex)) : nullptr;
    if (!frame) return 0;
    const int32 columns = std::max(1, frame->columnCount);
    const double column =
        (frame->pathBounds.Width() - frame->insets.left - frame->insets.right - std::max(0.0, static_cast<double>(frame->columnGutter)) * (columns - 1)) /
        columns;
    double left = 0, right = 0;
    if (!format.GetDim(kMifTblLIndent, left) || !std::isfinite(left)) left = 0;
    if (!format.GetDim(kMifTblRIndent, right) || !std::isfinite(right)) right = 0;
    return std::max(0.0, column - left - right);
}
