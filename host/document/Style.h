// Style, NumberingList, FontFamily: the text resources of a document.
#pragma once

#include <vector>

#include "AttributeBossList.h"
#include "DocObject.h"
#include "PMString.h"

enum class StyleKind { kParagraph, kCharacter };

class Style : public DocObject {
public:
    StyleKind kind = StyleKind::kParagraph;
    PMString name;
    UID basedOn = kInvalidUID;    // none: a root style that carries all its attributes
    UID nextStyle = kInvalidUID;  // paragraph styles: the style of the paragraph that follows; none: itself
    AttributeBossList attributes;
    bool reserved = false;        // "[No paragraph style]", "[No character style]": cannot be deleted
};

// A named list that numbered paragraphs count in.
class NumberingList : public DocObject {
public:
    PMString name;
    bool continueAcrossStories = false;
    bool continueFromPreviousDocument = false;
    bool reserved = false;  // the document's default list
};

// A font family the document uses, with the styles of it that its text asks for.
class FontFamily : public DocObject {
public:
    PMString name;
    std::vector<PMString> styles;
    // Whether the system has the family (false: InDesign shows it as missing).
    bool installed = false;
};
