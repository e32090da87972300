#include "content/MifContentImporter.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "InterfacePtr.h"
#include "Story.h"
#include "StyleUtils.h"
#include "Table.h"
#include "TaskProgressBar.h"
#include "TextCommands.h"
#include "TextFrame.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifProblemReporter.h"
#include "catalogs/IMifColorImporter.h"
#include "content/IMifTextModelUtils.h"
#include "content/MifStraddleFrames.h"
#include "layout/IMifLayoutImporter.h"
#include "mif/IMifTextConverter.h"
#include "mif/MifFilePages.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "prefs/IMifFontConverter.h"
#include "prefs/IMifImportOptions.h"

using Place = MifImportState::Place;

MifContentImporter::MifContentImporter() : mStyles(*this), mHeads(*this), mTables(*this), mLineItems(*this) {}

PMString MifContentImporter::ParagraphStyleName(const PMString& tag)
{
    return tag == PMString("[No paragraph style]") ? PMString("No paragraph style") : tag;
}

const PMString* MifContentImporter::StringOf(const MifProp* prop)
{
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

UID MifContentImporter::FindParagraphStyle(const PMString& name) const
{
    DataBase* db = GetDataBase();
    return db ? StyleUtils::FindStyle(*db, StyleKind::kParagraph, name) : kInvalidUID;
}

UID MifContentImporter::FindCharacterStyle(const PMString& name) const
{
    DataBase* db = GetDataBase();
    return db ? StyleUtils::FindStyle(*db, StyleKind::kCharacter, name) : kInvalidUID;
}

MifAttributeBuilder MifContentImporter::GetAttributeBuilder()
{
    MifAttributeContext context;
    context.db = GetDataBase();
    context.root = mMifRoot;
    context.state = &mImportState;
    if (!mParagraphRules && mMifRoot) mParagraphRules = std::make_unique<MifParagraphRules>(*mMifRoot);
    context.paragraphRules = mParagraphRules.get();
    // The services live on this document's object (and the text converter beside the parser);
    // they outlive the builder, which holds them without a reference.
    InterfacePtr<IMifColorImporter> colorImporter(this, IID_IMIFCOLORIMPORTER);
    InterfacePtr<IMifFontConverter> fontConverter(this, IID_IMIFFONTCONVERTER);
    InterfacePtr<IMifTextConverter> textConverter(this, IID_IMIFTEXTCONVERTER);
    InterfacePtr<IMifErrorLog> importErrors(this, IID_IMIFERRORLOG);
    context.importErrors = importErrors.get();
    context.colorImporter = colorImporter.get();
    context.fontConverter = fontConverter.get();
    context.textConverter = textConverter.get();
    InterfacePtr<IMifImportOptions> importOptions(this, IID_IMIFIMPORTOPTIONS);
    if (importOptions) {
        const MifPresetRecord& preset = importOptions->GetPreset();
        context.leadingMode = preset.GetLeading();
        context.composerMode = preset.GetComposer();
    }
    return MifAttributeBuilder(context);
}

namespace {

// Control characters that a story cannot hold. Tabs and forced line breaks are text; the page
// number and footnote marker characters come only from the statements that mean them.
bool IsStrayControl(UTF16TextChar c)
{
    return (c < 0x20 && c != 0x09 && c != 0x0A) || c == 0x7F || c == 0xFFFE || c == 0xFFFF;
}

// How deep frames nest inside frames on a page, at the most, for the text columns they hold.
constexpr int32 kMaxFrameDepth = 64;

int32 CountParagraphs(const MifObject& object)
{
    int32 count = 0;
    for (const MifProp* prop : object.props) {
        if (!prop) break;
        if (prop->type != kMifTypeObject || !prop->value.object) continue;
        if (prop->id == kMifPara) ++count;
        else if (prop->id == kMifNotes || prop->id == kMifFNote) count += CountParagraphs(*prop->value.object);
    }
    return count;
}

bool IsSideheadStyle(int32 style)
{
    return style == kMifSideheadTop || style == kMifSideheadFirstBaseline || style == kMifSideheadLastBaseline;
}

// Start-paragraph codes of the host for a PgfPlacement.
int32 StartCode(int32 placement)
{
    return placement == kMifPageTop ? 2 : placement == kMifColumnTop ? 1 : placement == kMifLPageTop ? 5 : placement == kMifRPageTop ? 4 : 0;
}

// Whether a paragraph whose overrides are `attributes` has a start of its own (a column, frame or
// page), which a frame break must not replace.
bool HasOwnStart(const AttributeBossList& attributes)
{
    const int32* start = attributes.Get<int32>(TextAttribute::kStartParagraph);
    return start && *start != 0;
}

} // namespace

void MifContentImporter::SetMifObject(MifObject* mifRoot)
{
    mMifRoot = mifRoot;
    mParagraphRules.reset();
    mMifAFrames = mMifPgfCatalog = mMifFontCatalog = mMifTblCatalog = mMifTbls = nullptr;
    mPgfFormats.clear();
    mFontFormats.clear();
    mFootnotes.clear();
    mTextRectIds.clear();
    mTables.Reset();
    mLineItems.Reset();
    mIndexed = false;
    mParagraphTotal = mParagraphsDone = 0;
    mLastPercent = -1;
    mMifVersion = 5.5;
    mImportedCharacters = 0;
    mFilePages = 0;
    if (!mifRoot) return;
    mFilePages = static_cast<int32>(MifFilePages::Count(*mifRoot));
    mMifAFrames = mifRoot->GetObject(kMifAFrames);
    mMifPgfCatalog = mifRoot->GetObject(kMifPgfCatalog);
    mMifFontCatalog = mifRoot->GetObject(kMifFontCatalog);
    mMifTblCatalog = mifRoot->GetObject(kMifTblCatalog);
    mMifTbls = mifRoot->GetObject(kMifTbls);
    MifPropVal version;
    if (mifRoot->GetPropVal(kMifMIFFile, version)) mMifVersion = version.number;
    for (const MifObject& flow : mifRoot->Children(kMifTextFlow)) mParagraphTotal += CountParagraphs(flow);
}

void MifContentImporter::IndexCatalogs()
{
    if (mIndexed || !mMifRoot) return;
    mIndexed = true;
    auto index = [](const MifObject* catalog, int32 formatId, int32 tagId, FormatMap& map) {
        if (!catalog) return;
        for (const MifObject& format : catalog->Children(formatId))
            if (const PMString* tag = StringOf(format.FindProp(tagId))) map[tag->GetUTF16()] = &format;
    };
    index(mMifPgfCatalog, kMifPgf, kMifPgfTag, mPgfFormats);
    index(mMifFontCatalog, kMifFont, kMifFTag, mFontFormats);
    mTables.IndexTables();
    // Footnote bodies sit in the Notes of their flow; the text columns on the pages.
    for (const MifObject& flow : mMifRoot->Children(kMifTextFlow))
        for (const MifObject& notes : flow.Children(kMifNotes))
            for (const MifObject& note : notes.Children(kMifFNote)) {
                MifPropVal id;
                if (note.GetPropVal(kMifID, id)) mFootnotes.emplace(id.id, &note);
            }
    // Text columns stand on pages and inside the frames on them.
    std::function<void(const MifObject&, int32)> collect = [&](const MifObject& object, int32 depth) {
        for (const MifProp* prop : object.props) {
            if (!prop) break;
            if (prop->type != kMifTypeObject || !prop->value.object || depth <= 0) continue;
            MifPropVal id;
            if (prop->id == kMifTextRect && prop->value.object->GetPropVal(kMifID, id)) mTextRectIds.insert(id.id);
            if (prop->id == kMifFrame || prop->id == kMifGroup) collect(*prop->value.object, depth - 1);
        }
    };
    for (const MifObject& page : mMifRoot->Children(kMifPage)) collect(page, kMaxFrameDepth);
}

// ---- flows and paragraphs ----

void MifContentImporter::ImportTextFlows(const MifObject* object)
{
    if (!object) {
        MIF_LOG_NIL(object);
        return;
    }
    IndexCatalogs();
    for (const MifProp* prop : object->props) {
        if (!prop) break;
        if (prop->type != kMifTypeObject || !prop->value.object) continue;
        if (prop->id == kMifPara) {
            // Text outside any flow belongs to no column and no story.
            Report({prop->line, "A paragraph outside any text flow is skipped", PMString()});
            continue;
        }
        if (prop->id != kMifTextFlow) continue;
        const MifObject* mifTextFlow = prop->value.object;
        mImportState.place = mImportState.enclosingPlace = Place::kBody;
        mImportState.skipText = mImportState.pendingFrameBreak = false;
        mImportState.straddleSplit = MifStraddleFrames::Split();
        ImportParagraphs(*mifTextFlow);
        // Straddles and heads still open at the end of the flow close here, and frames below the
        // flow's last line are anchored at its end.
        if (mImportState.In(Place::kStraddle)) CloseStraddle();
        mHeads.CloseHeads();
        mLineItems.AnchorPendingBelowFrames(false);
    }
}

void MifContentImporter::ImportTextIntoFrame(const UIDRef& frame, int32 /*value1*/, int32 /*value2*/, const MifObject* object)
{
    if (!object) {
        MIF_LOG_NIL(object);
        return;
    }
    IndexCatalogs();
    // The text of a table cell is a thread of the table's story; that of a frame, its story.
    UIDRef story;
    int32 textIndex = 0;
    bool holdsText = false;  // a cell's paragraphs go on after the text it holds already
    DataBase* db = frame.GetDataBase();
    if (const CellText* cell = db ? db->Get<CellText>(frame.GetUID()) : nullptr) {
        const Table* table = db->Get<Table>(cell->table);
        const Story* tableStory = table ? db->Get<Story>(table->story) : nullptr;
        if (!tableStory) {
            MIF_LOG_NIL(tableStory);
            return;
        }
        const TextRange thread = tableStory->textModel.FindThread(cell->GetUID());
        if (thread.length <= 0) {
            MIF_LOG_FALSE(thread.length > 0);
            return;
        }
        story = tableStory->GetRef();
        textIndex = thread.End() - 1;
        holdsText = thread.length > 1;
    } else {
        Utils<IMifTextModelUtils> textModelUtils;
        if (!textModelUtils) {
            MIF_LOG_NIL(textModelUtils);
            return;
        }
        story = textModelUtils->GetFrameStory(frame);
    }
    // The paragraph that anchors the table goes on afterwards as it was.
    MifImportState saved = mImportState;
    mImportState.story = story;
    mImportState.textIndex = textIndex;
    mImportState.firstParagraph = !holdsText;
    mImportState.EnterNestedText(Place::kTableCell);
    ImportParagraphs(*object);
    mImportState = saved;
}

void MifContentImporter::ImportTextItems(const UIDRef& story, const MifObject* object)
{
    if (!object) {
        MIF_LOG_NIL(object);
        return;
    }
    IndexCatalogs();
    MifImportState saved = mImportState;
    mImportState.story = story;
    mImportState.textIndex = 0;
    ApplyAttributesAtTextIndex(mImportState.characterOverrides, 0);
    mLineItems.ImportParaLine(*object);
    mImportState = saved;
}

void MifContentImporter::ImportParagraphs(const MifObject& parent)
{
    const MifObject* mifPara = nullptr;
    for (const MifObject& next : parent.Children(kMifPara)) {
        // Each paragraph is imported once its successor is known, for the look-ahead.
        if (mifPara) ImportParagraph(*mifPara, &next);
        mifPara = &next;
    }
    if (mifPara) ImportParagraph(*mifPara, nullptr);
}

void MifContentImporter::ImportParagraph(const MifObject& mifPara, const MifObject* nextPara)
{
    MifImportState& state = mImportState;
    state.textFont.Reset();
    EnterTextColumn(mifPara);
    state.previousFormat = state.currentFormat;
    state.previousFont = state.paragraphFont;
    ReadParagraphFormat(mifPara);
    ApplySpaceBefore();
    state.nextFormat.Reset();
    if (nextPara) ReadFormatRecord(*nextPara, state.nextFormat);
    ApplyLeading();
    state.characterOverrides = state.paragraphCharacterAttributes;
    state.textFont = state.paragraphFont;
    UpdatePlacementSequences(mifPara);
    StartParagraph();
    mLineItems.AnchorPendingBelowFrames(false);
    ApplyPendingStartParagraph();
    for (const MifObject& mifParaLine : mifPara.Children(kMifParaLine)) mLineItems.ImportParaLine(mifParaLine);
    mLineItems.EndCrossReferenceText(mifPara);
    mHeads.InsertRunInPunctuation();
    DeleteUnhonouredTabs();
    mLineItems.AnchorPendingBelowFrames(true);
    mTables.PlaceAnchors();
    if (!mImportState.In(Place::kTableCell)) ReportProgress();
}

PMReal MifContentImporter::LineDepth() const
{
    const PgfRecord& format = mImportState.currentFormat;
    const double size = mImportState.paragraphFont.size;
    if (!(size > 1e-8)) return 12;
    const double lead = format.leading == PgfRecord::kUnset ? 0.2 * size : format.leading;
    return size + std::max(0.0, lead);
}


// Straddles, side heads and run-in heads open, go on or close here, by the paragraph's
// PgfPlacementStyle and PgfPlacement.
void MifContentImporter::UpdatePlacementSequences(const MifObject& /*mifPara*/)
{
    MifImportState& state = mImportState;
    if (state.InNestedText()) return;
    const int32 style = state.currentFormat.placementStyle;
    const bool straddle = style == kMifStraddle || style == kMifStraddleNormalOnly;
    if (state.In(Place::kStraddle) && !straddle) CloseStraddle();
    if (state.In(Place::kRunIn) && style != kMifRunIn) {
        mHeads.CloseRunIn();
        // The paragraph's first line starts where the head frame does, at the column's edge.
        const double left = state.currentFormat.leftIndent != PgfRecord::kUnset ? state.currentFormat.leftIndent : 0;
        state.paragraphOverrides.ApplyAttribute(TextAttribute::kFirstLineIndent, PMReal(-left));
    }
    if (state.In(Place::kSidehead) && (!IsSideheadStyle(style) || style != state.sideheadStyle || state.currentFormat.placement != kMifAnywhere))
        mHeads.CloseSidehead();
    if (style == kMifRunIn && !state.In(Place::kRunIn) && !state.In(Place::kSidehead)) mHeads.OpenRunIn();
    else if (IsSideheadStyle(style) && !state.In(Place::kSidehead) && !state.In(Place::kRunIn)) mHeads.OpenSidehead();
    else if (straddle) {
        if (!state.In(Place::kStraddle) && !state.In(Place::kRunIn) && !state.In(Place::kSidehead)) OpenStraddle();
        StraddleSideheadArea();
    }
}

// A straddle in a frame of two or more columns splits it: the text before stays above, balanced
// across its columns, and the straddling paragraphs go into a frame across all the columns,
// starting there (a frame break, unless the paragraph starts a column or page of its own). In a
// frame of one column, or where the frame cannot be split, the paragraphs stay in the column.
bool MifContentImporter::OpenStraddle()
{
    MifImportState& state = mImportState;
    if (!HasStory()) return false;
    const Story* textModel = state.story.GetDataBase()->Get<Story>(state.story.GetUID());
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    if (!textModel || !layoutImporter) {
        MIF_LOG_NIL(layoutImporter);
        return false;
    }
    const bool empty = textModel->IsEmpty();
    // After a head, the next paragraph continues the one that holds the head's anchor: it cannot
    // begin a frame of its own.
    if (state.firstParagraph && !empty) return false;
    if (!MifStraddleFrames::Open(*layoutImporter, state.story, empty ? -1 : state.textIndex,
                                 LineDepth(), state.straddleSplit))
        return false;
    state.place = Place::kStraddle;
    if (state.straddleSplit.breakBefore && !HasOwnStart(state.paragraphOverrides)) state.paragraphOverrides.ApplyAttribute(TextAttribute::kStartParagraph, kStartNextFrame);
    return true;
}

// The frame across is fitted to the straddling paragraphs and the frame below takes the rest of
// the depth; the paragraph after the straddle starts there.
void MifContentImporter::CloseStraddle()
{
    MifImportState& state = mImportState;
    state.place = Place::kBody;
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter || !HasStory()) {
        state.straddleSplit = MifStraddleFrames::Split();
        return;
    }
    const UIDRef frameBelow = MifStraddleFrames::Close(*layoutImporter, state.story, state.textIndex, LineDepth(), 0, state.straddleSplit);
    state.pendingFrameBreak = frameBelow.ExistsInDB();
}

