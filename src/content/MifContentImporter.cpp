#include "content/MifContentImporter.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "AnchoredObjectCommands.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "ObjectModel.h"
#include "PageItem.h"
#include "Story.h"
#include "StyleCommands.h"
#include "StyleUtils.h"
#include "Table.h"
#include "TableCommands.h"
#include "TaskProgressBar.h"
#include "TextCommands.h"
#include "TextFrame.h"
#include "TextFrameCommands.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "catalogs/IMifColorImporter.h"
#include "catalogs/IMifVariableImporter.h"
#include "catalogs/IMifXRefImporter.h"
#include "content/IMifTextModelUtils.h"
#include "content/MifFrameAnchoring.h"
#include "content/MifSetNextStyleCmd.h"
#include "content/MifStraddleFrames.h"
#include "layout/IMifLayoutImporter.h"
#include "layout/IMifPageItemUtils.h"
#include "mif/IMifTextConverter.h"
#include "mif/MifFilePages.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "prefs/IMifFontConverter.h"
#include "prefs/IMifImportOptions.h"
#include "tables/IMifTableImporter.h"
#include "tables/IMifTableUtils.h"

namespace {

// The style a paragraph format's tag names: InDesign keeps "[No paragraph style]" for its own
// root style.
PMString ParagraphStyleName(const PMString& tag)
{
    return tag == PMString("[No paragraph style]") ? PMString("No paragraph style") : tag;
}

} // namespace

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

void MifContentImporter::ImportStyles()
{
    if (!mMifRoot) return;
    // Character styles first: paragraph formats refer to them for their numbers.
    if (const MifObject* fontCatalog = mMifRoot->GetObject(kMifFontCatalog))
        for (const MifObject& font : fontCatalog->Children(kMifFont)) CreateStyle(font, StyleKind::kCharacter);
    const MifObject* pgfCatalog = mMifRoot->GetObject(kMifPgfCatalog);
    if (!pgfCatalog) return;
    for (const MifObject& pgf : pgfCatalog->Children(kMifPgf)) CreateStyle(pgf, StyleKind::kParagraph);
    LinkNextStyles(*pgfCatalog);
}

void MifContentImporter::CreateStyle(const MifObject& format, StyleKind kind)
{
    DataBase* db = GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return;
    }
    bool paragraph = kind == StyleKind::kParagraph;
    const PMString* tag = format.GetString(paragraph ? kMifPgfTag : kMifFTag);
    if (!tag || tag->IsEmpty()) {
        // A format without a name cannot become a style.
        InterfacePtr<IMifErrorLog> importErrors(this, IID_IMIFERRORLOG);
        if (importErrors)
            importErrors->AddParseError(format.line, paragraph ? "Pgf without PgfTag, passed over" : "Font without FTag, passed over",
                                        PMString());
        return;
    }
    PMString name = paragraph ? ParagraphStyleName(*tag) : *tag;

    // The last format of a name wins: an earlier style of that name goes.
    UID existing = paragraph ? FindParagraphStyle(name) : FindCharacterStyle(name);
    if (existing != kInvalidUID) {
        auto deleteStyleCmd = std::make_shared<DeleteStyleCmd>();
        deleteStyleCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
        deleteStyleCmd->uidData = existing;
        if (CmdUtils::ProcessCommand(deleteStyleCmd) != kSuccess) {
            MIF_LOG_ERROR(deleteStyleCmd);
            return;
        }
    }

    auto createStyleCmd = std::make_shared<CreateStyleCmd>(kind);
    createStyleCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
    createStyleCmd->styleName = name;
    createStyleCmd->basedOn = kInvalidUID;  // a root style: it carries every attribute itself
    AttributeBossList& textAttributes = createStyleCmd->textAttributes;
    MifAttributeBuilder builder = GetAttributeBuilder();
    if (!paragraph) {
        builder.BuildCharacterAttributes(textAttributes, format);
    } else {
        builder.BuildParagraphAttributes(textAttributes, format);
        if (const MifObject* pgfFont = format.GetObject(kMifPgfFont)) {
            builder.BuildCharacterAttributes(textAttributes, *pgfFont);
            builder.AddLeading(textAttributes, format, *pgfFont);
        }
    }
    if (CmdUtils::ProcessCommand(createStyleCmd) != kSuccess) MIF_LOG_ERROR(createStyleCmd);
}

void MifContentImporter::LinkNextStyles(const MifObject& pgfCatalog)
{
    DataBase* db = GetDataBase();
    for (const MifObject& mifPgf : pgfCatalog.Children(kMifPgf)) {
        const PMString* tag = mifPgf.GetString(kMifPgfTag);
        const PMString* nextTag = mifPgf.GetString(kMifPgfNextTag);
        if (!tag || !mifPgf.GetBool(kMifPgfUseNextTag) || !nextTag || nextTag->IsEmpty()) continue;
        UID style = FindParagraphStyle(*tag);
        UID next = FindParagraphStyle(*nextTag);
        if (style == kInvalidUID || next == kInvalidUID) continue;
        auto setNextStyleCmd = std::make_shared<MifSetNextStyleCmd>();
        setNextStyleCmd->SetItemList(UIDList(UIDRef(db, style)));
        setNextStyleCmd->uidData = next;
        if (CmdUtils::ProcessCommand(setNextStyleCmd) != kSuccess) MIF_LOG_ERROR(setNextStyleCmd);
    }
}



