// MifFrameAnchoring: turns the pre-built items of anchored frames, and the frames made for
// run-in and side heads, into page items anchored in a story, with the settings that keep each
// kind where FrameMaker shows it.
//
// Per FrameType (the Frame's AnchorAlign, AnchorBeside, NSOffset and BLOffset):
//   Inline (and any unknown type): on its line, raised by BLOffset.
//   Below: in a space of its own at its anchor's line, aligned in the column by AnchorAlign.
//   Top, Bottom: custom, against the top or bottom of the anchor's column, aligned across it by
//     AnchorAlign.
//   Left, Right, Outside, and Inside, Near, Far: custom, beside the text frame (AnchorBeside
//     TextFrame) or the column, NSOffset away from it, its top BLOffset above the anchor's
//     baseline; Left and Inside stand on the left, Right on the right, Outside and Near on the
//     side away from the spine, Inside and Far on the side of the spine. Their wrap is none.
//   RunIntoParagraph: custom at the left (AnchorAlign Right: the right) edge of the column, its
//     top at the top of the paragraph's first line; the paragraph's indent on that side makes
//     room for it (its width plus RunaroundGap), and the wrap gap faces the text.
#pragma once

#include "AnchoredObject.h"
#include "AttributeBossList.h"
#include "PMGeometry.h"
#include "UIDRef.h"

class MifObject;

class MifFrameAnchoring {
public:
    // What a catalog Frame says of its anchoring, with the defaults of the properties it lacks.
    struct FrameAnchor {
        int32 frameType = 0;   // kMifInline when absent
        int32 align = 0;       // kMifLeft when absent
        int32 beside = 0;      // kMifTextFrame when absent
        PMReal nsOffset = 0;
        PMReal blOffset = 0;
        PMReal width = 0;      // of its ShapeRect
        PMReal height = 0;
        PMReal gap = 0;        // RunaroundGap
    };
    static FrameAnchor Read(const MifObject& mifFrame);
    static AnchoredObjectSettings SettingsFor(const FrameAnchor& anchor);
    // Whether the type stands beside the text (its wrap is then none).
    static bool IsSideType(int32 frameType);
    // The paragraph attributes that leave room for a run-into-paragraph frame; empty for other
    // types. `leftIndent` and `rightIndent` are the paragraph's own.
    static AttributeBossList RoomFor(const FrameAnchor& anchor, PMReal leftIndent, PMReal rightIndent);

    // Takes `item` off its scratch spread and anchors it at `index` of `story` with `settings`;
    // the anchor character then gets a point size of 2 pt (when larger), so that it does not
    // enlarge its line. False (logged) when the host refuses.
    static bool Anchor(const UIDRef& story, int32 index, const UIDRef& item, const AnchoredObjectSettings& settings);
    // Makes an anchored text frame of `width` × `height` at `index` of `story`; the frame, or
    // the null reference (logged).
    static UIDRef CreateHeadFrame(const UIDRef& story, int32 index, PMReal width, PMReal height, const AnchoredObjectSettings& settings);

    // A run-in head: in line with the text.
    static AnchoredObjectSettings RunInSettings();
    // A side head beside the column, in the side-head area on `placement`'s side (kMifLeft or
    // kMifRight), `gap` away from the text; a SideheadFirstBaseline or SideheadLastBaseline
    // head is aligned with the anchor's baseline, a SideheadTop head with the top of its line.
    static AnchoredObjectSettings SideheadSettings(int32 placement, PMReal gap, int32 placementStyle);
};
