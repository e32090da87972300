#include "ColumnSource.h"

#include <algorithm>

#include "DataBase.h"

PMReal FrameColumn::FirstBaseline(const ComposedLine& line) const
{
    PMReal offset = line.ascent;
    switch (firstBaseline) {
    case FirstBaselineOffset::kLeadingOffset: offset = line.leading; break;
    case FirstBaselineOffset::kCapHeight:
    case FirstBaselineOffset::kXHeight:
        offset = 0;
        for (const GlyphRun& run : line.runs)
            offset = std::max(offset, (firstBaseline == FirstBaselineOffset::kCapHeight ? run.face->capHeight : run.face->xHeight) *
                                          run.pointSize);
        break;
    case FirstBaselineOffset::kEmboxHeight:
        offset = 0;
        for (const GlyphRun& run : line.runs) offset = std::max(offset, run.pointSize * 0.8);
        break;
    default: break;
    }
    return top + offset;
}

void ColumnSource::AddFrame(size_t f)
{
    const TextFrame* frame = mDB.Get<TextFrame>(mFrameAt(f));
    if (!frame) return;
    PMRect box = frame->pathBounds;
    PMReal left = box.left + frame->insets.left, right = box.right - frame->insets.right;
    PMReal top = box.top + frame->insets.top, bottom = box.bottom - frame->insets.bottom;
    int32 count = std::clamp(frame->columnCount, 1, 1000);
    PMReal gutter = std::max<PMReal>(0, frame->columnGutter);
    PMReal width = (right - left - gutter * (count - 1)) / count;
    for (int32 c = 0; c < count; ++c) {
        FrameColumn column;
        column.frame = frame->GetUID();
        column.frameIndex = static_cast<int32>(f);
        column.column = c;
        column.left = left + c * (width + gutter);
        column.width = width;
        column.top = top;
        column.bottom = bottom;
        column.firstBaseline = frame->firstBaselineOffset;
        mColumns.push_back(column);
    }
}