namespace {

const PMString* StringOf(const MifProp* prop)
{
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

// The characters of the Char statement's values.
UTF16TextChar CharOf(int32 keyword)
{
    switch (keyword) {
    case kMifTab: return 0x0009;
    case kMifHardReturn: return 0x000A;
    case kMifHardSpace: return 0x00A0;
    case kMifSoftHyphen: return 0x00AD;
    case kMifDiscHyphen: return 0x00AD;
    case kMifHardHyphen: return 0x2011;
    case kMifEnDash: return 0x2013;
    case kMifEmDash: return 0x2014;
    case kMifEnSpace: return 0x2002;
    case kMifEmSpace: return 0x2003;
    case kMifNumberSpace: return 0x2007;
    case kMifThinSpace: return 0x2009;
    case kMifDagger: return 0x2020;
    case kMifDoubleDagger: return 0x2021;
    case kMifBullet: return 0x2022;
    case kMifCent: return 0x00A2;
    case kMifPound: return 0x00A3;
    case kMifYen: return 0x00A5;
    default: return 0;
    }
}

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
    mPendingTables.clear();
    mPendingTableIndexes.clear();
    mPendingBelowFrames.clear();
    mPendingBelowIndexes.clear();
    mPlacedTables.clear();
    mTblsById.clear();
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
    IndexTables();
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

void MifContentImporter::AddError(const PMString& message, const PMString& detail, int32 line)
{
    InterfacePtr<IMifErrorLog> errorLog(this, IID_IMIFERRORLOG);
    if (!errorLog) {
        MIF_LOG_NIL(errorLog);
        return;
    }
    PMString translated(message);
    translated.Translate();
    if (line > 0)
        errorLog->AddParseError(line, translated, detail);
    else
        errorLog->AddError(translated, detail);
}

void MifContentImporter::IndexTables()
{
    if (!mMifTbls) return;
    Utils<IMifTableUtils> tableUtils;
    for (const MifObject& tbl : mMifTbls->Children(kMifTbl)) {
        MifPropVal id;
        if (!tbl.GetPropVal(kMifTblID, id)) continue;  // no anchor can name it
        if (mTblsById.emplace(id.id, &tbl).second) continue;
        AddError("OV#0xB40#kMifTableIDUsedBeforeKey", tableUtils ? tableUtils->GetLeftOutText(&tbl) : PMString(), tbl.line);
    }
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
            AddError("A paragraph outside any text flow is skipped", PMString(), prop->line);
            continue;
        }
        if (prop->id != kMifTextFlow) continue;
        const MifObject* mifTextFlow = prop->value.object;
        mImportState.inStraddle = mImportState.inSidehead = mImportState.inRunIn = mImportState.inWideTable = false;
        mImportState.inTableImport = mImportState.skipText = mImportState.pendingFrameBreak = false;
        mImportState.straddleSplit = MifStraddleFrames::Split();
        ImportParagraphs(*mifTextFlow);
        // Straddles and heads still open at the end of the flow close here, and frames below the
        // flow's last line are anchored at its end.
        if (mImportState.inStraddle) CloseStraddle();
        CloseHeads();
        AnchorPendingBelowFrames(false);
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
    mImportState.inTableImport = true;
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
    ImportParaLine(*object);
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
    AnchorPendingBelowFrames(false);
    ApplyPendingStartParagraph();
    for (const MifObject& mifParaLine : mifPara.Children(kMifParaLine)) ImportParaLine(mifParaLine);
    EndCrossReferenceText(mifPara);
    InsertRunInPunctuation();
    DeleteUnhonouredTabs();
    AnchorPendingBelowFrames(true);
    PlaceTableAnchors();
    if (!mImportState.inTableImport) ReportProgress();
}

namespace {

// The least width a run-into-paragraph frame leaves its paragraph beside it, points.
constexpr double kMinRunIntoWidth = 36;

bool IsSideheadStyle(int32 style)
{
    return style == kMifSideheadTop || style == kMifSideheadFirstBaseline || style == kMifSideheadLastBaseline;
}

bool IsPunctuation(char16_t c)
{
    switch (c) {
    case u'.': case u',': case u':': case u';': case u'!': case u'?': case u'\u2026': case u'\u2014': case u'\u2013': case u'-':
        return true;
    default: return false;
    }
}

bool IsWhiteSpace(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0 || (c >= 0x2000 && c <= 0x200B); }

// Start-paragraph codes of the host for a PgfPlacement.
int32 StartCode(int32 placement)
{
    return placement == kMifPageTop ? 2 : placement == kMifColumnTop ? 1 : placement == kMifLPageTop ? 5 : placement == kMifRPageTop ? 4 : 0;
}

// The host's start-paragraph code for the next frame.
constexpr int32 kStartNextFrame = 3;

// Whether a paragraph whose overrides are `attributes` has a start of its own (a column, frame or
// page), which a frame break must not replace.
bool HasOwnStart(const AttributeBossList& attributes)
{
    const int32* start = attributes.Get<int32>(TextAttribute::kStartParagraph);
    return start && *start != 0;
}

// The depth of a line of a paragraph in `font` with `format`'s leading; 12 pt when the size is
// not known.
PMReal LineDepth(const PgfRecord& format, const FontRecord& font)
{
    const double size = font.size;
    if (!(size > 1e-8)) return 12;
    const double lead = format.leading == PgfRecord::kUnset ? 0.2 * size : format.leading;
    return size + std::max(0.0, lead);
}

} // namespace

// Straddles, side heads and run-in heads open, go on or close here, by the paragraph's
// PgfPlacementStyle and PgfPlacement.
void MifContentImporter::UpdatePlacementSequences(const MifObject& /*mifPara*/)
{
    MifImportState& state = mImportState;
    if (state.inTableImport || state.inFootnote) return;
    const int32 style = state.currentFormat.placementStyle;
    const bool straddle = style == kMifStraddle || style == kMifStraddleNormalOnly;
    if (state.inStraddle && !straddle) CloseStraddle();
    if (state.inRunIn && style != kMifRunIn) {
        CloseRunIn();
        // The paragraph's first line starts where the head frame does, at the column's edge.
        const double left = state.currentFormat.leftIndent != PgfRecord::kUnset ? state.currentFormat.leftIndent : 0;
        state.paragraphOverrides.ApplyAttribute(TextAttribute::kFirstLineIndent, PMReal(-left));
    }
    if (state.inSidehead && (!IsSideheadStyle(style) || style != state.sideheadStyle || state.currentFormat.placement != kMifAnywhere))
        CloseSidehead();
    if (style == kMifRunIn && !state.inRunIn && !state.inSidehead) OpenRunIn();
    else if (IsSideheadStyle(style) && !state.inSidehead && !state.inRunIn) OpenSidehead();
    else if (straddle) {
        if (!state.inStraddle && !state.inRunIn && !state.inSidehead) OpenStraddle();
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
                                 LineDepth(state.currentFormat, state.paragraphFont), state.straddleSplit))
        return false;
    state.inStraddle = true;
    if (state.straddleSplit.breakBefore && !HasOwnStart(state.paragraphOverrides)) state.paragraphOverrides.ApplyAttribute(TextAttribute::kStartParagraph, kStartNextFrame);
    return true;
}

// The frame across is fitted to the straddling paragraphs and the frame below takes the rest of
// the depth; the paragraph after the straddle starts there.
void MifContentImporter::CloseStraddle()
{
    MifImportState& state = mImportState;
    state.inStraddle = false;
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter || !HasStory()) {
        state.straddleSplit = MifStraddleFrames::Split();
        return;
    }
    mSplineBelowStraddleRef = MifStraddleFrames::Close(*layoutImporter, state.story, state.textIndex,
                                                       LineDepth(state.currentFormat, state.paragraphFont), 0, state.straddleSplit);
    state.pendingFrameBreak = mSplineBelowStraddleRef.ExistsInDB();
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
    if (state.inSidehead) return;
    // After a straddle or wide table, the body text goes on in the frame below it.
    if (state.pendingFrameBreak && !state.inRunIn && !state.inTableImport && !state.inFootnote && HasStory()) {
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

// The run-in head ends with its paragraph format's default punctuation: after a head that ends
// in punctuation already, without its leading punctuation; its trailing white space goes to the
// body text after the head.
void MifContentImporter::InsertRunInPunctuation()
{
    MifImportState& state = mImportState;
    if (!state.inRunIn || state.runInText.IsEmpty() || state.currentFormat.runInDefaultPunct.IsEmpty()) return;
    PMString punct(state.currentFormat.runInDefaultPunct);
    DecodeText(punct);
    std::u16string text = punct.GetUTF16();
    const std::u16string& head = state.runInText.GetUTF16();
    if (!head.empty() && IsPunctuation(head.back())) {
        size_t lead = 0;
        while (lead < text.size() && IsPunctuation(text[lead])) ++lead;
        text.erase(0, lead);
    }
    size_t end = text.size();
    while (end > 0 && IsWhiteSpace(text[end - 1])) --end;
    state.runInSpace = PMString(text.substr(end));
    text.resize(end);
    if (!text.empty() && InsertAtTextIndex(text)) state.runInText.Append(PMString(text));
}

bool MifContentImporter::StartHeadAnchor(PMReal width, PMReal height, const AnchoredObjectSettings& settings)
{
    MifImportState& state = mImportState;
    if (!HasStory()) return false;
    // The head stands at the start of the body paragraph that follows it: that paragraph is
    // begun here, and goes on after the head without a return of its own.
    if (!state.firstParagraph && !InsertAtTextIndex(std::u16string(1, kTextChar_CR))) return false;
    const bool separated = !state.firstParagraph;
    UIDRef frame = MifFrameAnchoring::CreateHeadFrame(state.story, state.textIndex, width, height, settings);
    if (!frame.ExistsInDB()) {
        if (separated) DeleteTextAt(state.textIndex - 1, 1);
        return false;
    }
    const Story* textModel = frame.GetDataBase()->Get<Story>(frame.GetDataBase()->Get<TextFrame>(frame.GetUID())->story);
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return false;
    }
    ++state.textIndex;
    // The text after the small anchor goes on in its own size.
    AttributeBossList goesOn = state.characterOverrides;
    if (!goesOn.Contains(TextAttribute::kPointSize) && state.paragraphFont.size > 0)
        goesOn.ApplyAttribute(TextAttribute::kPointSize, PMReal(state.paragraphFont.size));
    ApplyAttributesAtTextIndex(goesOn, state.textIndex);
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils) textModelUtils->ComposeStory(state.story);
    state.savedStory = state.story;
    state.savedTextIndex = state.textIndex;
    state.headFrame = frame;
    state.story = textModel->GetRef();
    state.textIndex = 0;
    return true;
}

