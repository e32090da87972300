// Document: the root of a document's database: its name, its setup, and the ordered lists of
// its spreads, master spreads, layers and sections.
#pragma once

#include <vector>

#include "DocObject.h"
#include "PMGeometry.h"
#include "PMString.h"

struct DocumentPreferences {
    PMReal pageWidth = 612;        // points (US Letter by default)
    PMReal pageHeight = 792;
    bool wide = false;             // landscape orientation
    int32 pagesPerSpread = 1;      // 2 for facing pages
    bool facingPages = false;
    bool skipByLeading = false;    // text wrap only affects text below (skip by leading)
};

class Document : public DocObject {
public:
    PMString name;                  // "Report.indd"
    DocumentPreferences preferences;
    std::vector<UID> spreads;       // in page order
    std::vector<UID> masterSpreads;
    std::vector<UID> layers;        // front to back
    std::vector<UID> sections;      // in page order
    std::vector<UID> stories;       // in creation order
    std::vector<UID> swatches;      // in the order of the Swatches panel
    std::vector<UID> paragraphStyles;
    std::vector<UID> characterStyles;
    std::vector<UID> lists;         // numbering lists, the default list first
    std::vector<UID> fontFamilies;  // the font families the document uses
    std::vector<UID> textVariables;          // the text variable table, in creation order
    std::vector<UID> crossReferenceFormats;  // kept by a cross-reference plug-in
    std::vector<UID> crossReferenceSources;  // in insertion order
    std::vector<UID> textDestinations;       // in insertion order
    // Font families the document uses and the system lacks, as RefreshMissingFonts found them.
    std::vector<PMString> missingFonts;

    // Every page of the document's spreads, in order.
    std::vector<UID> GetPages() const;
    int32 GetPageCount() const { return static_cast<int32>(GetPages().size()); }
    // Finds again which fonts in use the system lacks.
    void RefreshMissingFonts();
};
