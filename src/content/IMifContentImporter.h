// IMifContentImporter: pours the text flows of a MIF file into the stories of the document, with
// its styles, special characters, footnotes and the text of its variables.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "PMString.h"
#include "UIDRef.h"

#include "base/TesselID.h"

class MifObject;
class MifProp;

class IMifContentImporter : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFCONTENTIMPORTER };

    // Keeps the root and its catalogs; counts the paragraphs of the text flows for progress.
    virtual void SetMifObject(MifObject* mifRoot) = 0;
    // The MIF file, for files it refers to.
    virtual void SetSourceFile(const IDFile& file) = 0;
    // The "Importing styles..." phase: paragraph and character formats become styles.
    virtual void ImportStyles() = 0;
    // Imports every TextFlow child of `object` into the stories of its text columns.
    virtual void ImportTextFlows(const MifObject* object) = 0;
    // Imports the Para statements of `object` into the story of `frame`, from its first
    // character, as the text of a table cell; `value1` and `value2` are kept while it runs.
    virtual void ImportTextIntoFrame(const UIDRef& frame, int32 value1, int32 value2, const MifObject* object) = 0;
    // Imports the text items of `object` as one ParaLine at the start of `story`, leaving the
    // import's own state as it was.
    virtual void ImportTextItems(const UIDRef& story, const MifObject* object) = 0;
    // The style of that name; kInvalidUID when none.
    virtual UID FindParagraphStyle(const PMString& name) const = 0;
    virtual UID FindCharacterStyle(const PMString& name) const = 0;

    // What the import read, for checking the saved document against it. The characters of text
    // the import has put in stories (text flows with their footnotes and table cells, and text
    // lines), as IsCountedCharacter counts them, less what it deleted again (unhonoured tabs).
    virtual int64 GetImportedCharacterCount() const = 0;
    // The pages the file itself has (its body pages, and the blank first page of a document that
    // starts on a left page), before any is added for overflowing text.
    virtual int32 GetFilePageCount() const = 0;

    // Whether a UTF-16 unit of a story counts as a character of its text, on both sides of the
    // check: the import as it inserts text, and whoever counts the stories of the document. Text
    // is what a reader sees: letters, spaces and tabs (a surrogate pair counts once, by its high
    // half). Left out is the structure the document adds around it: paragraph ends, forced line
    // breaks (the import adds one of its own before frames anchored below a line), and every
    // other control character, which anchors tables, footnotes, variables and cross-references or
    // stands for the page number, and the replacement character that anchors frames.
    static bool IsCountedCharacter(char16_t c)
    {
        if (c < 0x20) return c == u'\t';
        if (c >= 0xDC00 && c <= 0xDFFF) return false;  // the low half of a surrogate pair
        return c != 0xFFFC;
    }
};