void MifContentImporter::EndHead()
{
    MifImportState& state = mImportState;
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils) {
        textModelUtils->ComposeStory(state.story);
        textModelUtils->ComposeStory(state.savedStory);
    }
    auto fitFrameToContentCmd = std::make_shared<FitFrameToContentCmd>();
    fitFrameToContentCmd->SetItemList(UIDList(state.headFrame));
    fitFrameToContentCmd->growForOverset = true;
    if (!state.headFrame.ExistsInDB() || CmdUtils::ProcessCommand(fitFrameToContentCmd) != kSuccess) MIF_LOG_FAILED(fitFrameToContentCmd);
    state.story = state.savedStory;
    state.textIndex = state.savedTextIndex;
    // The body paragraph after the head continues the one its anchor began.
    state.firstParagraph = true;
    if (textModelUtils) textModelUtils->ComposeStory(state.story);
}

void MifContentImporter::OpenRunIn()
{
    MifImportState& state = mImportState;
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils && HasStory()) textModelUtils->ComposeStory(state.story);
    const double width = ColumnWidthAt(state.textIndex > 0 ? state.textIndex - 1 : 0);
    if (!(width > 1e-8)) {
        MIF_LOG_FALSE(columnWidth > 0.0);
        return;
    }
    if (!StartHeadAnchor(width, 100, MifFrameAnchoring::RunInSettings())) {
        MIF_LOG_NIL(runInTextFrame);
        return;
    }
    state.inRunIn = true;
    state.firstParagraph = false;
    state.runInText = PMString();
    state.runInSpace = PMString();
}

void MifContentImporter::CloseRunIn()
{
    MifImportState& state = mImportState;
    state.inRunIn = false;
    state.firstParagraph = false;
    const UIDRef head = state.headFrame;
    EndHead();
    // A head of one line is as wide as its text and shares its baseline with the body text, so
    // that the body runs on beside it.
    DataBase* db = head.GetDataBase();
    TextFrame* frame = db ? db->Get<TextFrame>(head.GetUID()) : nullptr;
    const Story* headStory = frame ? db->Get<Story>(frame->story) : nullptr;
    if (frame && headStory && headStory->frameList.IsComposed() && headStory->frameList.GetFrameCount() == 1 &&
        !headStory->frameList.Overflows()) {
        const ComposedFrame& composed = headStory->frameList.GetFrame(0);
        if (composed.lines.size() == 1) {
            // Read before the frame changes: resizing it sets its lines anew.
            const PMReal width = composed.lines.front().left + composed.lines.front().width + frame->insets.right - frame->pathBounds.left + 0.5;
            const PMReal belowBaseline = frame->pathBounds.bottom - composed.lines.front().baseline;
            Utils<IMifPageItemUtils> pageItemUtils;
            if (pageItemUtils && width > 1e-8 && width < frame->pathBounds.Width()) pageItemUtils->SetWidth(head, width);
            AnchoredObjectSettings settings = frame->anchorSettings;
            settings.yOffset = -belowBaseline;
            auto changeAnchoredObjectDataCmd = std::make_shared<ChangeAnchoredObjectDataCmd>();
            changeAnchoredObjectDataCmd->SetItemList(UIDList(head));
            changeAnchoredObjectDataCmd->anchoredObjectData = settings;
            if (CmdUtils::ProcessCommand(changeAnchoredObjectDataCmd) != kSuccess) MIF_LOG_FAILED(changeAnchoredObjectDataCmd);
        }
    }
    if (!state.runInSpace.IsEmpty()) InsertAtTextIndex(state.runInSpace.GetUTF16());
    state.runInSpace = PMString();
    state.headFrame = UIDRef();
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}

void MifContentImporter::OpenSidehead()
{
    MifImportState& state = mImportState;
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter) {
        MIF_LOG_NIL(layoutImporter);
        return;
    }
    double width = layoutImporter->GetSideheadWidth(state.textRectID);
    if (!(width > 1e-8)) {
        // The flow's frames have no side-head area: the head stays a paragraph of the body.
        MIF_LOG_FALSE(mSideheadWidth > 0.0);
        return;
    }
    if (width < 9.99999999) width = 250;
    const double gap = std::max<double>(0, layoutImporter->GetSideheadGap(state.textRectID));
    const int32 placement = layoutImporter->GetSideheadPlacement(state.textRectID);
    const int32 style = state.currentFormat.placementStyle;
    const UIDRef previous = state.previousSideheadFrame;
    if (!StartHeadAnchor(width, 1000, MifFrameAnchoring::SideheadSettings(placement, gap, style))) {
        MIF_LOG_NIL(sideheadTextFrame);
        return;
    }
    // A side head that would run into the one before it moves the body text down until it clears
    // it: the paragraph before the anchor gets the space after that takes.
    Utils<IMifTextModelUtils> textModelUtils;
    DataBase* db = state.savedStory.GetDataBase();
    const Story* body = db ? db->Get<Story>(state.savedStory.GetUID()) : nullptr;
    const PageItem* previousItem = db && previous.ExistsInDB() ? db->Get<PageItem>(previous.GetUID()) : nullptr;
    const int32 anchor = state.savedTextIndex - 1;
    if (body && previousItem && previousItem->anchorStory == body->GetUID() && anchor > 1 && textModelUtils) {
        const UID frameOfAnchor = textModelUtils->FindFrameOfIndex(state.savedStory, anchor);
        for (const ComposedFrame& composed : body->frameList.GetFrames()) {
            if (composed.frame != frameOfAnchor) continue;
            const PlacedAnchor* before = nullptr;
            for (const PlacedAnchor& placed : composed.anchors)
                if (placed.item == previous.GetUID()) before = &placed;
            const ComposedLine* line = body->frameList.FindLine(anchor);
            if (!before || !line) break;
            const PMReal needed = before->bounds.bottom - (line->baseline - line->ascent);
            const TextFormat* format = body->textModel.GetParagraphFormat(anchor - 1);
            const PMReal* spaceAfter = format ? format->overrides.Get<PMReal>(TextAttribute::kSpaceAfter) : nullptr;
            const PMReal current = spaceAfter ? *spaceAfter : 0;
            if (needed > 1e-8) {
                AttributeBossList room;
                room.ApplyAttribute(TextAttribute::kSpaceAfter, current + needed);
                auto applyCmd = std::make_shared<ApplyTextAttributesCmd>();
                applyCmd->SetItemList(UIDList(state.savedStory));
                applyCmd->attributes = room;
                applyCmd->index = anchor - 1;
                if (CmdUtils::ProcessCommand(applyCmd) != kSuccess) MIF_LOG_FAILED(spaceAfterAttr);
            }
            break;
        }
    }
    state.sideheadWidth = width;
    state.sideheadGap = gap;
    state.sideheadSum = width + gap;
    state.sideheadPlacement = placement;
    state.sideheadStyle = style;
    state.pendingStartParagraph = state.currentFormat.placement != kMifAnywhere ? state.currentFormat.placement : 0;
    state.inSidehead = true;
    state.firstParagraph = true;
}

