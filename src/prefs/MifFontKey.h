// MifFontKey: the FrameMaker side of a font substitution: the MIF FFamily, FAngle, FWeight and
// FVar of a font. An empty angle, weight or variation matches any value.
//
// Keys sort by family (PMString order), then by angle, weight and variation. Each of these three
// is compared without regard to case, and an empty value comes first, then "Regular" (in any
// case), then every other value. So two keys that differ only in the case of their style fields
// are the same key.
#pragma once

#include "PMString.h"

class MifFontKey {
public:
    MifFontKey() = default;
    MifFontKey(const PMString& family, const PMString& angle, const PMString& weight, const PMString& variation)
        : mFamily(family), mAngle(angle), mWeight(weight), mVariation(variation) {}

    const PMString& GetFamily() const { return mFamily; }
    const PMString& GetAngle() const { return mAngle; }
    const PMString& GetWeight() const { return mWeight; }
    const PMString& GetVariation() const { return mVariation; }

    // Below 0, 0 or above 0 as this key sorts before, with or after `other`.
    int32 Compare(const MifFontKey& other) const;
    friend bool operator<(const MifFontKey& a, const MifFontKey& b) { return a.Compare(b) < 0; }
    friend bool operator==(const MifFontKey& a, const MifFontKey& b) { return a.Compare(b) == 0; }

    // The style as the preferences list it: the translated "A: ^1, W: ^2, V: ^3" with "(any)"
    // for each empty field.
    PMString GetStyleDisplay() const
    {
        PMString display("OV#0xB40#kMifFontStyleFormatKey");
        display.Translate();
        StringUtils::ReplaceStringParameters(&display, FieldOrAny(mAngle), FieldOrAny(mWeight), FieldOrAny(mVariation));
        return display;
    }

private:
    static PMString FieldOrAny(const PMString& value)
    {
        if (!value.IsEmpty()) return value;
        PMString any("OV#0xB40#kMifAnyFontFaceKey");
        any.Translate();
        return any;
    }

    PMString mFamily;
    PMString mAngle;
    PMString mWeight;
    PMString mVariation;
};
