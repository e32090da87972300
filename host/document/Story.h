// Story: the text that flows through a thread of text frames, and the footnotes it owns.
//
// The text model holds the characters with their paragraph and character formatting; its own
// thread ends with the story's final carriage return, so an empty story is one empty paragraph.
// A footnote's text is a thread of the same model, anchored at a footnote marker character.
#pragma once

#include "DocObject.h"
#include "FrameList.h"
#include "PMString.h"
#include "TextModel.h"

class Story : public DocObject {
public:
    TextModel textModel;
    // The text as the composer laid it into the story's frames (TextComposer).
    FrameList frameList;

    // The story's own text, without its final carriage return.
    PMString GetPrimaryText() const;
    bool IsEmpty() const { return textModel.GetThreadRange(0).length <= 1; }
};

// A footnote: its marker sits in `story`, its text is the story's thread owned by the footnote.
class Footnote : public DocObject {
public:
    UID story = kInvalidUID;
};