void MifContentImporter::CloseSidehead()
{
    MifImportState& state = mImportState;
    state.inSidehead = false;
    state.sideheadWidth = state.sideheadGap = state.sideheadSum = 0;
    state.previousSideheadFrame = state.headFrame;
    EndHead();
    state.headFrame = UIDRef();
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}

// At the end of a flow (or of the text it is poured into), open heads end.
void MifContentImporter::CloseHeads()
{
    if (mImportState.inRunIn) CloseRunIn();
    if (mImportState.inSidehead) CloseSidehead();
    mImportState.previousSideheadFrame = UIDRef();
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
    if (CmdUtils::ProcessCommand(deleteCmd) != kSuccess) {
        MIF_LOG_ERROR(deleteCmd);
        return false;
    }
    mImportedCharacters -= CountCharacters(deleted);
    if (state.textIndex > index) state.textIndex -= std::min(length, state.textIndex - index);
    // Table anchors after the deleted text move with it.
    for (int32& anchor : mPendingTableIndexes)
        if (anchor > index) anchor -= std::min(length, anchor - index);
    for (int32& anchor : mPendingBelowIndexes)
        if (anchor > index) anchor -= std::min(length, anchor - index);
    return true;
}

// The tables anchored in the paragraph follow the lines that hold their anchors (FrameMaker shows
// a table below its anchoring line), the last placed first so the ones before stay where they are.
void MifContentImporter::PlaceTableAnchors()
{
    MifImportState& state = mImportState;
    if (state.inTableImport) return;
    mTablesPlaced = false;
    if (mPendingTables.empty()) return;
    std::vector<const MifObject*> tables;
    std::vector<int32> indexes;
    tables.swap(mPendingTables);
    indexes.swap(mPendingTableIndexes);
    const Story* textModel = HasStory() ? state.story.GetDataBase()->Get<Story>(state.story.GetUID()) : nullptr;
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
    mTablesPlaced = true;
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

const MifProp* MifContentImporter::FindTblFormatProp(const MifObject& tbl, int32 id) const
{
    const MifObject* own = tbl.GetObject(kMifTblFormat);
    if (own)
        if (const MifProp* prop = own->FindProp(id)) return prop;
    const PMString* tag = own ? StringOf(own->FindProp(kMifTblTag)) : nullptr;
    if (!tag) tag = StringOf(tbl.FindProp(kMifTblTag));
    const MifObject* catalogFormat = tag && mMifTblCatalog ? mMifTblCatalog->FindObjectWithString(kMifTblTag, *tag, 1) : nullptr;
    return catalogFormat ? catalogFormat->FindProp(id) : nullptr;
}

void MifContentImporter::PlaceTable(const MifObject& tbl, int32 index, bool first, bool last)
{
    MifImportState& state = mImportState;
    InterfacePtr<IMifTableImporter> tableImporter(this, IID_IMIFTABLEIMPORTER);
    if (!tableImporter) {
        MIF_LOG_NIL(tableImporter);
        return;
    }
    Story* textModel = HasStory() ? state.story.GetDataBase()->Get<Story>(state.story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return;
    }
    // 1. The spacing FrameMaker puts around the table.
    const double fontSize = state.paragraphFont.size > 0 ? state.paragraphFont.size : 0;
    const double leading = state.currentFormat.leading == PgfRecord::kUnset ? 0 : state.currentFormat.leading;
    const double anchoringSpace = index == state.textIndex ? state.currentFormat.spaceAfter : 0;
    const double extraSpaceBefore = first ? fontSize / 3 : 0;
    const double extraSpaceAfter = last ? -2 * leading : 0;
    const double titleGapExtra = fontSize / 3;
    // 2. The table format's placement values.
    auto length = [&](int32 id) {
        const MifProp* prop = FindTblFormatProp(tbl, id);
        const double value = prop && MifDimCount(prop->type) > 0 ? prop->value.dim[0] : 0;
        return std::isfinite(value) && std::fabs(value) < 1.0e5 ? value : 0.0;
    };
    const double leftIndent = length(kMifTblLIndent), rightIndent = length(kMifTblRIndent);
    const MifProp* alignmentProp = FindTblFormatProp(tbl, kMifTblAlignment);
    const int32 alignment = alignmentProp && alignmentProp->type == kMifTypeKeyword ? alignmentProp->value.keyword : kMifLeft;
    const MifProp* placementProp = FindTblFormatProp(tbl, kMifTblPlacement);
    // 7. A table wider than a column of a frame of two or more columns goes across them, with no
    // indents and no preceding space.
    bool wide = IsWideTable(tbl, index, alignment, leftIndent, rightIndent);
    const double precedingSpace = wide ? 0 : anchoringSpace;

    // 3. The table's paragraph starts after a return at the anchor.
    const int32 textIndex = state.textIndex;
    state.textIndex = index;
    const bool inserted = InsertAtTextIndex(std::u16string(1, kTextChar_CR));
    state.textIndex = textIndex + (inserted ? 1 : 0);
    if (!inserted) return;
    const int32 tableParagraph = index + 1;
    // The table's paragraph holds the table alone: text after the anchoring line goes on in a
    // paragraph of its own, which goes on from the anchoring one without space or indent.
    bool split = false;
    if (textModel->textModel.GetChar(tableParagraph) != kTextChar_CR) {
        const int32 saved = state.textIndex;
        state.textIndex = tableParagraph;
        split = InsertAtTextIndex(std::u16string(1, kTextChar_CR));
        state.textIndex = saved + (split && saved >= tableParagraph ? 1 : 0);
        if (!split) {
            DeleteTextAt(index, 1);
            return;
        }
        AttributeBossList goesOn;
        goesOn.ApplyAttribute(TextAttribute::kSpaceBefore, 0.0);
        goesOn.ApplyAttribute(TextAttribute::kFirstLineIndent, 0.0);
        ApplyAttributesAtTextIndex(goesOn, tableParagraph + 1);
    }
    // The wide table's frame: the frame is split after the anchoring line, and the table's
    // paragraph starts the frame across (the text after it, the frame after that).
    if (wide) {
        InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
        wide = layoutImporter && MifStraddleFrames::Open(*layoutImporter, state.story, index,
                                                         LineDepth(state.currentFormat, state.paragraphFont), state.straddleSplit);
        state.inWideTable = wide;
    }
    // 4. and 5. The paragraph before the table; a wide table's place is its frame, which no keep
    // may move.
    AttributeBossList before;
    if (precedingSpace <= 0) before.ApplyAttribute(TextAttribute::kSpaceAfter, 0.0);
    if (!wide && placementProp && placementProp->type == kMifTypeKeyword && placementProp->value.keyword != kMifFloat)
        before.ApplyAttribute(TextAttribute::kKeepWithNext, int32(1));
    ApplyAttributesAtTextIndex(before, index);
    // 6. The table's paragraph.
    AttributeBossList paragraph;
    const int32 justification = alignment == kMifCenter ? 1 : alignment == kMifRight || alignment == kMifOutside ? 2 : 0;
    paragraph.ApplyAttribute(TextAttribute::kJustification, justification);
    paragraph.ApplyAttribute(TextAttribute::kLeftIndent, wide ? 0.0 : leftIndent);
    paragraph.ApplyAttribute(TextAttribute::kRightIndent, wide ? 0.0 : rightIndent);
    paragraph.ApplyAttribute(TextAttribute::kFirstLineIndent, 0.0);
    paragraph.ApplyAttribute(TextAttribute::kSpaceBefore, 0.0);
    paragraph.ApplyAttribute(TextAttribute::kStartParagraph, wide ? kStartNextFrame : int32(0));
    paragraph.ApplyAttribute(TextAttribute::kKeepWithNext, int32(0));
    ApplyAttributesAtTextIndex(paragraph, tableParagraph);
    if (wide && split) {
        AttributeBossList nextFrame;
        nextFrame.ApplyAttribute(TextAttribute::kStartParagraph, kStartNextFrame);
        ApplyAttributesAtTextIndex(nextFrame, tableParagraph + 1);
    }
    // 8. The table.
    double spaceBefore = 0, spaceAfter = 0;
    const int32 lengthBefore = textModel->textModel.GetThreadRange(0).length;
    const UID table = tableImporter->ImportTable(state.story, tableParagraph, &tbl, precedingSpace, extraSpaceBefore, extraSpaceAfter,
                                                 titleGapExtra, &spaceBefore, &spaceAfter);
    const int32 added = textModel->textModel.GetThreadRange(0).length - lengthBefore;
    if (state.textIndex >= tableParagraph) state.textIndex += added;
    if (table == kInvalidUID) {
        // No table: the returns made for it go again, so the paragraph stays whole.
        DeleteTextAt(index, split ? 2 : 1);
        if (wide) CloseWideTable(-1, PgfRecord::kUnset, split);
        return;
    }
    // 9. The frame across is fitted to the table, below the space before it when the anchoring
    // paragraph ended with the table.
    bool frameBelow = false;
    if (wide) frameBelow = CloseWideTable(tableParagraph, anchoringSpace > 0 ? spaceBefore : PgfRecord::kUnset, split);
    // A table wider than its column allows after the indents moves left as far as it must (never
    // past the column's left edge), so that no reader sets it outside its frame.
    if (const Table* model = wide ? nullptr : state.story.GetDataBase()->Get<Table>(table)) {
        const double columnWidth = ColumnWidthAt(index);
        const double strokes = 0.5 * (model->ColumnEdge(0, 0).weight + model->ColumnEdge(0, model->ColumnCount()).weight);
        const double room = columnWidth - rightIndent - model->Width() - strokes;
        if (columnWidth > 0 && leftIndent > room + 1e-8) {
            AttributeBossList fitted;
            fitted.ApplyAttribute(TextAttribute::kLeftIndent, std::max(0.0, room));
            ApplyAttributesAtTextIndex(fitted, tableParagraph);
        }
    }
    // 10. The text after the table may start anywhere, or in the frame below a wide table; the
    // import goes on at the story's end.
    const TextRange primary = textModel->textModel.GetThreadRange(0);
    if (textModel->textModel.GetParagraphRange(tableParagraph).End() < primary.End()) {
        AttributeBossList anywhere;
        anywhere.ApplyAttribute(TextAttribute::kStartParagraph, frameBelow ? kStartNextFrame : int32(0));
        ApplyAttributesAtTextIndex(anywhere, primary.End() - 1);
    } else if (frameBelow) {
        state.pendingFrameBreak = true;
    }
    state.textIndex = primary.End() - 1;
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils) textModelUtils->ComposeStory(state.story);
}

