#include "MifEncodingNames.h"

namespace {

struct OfferedEncoding {
    int32 code;
    const char* nameKey;
};

constexpr OfferedEncoding kOffered[] = {
    {0, "OV#0xB40#kMifRomanKey"},
    {238, "OV#0xB40#kMifEastEuropeWinKey"},
    {161, "OV#0xB40#kMifGreekWinKey"},
    {177, "OV#0xB40#kMifHebrewWinKey"},
    {178, "OV#0xB40#kMifArabicWinKey"},
    {204, "OV#0xB40#kMifRussianWinKey"},
    {186, "OV#0xB40#kMifBalticWinKey"},
    {162, "OV#0xB40#kMifTurkishWinKey"},
    {222, "OV#0xB40#kMifThaiWinKey"},
    {29, "OV#0xB40#kMifEastEuropeMacKey"},
    {6, "OV#0xB40#kMifGreekMacKey"},
    {5, "OV#0xB40#kMifHebrewMacKey"},
    {4, "OV#0xB40#kMifArabicMacKey"},
    {7, "OV#0xB40#kMifCyrillicMacKey"},
};
constexpr int32 kOfferedCount = sizeof kOffered / sizeof kOffered[0];

} // namespace

int32 MifEncodingNames::GetOfferedCount() { return kOfferedCount; }

int32 MifEncodingNames::GetOfferedCode(int32 index)
{
    return index >= 0 && index < kOfferedCount ? kOffered[index].code : -1;
}

PMString MifEncodingNames::GetName(int32 encoding)
{
    for (const OfferedEncoding& offered : kOffered) {
        if (offered.code != encoding) continue;
        PMString name(offered.nameKey);
        name.Translate();
        return name;
    }
    return PMString();
}
