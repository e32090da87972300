#include "content/MifLineItems.h"

#include <algorithm>
#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "PageItem.h"
#include "Story.h"
#include "TextCommands.h"
#include "TextVariableFacade.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "base/MifDocInterface.h"
#include "catalogs/IMifVariableImporter.h"
#include "catalogs/IMifXRefImporter.h"
#include "catalogs/MifVariablePiece.h"
#include "catalogs/MifXRefInstance.h"
#include "content/IMifTextModelUtils.h"
#include "content/MifContentImporter.h"
#include "content/MifFrameAnchoring.h"
#include "layout/IMifLayoutImporter.h"
#include "layout/IMifPageItemUtils.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "prefs/IMifImportOptions.h"

using Place = MifImportState::Place;

namespace {

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

// The least width a run-into-paragraph frame leaves its paragraph beside it, points.
constexpr double kMinRunIntoWidth = 36;

} // namespace

void MifLineItems::Reset()
{
    mPendingBelowFrames.clear();
    mPendingBelowIndexes.clear();
}

void MifLineItems::ImportParaLine(const MifObject& mifParaLine)
{
    MifImportState& state = mImporter.State();
    for (const MifProp* prop : mifParaLine.props) {
        if (!prop) break;
        if (!mImporter.HasStory()) continue;  // markers, the only items without a story, are not converted
        const MifObject* object = prop->type == kMifTypeObject ? prop->value.object : nullptr;
        mImporter.SetItemLine(prop->line);
        switch (prop->id) {
        case kMifString:
            if (state.skipText) break;
            if (const PMString* text = MifContentImporter::StringOf(prop)) mImporter.InsertText(*text, true);
            break;
        case kMifChar:
            if (!state.skipText) ImportChar(*prop);
            break;
        case kMifFont:
            if (object) mImporter.Styles().ChangeFont(*object);
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
            mImporter.Tables().RecordAnchor(*prop);
            break;
        case kMifAFrame:
            AnchorFrame(*prop);
            break;
        default:
            break;
        }
    }
}

void MifLineItems::TextDeleted(int32 index, int32 length)
{
    for (int32& anchor : mPendingBelowIndexes)
        if (anchor > index) anchor -= std::min(length, anchor - index);
}

// The frame of an AFrame is anchored at the text index (a run-into-paragraph frame at the
// paragraph's start), as MifFrameAnchoring sets each FrameType.
void MifLineItems::AnchorFrame(const MifProp& prop)
{
    MifImportState& state = mImporter.State();
    PMString detail;
    if (MifIsIntegerType(prop.type)) detail.AppendNumber(prop.value.id);
    const MifObject* aFrames = mImporter.AFrames();
    const MifObject* mifFrame = aFrames && !detail.IsEmpty() ? aFrames->FindObjectWithId(kMifID, prop.value.id, 1) : nullptr;
    InterfacePtr<IMifLayoutImporter> layoutImporter(&mImporter, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter) {
        MIF_LOG_NIL(layoutImporter);
        return;
    }
    UIDRef item = mifFrame ? layoutImporter->GetItemOfId(prop.value.id) : UIDRef();
    const PageItem* pageItem = item.ExistsInDB() ? item.GetDataBase()->Get<PageItem>(item.GetUID()) : nullptr;
    if (!mifFrame || !pageItem) {
        mImporter.Report({prop.line, "Anchored frame: no frame of the AFrames was built for this anchor, the anchor is skipped", detail});
        return;
    }
    if (pageItem->anchorStory != kInvalidUID) {
        mImporter.Report({prop.line, "Anchored frame: the frame is anchored more than once, only its first anchor is kept", detail});
        return;
    }
    const MifFrameAnchoring::FrameAnchor anchor = MifFrameAnchoring::Read(*mifFrame);
    if (anchor.frameType == kMifBelow && !state.InNestedText()) {
        // It stands below the line of its anchor, which is known once the paragraph is whole.
        if (std::find(mPendingBelowFrames.begin(), mPendingBelowFrames.end(), item) != mPendingBelowFrames.end()) {
            mImporter.Report({prop.line, "Anchored frame: the frame is anchored more than once, only its first anchor is kept", detail});
            return;
        }
        mPendingBelowFrames.push_back(item);
        mPendingBelowIndexes.push_back(state.textIndex);
        mPendingBelowStory = state.story;
        return;
    }
    const bool runInto = anchor.frameType == kMifRunIntoParagraph;
    AnchorFrameAt(item, runInto ? std::min(state.paragraphStart, state.textIndex) : state.textIndex, runInto, anchor);
}