bool MifContentImporter::IsWideTable(const MifObject& tbl, int32 index, int32 alignment, double leftIndent, double rightIndent) const
{
    const MifImportState& state = mImportState;
    if (state.inStraddle || state.inSidehead || state.inRunIn || state.inTableImport || state.inFootnote) return false;
    Utils<IMifTextModelUtils> textModelUtils;
    Utils<IMifTableUtils> tableUtils;
    DataBase* db = state.story.GetDataBase();
    const TextFrame* frame = textModelUtils && db ? db->Get<TextFrame>(textModelUtils->FindFrameOfIndex(state.story, index)) : nullptr;
    if (!frame || frame->columnCount < 2 || !tableUtils) return false;
    double width = tableUtils->GetTableWidth(&tbl);
    const bool left = alignment == kMifLeft || alignment == kMifInside, right = alignment == kMifRight || alignment == kMifOutside;
    if (left || alignment == kMifCenter) width += leftIndent;
    if (right || alignment == kMifCenter) width += rightIndent;
    const double column = ColumnWidthAt(index);
    return width > column + std::max(0.0, frame->columnGutter) + 1 + 1e-8;
}

// The wide table's sequence ends with its paragraph: the frame across is fitted to it (its top
// inset grown by `spaceBefore` unless that is unset) and the frame below made. Whether there is
// a frame below; without one the text after the table goes on where it may, and a frame break
// already put on it (`split`: the text after the anchoring line) is taken off.
bool MifContentImporter::CloseWideTable(int32 tableParagraph, double spaceBefore, bool split)
{
    MifImportState& state = mImportState;
    state.inWideTable = false;
    mSplineBelowWideTableRef = UIDRef();
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    const Story* textModel = HasStory() ? state.story.GetDataBase()->Get<Story>(state.story.GetUID()) : nullptr;
    if (layoutImporter && textModel && tableParagraph >= 0) {
        const int32 lastIndex = textModel->textModel.GetParagraphRange(tableParagraph).End() - 1;
        const double spaceAbove = spaceBefore == PgfRecord::kUnset ? 0 : spaceBefore;
        mSplineBelowWideTableRef = MifStraddleFrames::Close(*layoutImporter, state.story, lastIndex,
                                                            LineDepth(state.currentFormat, state.paragraphFont), spaceAbove,
                                                            state.straddleSplit);
    }
    state.straddleSplit = MifStraddleFrames::Split();
    const bool below = mSplineBelowWideTableRef.ExistsInDB();
    if (!below && split && textModel && tableParagraph >= 0) {
        AttributeBossList anywhere;
        anywhere.ApplyAttribute(TextAttribute::kStartParagraph, int32(0));
        ApplyAttributesAtTextIndex(anywhere, textModel->textModel.GetParagraphRange(tableParagraph).End());
    }
    return below;
}

