// A story for composer tests: `text` (its final return comes with the story) set in DejaVu Sans
// Book at `size`, with `leading` when one is given (else the paragraph's default).
#pragma once

#include <optional>
#include <string>

#include "DataBase.h"
#include "Document.h"
#include "Story.h"
#include "StyleUtils.h"

inline Story& AddStyledStory(DataBase& db, const std::u16string& text, PMReal size = 10,
                             std::optional<PMReal> leading = std::nullopt)
{
    Story& story = *db.Create<Story>();
    db.GetDocument()->stories.push_back(story.GetUID());
    story.textModel.Insert(0, text);
    AttributeBossList attributes;
    attributes.ApplyAttribute(TextAttribute::kFontFamily, DocFontMgr::GetFontFamilyUID(db, "DejaVu Sans"));
    attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Book"));
    attributes.ApplyAttribute(TextAttribute::kPointSize, size);
    if (leading) attributes.ApplyAttribute(TextAttribute::kLeading, *leading);
    story.textModel.ApplyAttributes(attributes, 0, story.textModel.TotalLength());
    return story;
}