// A straddle paragraph in a frame with a side-head area spans that area too: its indent on the
// area's side reaches across it.
void MifContentImporter::StraddleSideheadArea()
{
    MifImportState& state = mImportState;
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter || !layoutImporter->HasSideheads(state.textRectID)) return;
    const double area = std::max(0.0, layoutImporter->GetSideheadWidth(state.textRectID)) +
                        std::max(0.0, layoutImporter->GetSideheadGap(state.textRectID));
    if (!(area > 1e-8)) return;
    const TextAttribute side = layoutImporter->GetSideheadPlacement(state.textRectID) == kMifRight ? TextAttribute::kRightIndent
                                                                                                    : TextAttribute::kLeftIndent;
    // From the paragraph's own indent, so that a paragraph carrying the formats of the one before
    // is not moved twice.
    PMReal indent = 0;
    if (side == TextAttribute::kLeftIndent) {
        indent = state.currentFormat.leftIndent != PgfRecord::kUnset ? state.currentFormat.leftIndent : 0;
    } else {
        const PMReal* own = state.paragraphOverrides.Get<PMReal>(side);
        if (own && *own < 0) return;   // moved already
        indent = own ? *own : 0;
    }
    state.paragraphOverrides.ApplyAttribute(side, PMReal(indent - area));
}