void MifContentImporter::EnterTextColumn(const MifObject& mifPara)
{
    MifImportState& state = mImportState;
    MifPropVal rectId;
    if (!mifPara.GetPropValDeep(kMifTextRectID, rectId, true, 1)) return;
    state.textRectID = rectId.id;
    if (state.inStraddle || state.inRunIn || state.inSidehead || state.inTableImport || state.inFootnote) return;
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter) {
        MIF_LOG_NIL(layoutImporter);
        return;
    }
    UIDRef story = layoutImporter->GetStoryOfTextRect(rectId.id);
    if (!story.ExistsInDB() && !mTextRectIds.count(rectId.id)) {
        PMString detail;
        detail.AppendNumber(rectId.id);
        AddError("Text flow: TextRectID names no text column, its text is skipped", detail, mifPara.line);
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
    if (!state.inRunIn) {
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

// ---- the items of a line ----

void MifContentImporter::ImportParaLine(const MifObject& mifParaLine)
{
    MifImportState& state = mImportState;
    for (const MifProp* prop : mifParaLine.props) {
        if (!prop) break;
        if (!HasStory()) continue;  // markers, the only items without a story, are not converted
        const MifObject* object = prop->type == kMifTypeObject ? prop->value.object : nullptr;
        mItemLine = prop->line;
        switch (prop->id) {
        case kMifString:
            if (state.skipText) break;
            if (const PMString* text = StringOf(prop)) InsertText(*text, true);
            break;
        case kMifChar:
            if (!state.skipText) ImportChar(*prop);
            break;
        case kMifFont:
            if (object) ChangeFont(*object);
            break;
        case kMifFNote:
            ImportFootnote(*prop);
            break;
        case kMifVariable:
            if (object) ImportVariable(*object);
            break;
        case kMifMarker:
            if (object && CrossReferenceMode() == 2) ImportMarker(*object);
            break;
        case kMifXRef:
            // A live cross-reference shows its own text: the text FrameMaker wrote for it, which
            // follows up to XRefEnd, is skipped. Otherwise that text is the cross-reference.
            if (object && !state.skipText && CrossReferenceMode() == 2) state.skipText = ImportXRef(*object);
            break;
        case kMifXRefEnd:
            state.skipText = false;
            break;
        case kMifATbl:
            RecordTableAnchor(*prop);
            break;
        case kMifAFrame:
            AnchorFrame(*prop);
            break;
        default:
            break;
        }
    }
}

// The table of an ATbl is recorded with the text index and placed after the paragraph.
void MifContentImporter::RecordTableAnchor(const MifProp& prop)
{
    MifImportState& state = mImportState;
    PMString detail;
    if (prop.type == kMifTypeID || MifIsIntegerType(prop.type)) detail.AppendNumber(prop.value.id);
    if (state.inTableImport || state.inFootnote) {
        AddError("Table import: a table inside a table cell or a footnote is skipped", detail, prop.line);
        return;
    }
    auto found = detail.IsEmpty() ? mTblsById.end() : mTblsById.find(prop.value.id);
    const MifObject* tbl = found != mTblsById.end() ? found->second : nullptr;
    if (!tbl) {
        AddError("Table import: no Tbl has the TblID of this anchor, the anchor is skipped", detail, prop.line);
        return;
    }
    if (!mPlacedTables.insert(prop.value.id).second) {
        AddError("Table import: the table is anchored more than once, only its first anchor is kept", detail, prop.line);
        return;
    }
    mPendingTables.push_back(tbl);
    mPendingTableIndexes.push_back(state.textIndex);
}

// The frame of an AFrame is anchored at the text index (a run-into-paragraph frame at the
// paragraph's start), as MifFrameAnchoring sets each FrameType.
void MifContentImporter::AnchorFrame(const MifProp& prop)
{
    MifImportState& state = mImportState;
    PMString detail;
    if (MifIsIntegerType(prop.type)) detail.AppendNumber(prop.value.id);
    const MifObject* mifFrame = mMifAFrames && !detail.IsEmpty() ? mMifAFrames->FindObjectWithId(kMifID, prop.value.id, 1) : nullptr;
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter) {
        MIF_LOG_NIL(layoutImporter);
        return;
    }
    UIDRef item = mifFrame ? layoutImporter->GetItemOfId(prop.value.id) : UIDRef();
    const PageItem* pageItem = item.ExistsInDB() ? item.GetDataBase()->Get<PageItem>(item.GetUID()) : nullptr;
    if (!mifFrame || !pageItem) {
        AddError("Anchored frame: no frame of the AFrames was built for this anchor, the anchor is skipped", detail, prop.line);
        return;
    }
    if (pageItem->anchorStory != kInvalidUID) {
        AddError("Anchored frame: the frame is anchored more than once, only its first anchor is kept", detail, prop.line);
        return;
    }
    const MifFrameAnchoring::FrameAnchor anchor = MifFrameAnchoring::Read(*mifFrame);
    if (anchor.frameType == kMifBelow && !state.inTableImport && !state.inFootnote) {
        // It stands below the line of its anchor, which is known once the paragraph is whole.
        if (std::find(mPendingBelowFrames.begin(), mPendingBelowFrames.end(), item) != mPendingBelowFrames.end()) {
            AddError("Anchored frame: the frame is anchored more than once, only its first anchor is kept", detail, prop.line);
            return;
        }
        mPendingBelowFrames.push_back(item);
        mPendingBelowIndexes.push_back(state.textIndex);
        mPendingBelowStory = state.story;
        return;
    }
    bool runInto = anchor.frameType == kMifRunIntoParagraph;
    const int32 index = runInto ? std::min(state.paragraphStart, state.textIndex) : state.textIndex;
    AnchoredObjectSettings settings = MifFrameAnchoring::SettingsFor(anchor);
    if (runInto && HasStory()) {
        // A frame that leaves the paragraph too little of its column beside it stands above it.
        Utils<IMifTextModelUtils> textModelUtils;
        if (textModelUtils) textModelUtils->ComposeStory(state.story);
        const double column = ColumnWidthAt(index > 0 ? index - 1 : 0);
        if (column > 0 && anchor.width + anchor.gap > column - kMinRunIntoWidth) {
            runInto = false;
            settings = AnchoredObjectSettings();
            settings.position = AnchorPosition::kAboveLine;
        }
    }
    if (!MifFrameAnchoring::Anchor(state.story, index, item, settings)) return;
    ++state.textIndex;
    Utils<IMifPageItemUtils> pageItemUtils;
    if (MifFrameAnchoring::IsSideType(anchor.frameType) && pageItemUtils) pageItemUtils->SetWrapMode(item, TextWrapMode::kNone);
    if (runInto) {
        // The paragraph leaves room for the frame, whose wrap gap faces the text.
        const PgfRecord& format = state.currentFormat;
        const PMReal* rightIndent = state.paragraphOverrides.Get<PMReal>(TextAttribute::kRightIndent);
        AttributeBossList room = MifFrameAnchoring::RoomFor(anchor, format.leftIndent != PgfRecord::kUnset ? format.leftIndent : 0,
                                                            rightIndent ? *rightIndent : 0);
        ApplyAttributesAtTextIndex(room, index);
        if (pageItemUtils) {
            const bool right = anchor.align == kMifRight;
            pageItemUtils->SetWrapMargins(item, right ? anchor.gap : 0, 0, right ? 0 : anchor.gap, 0);
        }
    }
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    // The text after the small anchor character goes on in its own size.
    AttributeBossList goesOn = state.characterOverrides;
    if (!goesOn.Contains(TextAttribute::kPointSize) && state.textFont.size > 0) goesOn.ApplyAttribute(TextAttribute::kPointSize, PMReal(state.textFont.size));
    ApplyAttributesAtTextIndex(goesOn, state.textIndex);
}

// A Below frame belongs to the paragraph whose line anchors it: it stands under that line, inside
// the paragraph, and pushes the lines after it down. InDesign puts an above-line object over the
// line that holds its anchor, so the anchor goes at the start of the line after the anchoring one,
// which a forced line break begins where the anchoring line is the paragraph's last.
void MifContentImporter::AnchorPendingBelowFrames(bool underTheirLines)
{
    MifImportState& state = mImportState;
    // Not in the cells of a table, a footnote or a head: the body text.
    if (mPendingBelowFrames.empty() || state.inTableImport || state.inFootnote || state.inRunIn || state.inSidehead) return;
    std::vector<UIDRef> frames;
    std::vector<int32> indexes;
    frames.swap(mPendingBelowFrames);
    indexes.swap(mPendingBelowIndexes);
    const UIDRef story = mPendingBelowStory;
    const Story* textModel = story.ExistsInDB() ? story.GetDataBase()->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) return;
    if (!underTheirLines || story != state.story) {
        // After the last paragraph of a flow (or of its story), at the end of that text.
        const int32 index = story == state.story ? state.textIndex : textModel->textModel.GetThreadRange(0).End() - 1;
        AnchorBelowFramesAt(story, index, frames);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return;
    }
    // The end of each anchor's composed line; the frames of one line go there in their order.
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils) textModelUtils->ComposeStory(story);
    for (int32& index : indexes) {
        if (const ComposedLine* line = index < state.textIndex ? textModel->frameList.FindLine(index) : nullptr)
            index = std::max(index, line->End());
        index = std::min(index, state.textIndex);
    }
    // From the last line back, so that what is inserted leaves the indexes before it alone.
    size_t last = frames.size();
    while (last > 0) {
        size_t first = last - 1;
        while (first > 0 && indexes[first - 1] == indexes[last - 1]) --first;
        const int32 at = indexes[last - 1];
        const int32 inserted = AnchorBelowFramesAt(story, at, std::vector<UIDRef>(frames.begin() + first, frames.begin() + last));
        // Tables anchored on the same line stand under the frames.
        for (int32& anchor : mPendingTableIndexes)
            if (anchor >= at) anchor += inserted;
        last = first;
    }
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}

