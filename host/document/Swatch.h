// Swatch: a named color of a document: the four fixed swatches (None, Paper, Black,
// Registration), process and spot CMYK colors, and tints of another swatch.
#pragma once

#include "DocObject.h"
#include "PMString.h"

enum class SwatchKind {
    kNone,          // no color
    kPaper,         // the color of the paper
    kRegistration,  // prints on every separation
    kProcess,       // CMYK, printed in the four process inks (Black is one)
    kSpot,          // CMYK, printed with an ink of its own
    kTint,          // a percentage of another swatch
};

class Swatch : public DocObject {
public:
    PMString name;
    SwatchKind kind = SwatchKind::kProcess;
    // Components 0..1 of process and spot colors (Paper is 0 0 0 0, Black 0 0 0 1).
    double cyan = 0, magenta = 0, yellow = 0, black = 0;
    UID base = kInvalidUID;   // the swatch a tint is made of
    double tint = 100;        // percent of the base, 0..100
    bool reserved = false;    // one of the document's fixed swatches, which cannot be removed

    bool IsCMYK() const { return kind == SwatchKind::kProcess || kind == SwatchKind::kSpot || kind == SwatchKind::kPaper; }
    // Whether the components equal these (0..1), each within 1e-8.
    bool HasValues(double c, double m, double y, double k) const
    {
        auto same = [](double a, double b) { return a - b < 1e-8 && b - a < 1e-8; };
        return same(cyan, c) && same(magenta, m) && same(yellow, y) && same(black, k);
    }
};
