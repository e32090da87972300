// IdmlTextFrameWriter: the text frames of a spread or master spread as <TextFrame> elements,
// back to front, after its pages.
//
// Each frame names its story (ParentStory), its neighbours in the thread (PreviousTextFrame,
// NextTextFrame, "n" at the ends), its layer and place (ItemLayer, ItemTransform), its outline as
// a closed path of four corner points in inner coordinates, and its TextFramePreference:
// TextColumnCount, TextColumnGutter, FirstBaselineOffset and InsetSpacing (top, left, bottom,
// right). The other page items of the spread are written by IdmlPageItemWriter, in their place
// in the stacking order.
#pragma once

#include <pugixml.hpp>

class IdmlContext;
class Spread;
class TextFrame;

class IdmlTextFrameWriter {
public:
    static void WritePageItems(IdmlContext& context, pugi::xml_node spreadElement, const Spread& spread);
    // One text frame as a child of `parent` (a spread or a group).
    static void WriteTextFrame(IdmlContext& context, pugi::xml_node parent, const TextFrame& textFrame);
};