int32 MifContentImporter::AnchorBelowFramesAt(const UIDRef& story, int32 index, const std::vector<UIDRef>& frames)
{
    MifImportState& state = mImportState;
    const Story* textModel = story.GetDataBase()->Get<Story>(story.GetUID());
    const bool atEnd = story == state.story && index == state.textIndex;
    int32 inserted = 0;
    const UTF16TextChar before = index > 0 ? textModel->textModel.GetChar(index - 1) : kTextChar_CR;
    if (before != kTextChar_CR && before != kTextChar_LF) {
        auto insertCmd = std::make_shared<InsertTextCmd>();
        insertCmd->SetItemList(UIDList(story));
        insertCmd->index = index;
        insertCmd->text = std::u16string(1, kTextChar_LF);
        if (CmdUtils::ProcessCommand(insertCmd) != kSuccess) {
            MIF_LOG_ERROR(insertCmd);
            ErrorUtils::PMSetGlobalErrorCode(kSuccess);
            return 0;
        }
        ++index;
        ++inserted;
    }
    MifFrameAnchoring::FrameAnchor below;
    below.frameType = kMifBelow;
    InterfacePtr<IMifLayoutImporter> layoutImporter(this, IID_IMIFLAYOUTIMPORTER);
    for (const UIDRef& item : frames) {
        const MifObject* mifObject = layoutImporter ? layoutImporter->GetMifObjectOfItem(item.GetUID()) : nullptr;
        const MifFrameAnchoring::FrameAnchor anchor = mifObject ? MifFrameAnchoring::Read(*mifObject) : below;
        if (!MifFrameAnchoring::Anchor(story, index, item, MifFrameAnchoring::SettingsFor(anchor))) continue;
        ++index;
        ++inserted;
    }
    if (story == state.story && index - inserted <= state.textIndex) state.textIndex += inserted;
    if (atEnd && inserted > 0) {
        // Text that goes on after the small anchor characters has its own size.
        AttributeBossList goesOn = state.characterOverrides;
        if (!goesOn.Contains(TextAttribute::kPointSize) && state.textFont.size > 0)
            goesOn.ApplyAttribute(TextAttribute::kPointSize, PMReal(state.textFont.size));
        ApplyAttributesAtTextIndex(goesOn, state.textIndex);
    }
    return inserted;
}

void MifContentImporter::ImportChar(const MifProp& prop)
{
    if (prop.type != kMifTypeKeyword) return;
    UTF16TextChar c = CharOf(prop.value.keyword);
    if (c) InsertText(PMString(std::u16string(1, c)), false);
}

void MifContentImporter::ImportFootnote(const MifProp& prop)
{
    MifImportState& state = mImportState;
    if (state.inTableImport) {
        AddError("OV#0xB40#kMifFootnoteInTableKey", PMString(), prop.line);
        return;
    }
    if (prop.type != kMifTypeID || prop.value.id <= 0) {
        AddError("Footnote: an FNote without the ID of its text is skipped", PMString(), prop.line);
        return;
    }
    PMString detail;
    detail.AppendNumber(prop.value.id);
    if (state.inFootnote) {
        // FrameMaker has no footnotes in footnotes; one that names its own text would never end.
        AddError("Footnote: a footnote inside a footnote is skipped", detail, prop.line);
        return;
    }
    auto body = mFootnotes.find(prop.value.id);
    if (body == mFootnotes.end()) {
        AddError("Footnote: no footnote text has this ID, the footnote is skipped", detail, prop.line);
        return;
    }
    if (!InsertAtTextIndex(std::u16string(1, kTextChar_FootnoteMarker))) return;
    auto createFootnoteCmd = std::make_shared<CreateFootnoteCmd>();
    createFootnoteCmd->SetItemList(UIDList(state.story));
    createFootnoteCmd->rangeData = TextRange{state.textIndex - 1, 0};
    createFootnoteCmd->boolData = false;
    if (CmdUtils::ProcessCommand(createFootnoteCmd) != kSuccess) {
        MIF_LOG_ERROR(createFootnoteCmd);
        // No marker without its footnote.
        DeleteTextAt(state.textIndex - 1, 1);
        return;
    }
    ApplyAttributesAtTextIndex(state.characterOverrides, state.textIndex);
    const TextRange thread = createFootnoteCmd->textStoryThread;
    MifImportState saved = state;
    state.textIndex = thread.End() - 1;
    state.firstParagraph = true;
    state.inFootnote = true;
    ImportParagraphs(*body->second);
    mImportState = saved;
}