void MifLineItems::AnchorFrameAt(const UIDRef& item, int32 index, bool runInto, const MifFrameAnchoring::FrameAnchor& anchor)
{
    MifImportState& state = mImporter.State();
    AnchoredObjectSettings settings = MifFrameAnchoring::SettingsFor(anchor);
    if (runInto && mImporter.HasStory()) {
        // A frame that leaves the paragraph too little of its column beside it stands above it.
        Utils<IMifTextModelUtils> textModelUtils;
        if (textModelUtils) textModelUtils->ComposeStory(state.story);
        const double column = mImporter.ColumnWidthAt(index > 0 ? index - 1 : 0);
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
        mImporter.ApplyAttributesAtTextIndex(room, index);
        if (pageItemUtils) {
            const bool right = anchor.align == kMifRight;
            pageItemUtils->SetWrapMargins(item, right ? anchor.gap : 0, 0, right ? 0 : anchor.gap, 0);
        }
    }
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    ApplyTextSizeAfterAnchor();
}

void MifLineItems::ApplyTextSizeAfterAnchor()
{
    const MifImportState& state = mImporter.State();
    AttributeBossList goesOn = state.characterOverrides;
    if (!goesOn.Contains(TextAttribute::kPointSize) && state.textFont.size > 0)
        goesOn.ApplyAttribute(TextAttribute::kPointSize, PMReal(state.textFont.size));
    mImporter.ApplyAttributesAtTextIndex(goesOn, state.textIndex);
}

// A Below frame belongs to the paragraph whose line anchors it: it stands under that line, inside
// the paragraph, and pushes the lines after it down. InDesign puts an above-line object over the
// line that holds its anchor, so the anchor goes at the start of the line after the anchoring one,
// which a forced line break begins where the anchoring line is the paragraph's last.
void MifLineItems::AnchorPendingBelowFrames(bool underTheirLines)
{
    const MifImportState& state = mImporter.State();
    // Not in the cells of a table, a footnote or a head: the body text.
    if (mPendingBelowFrames.empty() || state.InNestedText() || state.In(Place::kRunIn) || state.In(Place::kSidehead)) return;
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
        mImporter.Tables().TextInserted(at, inserted);
        last = first;
    }
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}

int32 MifLineItems::AnchorBelowFramesAt(const UIDRef& story, int32 index, const std::vector<UIDRef>& frames)
{
    MifImportState& state = mImporter.State();
    const Story* textModel = story.GetDataBase()->Get<Story>(story.GetUID());
    const bool atEnd = story == state.story && index == state.textIndex;
    int32 inserted = 0;
    const UTF16TextChar before = index > 0 ? textModel->textModel.GetChar(index - 1) : kTextChar_CR;
    if (before != kTextChar_CR && before != kTextChar_LF) {
        auto insertCmd = std::make_shared<InsertTextCmd>();
        insertCmd->SetItemList(UIDList(story));
        insertCmd->index = index;
        insertCmd->text = std::u16string(1, kTextChar_LF);
        if (!MIF_RUN_COMMAND(insertCmd)) {
            ErrorUtils::PMSetGlobalErrorCode(kSuccess);
            return 0;
        }
        ++index;
        ++inserted;
    }
    MifFrameAnchoring::FrameAnchor below;
    below.frameType = kMifBelow;
    InterfacePtr<IMifLayoutImporter> layoutImporter(&mImporter, IID_IMIFLAYOUTIMPORTER);
    for (const UIDRef& item : frames) {
        const MifObject* mifObject = layoutImporter ? layoutImporter->GetMifObjectOfItem(item.GetUID()) : nullptr;
        const MifFrameAnchoring::FrameAnchor anchor = mifObject ? MifFrameAnchoring::Read(*mifObject) : below;
        if (!MifFrameAnchoring::Anchor(story, index, item, MifFrameAnchoring::SettingsFor(anchor))) continue;
        ++index;
        ++inserted;
    }
    if (story == state.story && index - inserted <= state.textIndex) state.textIndex += inserted;
    // Text that goes on after the small anchor characters has its own size.
    if (atEnd && inserted > 0) ApplyTextSizeAfterAnchor();
    return inserted;
}

