#include "MifTextConverter.h"

#include <memory>

#include "FontManager.h"
#include "IMifPrefs.h"
#include "InterfacePtr.h"
#include "MifAssertLog.h"
#include "MifEncodingTables.h"
#include "MifKeywords.h"
#include "MifObject.h"
#include "Session.h"

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
    auto byte = [&](uint32 b) {
        if (table)
            out.AppendCodePoint(table[b]);
        else
            out.AppendW(static_cast<UTF16TextChar>(b));
    };
    size_t n = in.size();
    for (size_t i = 0; i < n;) {
        char16_t c = in[i];
        if (c != '\\') {
            // Old files write every other byte as an escape; a character above U+00FF can only
            // come from UTF-8 text and is Unicode already.
            if (c < 0x100)
                byte(c);
            else
                out.AppendW(c);
            ++i;
            continue;
        }
        char16_t next = i + 1 < n ? in[i + 1] : 0;
        switch (next) {
        case '>': out.AppendW('>'); i += 2; break;
        case 'Q': out.AppendW('`'); i += 2; break;
        case 'q': out.AppendW('\''); i += 2; break;
        case 't': out.AppendW('\t'); i += 2; break;
        case '\\':
            // The bullet and tab blocks of autonumber formats, else one backslash.
            if (i + 2 < n && in[i + 2] == 'b') {
                out.AppendW(0x2022);
                i += 3;
            } else if (i + 2 < n && in[i + 2] == 't') {
                out.AppendW('\t');
                i += 3;
            } else {
                out.AppendW('\\');
                i += 2;
            }
            break;
        case 'x': {
            // \xNN and the blank that ends it. At the very end of a string the blank may be
            // missing; the byte still counts.
            int high = i + 3 < n ? HexValue(in[i + 2]) : -1;
            int low = i + 3 < n ? HexValue(in[i + 3]) : -1;
            if (high < 0 || low < 0) {
                i += 2;
                break;
            }
            byte(static_cast<uint32>(high * 16 + low));
            i += i + 4 < n ? 5 : 4;
            break;
        }
        default:
            // An unknown escape, or a backslash that ends the string: nothing.
            i += 2;
            break;
        }
    }
    text.GetUTF16Ref() = std::move(out.GetUTF16Ref());
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

bool MifTextConverter::FindPresetEncoding(const PMString& family, int32& encoding)
{
    if (!mPresetQueried) {
        mPresetQueried = true;
        InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
        if (!prefs)
            MIF_LOG_NIL(prefs);
        else
            mPreset = prefs->GetPreset(prefs->GetCurrentPreset());
    }
    return mPreset && mPreset->FindEncoding(family, encoding);
}

bool MifTextConverter::FindFileEncoding(const PMString& family, const MifObject* mifRoot, int32& encoding)
{
    auto cached = mFileTables.find(mifRoot);
    if (cached == mFileTables.end()) {
        FileEncodingTable entries;
        const MifObject* encodingTable = mifRoot->GetObject(kMifTQ_EncodingTable);
        for (const MifProp* prop : encodingTable ? encodingTable->props : std::vector<MifProp*>()) {
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