void MifContentImporter::ImportVariable(const MifObject& mifVariable)
{
    const PMString* name = StringOf(mifVariable.FindProp(kMifVariableName));
    if (name && *name == PMString("Table Continuation")) return;
    InterfacePtr<IMifVariableImporter> variableImporter(this, IID_IMIFVARIABLEIMPORTER);
    if (!variableImporter) {
        MIF_LOG_NIL(variableImporter);
        return;
    }
    InterfacePtr<IMifImportOptions> importOptions(this, IID_IMIFIMPORTOPTIONS);
    if (importOptions && importOptions->GetPreset().GetVariables() == 2)
        variableImporter->ImportVariable(&mifVariable);
    else
        variableImporter->ConvertVariableToText(&mifVariable);
}

int32 MifContentImporter::CrossReferenceMode()
{
    InterfacePtr<IMifImportOptions> importOptions(this, IID_IMIFIMPORTOPTIONS);
    return importOptions ? importOptions->GetPreset().GetCrossReferences() : 1;
}

bool MifContentImporter::ImportXRef(const MifObject& mifXRef)
{
    InterfacePtr<IMifXRefImporter> xrefImporter(this, IID_IMIFXREFIMPORTER);
    if (!xrefImporter) {
        MIF_LOG_NIL(xrefImporter);
        return false;
    }
    return xrefImporter->ImportXRef(&mifXRef);
}

void MifContentImporter::ImportMarker(const MifObject& marker)
{
    InterfacePtr<IMifXRefImporter> xrefImporter(this, IID_IMIFXREFIMPORTER);
    if (!xrefImporter) {
        MIF_LOG_NIL(xrefImporter);
        return;
    }
    xrefImporter->ImportSourceMarker(&marker);
}

// A cross-reference's text ends with its paragraph: a live one whose XRefEnd is missing must not
// take the text of the paragraphs after it.
void MifContentImporter::EndCrossReferenceText(const MifObject& mifPara)
{
    if (!mImportState.skipText) return;
    mImportState.skipText = false;
    AddError("Cross-reference: an XRef without XRefEnd ends with its paragraph", PMString(), mifPara.line);
}

void MifContentImporter::ChangeFont(const MifObject& mifFont)
{
    MifImportState& state = mImportState;
    MifAttributeBuilder builder = GetAttributeBuilder();
    if (const MifProp* tagProp = mifFont.FindProp(kMifFTag)) {
        const PMString* tag = StringOf(tagProp);
        UID style = tag && !tag->IsEmpty() ? FindCharacterStyle(*tag) : kInvalidUID;
        if (style != kInvalidUID) {
            ApplyStyleAtTextIndex(style);
            if (auto catalogFont = mFontFormats.find(tag->GetUTF16()); catalogFont != mFontFormats.end()) {
                state.textFont.Read(*catalogFont->second);
                builder.BuildCharacterAttributes(state.characterOverrides, *catalogFont->second);
            }
        } else {
            // No such format (an empty tag is how MIF returns to the paragraph's font).
            state.characterOverrides = state.paragraphCharacterAttributes;
            state.textFont.Reset();
            DataBase* db = GetDataBase();
            UID root = db ? StyleUtils::FindStyle(*db, StyleKind::kCharacter, "[No character style]") : kInvalidUID;
            if (root != kInvalidUID) ApplyStyleAtTextIndex(root);
        }
    }
    state.textFont.Read(mifFont);
    builder.BuildCharacterAttributes(state.characterOverrides, mifFont);
    ApplyAttributesAtTextIndex(state.characterOverrides, state.textIndex);
}

void MifContentImporter::ApplyCharacterStyle(const PMString& name)
{
    MifImportState& state = mImportState;
    UID style = FindCharacterStyle(name);
    if (style != kInvalidUID) ApplyStyleAtTextIndex(style);
    IndexCatalogs();
    auto catalogFont = mFontFormats.find(name.GetUTF16());
    if (catalogFont == mFontFormats.end()) return;
    state.textFont = state.paragraphFont;
    state.textFont.Read(*catalogFont->second);
    state.characterOverrides = state.paragraphCharacterAttributes;
    GetAttributeBuilder().BuildCharacterAttributes(state.characterOverrides, *catalogFont->second);
    ApplyAttributesAtTextIndex(state.characterOverrides, state.textIndex);
}

// ---- text ----

void MifContentImporter::InsertText(const PMString& text, bool decode)
{
    if (!HasStory() || text.IsEmpty()) return;
    PMString decoded(text);
    if (decode) DecodeText(decoded);
    if (decoded.IsEmpty()) return;
    if (mImportState.inRunIn) mImportState.runInText.Append(decoded);
    InsertAtTextIndex(decoded.GetUTF16());
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
        AddError("Text: control characters that no story can hold were left out", detail, mItemLine);
    }
}

bool MifContentImporter::HasStory() const { return mImportState.story.ExistsInDB(); }

bool MifContentImporter::InsertAtTextIndex(const std::u16string& text)
{
    MifImportState& state = mImportState;
    Story* textModel = HasStory() ? state.story.GetDataBase()->Get<Story>(state.story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return false;
    }
    const int32 before = textModel->textModel.TotalLength();
    if (!(state.textIndex < before)) {
        MIF_LOG_FALSE(textIndex < textModel->TotalLength());
        return false;
    }
    auto insertCmd = std::make_shared<InsertTextCmd>();
    insertCmd->SetItemList(UIDList(state.story));
    insertCmd->index = state.textIndex;
    insertCmd->text = text;
    if (CmdUtils::ProcessCommand(insertCmd) != kSuccess) {
        MIF_LOG_ERROR(insertCmd);
        return false;
    }
    state.textIndex += textModel->textModel.TotalLength() - before;
    mImportedCharacters += CountCharacters(text);
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
    applyStyleCmd->SetItemList(UIDList(mImportState.story));
    applyStyleCmd->style = style;
    applyStyleCmd->index = mImportState.textIndex;
    applyStyleCmd->length = 0;
    applyStyleCmd->boolData = true;
    if (CmdUtils::ProcessCommand(applyStyleCmd) != kSuccess) MIF_LOG_ERROR(applyStyleCmd);
}

void MifContentImporter::ApplyAttributesAtTextIndex(const AttributeBossList& attributes, int32 index)
{
    if (attributes.IsEmpty() || !HasStory()) return;
    const Story* story = mImportState.story.GetDataBase()->Get<Story>(mImportState.story.GetUID());
    // A start at or beyond the story's end goes to its last character.
    const int32 length = story ? story->textModel.TotalLength() : 0;
    if (index >= length) index = length - 1;
    auto applyCmd = std::make_shared<ApplyTextAttributesCmd>();
    applyCmd->SetItemList(UIDList(mImportState.story));
    applyCmd->attributes = attributes;
    applyCmd->index = index;
    applyCmd->length = 0;
    applyCmd->boolData = true;
    if (CmdUtils::ProcessCommand(applyCmd) != kSuccess) MIF_LOG_ERROR(applyCmd);
}
