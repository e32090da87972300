// AnchorLayout: where the page items anchored in a story stand when its lines are composed.
//
// An inline item is a character as wide as the item; its line is raised to hold it above the
// baseline. An item above its line takes a space of its own above the line, across the column.
// A custom-anchored item takes no room: it is put where its references and offsets say, measured
// from the anchor's line, column or text frame (page references are measured from the frame,
// which is what the composer knows). Spine-relative settings mirror on a left page of a facing
// spread: left and right alignments, the item's anchor point and the horizontal offset swap
// sides, so that an item set to stand right of the text (away from the spine) on a right page
// stands left of it on a left page. Text wrap of anchored items is not applied to their own story.
#pragma once

#include <vector>

#include "AnchoredObject.h"
#include "FrameList.h"
#include "PMGeometry.h"

class DataBase;
class PageItem;
class TextModel;

namespace AnchorLayout {
// `settings` as they apply to an item anchored in a frame on a left page (`leftPage`) or a
// right one: mirrored when spine-relative on a left page, else as they are.
AnchoredObjectSettings SettingsOnPage(const AnchoredObjectSettings& settings, bool leftPage);
// The item anchored at `index` of `model`; null when the character anchors no page item.
const PageItem* ItemAt(const DataBase& db, const TextModel& model, int32 index);
// The size of an anchored item: its bounding box where its transform puts it.
PMRect SizeBox(const PageItem& item);
// The width an anchor character takes on its line: the item's for an inline item, else 0.
PMReal AdvanceOf(const DataBase& db, const TextModel& model, int32 index);
// Makes `line` tall enough for the inline and above-line items anchored in it.
void ReserveSpace(const DataBase& db, const TextModel& model, ComposedLine& line);
// Sets `frame.anchors` from its lines (and the frame's columns).
void PlaceAnchors(const DataBase& db, const TextModel& model, ComposedFrame& frame);
// Marks the lines of the story `item` is anchored in damaged from its anchor on, after a change
// to the item's size or settings (the story is composed again from there).
void DamageAnchor(DataBase& db, const PageItem& item);
// Where `item` stands as composed: the transform from its inner coordinates to those of the
// spread of the frame that shows its anchor, and that spread; false when its story is not
// composed or the anchor is in no frame.
bool PlacedTransform(const DataBase& db, const PageItem& item, PMMatrix& toSpread, UID* spread = nullptr);
}
