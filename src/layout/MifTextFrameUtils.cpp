#include "layout/MifTextFrameUtils.h"

#include <memory>

#include "DataBase.h"
#include "SpreadLayout.h"
#include "Story.h"
#include "TextComposer.h"
#include "TextFrameCommands.h"

#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"

namespace {

const TextFrame* FrameOf(const UIDRef& frame)
{
    DataBase* db = frame.GetDataBase();
    return db ? db->Get<TextFrame>(frame.GetUID()) : nullptr;
}

} // namespace

ErrorCode MifTextFrameUtils::SetColumns(const UIDRef& frame, int32 count, PMReal gap) const
{
    auto changeNumberOfColumnsCmd = std::make_shared<ChangeNumberOfColumnsCmd>();
    changeNumberOfColumnsCmd->columnCount = count;
    changeNumberOfColumnsCmd->gutter = gap;
    return MIF_PROCESS_COMMAND(changeNumberOfColumnsCmd, UIDList(frame));
}

ErrorCode MifTextFrameUtils::SetFirstLineOffsetMetric(const UIDRef& frame, int32 metric) const
{
    auto setFrameFirstLineOffsetMetricCmd = std::make_shared<SetFrameFirstLineOffsetMetricCmd>();
    setFrameFirstLineOffsetMetricCmd->intData = metric;
    return MIF_PROCESS_COMMAND(setFrameFirstLineOffsetMetricCmd, UIDList(GetFirstColumn(frame)));
}

ErrorCode MifTextFrameUtils::SetInsetRect(const UIDRef& frame, const PMRect& insets) const
{
    auto setTextInsetCmd = std::make_shared<SetTextInsetCmd>();
    setTextInsetCmd->textInset = insets;
    if (ErrorCode result = MIF_PROCESS_COMMAND(setTextInsetCmd, UIDList(frame)); result != kSuccess) return result;
    // Count and gutter stay; the columns are laid out again in the width the insets leave.
    return SetColumns(frame, -1, -1);
}

ErrorCode MifTextFrameUtils::SetInsets(const UIDRef& frame, PMReal left, PMReal top, PMReal right, PMReal bottom) const
{
    return SetInsetRect(frame, PMRect(left, top, right, bottom));
}

ErrorCode MifTextFrameUtils::ReapplyInsets(const UIDRef& frame) const
{
    const TextFrame* textFrame = FrameOf(frame);
    if (!textFrame) {
        MIF_LOG_NIL(textFrame);
        return kInvalidParameterError;
    }
    return SetInsetRect(frame, textFrame->insets);
}

UIDRef MifTextFrameUtils::GetFirstColumn(const UIDRef& frame) const { return FrameOf(frame) ? frame : UIDRef(); }

UIDRef MifTextFrameUtils::GetNextFrame(const UIDRef& frame) const
{
    const TextFrame* textFrame = FrameOf(frame);
    return textFrame && textFrame->nextFrame != kInvalidUID ? UIDRef(frame.GetDataBase(), textFrame->nextFrame) : UIDRef();
}

UIDRef MifTextFrameUtils::GetPreviousFrame(const UIDRef& frame) const
{
    const TextFrame* textFrame = FrameOf(frame);
    return textFrame && textFrame->previousFrame != kInvalidUID ? UIDRef(frame.GetDataBase(), textFrame->previousFrame) : UIDRef();
}

ErrorCode MifTextFrameUtils::LinkFrames(const UIDRef& frameA, const UIDRef& frameB) const
{
    if (frameA.GetDataBase() != frameB.GetDataBase()) {
        MIF_LOG_FALSE(frameA.GetDataBase() == frameB.GetDataBase());
        return kInvalidParameterError;
    }
    auto textLinkCmd = std::make_shared<TextLinkCmd>();
    UIDList frames(frameA);
    frames.Append(frameB.GetUID());
    return MIF_PROCESS_COMMAND(textLinkCmd, frames);
}

ErrorCode MifTextFrameUtils::UnlinkFrame(const UIDRef& frame) const
{
    auto textUnlinkCmd = std::make_shared<TextUnlinkCmd>();
    return MIF_PROCESS_COMMAND(textUnlinkCmd, UIDList(frame));
}

namespace {

// Heights at or below this are not tried: a frame that low holds no line.
constexpr PMReal kMinFitHeight = 2.0;
constexpr PMReal kLengthTolerance = 1e-8;
constexpr int32 kMaxFitIterations = 32;
constexpr int32 kMaxFitGrowth = 32;

int32 gLastFitIterations = 0;

} // namespace

int32 MifTextFrameUtils::GetLastFitIterations() { return gLastFitIterations; }

ErrorCode MifTextFrameUtils::SetFrameHeight(const UIDRef& frame, PMReal height) const
{
    auto setFrameHeightCmd = std::make_shared<SetFrameHeightCmd>();
    setFrameHeightCmd->height = height;
    return MIF_PROCESS_COMMAND(setFrameHeightCmd, UIDList(frame));
}

