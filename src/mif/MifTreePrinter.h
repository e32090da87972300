// MifTreePrinter: writes a statement tree as text, one statement a line, indented by nesting,
// in MIF's own notation with lengths in points. For people debugging a file.
#pragma once

#include <string>

class MifObject;
class MifProp;

class MifTreePrinter {
public:
    // Appends the statements of `object` (not the object's own statement) at `indent` levels.
    static void Print(const MifObject& object, std::string& out, int indent = 0);
    // The value of one statement as text ("12 pt", "`Body'", "Yes"); empty for containers.
    static std::string FormatValue(const MifProp& prop);
    // Number of statements in the tree below `object`.
    static long CountStatements(const MifObject& object);
};