// The start-paragraph value a side head leaves pending goes to the body paragraph after it.
void MifContentImporter::ApplyPendingStartParagraph()
{
    MifImportState& state = mImportState;
    if (state.In(Place::kSidehead)) return;
    // After a straddle or wide table, the body text goes on in the frame below it.
    if (state.pendingFrameBreak && !state.In(Place::kRunIn) && !state.InNestedText() && HasStory()) {
        state.pendingFrameBreak = false;
        if (!HasOwnStart(state.paragraphOverrides) && state.pendingStartParagraph == 0) {
            AttributeBossList start;
            start.ApplyAttribute(TextAttribute::kStartParagraph, kStartNextFrame);
            ApplyAttributesAtTextIndex(start, state.textIndex);
        }
    }
    if (state.pendingStartParagraph == 0) return;
    AttributeBossList start;
    start.ApplyAttribute(TextAttribute::kStartParagraph, StartCode(state.pendingStartParagraph));
    ApplyAttributesAtTextIndex(start, state.textIndex);
    state.pendingStartParagraph = 0;
}

// Tabs FrameMaker would not honour go: the k-th tab of a line (from 0) when the paragraph has k or
// fewer tab stops, and a tab whose stop the text before it has already passed, as the paragraph is
// composed. A forced line break starts a new line, whose tabs take the stops from the first again.
// Each deletion moves the text after it, so the line is measured again until no tab qualifies. A
// numbered paragraph keeps its tabs (its number may hold some).
void MifContentImporter::DeleteUnhonouredTabs()
{
    MifImportState& state = mImportState;
    if (state.currentFormat.autoNum || !HasStory()) return;
    const Story* textModel = state.story.GetDataBase()->Get<Story>(state.story.GetUID());
    if (!textModel) return;
    const int32 start = state.paragraphStart;
    if (state.textIndex <= start) return;
    const std::u16string text = textModel->textModel.GetText(start, state.textIndex - start);
    if (text.find(kTextChar_Tab) == std::u16string::npos) return;
    std::vector<TabStop> stops;
    if (const TextFormat* format = textModel->textModel.GetParagraphFormat(start)) {
        const AttributeValue* value = format->overrides.QueryAttribute(TextAttribute::kTabStops);
        if (!value) value = StyleUtils::GetInheritedAttribute(*state.story.GetDataBase(), format->style, TextAttribute::kTabStops);
        if (const auto* table = value ? std::get_if<TabStopTable>(value) : nullptr) stops = table->GetStops();
    }
    // The lines from the last back, so that a deletion leaves the indexes of those before alone.
    std::vector<int32> lineStarts{start};
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == kTextChar_LF) lineStarts.push_back(start + static_cast<int32>(i) + 1);
    for (size_t line = lineStarts.size(); line-- > 0;) {
        const int32 end = line + 1 < lineStarts.size() ? lineStarts[line + 1] : state.textIndex;
        if (!DeleteUnhonouredTabsOfLine(lineStarts[line], end, stops)) return;
    }
}

