// MifParagraphRules: FrameMaker's paragraph separators as InDesign's rules above and below.
//
// A separator (PgfTopSeparator, PgfBotSeparator) names a frame on a reference page that
// FrameMaker draws above or below the paragraph, adding the frame's height to the paragraph's
// space. InDesign draws a single line there, so a frame that holds one horizontal line becomes a
// rule: the line's weight, colour and tint, its distance from the paragraph's text, and its
// extent within the frame as indents. Frames that hold anything else cannot be drawn that way.
#pragma once

#include <map>
#include <set>
#include <string>

#include "PMString.h"

class MifObject;

class MifParagraphRules {
public:
    // Indexes the frames of the reference pages of `root` by their tags.
    explicit MifParagraphRules(const MifObject& root);

    struct Rule {
        double weight = 1;         // points
        PMString color;            // the colour's name in the colour catalog
        double tint = 100;         // percent
        double lineY = 0;          // the line's centre, from the frame's top
        double frameHeight = 0;    // the room the separator takes
        double leftIndent = 0;     // from the frame's left edge to the line's start
        double rightIndent = 0;    // from the line's end to the frame's right edge
    };
    enum class Found { kRule, kInvisible, kNoFrame, kNotALine };

    // The rule the separator frame tagged `tag` draws; kInvisible for a line drawn with no pen.
    Found Find(const PMString& tag, Rule& rule) const;
    // Whether `tag`'s problem is reported for the first time (each separator's once).
    bool FirstReport(const PMString& tag);

private:
    std::map<std::u16string, const MifObject*> mFrames;
    std::set<std::u16string> mReported;
};
