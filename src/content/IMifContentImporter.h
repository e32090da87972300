// IMifContentImporter: pours the text flows of a MIF file into the stories of the document, with
// its styles, special characters, footnotes and the text of its variables.
#pragma once

#include "IDFile.h"
#include "IPMUnknown.h"
#include "PMString.h"
#include "TesselID.h"
#include "UIDRef.h"

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
    // Inserts `text` at the text index, decoded (escapes, or the 8-bit set of the font in force)
    // when `decode`; the index advances.
    virtual void InsertText(const PMString& text, bool decode) = 0;
    // Makes the catalog character format `name` the one in force at the text index.
    virtual void ApplyCharacterStyle(const PMString& name) = 0;
    virtual void SetStory(const UIDRef& story) = 0;
    virtual UIDRef GetStory() const = 0;
    virtual void SetTextIndex(int32 index) = 0;
    virtual int32 GetTextIndex() const = 0;

    // The style of that name; kInvalidUID when none.
    virtual UID FindParagraphStyle(const PMString& name) const = 0;
    virtual UID FindCharacterStyle(const PMString& name) const = 0;
};
