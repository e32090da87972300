// MifEncodingNames: the encodings that the preferences' font encoding list offers, and their
// names ("Roman (ANSI)", "East Europe (Win)", ...). Symbol (2) is not offered: it comes from the
// installed symbol fonts.
#pragma once

#include "PMString.h"

class MifEncodingNames {
public:
    // How many encodings the list offers.
    static int32 GetOfferedCount();
    // The code of the index-th offered encoding, in the list's order; -1 when out of range.
    static int32 GetOfferedCode(int32 index);
    // The translated name of `encoding`; empty for a code the list does not offer.
    static PMString GetName(int32 encoding);
};
