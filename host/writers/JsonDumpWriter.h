// JsonDumpWriter: the whole document model as deterministic JSON, for tests and for people who
// want to see what a conversion built.
//
// The dump is one object: "format" and "version" name this layout, "document" is the UID of the
// root object, and "objects" lists every object of the database in UID order. Each object holds
// "uid" and "kind" ("Document", "Spread", "MasterSpread", "Page", "Layer", "Section", "Swatch",
// "Style", "NumberingList", "FontFamily") and its fields under the model's own names (a style's
// text attributes by their TextAttribute names: "pointSize"); references to other objects are
// their UIDs, or null for none. Objects of kinds this writer does not know yet appear with "kind": "Unknown".
// Same model in, same text out: keys sorted, numbers through NumberFormatter.
#pragma once

#include <string>

#include "IDFile.h"
#include "PMTypes.h"

class DataBase;

class JsonDumpWriter {
public:
    // The dump as text, ending with a line feed; empty only when memory ran out.
    static std::string Dump(const DataBase& db);
    // Writes the dump to `out` through a temporary file (see AtomicFileWriter for the errors);
    // kOutOfMemoryError when the dump could not be built. A failure leaves `out` as it was.
    static ErrorCode Write(const DataBase& db, const IDFile& out);
};
