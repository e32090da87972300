// MifTextRectChains: the chains the TextRects of a file form along TRNext, and the text flow of
// each: the first top-level TextFlow that holds a TextRectID naming the chain's first TextRect.
// Found once for all frames, after every TextRect of the body and master pages is known.
#pragma once

#include <map>
#include <unordered_map>

#include "PMString.h"

class MifObject;

class MifTextRectChains {
public:
    // `textRects`: the TextRects by ID; `mifRoot`: the file, for its TextFlows.
    MifTextRectChains(const std::map<int32, const MifObject*>& textRects, const MifObject& mifRoot);

    // The ID of the first TextRect of the chain of `id`; `id` itself when it is unknown.
    int32 HeadOf(int32 id) const;
    // The flow of the chain whose first TextRect is `head`; null when none names it.
    const MifObject* FlowOfHead(int32 head) const;
    // The flow of the chain of `id`.
    const MifObject* FlowOf(int32 id) const { return FlowOfHead(HeadOf(id)); }

    // The tag of a flow; empty when it has none.
    static PMString FlowTag(const MifObject& flow);

private:
    std::unordered_map<int32, int32> mHeads;
    std::unordered_map<int32, const MifObject*> mFlows;
};
