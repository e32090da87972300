#include "JsonValue.h"

#include <algorithm>
#include <numeric>

#include "NumberFormatter.h"

JsonValue JsonValue::Bool(bool value)
{
    JsonValue v;
    v.mKind = Kind::kBool;
    v.mBool = value;
    return v;
}

JsonValue JsonValue::Integer(int64 value)
{
    JsonValue v;
    v.mKind = Kind::kInteger;
    v.mInteger = value;
    return v;
}

JsonValue JsonValue::Real(PMReal value)
{
    JsonValue v;
    v.mKind = Kind::kReal;
    v.mReal = value;
    return v;
}

JsonValue JsonValue::String(std::string utf8)
{
    JsonValue v;
    v.mKind = Kind::kString;
    v.mText = std::move(utf8);
    return v;
}

JsonValue JsonValue::String(const PMString& text) { return String(text.GetUTF8String()); }

JsonValue JsonValue::Array()
{
    JsonValue v;
    v.mKind = Kind::kArray;
    return v;
}

JsonValue JsonValue::Object()
{
    JsonValue v;
    v.mKind = Kind::kObject;
    return v;
}

JsonValue& JsonValue::Set(const std::string& key, JsonValue value)
{
    if (mKind != Kind::kObject) *this = Object();
    auto it = std::find(mKeys.begin(), mKeys.end(), key);
    if (it != mKeys.end()) {
        JsonValue& slot = mItems[static_cast<size_t>(it - mKeys.begin())];
        slot = std::move(value);
        return slot;
    }
    mKeys.push_back(key);
    mItems.push_back(std::move(value));
    return mItems.back();
}

JsonValue& JsonValue::Append(JsonValue value)
{
    if (mKind != Kind::kArray) *this = Array();
    mItems.push_back(std::move(value));
    return mItems.back();
}

std::string JsonValue::Serialize() const
{
    std::string out;
    Print(out, 0);
    out += '\n';
    return out;
}

void JsonValue::PrintString(std::string& out, const std::string& text)
{
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        case '\b': out += "\\b"; continue;
        case '\f': out += "\\f"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        default: break;
        }
        if (c < 0x20) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else if (c == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' && (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
            out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

void JsonValue::Print(std::string& out, int depth) const
{
    switch (mKind) {
    case Kind::kNull: out += "null"; return;
    case Kind::kBool: out += mBool ? "true" : "false"; return;
    case Kind::kInteger: out += NumberFormatter::FormatInteger(mInteger); return;
    case Kind::kReal: out += NumberFormatter::FormatReal(mReal); return;
    case Kind::kString: PrintString(out, mText); return;
    case Kind::kArray:
    case Kind::kObject: break;
    }
    char open = mKind == Kind::kArray ? '[' : '{';
    char close = mKind == Kind::kArray ? ']' : '}';
    if (mItems.empty()) {
        out += open;
        out += close;
        return;
    }
    if (mKind == Kind::kArray && std::all_of(mItems.begin(), mItems.end(), [](const JsonValue& v) { return v.IsScalar(); })) {
        out += open;
        for (size_t i = 0; i < mItems.size(); ++i) {
            if (i) out += ", ";
            mItems[i].Print(out, depth + 1);
        }
        out += close;
        return;
    }
    std::vector<size_t> order(mItems.size());
    std::iota(order.begin(), order.end(), 0);
    if (mKind == Kind::kObject) std::sort(order.begin(), order.end(), [this](size_t a, size_t b) { return mKeys[a] < mKeys[b]; });
    std::string indent(static_cast<size_t>(depth + 1) * 2, ' ');
    out += open;
    for (size_t n = 0; n < order.size(); ++n) {
        out += n ? ",\n" : "\n";
        out += indent;
        if (mKind == Kind::kObject) {
            PrintString(out, mKeys[order[n]]);
            out += ": ";
        }
        mItems[order[n]].Print(out, depth + 1);
    }
    out += '\n';
    out += std::string(static_cast<size_t>(depth) * 2, ' ');
    out += close;
}
