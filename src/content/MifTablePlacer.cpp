#include "content/MifTablePlacer.h"

#include <algorithm>
#include <cmath>

#include "DataBase.h"
#include "InterfacePtr.h"
#include "Story.h"
#include "Table.h"
#include "TextFrame.h"

#include "base/MifAssertLog.h"
#include "content/IMifTextModelUtils.h"
#include "content/MifContentImporter.h"
#include "content/MifStraddleFrames.h"
#include "layout/IMifLayoutImporter.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "tables/IMifTableImporter.h"
#include "tables/IMifTableUtils.h"
#include "tables/MifTableFormat.h"

using Place = MifImportState::Place;

void MifTablePlacer::Reset()
{
    mPendingTables.clear();
    mPendingTableIndexes.clear();
    mPlacedTables.clear();
    mTblsById.clear();
}

void MifTablePlacer::IndexTables()
{
    const MifObject* tbls = mImporter.Tbls();
    if (!tbls) return;
    Utils<IMifTableUtils> tableUtils;
    for (const MifObject& tbl : tbls->Children(kMifTbl)) {
        MifPropVal id;
        if (!tbl.GetPropVal(kMifTblID, id)) continue;  // no anchor can name it
        if (mTblsById.emplace(id.id, &tbl).second) continue;
        mImporter.Report({tbl.line, "OV#0xB40#kMifTableIDUsedBeforeKey", tableUtils ? tableUtils->GetLeftOutText(&tbl) : PMString()});
    }
}

void MifTablePlacer::RecordAnchor(const MifProp& prop)
{
    const MifImportState& state = mImporter.State();
    PMString detail;
    if (prop.type == kMifTypeID || MifIsIntegerType(prop.type)) detail.AppendNumber(prop.value.id);
    if (state.InNestedText()) {
        mImporter.Report({prop.line, "Table import: a table inside a table cell or a footnote is skipped", detail});
        return;
    }
    auto found = detail.IsEmpty() ? mTblsById.end() : mTblsById.find(prop.value.id);
    const MifObject* tbl = found != mTblsById.end() ? found->second : nullptr;
    if (!tbl) {
        mImporter.Report({prop.line, "Table import: no Tbl has the TblID of this anchor, the anchor is skipped", detail});
        return;
    }
    if (!mPlacedTables.insert(prop.value.id).second) {
        mImporter.Report({prop.line, "Table import: the table is anchored more than once, only its first anchor is kept", detail});
        return;
    }
    mPendingTables.push_back(tbl);
    mPendingTableIndexes.push_back(state.textIndex);
}

void MifTablePlacer::TextDeleted(int32 index, int32 length)
{
    for (int32& anchor : mPendingTableIndexes)
        if (anchor > index) anchor -= std::min(length, anchor - index);
}

void MifTablePlacer::TextInserted(int32 at, int32 length)
{
    for (int32& anchor : mPendingTableIndexes)
        if (anchor >= at) anchor += length;
}

// FrameMaker shows a table below its anchoring line: the tables anchored in the paragraph follow
// the lines that hold their anchors, the last placed first so the ones before stay where they are.
void MifTablePlacer::PlaceAnchors()
{
    const MifImportState& state = mImporter.State();
    if (state.In(Place::kTableCell)) return;
    if (mPendingTables.empty()) return;
    std::vector<const MifObject*> tables;
    std::vector<int32> indexes;
    tables.swap(mPendingTables);
    indexes.swap(mPendingTableIndexes);
    const Story* textModel = mImporter.HasStory() ? state.story.GetDataBase()->Get<Story>(state.story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return;
    }
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils) textModelUtils->ComposeStory(state.story);
    for (int32& index : indexes) {
        if (const ComposedLine* line = textModel->frameList.FindLine(index)) index = std::max(index, line->End());
        index = std::min(index, state.textIndex);
    }
    for (size_t i = tables.size(); i-- > 0;) PlaceTable(*tables[i], indexes[i], i == 0, i + 1 == tables.size());
}