bool MifContentImporter::DeleteUnhonouredTabsOfLine(int32 start, int32 end, const std::vector<TabStop>& stops)
{
    MifImportState& state = mImportState;
    const Story* textModel = state.story.GetDataBase()->Get<Story>(state.story.GetUID());
    auto tabsOf = [&]() {
        std::vector<int32> tabs;
        if (end <= start) return tabs;
        const std::u16string text = textModel->textModel.GetText(start, end - start);
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == kTextChar_Tab) tabs.push_back(start + static_cast<int32>(i));
        return tabs;
    };
    std::vector<int32> tabs = tabsOf();
    // Tabs past the last stop, from the last one back so the indexes before stay good.
    while (tabs.size() > stops.size()) {
        if (!DeleteTextAt(tabs.back(), 1)) return false;
        tabs.pop_back();
        --end;
    }
    Utils<IMifTextModelUtils> textModelUtils;
    for (size_t round = 0; !tabs.empty() && round <= stops.size(); ++round) {
        const std::vector<double> pens = textModelUtils->GetTabPositions(state.story, start, end);
        size_t passed = tabs.size();
        for (size_t k = 0; k < tabs.size() && k < pens.size(); ++k)
            if (pens[k] >= 0 && pens[k] > stops[k].position + 1e-8) {
                passed = k;
                break;
            }
        if (passed == tabs.size()) return true;
        if (!DeleteTextAt(tabs[passed], 1)) return false;
        --end;
        tabs = tabsOf();
    }
    return true;
}

