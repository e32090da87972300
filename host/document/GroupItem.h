// GroupItem: page items held together; they move, rotate and stack as one. Its children's
// transforms map their inner coordinates to the group's; the group's maps those to the spread.
#pragma once

#include <vector>

#include "PageItem.h"

class GroupItem : public PageItem {
public:
    std::vector<UID> children;   // back to front
};
