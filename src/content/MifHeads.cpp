#include "content/MifHeads.h"

#include <algorithm>
#include <memory>

#include "AnchoredObjectCommands.h"
#include "DataBase.h"
#include "ErrorUtils.h"
#include "InterfacePtr.h"
#include "PageItem.h"
#include "Story.h"
#include "TextCommands.h"
#include "TextFrame.h"
#include "TextFrameCommands.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "content/IMifTextModelUtils.h"
#include "content/MifContentImporter.h"
#include "content/MifFrameAnchoring.h"
#include "layout/IMifLayoutImporter.h"
#include "layout/IMifPageItemUtils.h"
#include "mif/MifKeywords.h"

namespace {

bool IsPunctuation(char16_t c)
{
    switch (c) {
    case u'.': case u',': case u':': case u';': case u'!': case u'?': case u'\u2026': case u'\u2014': case u'\u2013': case u'-':
        return true;
    default: return false;
    }
}

bool IsWhiteSpace(char16_t c) { return c == u' ' || c == u'\t' || c == 0x00A0 || (c >= 0x2000 && c <= 0x200B); }

} // namespace

// The run-in head ends with its paragraph format's default punctuation: after a head that ends
// in punctuation already, without its leading punctuation; its trailing white space goes to the
// body text after the head.
void MifHeads::InsertRunInPunctuation()
{
    MifImportState& state = mImporter.State();
    if (!state.In(MifImportState::Place::kRunIn) || state.runInText.IsEmpty() || state.currentFormat.runInDefaultPunct.IsEmpty()) return;
    PMString punct(state.currentFormat.runInDefaultPunct);
    mImporter.DecodeText(punct);
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
    if (!text.empty() && mImporter.InsertAtTextIndex(text)) state.runInText.Append(PMString(text));
}

bool MifHeads::StartHeadAnchor(PMReal width, PMReal height, const AnchoredObjectSettings& settings)
{
    MifImportState& state = mImporter.State();
    if (!mImporter.HasStory()) return false;
    // The head stands at the start of the body paragraph that follows it: that paragraph is
    // begun here, and goes on after the head without a return of its own.
    if (!state.firstParagraph && !mImporter.InsertAtTextIndex(std::u16string(1, kTextChar_CR))) return false;
    const bool separated = !state.firstParagraph;
    UIDRef frame = MifFrameAnchoring::CreateHeadFrame(state.story, state.textIndex, width, height, settings);
    if (!frame.ExistsInDB()) {
        if (separated) mImporter.DeleteTextAt(state.textIndex - 1, 1);
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
    mImporter.ApplyAttributesAtTextIndex(goesOn, state.textIndex);
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils) textModelUtils->ComposeStory(state.story);
    state.savedStory = state.story;
    state.savedTextIndex = state.textIndex;
    state.headFrame = frame;
    state.story = textModel->GetRef();
    state.textIndex = 0;
    return true;
}

void MifHeads::EndHead()
{
    MifImportState& state = mImporter.State();
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils) {
        textModelUtils->ComposeStory(state.story);
        textModelUtils->ComposeStory(state.savedStory);
    }
    auto fitFrameToContentCmd = std::make_shared<FitFrameToContentCmd>();
    fitFrameToContentCmd->growForOverset = true;
    if (state.headFrame.ExistsInDB()) MIF_RUN_COMMAND(fitFrameToContentCmd, UIDList(state.headFrame));
    else MIF_LOG_FAILED(fitFrameToContentCmd);
    state.story = state.savedStory;
    state.textIndex = state.savedTextIndex;
    // The body paragraph after the head continues the one its anchor began.
    state.firstParagraph = true;
    if (textModelUtils) textModelUtils->ComposeStory(state.story);
}

void MifHeads::OpenRunIn()
{
    MifImportState& state = mImporter.State();
    Utils<IMifTextModelUtils> textModelUtils;
    if (textModelUtils && mImporter.HasStory()) textModelUtils->ComposeStory(state.story);
    const double width = mImporter.ColumnWidthAt(state.textIndex > 0 ? state.textIndex - 1 : 0);
    if (!(width > 1e-8)) {
        MIF_LOG_FALSE(width > 1e-8);
        return;
    }
    if (!StartHeadAnchor(width, 100, MifFrameAnchoring::RunInSettings())) {
        MIF_LOG_FAILED(StartHeadAnchor(width, 100, MifFrameAnchoring::RunInSettings()));
        return;
    }
    state.place = MifImportState::Place::kRunIn;
    state.firstParagraph = false;
    state.runInText = PMString();
    state.runInSpace = PMString();
}

void MifHeads::CloseRunIn()
{
    MifImportState& state = mImporter.State();
    state.place = MifImportState::Place::kBody;
    state.firstParagraph = false;
    const UIDRef head = state.headFrame;
    EndHead();
    FitRunInToItsLine(head);
    if (!state.runInSpace.IsEmpty()) mImporter.InsertAtTextIndex(state.runInSpace.GetUTF16());
    state.runInSpace = PMString();
    state.headFrame = UIDRef();
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}

