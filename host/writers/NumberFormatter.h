// NumberFormatter: numbers as the writers print them, identical on every run and machine.
//
// Lengths are rounded to a millionth of a point, which hides the last-bit noise of arithmetic
// (305.99999999999994 prints as 306) while keeping every position a layout program can show.
// The text is the shortest that reads back to the rounded value, never in exponent form, with
// no "-0"; infinities and NaN (which no format can carry) print as 0.
#pragma once

#include <string>

#include "PMTypes.h"

class NumberFormatter {
public:
    // "612", "-306", "0.5", "0.333333".
    static std::string FormatReal(PMReal value);
    // "612", "-3".
    static std::string FormatInteger(int64 value);
};
