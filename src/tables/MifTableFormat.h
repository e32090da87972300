// MifTableFormat: the properties of the table being imported, as FrameMaker reads them: the
// Tbl's own TblFormat first, then the TblCatalog entry of its tag. Also the limits that every
// part of the table import holds its lengths to, and the small helpers the parts share.
#pragma once

#include "PMString.h"

class MifObject;
class MifProp;
class Table;
class UIDRef;

class MifTableFormat {
public:
    // Lengths at or below this are none.
    static constexpr double kEpsilon = 1e-8;
    // Lengths beyond this are damaged input, not a table a page can hold.
    static constexpr double kMaxLength = 1.0e5;

    MifTableFormat() = default;
    MifTableFormat(const MifObject* own, const MifObject* catalog) : mOwn(own), mCatalog(catalog) {}
    // The format of `tbl`: its own TblFormat, and the entry of `tblCatalog` that the format's
    // tag names, else the tag the Tbl itself carries (FrameMaker writes it there).
    static MifTableFormat Of(const MifObject& tbl, const MifObject* tblCatalog);

    const MifObject* GetOwn() const { return mOwn; }
    const MifObject* GetCatalog() const { return mCatalog; }

    const MifProp* Find(int32 id) const;
    bool GetInt(int32 id, int32& value) const;
    // False when absent or not finite.
    bool GetDim(int32 id, double& value) const;
    const PMString* GetString(int32 id) const;
    // -1 when absent or not a keyword.
    int32 GetKeyword(int32 id) const;

    // The string of `prop`, null when it is none.
    static const PMString* StringOf(const MifProp* prop);
    // A finite length above kEpsilon and below kMaxLength.
    static bool IsLength(double value);
    // The table `table` names; null when there is none.
    static const Table* TableOf(const UIDRef& table);
    // Whether the statement `id` is a section of a table's rows (TblH, TblBody, TblF).
    static bool IsSection(int32 id);
    // `value` as the text of a message's detail.
    static PMString Number(int32 value);

private:
    const MifObject* mOwn = nullptr;
    const MifObject* mCatalog = nullptr;
};