// A head of one line is as wide as its text and shares its baseline with the body text, so that
// the body runs on beside it.
void MifHeads::FitRunInToItsLine(const UIDRef& head)
{
    DataBase* db = head.GetDataBase();
    TextFrame* frame = db ? db->Get<TextFrame>(head.GetUID()) : nullptr;
    const Story* headStory = frame ? db->Get<Story>(frame->story) : nullptr;
    if (!frame || !headStory || !headStory->frameList.IsComposed() || headStory->frameList.GetFrameCount() != 1 ||
        headStory->frameList.Overflows())
        return;
    const ComposedFrame& composed = headStory->frameList.GetFrame(0);
    if (composed.lines.size() != 1) return;
    // Read before the frame changes: resizing it sets its lines anew.
    const PMReal width = composed.lines.front().left + composed.lines.front().width + frame->insets.right - frame->pathBounds.left + 0.5;
    const PMReal belowBaseline = frame->pathBounds.bottom - composed.lines.front().baseline;
    Utils<IMifPageItemUtils> pageItemUtils;
    if (pageItemUtils && width > 1e-8 && width < frame->pathBounds.Width()) pageItemUtils->SetWidth(head, width);
    AnchoredObjectSettings settings = frame->anchorSettings;
    settings.yOffset = -belowBaseline;
    auto changeAnchoredObjectDataCmd = std::make_shared<ChangeAnchoredObjectDataCmd>();
    changeAnchoredObjectDataCmd->anchoredObjectData = settings;
    MIF_RUN_COMMAND(changeAnchoredObjectDataCmd, UIDList(head));
}

void MifHeads::OpenSidehead()
{
    MifImportState& state = mImporter.State();
    InterfacePtr<IMifLayoutImporter> layoutImporter(&mImporter, IID_IMIFLAYOUTIMPORTER);
    if (!layoutImporter) {
        MIF_LOG_NIL(layoutImporter);
        return;
    }
    double width = layoutImporter->GetSideheadWidth(state.textRectID);
    if (!(width > 1e-8)) {
        // The flow's frames have no side-head area: the head stays a paragraph of the body.
        MIF_LOG_FALSE(width > 1e-8);
        return;
    }
    if (width < 9.99999999) width = 250;
    const double gap = std::max<double>(0, layoutImporter->GetSideheadGap(state.textRectID));
    const int32 placement = layoutImporter->GetSideheadPlacement(state.textRectID);
    const int32 style = state.currentFormat.placementStyle;
    const UIDRef previous = state.previousSideheadFrame;
    if (!StartHeadAnchor(width, 1000, MifFrameAnchoring::SideheadSettings(placement, gap, style))) {
        MIF_LOG_FAILED(StartHeadAnchor(width, 1000, MifFrameAnchoring::SideheadSettings(placement, gap, style)));
        return;
    }
    ClearPreviousSidehead(previous);
    state.sideheadWidth = width;
    state.sideheadGap = gap;
    state.sideheadSum = width + gap;
    state.sideheadPlacement = placement;
    state.sideheadStyle = style;
    state.pendingStartParagraph = state.currentFormat.placement != kMifAnywhere ? state.currentFormat.placement : 0;
    state.place = MifImportState::Place::kSidehead;
    state.firstParagraph = true;
}

// A side head that would run into the one before it moves the body text down until it clears it:
// the paragraph before the anchor gets the space after that takes.
void MifHeads::ClearPreviousSidehead(const UIDRef& previous)
{
    const MifImportState& state = mImporter.State();
    Utils<IMifTextModelUtils> textModelUtils;
    DataBase* db = state.savedStory.GetDataBase();
    const Story* body = db ? db->Get<Story>(state.savedStory.GetUID()) : nullptr;
    const PageItem* previousItem = db && previous.ExistsInDB() ? db->Get<PageItem>(previous.GetUID()) : nullptr;
    const int32 anchor = state.savedTextIndex - 1;
    if (!body || !previousItem || previousItem->anchorStory != body->GetUID() || anchor <= 1 || !textModelUtils) return;
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
            applyCmd->attributes = room;
            applyCmd->index = anchor - 1;
            MIF_RUN_COMMAND(applyCmd, UIDList(state.savedStory));
        }
        break;
    }
}

void MifHeads::CloseSidehead()
{
    MifImportState& state = mImporter.State();
    state.place = MifImportState::Place::kBody;
    state.sideheadWidth = state.sideheadGap = state.sideheadSum = 0;
    state.previousSideheadFrame = state.headFrame;
    EndHead();
    state.headFrame = UIDRef();
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
}

void MifHeads::CloseHeads()
{
    MifImportState& state = mImporter.State();
    if (state.In(MifImportState::Place::kRunIn)) CloseRunIn();
    if (state.In(MifImportState::Place::kSidehead)) CloseSidehead();
    state.previousSideheadFrame = UIDRef();
}
