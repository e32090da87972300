// IMifTextModelUtils: small questions about a story and its frames once text is in it: the
// story a frame shows, composing a story, the frame that holds a character, and the vertical
// metrics of the composed line that holds a character.
#pragma once

#include <vector>

#include "IPMUnknown.h"
#include "PMTypes.h"
#include "UIDRef.h"

#include "base/TesselID.h"

class IMifTextModelUtils : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFTEXTMODELUTILS };

    // The story `frame` shows; the null reference when it is no text frame.
    virtual UIDRef GetFrameStory(const UIDRef& frame) const = 0;
    // Composes the story's frames until none is left to compose.
    virtual void ComposeStory(const UIDRef& story) const = 0;
    // The frame that holds the character `index`, else the one that holds the nearest character
    // before it (down to index 1); kInvalidUID when none does.
    virtual UID FindFrameOfIndex(const UIDRef& story, int32 index) const = 0;
    // The largest ascent, descent, third vertical measure and line measure of the runs of the
    // composed line that holds `index`; each given out-parameter is 0 when the story has not been
    // composed there.
    virtual void GetLineMetrics(const UIDRef& story, int32 index, double* metric1, double* metric2, double* metric3,
                                double* metric4) const = 0;
    virtual double GetMetric1(const UIDRef& story, int32 index) const = 0;
    virtual double GetMetric2(const UIDRef& story, int32 index) const = 0;
    virtual double GetMetric3(const UIDRef& story, int32 index) const = 0;
    virtual double GetMetric4(const UIDRef& story, int32 index) const = 0;
    // For each tab character of [start, end), in order, how far from the column's left edge the
    // composed text before it ends: the story is composed first, and text left over after its
    // frames is measured as it would be set in its last column. A tab that cannot be measured (a
    // story with no frame) gets a negative value.
    virtual std::vector<double> GetTabPositions(const UIDRef& story, int32 start, int32 end) const = 0;
};
