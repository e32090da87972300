#include "mif/MifTreePrinter.h"

#include <charconv>
#include <cstdio>

#include "mif/MifFacetList.h"
#include "mif/MifKeywordTable.h"
#include "mif/MifObject.h"

namespace {

void AppendNumber(std::string& out, double value)
{
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, ec == std::errc() ? end : buffer);
}

std::string KeywordName(int32 id, int32 type)
{
    if (id == kMifInset) return "Inset";
    const char* name = MifKeywordTable::GetName(id, type);
    return name ? std::string(name) : std::string(1, '?').append(std::to_string(id));
}

} // namespace

std::string MifTreePrinter::FormatValue(const MifProp& prop)
{
    const MifPropVal& v = prop.value;
    std::string out;
    switch (prop.type) {
    case kMifTypeString:
    case kMifTypeTag:
    case kMifTypeRawString:
    case kMifTypeString2:
        // Appended, not "`" + a temporary: that makes GCC 12 warn (-Wrestrict) in Release builds.
        out += '`';
        if (v.rawString) out += v.rawString->GetUTF8String();
        out += '\'';
        break;
    case kMifTypeBool:
        out = v.boolean ? "Yes" : "No";
        break;
    case kMifTypeInt:
    case kMifTypeID:
    case kMifTypeInt2:
        out = std::to_string(v.id);
        break;
    case kMifTypeNumber:
    case kMifTypePercent:
        AppendNumber(out, v.number);
        if (prop.type == kMifTypePercent) out += "%";
        break;
    case kMifTypeKeyword: {
        const char* name = MifKeywordTable::GetName(v.keyword);
        out = v.keyword >= 0 && name ? name : "?";
        break;
    }
    case kMifTypeFacets:
        if (v.facets) {
            for (int32 i = 0; i < v.facets->GetCount(); ++i) {
                char crc[16];
                std::snprintf(crc, sizeof crc, "%08x", v.facets->GetCRC(i));
                if (!out.empty()) out += ", ";
                out += "=";
                out += v.facets->GetName(i).GetUTF8String();
                out += " (" + std::to_string(v.facets->GetSize(i)) + " bytes, CRC-32 " + crc + ")";
            }
        }
        break;
    case kMifTypeSkip:
        out = "(skipped)";
        break;
    default:
        for (int32 i = 0; i < MifDimCount(prop.type); ++i) {
            if (i > 0) out += " ";
            AppendNumber(out, v.dim[i]);
            out += " pt";
        }
        break;
    }
    return out;
}

void MifTreePrinter::Print(const MifObject& object, std::string& out, int indent)
{
    for (const MifProp* prop : object.props) {
        if (!prop) break;
        out.append(static_cast<size_t>(indent) * 2, ' ');
        out += '<';
        out += KeywordName(prop->id, prop->type);
        if (prop->type == kMifTypeObject) {
            out += "\n";
            if (prop->value.object) Print(*prop->value.object, out, indent + 1);
            out.append(static_cast<size_t>(indent) * 2, ' ');
            out += ">\n";
            continue;
        }
        std::string value = FormatValue(*prop);
        if (!value.empty()) out += " " + value;
        out += ">\n";
    }
}

long MifTreePrinter::CountStatements(const MifObject& object)
{
    long count = 0;
    for (const MifProp* prop : object.props) {
        if (!prop) break;
        ++count;
        if (prop->type == kMifTypeObject && prop->value.object) count += CountStatements(*prop->value.object);
    }
    return count;
}
