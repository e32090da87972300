// TextVariable: a document's text variable (a named value that text shows wherever an instance
// of it is inserted), and TextVariableInstance, one such place in a story.
//
// A variable's kind is the class of its base type, as the host names them. An instance sits in
// its story at one anchor character (kTextChar_TextVariable) that owns it; what it shows is
// worked out when the text is shown or written (VariableText), never stored in the story.
#pragma once

#include "DocObject.h"
#include "PMString.h"
#include "IPMUnknown.h"

// The anchor character of a text variable instance.
constexpr UTF16TextChar kTextChar_TextVariable = 0x0019;

// The base types of text variables.
constexpr ClassID kCurrentDateVariableType = 0xCAA1;
constexpr ClassID kCustomTextVariableType = 0xCAA3;
constexpr ClassID kFileNameVariableType = 0xCAA6;
constexpr ClassID kLastPageNumberVariableType = 0xCAA8;
constexpr ClassID kRunningHeaderVariableType = 0xCAAA;   // running header by paragraph style
constexpr ClassID kModificationDateVariableType = 0xCAAB;
constexpr ClassID kCreationDateVariableType = 0xCAAC;

class TextVariable : public DocObject {
public:
    PMString name;
    ClassID baseType = kCustomTextVariableType;
    // Custom text: the text; dates: the date format ("M/d/yy", tokens as in Unicode's patterns).
    PMString contents;
    PMString textBefore;
    PMString textAfter;
    bool includePath = false;       // file name
    bool includeExtension = true;   // file name
    int32 scope = 0;                // last page number and running header: 1 for the document
    int32 use = 0;                  // running header: 0 for the first on the page
    bool deleteEndPunctuation = false;
    UID paragraphStyle = kInvalidUID;  // running header: the style it looks for
};

class TextVariableInstance : public DocObject {
public:
    UID variable = kInvalidUID;
    UID story = kInvalidUID;
};