void MifTablePlacer::PlaceTable(const MifObject& tbl, int32 index, bool first, bool last)
{
    MifImportState& state = mImporter.State();
    InterfacePtr<IMifTableImporter> tableImporter(&mImporter, IID_IMIFTABLEIMPORTER);
    if (!tableImporter) {
        MIF_LOG_NIL(tableImporter);
        return;
    }
    if (!mImporter.HasStory() || !state.story.GetDataBase()->Get<Story>(state.story.GetUID())) {
        MIF_LOG_FALSE(mImporter.HasStory() && state.story.GetDataBase()->Get<Story>(state.story.GetUID()));
        return;
    }
    TablePlacement placement = ReadPlacement(tbl, index, first, last);
    if (!OpenTableParagraph(placement)) return;
    // The wide table's frame: the frame is split after the anchoring line, and the table's
    // paragraph starts the frame across (the text after it, the frame after that).
    if (placement.wide) {
        InterfacePtr<IMifLayoutImporter> layoutImporter(&mImporter, IID_IMIFLAYOUTIMPORTER);
        placement.wide = layoutImporter && MifStraddleFrames::Open(*layoutImporter, state.story, index, mImporter.LineDepth(), state.straddleSplit);
        if (placement.wide) state.place = Place::kWideTable;
    }
    FormatParagraphs(placement);
    const UID table = ImportTable(*tableImporter, placement);
    if (table == kInvalidUID) {
        // No table: the returns made for it go again, so the paragraph stays whole.
        mImporter.DeleteTextAt(index, placement.split ? 2 : 1);
        if (placement.wide) CloseWideTable(-1, PgfRecord::kUnset, placement.split);
        return;
    }
    // The frame across is fitted to the table, below the space before it when the anchoring
    // paragraph ended with the table.
    bool frameBelow = false;
    if (placement.wide)
        frameBelow = CloseWideTable(placement.tableParagraph, placement.anchoringSpace > 0 ? placement.spaceBefore : PgfRecord::kUnset,
                                    placement.split);
    FitIntoColumn(placement, table);
    ContinueAfter(placement, frameBelow);
}

TablePlacement MifTablePlacer::ReadPlacement(const MifObject& tbl, int32 index, bool first, bool last) const
{
    const MifImportState& state = mImporter.State();
    TablePlacement placement;
    placement.tbl = &tbl;
    placement.anchor = index;
    placement.tableParagraph = index + 1;
    // The spacing FrameMaker puts around the table.
    const double fontSize = state.paragraphFont.size > 0 ? state.paragraphFont.size : 0;
    const double leading = state.currentFormat.leading == PgfRecord::kUnset ? 0 : state.currentFormat.leading;
    placement.anchoringSpace = index == state.textIndex ? state.currentFormat.spaceAfter : 0;
    placement.extraSpaceBefore = first ? fontSize / 3 : 0;
    placement.extraSpaceAfter = last ? -2 * leading : 0;
    placement.titleGapExtra = fontSize / 3;
    // The table format's placement values.
    const MifTableFormat format = MifTableFormat::Of(tbl, mImporter.TblCatalog());
    auto length = [&](int32 id) {
        const MifProp* prop = format.Find(id);
        const double value = prop && MifDimCount(prop->type) > 0 ? prop->value.dim[0] : 0;
        return std::isfinite(value) && std::fabs(value) < 1.0e5 ? value : 0.0;
    };
    placement.leftIndent = length(kMifTblLIndent);
    placement.rightIndent = length(kMifTblRIndent);
    const MifProp* alignmentProp = format.Find(kMifTblAlignment);
    placement.alignment = alignmentProp && alignmentProp->type == kMifTypeKeyword ? alignmentProp->value.keyword : kMifLeft;
    const MifProp* placementProp = format.Find(kMifTblPlacement);
    placement.keepWithAnchor = placementProp && placementProp->type == kMifTypeKeyword && placementProp->value.keyword != kMifFloat;
    // A table wider than a column of a frame of two or more columns goes across them, with no
    // indents and no preceding space.
    placement.wide = IsWideTable(tbl, index, placement.alignment, placement.leftIndent, placement.rightIndent);
    placement.precedingSpace = placement.wide ? 0 : placement.anchoringSpace;
    return placement;
}

template <class Insert>
bool MifTablePlacer::InsertAt(int32 at, Insert insert)
{
    MifImportState& state = mImporter.State();
    const Story* textModel = state.story.GetDataBase()->Get<Story>(state.story.GetUID());
    const int32 saved = state.textIndex;
    const int32 lengthBefore = textModel->textModel.GetThreadRange(0).length;
    state.textIndex = at;
    const bool done = insert();
    const int32 added = textModel->textModel.GetThreadRange(0).length - lengthBefore;
    state.textIndex = saved >= at ? saved + added : saved;
    return done;
}

