// Section: a run of pages that share a page numbering.
#pragma once

#include "DocObject.h"
#include "PMString.h"

enum class PageNumberStyle {
    kArabic,         // 1, 2, 3
    kUpperRoman,     // I, II, III
    kLowerRoman,     // i, ii, iii
    kUpperLetters,   // A, B, C
    kLowerLetters,   // a, b, c
};

class Section : public DocObject {
public:
    UID startPage = kInvalidUID;
    bool continueNumbering = false;  // true: number on from the previous section
    int32 pageNumberStart = 1;
    PageNumberStyle numberingStyle = PageNumberStyle::kArabic;
    PMString marker;
};