ErrorCode MifTextFrameUtils::FitToComposedText(const UIDRef& frame, bool growForOverset) const
{
    auto fitFrameToContentCmd = std::make_shared<FitFrameToContentCmd>();
    fitFrameToContentCmd->growForOverset = growForOverset;
    return MIF_PROCESS_COMMAND(fitFrameToContentCmd, UIDList(frame));
}

ErrorCode MifTextFrameUtils::FitMultiColumnFrame(const UIDRef& frame, bool fitToText) const
{
    gLastFitIterations = 0;
    const TextFrame* multiColumnTextFrame = FrameOf(frame);
    if (!multiColumnTextFrame) {
        MIF_LOG_NIL(multiColumnTextFrame);
        return kInvalidParameterError;
    }
    Story* textModel = frame.GetDataBase()->Get<Story>(multiColumnTextFrame->story);
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return kInvalidParameterError;
    }
    TextComposer& composer = TextComposer::Get();
    composer.Compose(*textModel);
    const FrameList& frameList = textModel->frameList;
    if (frameList.GetFrameCount() <= 0) {
        MIF_LOG_FALSE(frameList.GetFrameCount() > 0);
        return kFailure;
    }
    // Shrinking a frame in the middle of a thread would pull the text of the frames after it
    // up into it: only the frame that ends its story is fitted.
    if (frameList.GetFrames().back().frame != frame.GetUID()) return kSuccess;
    PMReal height = multiColumnTextFrame->pathBounds.Height();
    if (!(height > kMinFitHeight)) {
        MIF_LOG_FALSE(height > kMinFitHeight);
        return kInvalidParameterError;
    }

    // Bisection: each height that holds the text halves the step and tries that much less; one
    // that does not goes back up by the step. The same frame overflowing twice in a row means
    // that the text needs more than the frame had at the start (the first try above it is
    // twice that): the frame keeps the height it had.
    const PMReal startHeight = height;
    PMReal step = height;
    int32 lastDamage = -1;
    for (int32 iterations = 0; iterations < kMaxFitIterations;) {
        composer.Compose(*textModel);
        if (!frameList.Overflows()) {
            lastDamage = -1;
            step /= 2;
            height -= step;
        } else {
            int32 damage = frameList.GetOversetFrame();
            if (damage == lastDamage) {
                ErrorCode result = SetFrameHeight(frame, startHeight);
                composer.Compose(*textModel);
                return result;
            }
            lastDamage = damage;
            height += step;
        }
        if (height <= kMinFitHeight + kLengthTolerance) break;
        if (ErrorCode result = SetFrameHeight(frame, height); result != kSuccess) return result;
        gLastFitIterations = ++iterations;
    }
    // The last height set was not tried: the frame grows by the last step until the text fits.
    for (int32 growth = 0; growth < kMaxFitGrowth; ++growth) {
        composer.Compose(*textModel);
        if (!frameList.Overflows()) break;
        height += step;
        if (ErrorCode result = SetFrameHeight(frame, height); result != kSuccess) return result;
        ++gLastFitIterations;
    }
    composer.Compose(*textModel);
    return fitToText ? FitToComposedText(frame, false) : kSuccess;
}

ErrorCode MifTextFrameUtils::FitFrameToContent(const UIDRef& frame, bool growForOverset) const
{
    DataBase* db = frame.GetDataBase();
    const TextFrame* splineHierarchy = FrameOf(frame);
    if (!splineHierarchy) {
        MIF_LOG_NIL(splineHierarchy);
        return kInvalidParameterError;
    }
    // A frame on the pasteboard has no page to fit on.
    if (SpreadLayout::GetDrawingPage(*db, *splineHierarchy) == kInvalidUID) {
        MIF_LOG_FALSE(SpreadLayout::GetDrawingPage(*db, *splineHierarchy) != kInvalidUID);
        return kInvalidParameterError;
    }
    return FitToComposedText(frame, growForOverset);
}

void MifTextFrameUtils::LinkFramePairs(const std::vector<std::pair<UIDRef, UIDRef>>& pairs, std::vector<ErrorCode>& results) const
{
    results.assign(pairs.size(), kInvalidParameterError);
    if (pairs.empty()) return;
    DataBase* db = pairs.front().first.GetDataBase();
    UIDList frames(db);
    std::vector<size_t> sent;   // the index of each pair handed to the command
    for (size_t i = 0; i < pairs.size(); ++i) {
        const auto& [frameA, frameB] = pairs[i];
        if (frameA.GetDataBase() != db || frameB.GetDataBase() != db) {
            MIF_LOG_FALSE(frameA.GetDataBase() == frameB.GetDataBase());
            continue;
        }
        frames.Append(frameA.GetUID());
        frames.Append(frameB.GetUID());
        sent.push_back(i);
    }
    if (sent.empty()) return;
    auto textLinkCmd = std::make_shared<TextLinkPairsCmd>();
    const ErrorCode result = MIF_PROCESS_COMMAND(textLinkCmd, frames);
    for (size_t k = 0; k < sent.size(); ++k) {
        ErrorCode pairResult = result != kSuccess ? result : k < textLinkCmd->results.size() ? textLinkCmd->results[k] : kFailure;
        results[sent[k]] = pairResult;
        if (pairResult != kSuccess) MIF_LOG_FAILED(textLinkCmd->results);
    }
}
