// Commands that add swatches to a document; the item list names the document, and afterwards
// holds the new (or reused) swatch.
#pragma once

#include "DocCommand.h"

// A process or spot CMYK color. A swatch of the same name and the same values is reused; a
// name taken by another color gets a number (" 2", " 3", ...), as swatch names are unique.
class CreateColorSwatchCmd : public DocCommand {
public:
    CreateColorSwatchCmd() { SetName("New Color Swatch"); }
    PMString name;
    bool spot = false;
    double cyan = 0, magenta = 0, yellow = 0, black = 0;  // 0..1

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// A tint of a swatch at a percentage (clamped to 0..100), named after its base and percentage;
// an existing tint of the same base and percentage is reused.
class CreateTintSwatchCmd : public DocCommand {
public:
    CreateTintSwatchCmd() { SetName("New Tint Swatch"); }
    UID base = kInvalidUID;
    double percent = 100;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
