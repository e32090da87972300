// GraphicAttributes: how a page item's outline is painted and how text wraps around it: stroke
// (weight, colour, tint, line ends), fill (colour, tint), rounded corners and text wrap.
#pragma once

#include "PMGeometry.h"
#include "UIDRef.h"

// What ends an open path (or the start and end of a closed one, where it shows nothing).
enum class LineEnd : int32 {
    kNone = 0,
    kSimpleArrowHead = 1,   // two short strokes meeting at the path's end
};

// How text of other frames wraps around the item. The numbers are the host's own and are what
// the wrap commands take.
enum class TextWrapMode : int32 {
    kNone = 0,          // text runs over the item
    kBoundingBox = 3,   // text keeps off the item's bounding box, widened by the margins
    kContour = 6,       // text follows the item's outline
};

// The outline a contour wrap follows. The numbers are the host's own and are what the wrap form
// command takes.
enum class TextWrapForm : int32 {
    kBoundingBox = 0,      // the item's bounding box, as a bounding-box wrap
    kGraphicFrame = 4,     // the item's own path (the outline of the frame)
    kSameAsClipping = 5,   // the clipping path; an item without one: its own path
};

// The name IDML gives a line end, wrap mode or wrap form ("SimpleArrowHead",
// "BoundingBoxTextWrap", "GraphicFrame").
const char* LineEndName(LineEnd end);
const char* TextWrapModeName(TextWrapMode mode);
const char* TextWrapFormName(TextWrapForm form);

struct GraphicAttributes {
    PMReal strokeWeight = 0;          // points
    UID strokeColor = kInvalidUID;    // a swatch; none: no stroke
    PMReal strokeTint = -1;           // percent 0..100 of the swatch; -1: the swatch as it is
    UID fillColor = kInvalidUID;      // a swatch; none: no fill
    PMReal fillTint = -1;             // as strokeTint
    bool solidStroke = true;          // the stroke type; only solid strokes are made
    PMReal cornerRadius = 0;          // points; used when roundedCorners
    bool roundedCorners = false;
    LineEnd startLineEnd = LineEnd::kNone;   // at the path's first point
    LineEnd endLineEnd = LineEnd::kNone;     // at its last point
    TextWrapMode wrapMode = TextWrapMode::kNone;
    PMRect wrapMargins;               // the wrap's offsets left, top, right, bottom, points
    TextWrapForm wrapForm = TextWrapForm::kBoundingBox;   // what a contour wrap follows
    bool ignoreWrap = false;          // the item's own text ignores the wrap of other items
};