bool MifContentImporter::DeleteTextAt(int32 index, int32 length)
{
    MifImportState& state = mImportState;
    const Story* story = state.story.GetDataBase() ? state.story.GetDataBase()->Get<Story>(state.story.GetUID()) : nullptr;
    const std::u16string deleted = story ? story->textModel.GetText(index, length) : std::u16string();
    auto deleteCmd = std::make_shared<DeleteTextCmd>();
    deleteCmd->SetItemList(UIDList(state.story));
    deleteCmd->index = index;
    deleteCmd->length = length;
    if (!MIF_RUN_COMMAND(deleteCmd)) {
        return false;
    }
    mImportedCharacters -= CountCharacters(deleted);
    if (state.textIndex > index) state.textIndex -= std::min(length, state.textIndex - index);
    // Table and frame anchors after the deleted text move with it.
    mTables.TextDeleted(index, length);
    mLineItems.TextDeleted(index, length);
    return true;
}

double MifContentImporter::ColumnWidthAt(int32 index) const
{
    Utils<IMifTextModelUtils> textModelUtils;
    DataBase* db = mImportState.story.GetDataBase();
    const TextFrame* frame = textModelUtils && db ? db->Get<TextFrame>(textModelUtils->FindFrameOfIndex(mImportState.story, index)) : nullptr;
    if (!frame) return 0;
    const int32 columns = std::max(1, frame->columnCount);
    const double width = frame->pathBounds.Width() - frame->insets.left - frame->insets.right - std::max(0.0, frame->columnGutter) * (columns - 1);
    return width / columns;
}

