// MifVariablePiece: one piece of what a Variable puts in the text, in order: text, a character
// format in force from there on, an instance of one of the document's text variables, or the
// page number character. The variable importer says what goes in; the content importer puts it
// in at its text index.
#pragma once

#include "PMString.h"

struct MifVariablePiece {
    enum class Kind { kText, kCharacterStyle, kVariable, kPageNumber };
    Kind kind = Kind::kText;
    PMString text;        // the text, the character format's name or the text variable's name
    bool decode = false;  // kText: decoded as the file's strings are (escapes, 8-bit sets)
};