bool MifTablePlacer::OpenTableParagraph(TablePlacement& placement)
{
    const MifImportState& state = mImporter.State();
    const std::u16string paragraphEnd(1, kTextChar_CR);
    auto insertReturn = [&] { return mImporter.InsertAtTextIndex(paragraphEnd); };
    if (!InsertAt(placement.anchor, insertReturn)) return false;
    // The table's paragraph holds the table alone: text after the anchoring line goes on in a
    // paragraph of its own, which goes on from the anchoring one without space or indent.
    const Story* textModel = state.story.GetDataBase()->Get<Story>(state.story.GetUID());
    if (textModel->textModel.GetChar(placement.tableParagraph) == kTextChar_CR) return true;
    placement.split = InsertAt(placement.tableParagraph, insertReturn);
    if (!placement.split) {
        mImporter.DeleteTextAt(placement.anchor, 1);
        return false;
    }
    AttributeBossList goesOn;
    goesOn.ApplyAttribute(TextAttribute::kSpaceBefore, 0.0);
    goesOn.ApplyAttribute(TextAttribute::kFirstLineIndent, 0.0);
    mImporter.ApplyAttributesAtTextIndex(goesOn, placement.tableParagraph + 1);
    return true;
}

// The paragraph before the table keeps its space after only when the table has a preceding
// space, and keeps with the table unless the table floats; a wide table's place is its frame,
// which no keep may move. The table's paragraph is aligned and indented by the table format.
void MifTablePlacer::FormatParagraphs(const TablePlacement& placement)
{
    const bool wide = placement.wide;
    AttributeBossList before;
    if (placement.precedingSpace <= 0) before.ApplyAttribute(TextAttribute::kSpaceAfter, 0.0);
    if (!wide && placement.keepWithAnchor) before.ApplyAttribute(TextAttribute::kKeepWithNext, int32(1));
    mImporter.ApplyAttributesAtTextIndex(before, placement.anchor);
    AttributeBossList paragraph;
    const int32 alignment = placement.alignment;
    const int32 justification = alignment == kMifCenter ? 1 : alignment == kMifRight || alignment == kMifOutside ? 2 : 0;
    paragraph.ApplyAttribute(TextAttribute::kJustification, justification);
    paragraph.ApplyAttribute(TextAttribute::kLeftIndent, wide ? 0.0 : placement.leftIndent);
    paragraph.ApplyAttribute(TextAttribute::kRightIndent, wide ? 0.0 : placement.rightIndent);
    paragraph.ApplyAttribute(TextAttribute::kFirstLineIndent, 0.0);
    paragraph.ApplyAttribute(TextAttribute::kSpaceBefore, 0.0);
    paragraph.ApplyAttribute(TextAttribute::kStartParagraph, wide ? MifContentImporter::kStartNextFrame : int32(0));
    paragraph.ApplyAttribute(TextAttribute::kKeepWithNext, int32(0));
    mImporter.ApplyAttributesAtTextIndex(paragraph, placement.tableParagraph);
    if (wide && placement.split) {
        AttributeBossList nextFrame;
        nextFrame.ApplyAttribute(TextAttribute::kStartParagraph, MifContentImporter::kStartNextFrame);
        mImporter.ApplyAttributesAtTextIndex(nextFrame, placement.tableParagraph + 1);
    }
}

UID MifTablePlacer::ImportTable(IMifTableImporter& tableImporter, TablePlacement& placement)
{
    const UIDRef story = mImporter.State().story;
    UID table = kInvalidUID;
    InsertAt(placement.tableParagraph, [&] {
        table = tableImporter.ImportTable(story, placement);
        return table != kInvalidUID;
    });
    return table;
}

// A table wider than its column allows after the indents moves left as far as it must (never
// past the column's left edge), so that no reader sets it outside its frame.
void MifTablePlacer::FitIntoColumn(const TablePlacement& placement, UID table)
{
    const MifImportState& state = mImporter.State();
    const Table* model = placement.wide ? nullptr : state.story.GetDataBase()->Get<Table>(table);
    if (!model) return;
    const double columnWidth = mImporter.ColumnWidthAt(placement.anchor);
    const double strokes = 0.5 * (model->ColumnEdge(0, 0).weight + model->ColumnEdge(0, model->ColumnCount()).weight);
    const double room = columnWidth - placement.rightIndent - model->Width() - strokes;
    if (columnWidth > 0 && placement.leftIndent > room + 1e-8) {
        AttributeBossList fitted;
        fitted.ApplyAttribute(TextAttribute::kLeftIndent, std::max(0.0, room));
        mImporter.ApplyAttributesAtTextIndex(fitted, placement.tableParagraph);
    }
}