void MifContentImporter::EnterTextColumn(const MifObject& mifPara)
{
    MifImportState& state = mImportState;
    MifPropVal rectId;
    if (!mifPara.GetPropValDeep(kMifTextRectID, rectId, true, 1)) return;
    state.textRectID = rectId.id;
    if (state.In(Place::kStraddle) || state.In(Place::kRunIn) || state.In(Place::kSidehead) || state.InNestedText()) return;
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter) {
        MIF_LOG_NIL(layoutImporter);
        return;
    }
    UIDRef story = layoutImporter->GetStoryOfTextRect(rectId.id);
    if (!story.ExistsInDB() && !mTextRectIds.count(rectId.id)) {
        PMString detail;
        detail.AppendNumber(rectId.id);
        Report({mifPara.line, "Text flow: TextRectID names no text column, its text is skipped", detail});
    }
    if (story == state.story) return;
    // Columns of reference pages, and columns whose frame was refused, have no story: their
    // text is passed over.
    state.story = story;
    state.textIndex = 0;
    state.firstParagraph = true;
    if (const Story* textModel = story.ExistsInDB() ? story.GetDataBase()->Get<Story>(story.GetUID()) : nullptr) {
        const int32 end = textModel->textModel.GetThreadRange(0).length - 1;
        state.textIndex = end;
        state.firstParagraph = end == 0;
    }
}

void MifContentImporter::ReadParagraphFormat(const MifObject& mifPara)
{
    MifImportState& state = mImportState;
    MifAttributeBuilder builder = GetAttributeBuilder();
    auto addFormat = [&](const MifObject& pgf) {
        state.currentFormat.Read(pgf);
        builder.BuildParagraphAttributes(state.paragraphOverrides, pgf);
        if (const MifObject* pgfFont = pgf.GetObject(kMifPgfFont)) {
            state.paragraphFont.Read(*pgfFont);
            builder.BuildCharacterAttributes(state.paragraphCharacterAttributes, *pgfFont);
        }
    };
    const PMString* tag = ParagraphTag(mifPara);
    if (tag && !tag->IsEmpty()) {
        state.paragraphOverrides = AttributeBossList();
        state.paragraphCharacterAttributes = AttributeBossList();
        state.characterOverrides = AttributeBossList();
        state.currentFormat.Reset();
        state.paragraphFont.Reset();
        state.paragraphStyle = FindParagraphStyle(ParagraphStyleName(*tag));
        if (const MifObject* catalogPgf = CatalogPgf(tag)) addFormat(*catalogPgf);
    }
    if (const MifObject* own = OwnPgf(mifPara)) addFormat(*own);
}

void MifContentImporter::ReadFormatRecord(const MifObject& mifPara, PgfRecord& record) const
{
    if (const MifObject* catalogPgf = CatalogPgf(ParagraphTag(mifPara))) record.Read(*catalogPgf);
    if (const MifObject* own = OwnPgf(mifPara)) record.Read(*own);
}

const MifObject* MifContentImporter::CatalogPgf(const PMString* tag) const
{
    if (!tag || tag->IsEmpty()) return nullptr;
    auto catalogPgf = mPgfFormats.find(tag->GetUTF16());
    return catalogPgf == mPgfFormats.end() ? nullptr : catalogPgf->second;
}

