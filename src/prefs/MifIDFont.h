// MifIDFont: the InDesign side of a font substitution: a font family and a style. An empty style
// keeps the style that the font mapping would otherwise give.
#pragma once

#include "PMString.h"

class MifIDFont {
public:
    MifIDFont() = default;
    MifIDFont(const PMString& family, const PMString& style) : mFamily(family), mStyle(style) {}

    const PMString& GetFamily() const { return mFamily; }
    const PMString& GetStyle() const { return mStyle; }

    // The style as the preferences list it: the style, or the translated "Don't change font
    // style" when it is empty.
    PMString GetStyleDisplay() const
    {
        if (!mStyle.IsEmpty()) return mStyle;
        PMString keep("OV#0xB40#kMifDontChangeFontStyleKey");
        keep.Translate();
        return keep;
    }

    friend bool operator==(const MifIDFont& a, const MifIDFont& b)
    {
        return a.mFamily == b.mFamily && a.mStyle == b.mStyle;
    }

private:
    PMString mFamily;
    PMString mStyle;
};