// The text after the table may start anywhere, or in the frame below a wide table; the import
// goes on at the story's end.
void MifTablePlacer::ContinueAfter(const TablePlacement& placement, bool frameBelow)
{
    MifImportState& state = mImporter.State();
    const Story* textModel = state.story.GetDataBase()->Get<Story>(state.story.GetUID());
    const TextRange primary = textModel->textModel.GetThreadRange(0);
    if (textModel->textModel.GetParagraphRange(placement.tableParagraph).End() < primary.End()) {
        AttributeBossList anywhere;
        anywhere.ApplyAttribute(TextAttribute::kStartParagraph, frameBelow ? MifContentImporter::kStartNextFrame : int32(0));
        mImporter.ApplyAttributesAtTextIndex(anywhere, primary.End() - 1);
    } else if (frameBelow) {
        state.pendingFrameBreak = true;
    }
    state.textIndex = primary.End() - 1;
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils) textModelUtils->ComposeStory(state.story);
}

bool MifTablePlacer::IsWideTable(const MifObject& tbl, int32 index, int32 alignment, double leftIndent, double rightIndent) const
{
    const MifImportState& state = mImporter.State();
    if (state.In(Place::kStraddle) || state.In(Place::kSidehead) || state.In(Place::kRunIn) || state.InNestedText()) return false;
    Utils<IMifTextModelUtils> textModelUtils;
    Utils<IMifTableUtils> tableUtils;
    DataBase* db = state.story.GetDataBase();
    const TextFrame* frame = textModelUtils && db ? db->Get<TextFrame>(textModelUtils->FindFrameOfIndex(state.story, index)) : nullptr;
    if (!frame || frame->columnCount < 2 || !tableUtils) return false;
    double width = tableUtils->GetTableWidth(&tbl);
    const bool left = alignment == kMifLeft || alignment == kMifInside, right = alignment == kMifRight || alignment == kMifOutside;
    if (left || alignment == kMifCenter) width += leftIndent;
    if (right || alignment == kMifCenter) width += rightIndent;
    const double column = mImporter.ColumnWidthAt(index);
    return width > column + std::max(0.0, frame->columnGutter) + 1 + 1e-8;
}

// The wide table's sequence ends with its paragraph: the frame across is fitted to it (its top
// inset grown by `spaceBefore` unless that is unset) and the frame below made. Whether there is
// a frame below; without one the text after the table goes on where it may, and a frame break
// already put on it (`split`: the text after the anchoring line) is taken off.
bool MifTablePlacer::CloseWideTable(int32 tableParagraph, double spaceBefore, bool split)
{
    MifImportState& state = mImporter.State();
    if (state.place == Place::kWideTable) state.place = Place::kBody;
    UIDRef frameBelow;  // the frame below the table, made when it closes
    InterfacePtr<IMifLayoutImporter> layoutImporter(&mImporter, IID_IMIFLAYOUTIMPORTER);
    const Story* textModel = mImporter.HasStory() ? state.story.GetDataBase()->Get<Story>(state.story.GetUID()) : nullptr;
    if (layoutImporter && textModel && tableParagraph >= 0) {
        const int32 lastIndex = textModel->textModel.GetParagraphRange(tableParagraph).End() - 1;
        const double spaceAbove = spaceBefore == PgfRecord::kUnset ? 0 : spaceBefore;
        frameBelow = MifStraddleFrames::Close(*layoutImporter, state.story, lastIndex, mImporter.LineDepth(), spaceAbove,
                                              state.straddleSplit);
    }
    state.straddleSplit = MifStraddleFrames::Split();
    const bool below = frameBelow.ExistsInDB();
    if (!below && split && textModel && tableParagraph >= 0) {
        AttributeBossList anywhere;
        anywhere.ApplyAttribute(TextAttribute::kStartParagraph, int32(0));
        mImporter.ApplyAttributesAtTextIndex(anywhere, textModel->textModel.GetParagraphRange(tableParagraph).End());
    }
    return below;
}
