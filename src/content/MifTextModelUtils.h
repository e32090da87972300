// MifTextModelUtils: the stateless answers of IMifTextModelUtils, from the host's story and its
// frame list.
//
// The answers come from the story's frame list as the host's composer left it. A story whose
// text changed since it was composed is composed again before its frames or lines are asked for;
// a story never composed has no line, so its line metrics are zeros.
#pragma once

#include "content/IMifTextModelUtils.h"

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
    std::vector<double> GetTabPositions(const UIDRef& story, int32 start, int32 end) const override;
};
