// TableAttributeList: table, row and cell attributes by kind, each with one value, handed to the
// table commands as one list (an attribute set twice keeps the last value).
#pragma once

#include <map>
#include <variant>

#include "PMTypes.h"
#include "UIDRef.h"

enum class TableAttribute : int32 {
    // cells
    kCellInsetLeft,            // PMReal
    kCellInsetTop,
    kCellInsetRight,
    kCellInsetBottom,
    kCellFillColor,            // UID of a Swatch
    kCellFillTint,             // PMReal percent
    kCellRotation,             // PMReal degrees
    kCellFirstLineRule,        // int32
    kCellVerticalJustification,// int32: 0 top, 1 middle, 2 bottom
    // rows
    kRowMinHeight,             // PMReal
    kRowMaxHeight,             // PMReal
    kRowAutoGrow,              // int32: 1 grows with its content, 0 fixed
    kRowKeepWithNext,          // int32
    // the table
    kTableSpaceBefore,         // PMReal
    kTableSpaceAfter,          // PMReal
    kAltRowFirstColor,         // UID
    kAltRowNextColor,          // UID
    kAltRowFirstCount,         // int32
    kAltRowNextCount,          // int32
    kAltColumnFirstColor,
    kAltColumnNextColor,
    kAltColumnFirstCount,
    kAltColumnNextCount,
    kAltFillPattern,           // int32: 0 by rows, 1 by columns
    kAltRowFirstTint,          // PMReal
    kAltRowNextTint,
    kAltColumnFirstTint,
    kAltColumnNextTint,
};

using TableAttributeValue = std::variant<int32, PMReal, UID>;

class TableAttributeList {
public:
    void ApplyAttribute(TableAttribute kind, TableAttributeValue value) { mAttributes[kind] = value; }
    bool IsEmpty() const { return mAttributes.empty(); }
    int32 CountAttributes() const { return static_cast<int32>(mAttributes.size()); }
    const std::map<TableAttribute, TableAttributeValue>& GetAttributes() const { return mAttributes; }

private:
    std::map<TableAttribute, TableAttributeValue> mAttributes;
};

// The cell-stroke data the stroke command applies: on the `sides` of an area (1 left, 2 right,
// 4 top, 8 bottom) the values `mask` names (1 weight, 2 color with its tint, 4 stroke type).
struct CellStrokeRecord {
    enum Side : int32 { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };
    enum Mask : int32 { kWeight = 1, kColor = 2, kType = 4 };
    int32 sides = 0;
    int32 mask = 0;
    PMReal weight = 0;
    UID color = kInvalidUID;
    PMReal tint = 100.0;
    int16 overprint = 0;
    UID gapColor = kInvalidUID;
    PMReal gapTint = 100.0;
    int16 gapOverprint = 0;
    int32 strokeType = 0x5A29;
    UID extra = kInvalidUID;
};
