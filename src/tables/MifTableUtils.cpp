#include "tables/MifTableUtils.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "DataBase.h"
#include "Story.h"
#include "StyleUtils.h"
#include "TextComposer.h"

#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

namespace {

// Lengths that no page holds are left out of the sums, so one damaged statement does not make
// the whole table absurd.
constexpr double kMaxLength = 1.0e5;

double Length(const MifProp& prop)
{
    const double value = prop.value.dim[0];
    return std::isfinite(value) && value > 0 && value < kMaxLength ? value : 0;
}

} // namespace

double MifTableUtils::GetTableWidth(const MifObject* tbl) const
{
    if (!tbl) return 0;
    double width = 0;
    for (const MifProp* prop : tbl->props)
        if (prop && prop->id == kMifTblColumnWidth && prop->type == kMifTypeDim) width += Length(*prop);
    return width;
}

double MifTableUtils::GetTableHeight(const MifObject* tbl) const
{
    if (!tbl) return 0;
    double height = 0;
    for (int32 section : {kMifTblH, kMifTblBody, kMifTblF})
        for (const MifObject& mifSection : tbl->Children(section))
            for (const MifObject& row : mifSection.Children(kMifRow))
                if (const MifProp* rowHeight = row.FindProp(kMifRowHeight); rowHeight && rowHeight->type == kMifTypeDim)
                    height += Length(*rowHeight);
    return height;
}

bool MifTableUtils::HasText(const MifObject* content) const
{
    if (!content) return false;
    for (const MifObject& para : content->Children(kMifPara))
        for (const MifObject& paraLine : para.Children(kMifParaLine))
            for (const MifProp* prop : paraLine.props) {
                if (!prop) break;
                if (prop->id == kMifString && MifIsStringType(prop->type) && prop->value.rawString && !prop->value.rawString->IsEmpty()) return true;
                if (prop->id == kMifChar || prop->id == kMifVariable || prop->id == kMifAFrame) return true;
            }
    return false;
}

int32 MifTableUtils::CountCellsWithText(const MifObject& tbl) const
{
    int32 count = 0;
    for (int32 section : {kMifTblH, kMifTblBody, kMifTblF})
        for (const MifObject& mifSection : tbl.Children(section))
            for (const MifObject& row : mifSection.Children(kMifRow))
                for (const MifObject& cell : row.Children(kMifCell))
                    if (HasText(cell.GetObject(kMifCellContent))) ++count;
    if (const MifObject* title = tbl.GetObject(kMifTblTitle))
        if (HasText(title->GetObject(kMifTblTitleContent))) ++count;
    return count;
}

PMString MifTableUtils::GetLeftOutText(const MifObject* tbl) const
{
    PMString id("?"), cells("0");
    MifPropVal value;
    if (tbl && tbl->GetPropVal(kMifTblID, value)) {
        id.Clear();
        id.AppendNumber(value.id);
    }
    if (tbl) {
        cells.Clear();
        cells.AppendNumber(CountCellsWithText(*tbl));
    }
    PMString text("OV#0xB40#kMifTableLeftOutKey");
    text.Translate();
    StringUtils::ReplaceStringParameters(&text, id, cells);
    text.SetTranslated();
    return text;
}

double MifTableUtils::GetCellTextWidth(const UIDRef& story, UID cellText) const
{
    DataBase* db = story.GetDataBase();
    Story* textModel = db ? db->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) return 0;
    const TextRange thread = textModel->textModel.FindThread(cellText);
    double widest = 0;
    for (const ComposedLine& line : TextComposer::Get().ComposeCell(*textModel, cellText)) {
        if (line.length <= 0) continue;
        double rightIndent = 0;
        if (const TextFormat* format = textModel->textModel.GetParagraphFormat(thread.start + line.start)) {
            const AttributeValue* value = format->overrides.QueryAttribute(TextAttribute::kRightIndent);
            if (!value) value = StyleUtils::GetInheritedAttribute(*db, format->style, TextAttribute::kRightIndent);
            if (const PMReal* indent = value ? std::get_if<PMReal>(value) : nullptr) rightIndent = std::max(0.0, static_cast<double>(*indent));
        }
        widest = std::max(widest, static_cast<double>(line.left + line.width) + rightIndent);
    }
    return widest;
}
