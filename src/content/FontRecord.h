// FontRecord: a FrameMaker font as a Font statement names it, carried while text is imported.
#pragma once

#include "PMString.h"

class MifObject;

struct FontRecord {
    PMString family;
    PMString angle;
    PMString weight;
    PMString variation;
    PMString postScriptName;
    double size = 0;  // points

    // Takes FFamily, FAngle, FWeight, FVar, FPostScriptName and FSize from `font`; absent
    // statements leave their fields as they are.
    void Read(const MifObject& font);
    void Reset() { *this = FontRecord(); }
};
