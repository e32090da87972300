// The objects of live cross-references that a cross-reference plug-in keeps in a document:
// its formats, the cross-references in text (sources) and the places they point at
// (destinations).
//
// A cross-reference's text sits in its story between two anchor characters,
// kTextChar_CrossReferenceStart (owning the CrossReferenceSource) and kTextChar_CrossReferenceEnd;
// a destination is one anchor character, kTextChar_TextDestination, owning the
// HyperlinkTextDestination.
#pragma once

#include "DocObject.h"
#include "PMString.h"

constexpr UTF16TextChar kTextChar_CrossReferenceStart = 0x001C;
constexpr UTF16TextChar kTextChar_CrossReferenceEnd = 0x001D;
constexpr UTF16TextChar kTextChar_TextDestination = 0x001E;

// Whether `c` is an anchor that holds a place in the text without showing anything itself.
inline bool IsCrossReferenceAnchor(UTF16TextChar c)
{
    return c == kTextChar_CrossReferenceStart || c == kTextChar_CrossReferenceEnd || c == kTextChar_TextDestination;
}

class CrossReferenceFormat : public DocObject {
public:
    PMString name;
    // The plug-in's format syntax: literals, "<pagenum />", "<paratext />", <span cstyle="...">.
    PMString definition;
};

class CrossReferenceSource : public DocObject {
public:
    UID story = kInvalidUID;
    UID format = kInvalidUID;
    PMString formatName;   // kept so that a format replaced under its name is found again
    PMString key;          // what names the destination (the text of its marker)
    PMString file;         // the document the destination is in; empty for this one
    UID destination = kInvalidUID;  // kInvalidUID while no destination of the key is known
};

class HyperlinkTextDestination : public DocObject {
public:
    UID story = kInvalidUID;
    PMString name;         // the key that cross-references name it by
};
