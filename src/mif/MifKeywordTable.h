// MifKeywordTable: every MIF keyword the reader knows, with its id and value kind.
//
// The rows are sorted by the bytes of the name (upper case before lower case, the back-quoted
// encoding names last), and looked up by binary search. The same table serves for statement
// names and for the value words of keyword properties. The ids are the kMif constants of
// MifKeywords.h; the table and the constants are generated together by tools/gen_keyword_table.py.
#pragma once

#include <string_view>

#include "PMTypes.h"

#include "mif/MifKeywords.h"
#include "mif/MifValueType.h"

struct MifKeyword {
    const char* name;
    int32 id;
    int32 type;  // MifValueType
};

class MifKeywordTable {
public:
    static constexpr size_t kRowCount = 816;
    static const MifKeyword kRows[kRowCount];

    // The keyword's id, and its value kind in *type; -1 (and *type untouched) when unknown.
    static int32 Lookup(std::string_view name, int32* type = nullptr);
    // The name of keyword `id`; where two keywords share an id, the one of value kind `type`.
    // Null when no keyword has that id.
    static const char* GetName(int32 id, int32 type = kMifTypeAny);

    static constexpr int32 kMifTypeAny = -100;
};
