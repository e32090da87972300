#include "mif/MifTextConverter.h"

#include <memory>

#include "FontManager.h"
#include "InterfacePtr.h"

#include "base/MifAssertLog.h"
#include "mif/MifEncodingTables.h"
#include "mif/MifFamilyEncodings.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

namespace {

int HexValue(char16_t c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Splits a TQ_FamilyEncoding value, "family,encoding", at its first comma; an item that is
// missing or empty stays null.
void SplitFamilyEncoding(const PMString& entry, std::unique_ptr<PMString>& item1, std::unique_ptr<PMString>& item2)
{
    int32 comma = entry.IndexOf(PMString(","));
    PMString first = comma < 0 ? entry : entry.Substring(0, comma);
    PMString second = comma < 0 ? PMString() : entry.Substring(comma + 1);
    if (!first.IsEmpty()) item1 = std::make_unique<PMString>(first);
    if (!second.IsEmpty()) item2 = std::make_unique<PMString>(second);
}

} // namespace

void MifTextConverter::ConvertString(PMString& text, int32 encoding) { Decode(text, MifEncodingTable(encoding)); }

void MifTextConverter::ConvertFontString(PMString& text, const PMString& family, const MifObject* mifRoot)
{
    ConvertString(text, ChooseEncoding(family, mifRoot));
}

void MifTextConverter::DecodeEscapes(PMString& text) { Decode(text, nullptr); }

void MifTextConverter::Decode(PMString& text, const uint32_t* table)
{
    const std::u16string& in = text.GetUTF16();
    if (in.find(u'\\') == std::u16string::npos && !table) return;
    PMString out;
    out.GetUTF16Ref().reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        char16_t c = in[i];
        if (c == '\\') {
            i += DecodeEscape(in, i, table, out);
        } else {
            // Old files write every other byte as an escape; a character above U+00FF can only
            // come from UTF-8 text and is Unicode already.
            if (c < 0x100)
                AppendByte(static_cast<uchar>(c), table, out);
            else
                out.AppendW(c);
            ++i;
        }
    }
    text.GetUTF16Ref() = std::move(out.GetUTF16Ref());
}

size_t MifTextConverter::DecodeEscape(const std::u16string& in, size_t at, const uint32_t* table, PMString& out)
{
    size_t left = in.size() - at;  // from the backslash on
    switch (left > 1 ? in[at + 1] : 0) {
    case '>': out.AppendW('>'); return 2;
    case 'Q': out.AppendW('`'); return 2;
    case 'q': out.AppendW('\''); return 2;
    case 't': out.AppendW('\t'); return 2;
    case ' ':
        // Writers that escape every blank of a code example ("\ \ use\ POSIX"): FrameMaker
        // reads the pair as the blank, and so do we, or the words run together.
        AppendByte(' ', table, out);
        return 2;
    case '\\':
        // The bullet and tab blocks of autonumber formats, else one backslash.
        if (left > 2 && in[at + 2] == 'b') {
            out.AppendW(0x2022);
            return 3;
        }
        if (left > 2 && in[at + 2] == 't') {
            out.AppendW('\t');
            return 3;
        }
        out.AppendW('\\');
        return 2;
    case 'x': {
        // \xNN and the blank that ends it. At the very end of a string the blank may be missing;
        // the byte still counts.
        int high = left >= 4 ? HexValue(in[at + 2]) : -1;
        int low = left >= 4 ? HexValue(in[at + 3]) : -1;
        if (high < 0 || low < 0) return 2;
        AppendByte(static_cast<uchar>(high * 16 + low), table, out);
        return left >= 5 ? 5 : 4;
    }
    default:
        // An unknown escape, or a backslash that ends the string: nothing.
        return left > 1 ? 2 : 1;
    }
}

// FrameMaker's own codes below 0x20 for its special spaces, hyphens and tab, which files of
// MIF 8.0 and later still write as \xNN escapes ("on page\x11 <$pagenum\>"); 0 for the others.
UTF16TextChar MifTextConverter::FrameControlChar(uchar byte)
{
    switch (byte) {
    case 0x04: return 0x00AD;  // discretionary hyphen
    case 0x08: return 0x0009;  // tab
    case 0x10: return 0x2007;  // numeric space
    case 0x11: return 0x00A0;  // non-breaking space
    case 0x12: return 0x2009;  // thin space
    case 0x13: return 0x2002;  // en space
    case 0x14: return 0x2003;  // em space
    case 0x15: return 0x2011;  // non-breaking hyphen
    default: return 0;
    }
}

void MifTextConverter::AppendByte(uchar byte, const uint32_t* table, PMString& out)
{
    if (table)
        out.AppendCodePoint(table[byte]);
    else if (UTF16TextChar special = byte < 0x20 ? FrameControlChar(byte) : 0)
        out.AppendW(special);
    else
        out.AppendW(byte);
}

int32 MifTextConverter::ChooseEncoding(const PMString& family, const MifObject* mifRoot)
{
    int32 encoding = -1;
    int32 found = -1;
    if (FindPresetEncoding(family, found)) encoding = found;
    if (encoding == -1 && mifRoot && FindFileEncoding(family, mifRoot, found)) encoding = found;
    if (encoding == -1) encoding = GetInstalledEncoding(family);
    return encoding < 0 ? 0 : encoding;
}

bool MifTextConverter::FindPresetEncoding(const PMString& family, int32& encoding) const
{
    return MifFamilyEncodings::Find(mPresetEncodings, family, encoding);
}

bool MifTextConverter::FindFileEncoding(const PMString& family, const MifObject* mifRoot, int32& encoding)
{
    auto cached = mFileTables.find(mifRoot);
    if (cached == mFileTables.end()) {
        FileEncodingTable entries;
        const MifObject* encodingTable = mifRoot->GetObject(kMifTQ_EncodingTable);
        for (const MifProp* prop : encodingTable ? encodingTable->props : MifPropList::Empty()) {
            if (prop->id != kMifTQ_FamilyEncoding || !MifIsStringType(prop->type) || !prop->value.rawString) continue;
            std::unique_ptr<PMString> item1, item2;
            SplitFamilyEncoding(*prop->value.rawString, item1, item2);
            if (!item1) { MIF_LOG_NIL(item1.get()); continue; }
            if (!item2) { MIF_LOG_NIL(item2.get()); continue; }
            int32 error = 0;
            int32 number = item2->GetAsNumber(&error);
            if (error != 0) { MIF_LOG_FAILED(item2->GetAsNumber()); continue; }
            entries.emplace_back(*item1, number);
        }
        cached = mFileTables.emplace(mifRoot, std::move(entries)).first;
    }
    for (const auto& [listed, number] : cached->second) {
        if (listed.IsEqualNoCase(family)) {
            encoding = number;
            return true;
        }
    }
    return false;
}

int32 MifTextConverter::GetInstalledEncoding(const PMString& family)
{
    // Exact names; a family that is not installed is remembered as FrameRoman (0).
    auto [entry, added] = mInstalledFonts.try_emplace(family.GetUTF16(), 0);
    if (added && !mFontsGiven) entry->second = FontManager::Get().GetCharSet(family);
    return entry->second;
}

void MifTextConverter::SetInstalledFonts(const std::vector<std::pair<PMString, int32>>& families)
{
    mFontsGiven = true;
    mInstalledFonts.clear();
    for (const auto& [family, charSet] : families) mInstalledFonts[family.GetUTF16()] = charSet;
}
