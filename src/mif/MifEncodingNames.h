// MifEncodingNames: the encodings that the preferences' font encoding list offers, and their
// names ("Roman (ANSI)", "East Europe (Win)", ...). Symbol (2) is not offered: it comes from the
// installed symbol fonts. All in this header, for the application's front end as well.
#pragma once

#include "PMString.h"

class MifEncodingNames {
public:
    // How many encodings the list offers.
    static int32 GetOfferedCount() { return sizeof kOffered / sizeof kOffered[0]; }
    // The code of the index-th offered encoding, in the order of the preferences' drop-down; -1
    // when out of range.
    static int32 GetOfferedCode(int32 index)
    {
        return index >= 0 && index < GetOfferedCount() ? kOffered[index].code : -1;
    }
    // The translated name of `encoding`; empty for a code the list does not offer.
    static PMString GetName(int32 encoding)
    {
        for (const OfferedEncoding& offered : kOffered) {
            if (offered.code != encoding) continue;
            PMString name(offered.nameKey);
            name.Translate();
            return name;
        }
        return PMString();
    }

private:
    struct OfferedEncoding {
        int32 code;
        const char* nameKey;
    };
    static constexpr OfferedEncoding kOffered[] = {
        {0, "OV#0xB40#kMifRomanKey"},
        {238, "OV#0xB40#kMifEastEuropeWinKey"},
        {204, "OV#0xB40#kMifRussianWinKey"},
        {177, "OV#0xB40#kMifHebrewWinKey"},
        {178, "OV#0xB40#kMifArabicWinKey"},
        {161, "OV#0xB40#kMifGreekWinKey"},
        {162, "OV#0xB40#kMifTurkishWinKey"},
        {186, "OV#0xB40#kMifBalticWinKey"},
        {222, "OV#0xB40#kMifThaiWinKey"},
        {29, "OV#0xB40#kMifEastEuropeMacKey"},
        {7, "OV#0xB40#kMifCyrillicMacKey"},
        {5, "OV#0xB40#kMifHebrewMacKey"},
        {4, "OV#0xB40#kMifArabicMacKey"},
        {6, "OV#0xB40#kMifGreekMacKey"},
    };
};
