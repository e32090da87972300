// JsonValue: a JSON value built in memory and printed the same way every time.
//
// Objects print their keys sorted (by UTF-8 bytes, which is code point order), two spaces of
// indent a level; arrays of scalars print on one line ("[3, 7]"). Strings are UTF-8 with the
// characters JSON requires escaped, plus U+2028 and U+2029, which JavaScript does not allow in
// string literals. Reals print through NumberFormatter.
#pragma once

#include <string>
#include <vector>

#include "PMString.h"
#include "PMTypes.h"

class JsonValue {
public:
    enum class Kind {
        kNull,     // null; what a default-constructed value holds
        kBool,     // true or false
        kInteger,  // a whole number, printed exactly
        kReal,     // a length or ratio, printed by NumberFormatter
        kString,   // UTF-8 text
        kArray,    // values in order
        kObject,   // values by key, printed in key order
    };

    JsonValue() = default;
    static JsonValue Bool(bool value);
    static JsonValue Integer(int64 value);
    static JsonValue Real(PMReal value);
    static JsonValue String(std::string utf8);
    static JsonValue String(const char* utf8) { return String(std::string(utf8)); }
    static JsonValue String(const PMString& text);
    static JsonValue Array();
    static JsonValue Object();

    Kind GetKind() const { return mKind; }
    // Sets member `key` of an object (replacing an earlier value) and returns it; on a value that
    // is not an object, first turns it into an empty object.
    JsonValue& Set(const std::string& key, JsonValue value);
    // Appends to an array and returns the new element; a value that is not an array first
    // becomes an empty one.
    JsonValue& Append(JsonValue value);
    // Number of members or elements; 0 for scalars.
    size_t Size() const { return mItems.size(); }

    // The value as JSON text, ending with a line feed.
    std::string Serialize() const;

private:
    void Print(std::string& out, int depth) const;
    bool IsScalar() const { return mKind != Kind::kArray && mKind != Kind::kObject; }
    static void PrintString(std::string& out, const std::string& text);

    Kind mKind = Kind::kNull;
    bool mBool = false;
    int64 mInteger = 0;
    PMReal mReal = 0;
    std::string mText;
    std::vector<std::string> mKeys;   // objects: the key of each of mItems
    std::vector<JsonValue> mItems;    // arrays and objects
};
