// MifTextFrameUtils: text frame operations through the host's frame commands (columns, insets,
// first baseline, threads). Stateless; reached with Utils<IMifTextFrameUtils>().
#pragma once

#include "layout/IMifTextFrameUtils.h"

class MifTextFrameUtils : public IMifTextFrameUtils {
public:
    ErrorCode SetColumns(const UIDRef& frame, int32 count, PMReal gap) const override;
    ErrorCode SetFirstLineOffsetMetric(const UIDRef& frame, int32 metric) const override;
    ErrorCode SetInsetRect(const UIDRef& frame, const PMRect& insets) const override;
    ErrorCode SetInsets(const UIDRef& frame, PMReal left, PMReal top, PMReal right, PMReal bottom) const override;
    ErrorCode ReapplyInsets(const UIDRef& frame) const override;
    UIDRef GetFirstColumn(const UIDRef& frame) const override;
    UIDRef GetNextFrame(const UIDRef& frame) const override;
    UIDRef GetPreviousFrame(const UIDRef& frame) const override;
    ErrorCode LinkFrames(const UIDRef& frameA, const UIDRef& frameB) const override;
    ErrorCode UnlinkFrame(const UIDRef& frame) const override;
    ErrorCode FitMultiColumnFrame(const UIDRef& frame, bool fitToText) const override;
    ErrorCode FitFrameToContent(const UIDRef& frame, bool growForOverset) const override;
    void LinkFramePairs(const std::vector<std::pair<UIDRef, UIDRef>>& pairs, std::vector<ErrorCode>& results) const override;

    // How many heights the last FitMultiColumnFrame tried (bisection and final growth).
    static int32 GetLastFitIterations();

private:
    ErrorCode SetFrameHeight(const UIDRef& frame, PMReal height) const;
    ErrorCode FitToComposedText(const UIDRef& frame, bool growForOverset) const;
};
