// The commands that make graphic page items and change how they look: splines (rectangles,
// ovals, polygons, open paths), groups, graphic attributes, text wrap, transforms and sizes.
// Each fails with kInvalidParameterError, changing nothing, when its targets or data are not
// what it works on.
#pragma once

#include <optional>
#include <vector>

#include "DocCommand.h"
#include "GraphicAttributes.h"
#include "PMGeometry.h"
#include "SplineItem.h"

// Makes a spline on the spread or master spread of the item list, in front of its other page
// items; afterwards the item list holds the new item. Rectangles and ovals take `bounds`
// (width and height 0 or more, finite); polygons and lines take `path` (at least one point,
// every coordinate finite) and get its bounding box as their bounds.
class CreateSplineCmd : public DocCommand {
public:
    CreateSplineCmd() { SetName("Create Spline"); }
    SplineKind kind = SplineKind::kRectangle;
    UID layer = kInvalidUID;            // a layer of the document, or none (the frontmost)
    PMRect bounds;                      // inner coordinates
    std::vector<PMPathPoint> path;      // inner coordinates
    PMMatrix transform;                 // inner to spread coordinates

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// The attributes one GfxApplyMultAttributesCmd sets; those left empty stay as they are.
struct GraphicAttributeList {
    std::optional<PMReal> strokeWeight;   // points, 0 or more
    std::optional<bool> solidStroke;
    std::optional<UID> strokeColor;       // a swatch of the document
    std::optional<UID> fillColor;
    std::optional<PMReal> strokeTint;     // percent 0..100
    std::optional<PMReal> fillTint;
    std::optional<PMReal> cornerRadius;   // points, 0 or more
    std::optional<bool> roundedCorners;
    std::optional<LineEnd> startLineEnd;
    std::optional<LineEnd> endLineEnd;
};

// Sets the attributes of `attributes` on every page item of the item list.
class GfxApplyMultAttributesCmd : public DocCommand {
public:
    GfxApplyMultAttributesCmd() { SetName("Apply Graphic Attributes"); }
    GraphicAttributeList attributes;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets the text wrap mode of the page items of the item list.
class StandOffModeCmd : public DocCommand {
public:
    StandOffModeCmd() { SetName("Set Text Wrap"); }
    TextWrapMode mode = TextWrapMode::kNone;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets the text wrap offsets of the page items of the item list.
class StandOffMarginCmd : public DocCommand {
public:
    StandOffMarginCmd() { SetName("Set Text Wrap Offset"); }
    PMRect margins;   // left, top, right, bottom, points, each finite

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets what the contour wrap of the page items of the item list follows.
class StandOffFormCmd : public DocCommand {
public:
    StandOffFormCmd() { SetName("Set Text Wrap Contour"); }
    TextWrapForm form = TextWrapForm::kBoundingBox;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets whether the text of the text frames of the item list ignores the wrap of other items.
class SetIgnoreWrapCmd : public DocCommand {
public:
    SetIgnoreWrapCmd() { SetName("Ignore Text Wrap"); }
    bool boolData = false;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Groups the page items of the item list, all in the list of one spread: a group takes the
// place of the frontmost of them in that list and holds them back to front in the spread's
// order; afterwards the item list holds the group. Their transforms stay (the group's own is the
// identity), so nothing moves.
class GroupCmd : public DocCommand {
public:
    GroupCmd() { SetName("Group"); }

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Applies `transform` (in the coordinates the items' transforms map to: the spread's, or their
// group's) to the page items of the item list, after their own transform.
class TransformPageItemsCmd : public DocCommand {
public:
    TransformPageItemsCmd() { SetName("Transform"); }
    PMMatrix transform;   // every entry finite, and invertible

    // The rotation by `degrees` counterclockwise as seen on the page (y grows downwards) about
    // `pivot`.
    static PMMatrix RotationAbout(PMPoint pivot, PMReal degrees);

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Sets the width or the height of the outline of the page items of the item list, keeping its
// left and top edges; the path points of polygons and lines scale with it. An item whose
// outline has no extent in that direction cannot be resized.
class ResizePageItemCmd : public DocCommand {
public:
    ResizePageItemCmd() { SetName("Resize"); }
    std::optional<PMReal> width;    // points, above 0
    std::optional<PMReal> height;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
