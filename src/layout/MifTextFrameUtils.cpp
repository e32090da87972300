#include "MifTextFrameUtils.h"

#include <memory>

#include "CmdUtils.h"
#include "DataBase.h"
#include "MifAssertLog.h"
#include "TextFrameCommands.h"

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
    changeNumberOfColumnsCmd->SetItemList(UIDList(frame));
    changeNumberOfColumnsCmd->columnCount = count;
    changeNumberOfColumnsCmd->gutter = gap;
    ErrorCode result = CmdUtils::ProcessCommand(changeNumberOfColumnsCmd);
    if (result != kSuccess) MIF_LOG_FAILED(changeNumberOfColumnsCmd);
    return result;
}

ErrorCode MifTextFrameUtils::SetFirstLineOffsetMetric(const UIDRef& frame, int32 metric) const
{
    auto setFrameFirstLineOffsetMetricCmd = std::make_shared<SetFrameFirstLineOffsetMetricCmd>();
    setFrameFirstLineOffsetMetricCmd->SetItemList(UIDList(GetFirstColumn(frame)));
    setFrameFirstLineOffsetMetricCmd->intData = metric;
    ErrorCode result = CmdUtils::ProcessCommand(setFrameFirstLineOffsetMetricCmd);
    if (result != kSuccess) MIF_LOG_FAILED(setFrameFirstLineOffsetMetricCmd);
    return result;
}

ErrorCode MifTextFrameUtils::SetInsetRect(const UIDRef& frame, const PMRect& insets) const
{
    auto setTextInsetCmd = std::make_shared<SetTextInsetCmd>();
    setTextInsetCmd->SetItemList(UIDList(frame));
    setTextInsetCmd->textInset = insets;
    ErrorCode result = CmdUtils::ProcessCommand(setTextInsetCmd);
    if (result != kSuccess) {
        MIF_LOG_FAILED(setTextInsetCmd);
        return result;
    }
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
    textLinkCmd->SetItemList(frames);
    ErrorCode result = CmdUtils::ProcessCommand(textLinkCmd);
    if (result != kSuccess) MIF_LOG_FAILED(textLinkCmd);
    return result;
}

ErrorCode MifTextFrameUtils::UnlinkFrame(const UIDRef& frame) const
{
    auto textUnlinkCmd = std::make_shared<TextUnlinkCmd>();
    textUnlinkCmd->SetItemList(UIDList(frame));
    ErrorCode result = CmdUtils::ProcessCommand(textUnlinkCmd);
    if (result != kSuccess) MIF_LOG_FAILED(textUnlinkCmd);
    return result;
}

ErrorCode MifTextFrameUtils::FitMultiColumnFrame(const UIDRef& frame, bool /*fitToText*/) const
{
    if (!FrameOf(frame)) {
        MIF_LOG_NIL(multiColumnTextFrame);
        return kInvalidParameterError;
    }
    // Fitting tries heights by bisection and asks at each whether the story overflows the frame,
    // which needs the text composed. The host has no text composer yet, so nothing can be
    // measured: the frame keeps its height, and the caller learns that it was not fitted.
    return kFailure;
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
    textLinkCmd->SetItemList(frames);
    ErrorCode result = CmdUtils::ProcessCommand(textLinkCmd);
    for (size_t k = 0; k < sent.size(); ++k) {
        ErrorCode pairResult = result != kSuccess ? result : k < textLinkCmd->results.size() ? textLinkCmd->results[k] : kFailure;
        results[sent[k]] = pairResult;
        if (pairResult != kSuccess) MIF_LOG_FAILED(textLinkCmd);
    }
}
