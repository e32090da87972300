#include "AnchoredObject.h"

const char* AnchorPositionName(AnchorPosition value)
{
    switch (value) {
    case AnchorPosition::kAboveLine: return "AboveLine";
    case AnchorPosition::kAnchored: return "Anchored";
    case AnchorPosition::kInline: break;
    }
    return "InlinePosition";
}

const char* AnchorPointName(AnchorPoint value)
{
    static const char* const kNames[] = {"TopLeftAnchor",    "TopCenterAnchor", "TopRightAnchor",
                                         "LeftCenterAnchor", "CenterAnchor",    "RightCenterAnchor",
                                         "BottomLeftAnchor", "BottomCenterAnchor", "BottomRightAnchor"};
    int32 i = static_cast<int32>(value);
    return i >= 0 && i < 9 ? kNames[i] : kNames[0];
}

const char* AnchorAlignmentName(AnchorAlignment value)
{
    switch (value) {
    case AnchorAlignment::kCenter: return "CenterAlign";
    case AnchorAlignment::kRight: return "RightAlign";
    case AnchorAlignment::kTextAlign: return "TextAlign";
    case AnchorAlignment::kLeft: break;
    }
    return "LeftAlign";
}

const char* AnchorVerticalAlignmentName(AnchorVerticalAlignment value)
{
    switch (value) {
    case AnchorVerticalAlignment::kCenter: return "CenterAlign";
    case AnchorVerticalAlignment::kBottom: return "BottomAlign";
    case AnchorVerticalAlignment::kTop: break;
    }
    return "TopAlign";
}

const char* AnchorHorizontalReferenceName(AnchorHorizontalReference value)
{
    switch (value) {
    case AnchorHorizontalReference::kAnchorLocation: return "AnchorLocation";
    case AnchorHorizontalReference::kColumnEdge: return "ColumnEdge";
    case AnchorHorizontalReference::kPageMargins: return "PageMargins";
    case AnchorHorizontalReference::kPageEdge: return "PageEdge";
    case AnchorHorizontalReference::kTextFrame: break;
    }
    return "TextFrame";
}

const char* AnchorVerticalReferenceName(AnchorVerticalReference value)
{
    switch (value) {
    case AnchorVerticalReference::kTopOfLeading: return "TopOfLeading";
    case AnchorVerticalReference::kColumnEdge: return "ColumnEdge";
    case AnchorVerticalReference::kTextFrame: return "TextFrame";
    case AnchorVerticalReference::kPageMargins: return "PageMargins";
    case AnchorVerticalReference::kPageEdge: return "PageEdge";
    case AnchorVerticalReference::kLineBaseline: break;
    }
    return "LineBaseline";
}
