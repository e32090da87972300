#include "layout/MifTextRectChains.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

namespace {

// A TRNext chain is followed through at most this many levels of a flow's statements.
constexpr int32 kFlowDepth = 64;

// The ID of the first TextRect of its chain, for every TextRect of `textRects`, by ID.
std::unordered_map<int32, int32> ChainHeads(const std::map<int32, const MifObject*>& textRects)
{
    // A TextRect comes after the TextRect of lowest ID (1 or more) whose TRNext names it.
    std::unordered_map<int32, int32> previous;
    for (const auto& [key, mifTextRect] : textRects) {
        MifPropVal propVal;
        if (key >= 1 && mifTextRect->GetPropVal(kMifTRNext, propVal) && propVal.id > 0) previous.emplace(propVal.id, key);
    }
    // Each walk back along the chain stops at a TextRect whose head is known, so every TextRect
    // is walked over once. A walk can only come back to where it started: each TextRect names
    // one TRNext, so a chain can join a loop only by being the loop. Such a chain has no head;
    // the TextRects of the loop all take its lowest ID as their head, and so share one flow.
    std::unordered_map<int32, int32> heads;
    std::vector<int32> walked;
    std::unordered_set<int32> onWalk;
    for (const auto& entry : textRects) {
        if (heads.count(entry.first)) continue;
        walked.clear();
        onWalk.clear();
        int32 head = entry.first;
        for (int32 id = entry.first;;) {
            if (auto known = heads.find(id); known != heads.end()) {
                head = known->second;
                break;
            }
            if (!onWalk.insert(id).second) {
                head = *std::min_element(walked.begin(), walked.end());
                break;
            }
            walked.push_back(id);
            auto before = previous.find(id);
            if (before == previous.end()) {
                head = id;
                break;
            }
            id = before->second;
        }
        for (int32 id : walked) heads[id] = head;
    }
    return heads;
}

// Records in `flows`, for each ID of `heads` that a TextRectID of `mifObject` names (at most
// `depth` levels down), `flow`, unless an earlier flow was recorded for it.
void CollectFlows(const MifObject& mifObject, int32 depth, const MifObject* flow, const std::unordered_set<int32>& heads,
                  std::unordered_map<int32, const MifObject*>& flows)
{
    for (const MifProp* prop : mifObject.props) {
        if (!prop) break;
        if (prop->id == kMifTextRectID && prop->type != kMifTypeObject && heads.count(prop->value.id))
            flows.emplace(prop->value.id, flow);
        if (prop->type == kMifTypeObject && depth > 0 && prop->value.object) CollectFlows(*prop->value.object, depth - 1, flow, heads, flows);
    }
}

} // namespace

MifTextRectChains::MifTextRectChains(const std::map<int32, const MifObject*>& textRects, const MifObject& mifRoot)
    : mHeads(ChainHeads(textRects))
{
    std::unordered_set<int32> heads;
    for (const auto& entry : mHeads) heads.insert(entry.second);
    for (const MifObject& flow : mifRoot.Children(kMifTextFlow)) {
        if (mFlows.size() == heads.size()) break;
        CollectFlows(flow, kFlowDepth, &flow, heads, mFlows);
    }
}

int32 MifTextRectChains::HeadOf(int32 id) const
{
    auto found = mHeads.find(id);
    return found == mHeads.end() ? id : found->second;
}

const MifObject* MifTextRectChains::FlowOfHead(int32 head) const
{
    auto found = mFlows.find(head);
    return found == mFlows.end() ? nullptr : found->second;
}

PMString MifTextRectChains::FlowTag(const MifObject& flow)
{
    const MifProp* prop = flow.FindProp(kMifTFTag);
    return prop && MifIsStringType(prop->type) && prop->value.rawString ? *prop->value.rawString : PMString();
}
