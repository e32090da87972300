// MifTextModelUtils: the stateless answers of IMifTextModelUtils, from the host's story and its
// frame list.
//
// Until the host composes text, a story's frame list knows no line: ComposeStory has nothing to
// do, GetLineMetrics answers zeros, and FindFrameOfIndex can answer only for a story shown by a
// single frame, which holds all of its text.
#pragma once

#include "IMifTextModelUtils.h"

class MifTextModelUtils : public IMifTextModelUtils {
public:
    UIDRef GetFrameStory(const UIDRef& frame) const override;
    void ComposeStory(const UIDRef& story) const override;
    UID FindFrameOfIndex(const UIDRef& story, int32 index) const override;
    void GetLineMetrics(const UIDRef& story, int32 index, double* metric1, double* metric2, double* metric3,
                        double* metric4) const override;
    double GetMetric1(const UIDRef& story, int32 index) const override;
    double GetMetric2(const UIDRef& story, int32 index) const override;
    double GetMetric3(const UIDRef& story, int32 index) const override;
    double GetMetric4(const UIDRef& story, int32 index) const override;
};