// The tag of the paragraph's format: its own PgfTag; or else the PgfTag inside its own Pgf when
// the catalog has that format (openjade names the format there, to start the paragraph from it).
// FrameMaker puts a PgfTag there only for formats the catalog lacks, and means the paragraph to
// go on from the one before it: such a tag is not the paragraph's.
const PMString* MifContentImporter::ParagraphTag(const MifObject& mifPara) const
{
    if (const PMString* tag = StringOf(mifPara.FindProp(kMifPgfTag, false))) return tag;
    const MifObject* own = OwnPgf(mifPara);
    const PMString* inner = own ? StringOf(own->FindProp(kMifPgfTag, false)) : nullptr;
    return CatalogPgf(inner) ? inner : nullptr;
}

// The paragraph's own Pgf, the last when it has several.
const MifObject* MifContentImporter::OwnPgf(const MifObject& mifPara)
{
    const MifProp* own = mifPara.FindProp(kMifPgf, false);
    return own && own->type == kMifTypeObject ? own->value.object : nullptr;
}

void MifContentImporter::ApplySpaceBefore()
{
    // FrameMaker separates two paragraphs by the larger of the space after and the space
    // before; InDesign adds them, so this paragraph keeps only what the larger one adds.
    PgfRecord& current = mImportState.currentFormat;
    const double before = current.spaceBefore;
    const double after = mImportState.previousFormat.spaceAfter;
    if (after <= before + kPMRealEpsilon)
        current.spaceBefore = before - after;
    else if (before > kPMRealEpsilon)
        current.spaceBefore = 0;
    mImportState.paragraphOverrides.ApplyAttribute(TextAttribute::kSpaceBefore, current.spaceBefore);
}

void MifContentImporter::ApplyKeepWithPrevious()
{
    MifImportState& state = mImportState;
    if (!state.currentFormat.withPrevious || state.textIndex <= 0) return;
    // The paragraph that ends just before the text index, once this paragraph's return is in:
    // applied then, so that the paragraph cut from it does not take the keep along.
    AttributeBossList keep;
    keep.ApplyAttribute(TextAttribute::kKeepWithNext, int32(1));
    ApplyAttributesAtTextIndex(keep, state.textIndex - 1);
}

void MifContentImporter::ApplyLeading()
{
    MifImportState& state = mImportState;
    const double size = state.paragraphFont.size;
    if (size <= kPMRealEpsilon) return;
    const double lead = state.currentFormat.leading == PgfRecord::kUnset ? 0.2 * size : state.currentFormat.leading;
    InterfacePtr<IMifImportOptions> importOptions(this, IID_IMIFIMPORTOPTIONS);
    const int32 leadingMode = importOptions ? importOptions->GetPreset().GetLeading() : 2;
    state.paragraphOverrides.ApplyAttribute(TextAttribute::kLeading, MifAttributeBuilder::Leading(size, lead, leadingMode));
}

void MifContentImporter::StartParagraph()
{
    MifImportState& state = mImportState;
    if (!HasStory()) return;
    if (!state.In(Place::kRunIn)) {
        if (state.firstParagraph) {
            state.firstParagraph = false;
        } else if (InsertAtTextIndex(std::u16string(1, kTextChar_CR))) {
            ApplyKeepWithPrevious();
            // The new paragraph was cut from the one before, with its overrides: without a style
            // of its own to clear them, a keep applied to that one would come along.
            if (state.currentFormat.withPrevious && state.paragraphStyle == kInvalidUID) {
                AttributeBossList noKeep;
                noKeep.ApplyAttribute(TextAttribute::kKeepWithNext, int32(0));
                ApplyAttributesAtTextIndex(noKeep, state.textIndex);
            }
        }
    }
    if (state.paragraphStyle != kInvalidUID) ApplyStyleAtTextIndex(state.paragraphStyle);
    ApplyAttributesAtTextIndex(state.paragraphOverrides, state.textIndex);
    ApplyAttributesAtTextIndex(state.characterOverrides, state.textIndex);
    state.paragraphStart = state.textIndex;
}

void MifContentImporter::ReportProgress()
{
    ++mParagraphsDone;
    if (mParagraphTotal <= 0) return;
    int32 percent = static_cast<int32>(std::min<int64>(100, int64(mParagraphsDone) * 100 / mParagraphTotal));
    if (percent == mLastPercent) return;
    mLastPercent = percent;
    TaskProgressBar* progressBarManager = ProgressBarManager::GetCurrent();
    if (!progressBarManager) return;  // no bar shows when the import runs without one
    PMString text("OV#0xB40#kMifImportingParagraphsKey");
    text.Translate();
    PMString number;
    number.AppendNumber(percent);
    StringUtils::ReplaceStringParameters(&text, number);
    text.SetTranslated();
    progressBarManager->SetTaskText(text);
    progressBarManager->SetTaskFraction(percent / 100.0);
}