void MifLineItems::ImportChar(const MifProp& prop)
{
    if (prop.type != kMifTypeKeyword) return;
    UTF16TextChar c = CharOf(prop.value.keyword);
    if (c) mImporter.InsertText(PMString(std::u16string(1, c)), false);
}

void MifLineItems::ImportFootnote(const MifProp& prop)
{
    MifImportState& state = mImporter.State();
    if (state.In(Place::kTableCell)) {
        mImporter.Report({prop.line, "OV#0xB40#kMifFootnoteInTableKey", PMString()});
        return;
    }
    if (prop.type != kMifTypeID || prop.value.id <= 0) {
        mImporter.Report({prop.line, "Footnote: an FNote without the ID of its text is skipped", PMString()});
        return;
    }
    PMString detail;
    detail.AppendNumber(prop.value.id);
    if (state.In(Place::kFootnote)) {
        // FrameMaker has no footnotes in footnotes; one that names its own text would never end.
        mImporter.Report({prop.line, "Footnote: a footnote inside a footnote is skipped", detail});
        return;
    }
    const MifObject* body = mImporter.FootnoteBody(prop.value.id);
    if (!body) {
        mImporter.Report({prop.line, "Footnote: no footnote text has this ID, the footnote is skipped", detail});
        return;
    }
    if (!mImporter.InsertAtTextIndex(std::u16string(1, kTextChar_FootnoteMarker))) return;
    auto createFootnoteCmd = std::make_shared<CreateFootnoteCmd>();
    createFootnoteCmd->SetItemList(UIDList(state.story));
    createFootnoteCmd->rangeData = TextRange{state.textIndex - 1, 0};
    createFootnoteCmd->boolData = false;
    if (!MIF_RUN_COMMAND(createFootnoteCmd)) {
        // No marker without its footnote.
        mImporter.DeleteTextAt(state.textIndex - 1, 1);
        return;
    }
    mImporter.ApplyAttributesAtTextIndex(state.characterOverrides, state.textIndex);
    const TextRange thread = createFootnoteCmd->textStoryThread;
    MifImportState saved = state;
    state.textIndex = thread.End() - 1;
    state.firstParagraph = true;
    state.EnterNestedText(Place::kFootnote);
    mImporter.ImportParagraphs(*body);
    state = saved;
}

void MifLineItems::ImportVariable(const MifObject& mifVariable)
{
    const PMString* name = MifContentImporter::StringOf(mifVariable.FindProp(kMifVariableName));
    if (name && *name == PMString("Table Continuation")) return;
    InterfacePtr<IMifVariableImporter> variableImporter(&mImporter, IID_IMIFVARIABLEIMPORTER);
    if (!variableImporter) {
        MIF_LOG_NIL(variableImporter);
        return;
    }
    InterfacePtr<IMifImportOptions> importOptions(&mImporter, IID_IMIFIMPORTOPTIONS);
    if (importOptions && importOptions->GetPreset().GetVariables() == 2) {
        InsertVariablePieces(variableImporter->ImportVariable(&mifVariable));
    } else {
        // <$lastpagenum> counts the file's pages, not the layout's scratch pages.
        InterfacePtr<IMifLayoutImporter> layoutImporter(&mImporter, IID_IMIFLAYOUTIMPORTER);
        const int32 temporaryPages = layoutImporter ? layoutImporter->GetTemporaryPageCount() : 0;
        InsertVariablePieces(variableImporter->ConvertVariableToText(&mifVariable, temporaryPages));
    }
}

void MifLineItems::InsertVariablePieces(const std::vector<MifVariablePiece>& pieces)
{
    for (const MifVariablePiece& piece : pieces) {
        switch (piece.kind) {
        case MifVariablePiece::Kind::kText:
            mImporter.InsertText(piece.text, piece.decode);
            break;
        case MifVariablePiece::Kind::kCharacterStyle:
            mImporter.Styles().ApplyCharacterStyle(piece.text);
            break;
        case MifVariablePiece::Kind::kPageNumber:
            mImporter.InsertText(PMString(std::u16string(1, kTextChar_PageNumber)), false);
            break;
        case MifVariablePiece::Kind::kVariable:
            if (!InsertVariableInstance(piece.text)) return;
            break;
        }
    }
}

