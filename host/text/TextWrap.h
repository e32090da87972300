// TextWrap: the page items that push a text frame's text away, for the composer.
//
// An item of the frame's spread (the frame itself and the frames of its own story left out) with
// a wrap mode pushes text off its bounding box widened by its wrap offsets. A contour wrap whose
// form follows the item's own path (rectangle, oval, polygon or line) pushes text off that path
// instead: the path is cut into thin horizontal strips, each the width the path takes within the
// strip (widened by the left and right offsets, and reaching up and down by the top and bottom
// ones), so that a line is pushed only as far as the outline reaches within its band. A line whose
// band crosses such a box is set in the widest part of its column the boxes leave free, or below
// them when too little is left. Frames that ignore text wrap, and anchored items, push nothing.
#pragma once

#include <unordered_map>
#include <vector>

#include "PMGeometry.h"
#include "UIDRef.h"

class DataBase;
class PageItem;

class TextWrap {
public:
    explicit TextWrap(const DataBase& db) : mDB(db) {}

    // The boxes, in the outline coordinates of `frame`, that push its text away; the strips of one
    // contour come top to bottom, one after another.
    const std::vector<PMRect>& Of(UID frame);

    // Narrows [left, right) to its widest part that `boxes` leave free across the band
    // [top, bottom); `below` becomes the lowest bottom of the boxes that cross the band, carried
    // down the strips that follow them as long as those leave no more room than the band has.
    // False, changing nothing, when none crosses it.
    static bool Narrow(const std::vector<PMRect>& boxes, PMReal top, PMReal bottom, PMReal& left, PMReal& right, PMReal& below);

    // The strips of the closed (or, when `open`, open) outline `polygon` widened by `margins`
    // (left, top, right, bottom), top to bottom, strips of equal width merged. Empty for an
    // outline without points or with a coordinate that is not finite.
    static std::vector<PMRect> ContourStrips(const std::vector<PMPoint>& polygon, bool open, const PMRect& margins);

    // The outline `item` pushes text off when it follows its own path, in spread coordinates, as
    // corners (curves flattened); empty when it pushes text off its bounding box.
    static std::vector<PMPoint> ContourOf(const PageItem& item, bool& open);

private:
    const DataBase& mDB;
    std::unordered_map<UID, std::vector<PMRect>> mBoxes;
};
