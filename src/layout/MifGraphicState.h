// MifGraphicState: the pen, fill, colour, run-around and line-end state that graphic statements
// carry from one object to the next: each object's statement overwrites only what it states.
//
// Reads: Pen, Fill (patterns 0-15), PenWidth, ObColor, ObTint, RunaroundGap, RunaroundType,
// HeadCap, TailCap (the last of each). Values outside their range are reported with their line
// and take the nearest valid value. Turns the state into the attributes of a page item:
// stroke and fill colours and tints by the pattern table (hatches and textures as the tint of
// their grey), corner radius, line ends.
#pragma once

#include "PageItemCommands.h"
#include "UIDRef.h"

class IMifColorImporter;
class IMifErrorLog;
class MifObject;

class MifGraphicState {
public:
    // Patterns 0-6 are shades, 7 is white (Paper), 8-14 hatches and textures, 15 none.
    static constexpr int32 kPatternNone = 15;
    static constexpr int32 kPatternWhite = 7;
    // The tint (percent) of pattern 0-14: a shade's own, or the grey a hatch or texture gives;
    // -1 for none and for numbers outside 0-15.
    static PMReal PatternTint(int32 pattern);

    // The fixed swatches of the document (None, Black, Paper), and where colours and problems go.
    void Init(UID noneSwatch, UID blackSwatch, UID paperSwatch, IMifColorImporter* colors, IMifErrorLog* errors);
    // Back to the defaults: pen 0, fill 15, pen width 0, no colour (black), no run-around, no caps.
    void Reset();
    // Takes over what `mifObject` states.
    void Update(const MifObject& mifObject);

    // Whether the object is invisible and pushes no text away: its colour is None and it has
    // no run-around (`mifObject` has no RunaroundType, or None).
    bool IsInvisible(const MifObject& mifObject) const;
    // The attributes of an item made from `mifObject` with the current state (its ObTint and
    // Radius are read from it).
    GraphicAttributeList AttributesFor(const MifObject& mifObject) const;

    int32 GetPen() const { return mPen; }
    int32 GetFill() const { return mFill; }
    PMReal GetPenWidth() const { return mPenWidth; }
    UID GetColor() const { return mColor; }
    TextWrapMode GetRunaroundMode() const { return mRunaroundMode; }
    PMReal GetRunaroundGap() const { return mRunaroundGap; }
    LineEnd GetHeadCap() const { return mHeadCap; }
    LineEnd GetTailCap() const { return mTailCap; }

private:
    UID mNone = kInvalidUID, mBlack = kInvalidUID, mPaper = kInvalidUID;
    IMifColorImporter* mColors = nullptr;
    IMifErrorLog* mErrors = nullptr;

    int32 mPen = 0;
    int32 mFill = kPatternNone;
    PMReal mPenWidth = 0;
    UID mColor = kInvalidUID;   // none: black
    PMReal mRunaroundGap = 0;
    TextWrapMode mRunaroundMode = TextWrapMode::kNone;
    LineEnd mHeadCap = LineEnd::kNone;
    LineEnd mTailCap = LineEnd::kNone;
};