bool MifLineItems::InsertVariableInstance(const PMString& variable)
{
    MifImportState& state = mImporter.State();
    DataBase* db = mImporter.GetDataBase();
    if (!db || TextVariableFacade::InsertVariable(*db, variable, state.story.GetUID(), state.textIndex) != kSuccess) {
        MIF_LOG_ERROR(TextVariableFacade::InsertVariable);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return false;
    }
    ++state.textIndex;
    return true;
}

int32 MifLineItems::CrossReferenceMode()
{
    InterfacePtr<IMifImportOptions> importOptions(&mImporter, IID_IMIFIMPORTOPTIONS);
    return importOptions ? importOptions->GetPreset().GetCrossReferences() : 1;
}

bool MifLineItems::ImportXRef(const MifObject& mifXRef)
{
    InterfacePtr<IMifXRefImporter> xrefImporter(&mImporter, IID_IMIFXREFIMPORTER);
    if (!xrefImporter) {
        MIF_LOG_NIL(xrefImporter);
        return false;
    }
    const std::optional<MifXRefInstance> instance = xrefImporter->ImportXRef(&mifXRef);
    return instance && InsertCrossReference(*instance);
}

// The cross-reference goes in at the text index, which moves past its text (between its two
// ends); true once it is in the text, even where its end is not known.
bool MifLineItems::InsertCrossReference(const MifXRefInstance& instance)
{
    MifImportState& state = mImporter.State();
    DataBase* db = mImporter.GetDataBase();
    if (!db) {
        MIF_LOG_NIL(db);
        return false;
    }
    auto insertCrossRefCmd = XRefCommandFactory::Create(kXRefInsertCrossRefCmdBoss);
    if (!insertCrossRefCmd) {
        MIF_LOG_NIL(insertCrossRefCmd);
        return false;
    }
    const int32 index = state.textIndex;
    insertCrossRefCmd->SetItemList(UIDList(state.story));
    insertCrossRefCmd->rangeData = TextRange{index, 0};
    insertCrossRefCmd->formatData = {instance.formatName, instance.definition};
    insertCrossRefCmd->stringData = instance.key;
    insertCrossRefCmd->createHyperlinkData = false;
    if (CmdUtils::ProcessCommand(insertCrossRefCmd) != kSuccess || insertCrossRefCmd->GetItemList().IsEmpty()) {
        MIF_LOG_ERROR(insertCrossRefCmd);
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return false;
    }
    InterfacePtr<IXRefCrossReference> crossRef = MifDocInterface<IXRefCrossReference>(db);
    const int32 length = crossRef ? crossRef->GetTextLength(insertCrossRefCmd->GetItemList().At(0)) : -1;
    if (length < 0) {
        MIF_LOG_NIL(crossRef);
        return true;
    }
    state.textIndex = index + 2 + length;
    return true;
}

// A cross-reference marker goes in at the text index as a source marker; other markers are not
// converted.
void MifLineItems::ImportMarker(const MifObject& marker)
{
    InterfacePtr<IMifXRefImporter> xrefImporter(&mImporter, IID_IMIFXREFIMPORTER);
    if (!xrefImporter) {
        MIF_LOG_NIL(xrefImporter);
        return;
    }
    const PMString* markerText = xrefImporter->ImportSourceMarker(&marker);
    if (!markerText) return;
    auto insertSourceMarkerCmd = XRefCommandFactory::Create(kXRefInsertSourceMarkerCmdBoss);
    if (!insertSourceMarkerCmd) {
        MIF_LOG_NIL(insertSourceMarkerCmd);
        return;
    }
    MifImportState& state = mImporter.State();
    const int32 index = state.textIndex;
    insertSourceMarkerCmd->SetItemList(UIDList(state.story));
    insertSourceMarkerCmd->rangeData = TextRange{index, 0};
    insertSourceMarkerCmd->stringData = *markerText;
    if (!MIF_RUN_COMMAND(insertSourceMarkerCmd)) {
        ErrorUtils::PMSetGlobalErrorCode(kSuccess);
        return;
    }
    state.textIndex = index + 1;
}

// A cross-reference's text ends with its paragraph: a live one whose XRefEnd is missing must not
// take the text of the paragraphs after it.
void MifLineItems::EndCrossReferenceText(const MifObject& mifPara)
{
    MifImportState& state = mImporter.State();
    if (!state.skipText) return;
    state.skipText = false;
    mImporter.Report({mifPara.line, "Cross-reference: an XRef without XRefEnd ends with its paragraph", PMString()});
}
