// XRefFormatsList: the formats list of a document (IXRefFormatsList), over the document's
// cross-reference formats in the order they were added.
#pragma once

#include "IXRefPlugIn.h"

class CrossReferenceFormat;

class XRefFormatsList : public IXRefFormatsList {
public:
    int32 FindFormat(const PMString& name) const override;
    int32 GetFormatCount() const override;
    XRefFormatData GetFormat(int32 index) const override;

    // The format at `index` of the document `db`; null out of range.
    static CrossReferenceFormat* FormatAt(const DataBase& db, int32 index);
    static int32 Find(const DataBase& db, const PMString& name);
};

// XRefCrossReference: the text length of a cross-reference (IXRefCrossReference).
class XRefCrossReference : public IXRefCrossReference {
public:
    int32 GetTextLength(UID crossRef) const override;
};
