// PageNumbering: the sections of a document as runs of pages, and the number each page shows.
//
// The document's sections name their start pages; this turns them into consecutive runs over the
// pages in document order, as a layout program keeps them:
//   - the first page always starts a section: when no section starts there, an implied one does
//     (arabic numbers from 1);
//   - a section whose start page is not a page of the document is passed over, and of two
//     sections starting on the same page the first in the document's list wins;
//   - a section that continues numbering starts one past the last number of the run before it;
//     otherwise at its own start number, kept within 1..999999.
// Writers use it for page names and section lengths; text composition for page-number markers.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "PMString.h"
#include "Section.h"
#include "UIDRef.h"

class DataBase;

class PageNumbering {
public:
    struct Run {
        UID section = kInvalidUID;   // the Section object; kInvalidUID for the implied first run
        int32 firstPage = 0;         // index into the document's pages
        int32 length = 0;            // pages in the run, at least 1
        int32 firstNumber = 1;       // the number the first page shows
        PageNumberStyle style = PageNumberStyle::kArabic;
    };

    static constexpr int32 kMaxPageNumber = 999999;

    explicit PageNumbering(const DataBase& db);

    // The runs in page order; empty when the document has no pages.
    const std::vector<Run>& GetRuns() const { return mRuns; }
    // The pages of the document in order (as Document::GetPages(), without UIDs that name no Page).
    const std::vector<UID>& GetPages() const { return mPages; }
    // The index of page `page` in GetPages(); -1 when it is not a page of the document.
    int32 IndexOf(UID page) const;
    // The run that holds page `page`; null when it is not a page of the document.
    const Run* FindRun(UID page) const;
    // The number page `page` shows as text ("iv"); empty when it is not a page of the document.
    PMString GetPageName(UID page) const;

    // `number` written in `style`: roman numerals up to 3999, letters A..Z, AA, AB, ...
    // Numbers a style cannot show (0, negative, roman above 3999) are written in arabic.
    static PMString FormatNumber(int32 number, PageNumberStyle style);
    // The style's name as layout programs spell it: "Arabic", "UpperRoman", "LowerRoman",
    // "UpperLetters", "LowerLetters".
    static const char* StyleName(PageNumberStyle style);

private:
    std::vector<UID> mPages;
    std::unordered_map<UID, int32> mPageIndex;   // page to its index in mPages
    std::vector<Run> mRuns;
};
