// Story: the text that flows through a thread of text frames.
//
// The text holds the characters in UTF-16; paragraphs are separated by a carriage return
// (U+000D) and the last paragraph has none, so an empty story is one empty paragraph.
#pragma once

#include "DocObject.h"
#include "PMString.h"

class Story : public DocObject {
public:
    PMString text;
};
