#include "MifTextModelUtils.h"

#include "DataBase.h"
#include "MifAssertLog.h"
#include "Story.h"
#include "TextFrame.h"

namespace {

// The frames that show `story`, in no particular order: a walk over the document's objects,
// which the frame list of the composer replaces.
std::vector<UID> FramesOf(const UIDRef& story)
{
    std::vector<UID> frames;
    DataBase* db = story.GetDataBase();
    if (!db) return frames;
    for (const auto& [uid, object] : db->GetObjects())
        if (const auto* frame = dynamic_cast<const TextFrame*>(object.get()); frame && frame->story == story.GetUID())
            frames.push_back(uid);
    return frames;
}

} // namespace

UIDRef MifTextModelUtils::GetFrameStory(const UIDRef& frame) const
{
    DataBase* db = frame.GetDataBase();
    const TextFrame* multiColumnTextFrame = db ? db->Get<TextFrame>(frame.GetUID()) : nullptr;
    if (!multiColumnTextFrame) {
        MIF_LOG_NIL(multiColumnTextFrame);
        return UIDRef(nullptr, kInvalidUID);
    }
    if (!db->Get<Story>(multiColumnTextFrame->story)) return UIDRef(nullptr, kInvalidUID);
    return UIDRef(db, multiColumnTextFrame->story);
}

void MifTextModelUtils::ComposeStory(const UIDRef& story) const
{
    DataBase* db = story.GetDataBase();
    const Story* textModel = db ? db->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) MIF_LOG_NIL(textModel);
    // Nothing composes yet: the frame list has no damaged frame to compose.
}

UID MifTextModelUtils::FindFrameOfIndex(const UIDRef& story, int32 index) const
{
    DataBase* db = story.GetDataBase();
    const Story* textModel = db ? db->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) {
        MIF_LOG_NIL(textModel);
        return kInvalidUID;
    }
    // Without composed lines only a lone frame is known to hold the story's characters.
    std::vector<UID> frameList = FramesOf(story);
    if (frameList.size() != 1) return kInvalidUID;
    // An index past the end is answered by the nearest character before it, down to index 1.
    const int32 length = textModel->textModel.TotalLength();
    bool held = index >= 0 && (index < length || length > 1);
    return held ? frameList.front() : kInvalidUID;
}

void MifTextModelUtils::GetLineMetrics(const UIDRef& story, int32 /*index*/, double* metric1, double* metric2,
                                       double* metric3, double* metric4) const
{
    for (double* metric : {metric1, metric2, metric3, metric4})
        if (metric) *metric = 0;
    DataBase* db = story.GetDataBase();
    const Story* textModel = db ? db->Get<Story>(story.GetUID()) : nullptr;
    if (!textModel) MIF_LOG_NIL(textModel);
    // No line holds the index until the story is composed: the values stay 0.
}

double MifTextModelUtils::GetMetric1(const UIDRef& story, int32 index) const
{
    double value = 0;
    GetLineMetrics(story, index, &value, nullptr, nullptr, nullptr);
    return value;
}

double MifTextModelUtils::GetMetric2(const UIDRef& story, int32 index) const
{
    double value = 0;
    GetLineMetrics(story, index, nullptr, &value, nullptr, nullptr);
    return value;
}

double MifTextModelUtils::GetMetric3(const UIDRef& story, int32 index) const
{
    double value = 0;
    GetLineMetrics(story, index, nullptr, nullptr, &value, nullptr);
    return value;
}

double MifTextModelUtils::GetMetric4(const UIDRef& story, int32 index) const
{
    double value = 0;
    GetLineMetrics(story, index, nullptr, nullptr, nullptr, &value);
    return value;
}
