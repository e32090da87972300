// TextWrap: the page items that push a text frame's text away, for the composer.
//
// An item of the frame's spread (the frame itself and the frames of its own story left out) with
// a wrap mode pushes text off its bounding box widened by its wrap offsets; a contour wrap is
// taken as its bounding box. A line whose band crosses such a box is set in the widest part of
// its column the boxes leave free, or below them when too little is left. Frames that ignore
// text wrap, and anchored items, push nothing.
#pragma once

#include <unordered_map>
#include <vector>

#include "PMGeometry.h"
#include "UIDRef.h"

class DataBase;

class TextWrap {
public:
    explicit TextWrap(const DataBase& db) : mDB(db) {}

    // The boxes, in the outline coordinates of `frame`, that push its text away.
    const std::vector<PMRect>& Of(UID frame);

    // Narrows [left, right) to its widest part that `boxes` leave free across the band
    // [top, bottom); `below` becomes the lowest bottom of the boxes that cross the band. False,
    // changing nothing, when none crosses it.
    static bool Narrow(const std::vector<PMRect>& boxes, PMReal top, PMReal bottom, PMReal& left, PMReal& right, PMReal& below);

private:
    const DataBase& mDB;
    std::unordered_map<UID, std::vector<PMRect>> mBoxes;
};