const MifObject* MifContentImporter::CatalogFont(const PMString& tag) const
{
    auto catalogFont = mFontFormats.find(tag.GetUTF16());
    return catalogFont == mFontFormats.end() ? nullptr : catalogFont->second;
}

const MifObject* MifContentImporter::FootnoteBody(int32 id) const
{
    auto body = mFootnotes.find(id);
    return body == mFootnotes.end() ? nullptr : body->second;
}

// ---- text ----

void MifContentImporter::InsertText(const PMString& text, bool decode)
{
    if (!HasStory() || text.IsEmpty()) return;
    PMString decoded(text);
    if (decode) DecodeText(decoded);
    if (decoded.IsEmpty()) return;
    if (mImportState.In(Place::kRunIn)) mImportState.runInText.Append(decoded);
    InsertAtTextIndex(std::move(decoded.GetUTF16Ref()));
}

void MifContentImporter::DecodeText(PMString& text)
{
    InterfacePtr<IMifTextConverter> textConverter(this, IID_IMIFTEXTCONVERTER);
    if (!textConverter) {
        MIF_LOG_NIL(textConverter);
        return;
    }
    if (mMifVersion >= 8.0) {
        textConverter->DecodeEscapes(text);
    } else {
        const PMString& family = !mImportState.textFont.family.IsEmpty() ? mImportState.textFont.family : mImportState.paragraphFont.family;
        textConverter->ConvertFontString(text, family, mMifRoot);
    }
    std::u16string& units = text.GetUTF16Ref();
    size_t kept = 0;
    int32 dropped = 0;
    for (char16_t c : units) {
        if (IsStrayControl(c))
            ++dropped;
        else
            units[kept++] = c;
    }
    units.resize(kept);
    if (dropped > 0) {
        PMString detail;
        detail.AppendNumber(dropped);
        Report({mItemLine, "Text: control characters that no story can hold were left out", detail});
    }
}

bool MifContentImporter::HasStory() const { return mImportState.story.ExistsInDB(); }

bool MifContentImporter::InsertAtTextIndex(std::u16string text)
{
    MifImportState& state = mImportState;
    Story* textModel = HasStory() ? state.story.GetDataBase()->Get<Story>(state.story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return false;
    }
    const int32 before = textModel->textModel.TotalLength();
    if (!(state.textIndex < before)) {
        MIF_LOG_FALSE(state.textIndex < before);
        return false;
    }
    const int64 characters = CountCharacters(text);
    auto insertCmd = std::make_shared<InsertTextCmd>();
    insertCmd->SetItemList(UIDList(state.story));
    insertCmd->index = state.textIndex;
    insertCmd->text = std::move(text);
    if (!MIF_RUN_COMMAND(insertCmd)) {
        return false;
    }
    state.textIndex += textModel->textModel.TotalLength() - before;
    mImportedCharacters += characters;
    return true;
}

int64 MifContentImporter::CountCharacters(const std::u16string& text)
{
    return std::count_if(text.begin(), text.end(), IMifContentImporter::IsCountedCharacter);
}


void MifContentImporter::ApplyStyleAtTextIndex(UID style)
{
    if (!HasStory()) return;
    auto applyStyleCmd = std::make_shared<ApplyTextStyleCmd>();
    applyStyleCmd->style = style;
    applyStyleCmd->index = mImportState.textIndex;
    applyStyleCmd->length = 0;
    applyStyleCmd->boolData = true;
    MIF_RUN_COMMAND(applyStyleCmd, UIDList(mImportState.story));
}

void MifContentImporter::ApplyAttributesAtTextIndex(const AttributeBossList& attributes, int32 index)
{
    if (attributes.IsEmpty() || !HasStory()) return;
    const Story* story = mImportState.story.GetDataBase()->Get<Story>(mImportState.story.GetUID());
    // A start at or beyond the story's end goes to its last character.
    const int32 length = story ? story->textModel.TotalLength() : 0;
    if (index >= length) index = length - 1;
    auto applyCmd = std::make_shared<ApplyTextAttributesCmd>();
    applyCmd->attributes = attributes;
    applyCmd->index = index;
    applyCmd->length = 0;
    applyCmd->boolData = true;
    MIF_RUN_COMMAND(applyCmd, UIDList(mImportState.story));
}
