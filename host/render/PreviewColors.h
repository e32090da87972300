// PreviewColors: the document's swatches as the device RGB the preview paints with.
//
// The conversion is the simple one, without colour management: a CMYK colour becomes
// r = (1 - c)(1 - k), g = (1 - m)(1 - k), b = (1 - y)(1 - k); process and spot colours alike
// (a spot colour by the CMYK values it was given). A tint mixes its base colour with the paper:
// at t percent each channel is 1 - t/100 (1 - base). Paper is white, Registration black, None
// paints nothing. A tint of a tint multiplies the percentages; a chain of tints that loops, or a
// swatch that does not exist, paints nothing.
#pragma once

#include "UIDRef.h"

class DataBase;

// A colour in device RGB, each channel 0..1.
struct PreviewColor {
    double red = 0, green = 0, blue = 0;
};

// `color` mixed with the paper: all of it at `strength` 1, none at 0 (a tint).
inline PreviewColor Mixed(PreviewColor color, double strength)
{
    return {1 - strength * (1 - color.red), 1 - strength * (1 - color.green), 1 - strength * (1 - color.blue)};
}

class PreviewColors {
public:
    explicit PreviewColors(const DataBase& db) : mDB(db) {}
    // The colour `swatch` paints in; false when it paints nothing (None, a missing swatch, a
    // looping tint).
    bool Resolve(UID swatch, PreviewColor& color) const;

private:
    const DataBase& mDB;
};
