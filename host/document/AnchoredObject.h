// AnchoredObject: how a page item anchored in a story stands beside its anchor character.
//
// An anchored item is owned by the story (at its anchor character, U+FFFC) instead of a spread;
// the composer places it where its settings say each time it sets the anchor's line:
//   - inline: on the line, as a character as wide as the item, its bottom on the baseline
//     raised by `yOffset`;
//   - above line: in a space of its own above the anchor's line, aligned in the column by
//     `horizontalAlignment`, `spaceAbove` before it and `yOffset` after it;
//   - anchored (custom): the item's `anchorPoint` is put on the point of the horizontal and
//     vertical references that the alignments name, moved by `xOffset` (right) and `yOffset`
//     (down); it takes no room on the line.
#pragma once

#include "PMTypes.h"

constexpr UTF16TextChar kTextChar_ObjectReplacement = 0xFFFC;   // anchors a page item

enum class AnchorPosition : int32 { kInline = 0, kAboveLine = 1, kAnchored = 2 };

// A point of a box: the nine a box has, rows top to bottom, left to right in each.
enum class AnchorPoint : int32 {
    kTopLeft = 0, kTopCenter, kTopRight,
    kLeftCenter, kCenter, kRightCenter,
    kBottomLeft, kBottomCenter, kBottomRight,
};

enum class AnchorAlignment : int32 { kLeft = 0, kCenter = 1, kRight = 2, kTextAlign = 3 };
enum class AnchorVerticalAlignment : int32 { kTop = 0, kCenter = 1, kBottom = 2 };

// What a custom position is measured from across: the anchor character, the anchor's column,
// its text frame, the page's margins or the page itself.
enum class AnchorHorizontalReference : int32 { kAnchorLocation = 0, kColumnEdge, kTextFrame, kPageMargins, kPageEdge };
// And down: the anchor line's baseline or top of leading, the column, the text frame, the page.
enum class AnchorVerticalReference : int32 { kLineBaseline = 0, kTopOfLeading, kColumnEdge, kTextFrame, kPageMargins, kPageEdge };

struct AnchoredObjectSettings {
    AnchorPosition position = AnchorPosition::kInline;
    AnchorPoint anchorPoint = AnchorPoint::kTopLeft;
    AnchorAlignment horizontalAlignment = AnchorAlignment::kLeft;
    AnchorHorizontalReference horizontalReference = AnchorHorizontalReference::kTextFrame;
    AnchorVerticalAlignment verticalAlignment = AnchorVerticalAlignment::kTop;
    AnchorVerticalReference verticalReference = AnchorVerticalReference::kLineBaseline;
    PMReal xOffset = 0;      // points, to the right
    PMReal yOffset = 0;      // points: down for custom, up for inline, after the item above line
    PMReal spaceAbove = 0;   // points before an item above its line
    // Left and right swap on left pages (custom): "right" means away from the spine.
    bool spineRelative = false;
};

// The names IDML gives the settings ("InlinePosition", "TopLeftAnchor", "LineBaseline", ...).
const char* AnchorPositionName(AnchorPosition value);
const char* AnchorPointName(AnchorPoint value);
const char* AnchorAlignmentName(AnchorAlignment value);
const char* AnchorVerticalAlignmentName(AnchorVerticalAlignment value);
const char* AnchorHorizontalReferenceName(AnchorHorizontalReference value);
const char* AnchorVerticalReferenceName(AnchorVerticalReference value);
