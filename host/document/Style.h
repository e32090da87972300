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

// A style of a font family as the system has it.
struct FontFace {
    PMString style;           // "Bold Italic"
    PMString postScriptName;  // "NimbusRoman-BoldItalic"; empty when the system gives none
};

// A font family the document uses, with the styles of it that its text asks for.
class FontFamily : public DocObject {
public:
    PMString name;
    std::vector<PMString> styles;
    // Whether the system has the family (false: InDesign shows it as missing).
    bool installed = false;
    // The styles of the family the system has, with their PostScript names, as found when the
    // family was added to the document or the fonts in use were refreshed; empty when missing.
    std::vector<FontFace> installedFaces;

    // Asks the system's fonts again whether it has the family, and which styles.
    void FindInstalledFaces();
};
