// PreviewParagraphRules: draws the rules above and below paragraphs, as InDesign places them. A
// rule above stands with its bottom `offset` above the baseline of the paragraph's first line, a
// rule below with its top `offset` below the baseline of its last line; each runs across the
// column (or across the text between the paragraph's indents) less its own indents.
#pragma once

#include <vector>

#include <cairo.h>

#include "FrameList.h"
#include "PreviewColors.h"

class DataBase;
class Story;

class PreviewParagraphRules {
public:
    PreviewParagraphRules(const DataBase& db, const PreviewColors& colors) : mDB(db), mColors(colors) {}

    // The rules of the paragraphs that start or end among `lines`, set in columns `columnWidth`
    // wide.
    void Draw(cairo_t* cr, const Story& story, const std::vector<ComposedLine>& lines, PMReal columnWidth) const;

private:
    void DrawRule(cairo_t* cr, const Story& story, const ComposedLine& line, bool above, PMReal columnWidth) const;

    const DataBase& mDB;
    const PreviewColors& mColors;
};
