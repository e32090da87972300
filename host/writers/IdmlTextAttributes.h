// IdmlTextAttributes: text attributes (an AttributeBossList) as the attributes and properties
// of an IDML element: a paragraph or character style, or a range of text in a story.
//
// Each kind, what it becomes, and how its value turns into InDesign's:
//   kFontFamily          <AppliedFont type="string">   the family's name
//   kFontStyle           FontStyle                     "Bold Italic"
//   kPointSize           PointSize                     points, 0.1..1296
//   kPosition            Position                      Normal, Superscript, Subscript
//   kFillColor           FillColor                     the swatch's Self
//   kHorizontalScale     HorizontalScale               percent (the model's 1 is 100), 1..1000
//   kTracking            Tracking                      thousandths of an em (the model keeps a
//                                                      fraction of an em), -1000..10000
//   kCapitalization      Capitalization                Normal, SmallCaps, AllCaps
//   kUnderline           Underline                     true for single and double; with
//                        <UnderlineType type="object">  StrokeStyle/$ID/Solid, or for double
//                                                      StrokeStyle/$ID/ThinThin and
//                        UnderlineWeight               1.5 pt
//   kStrikeThru          StrikeThru
//   kLeading             <Leading type="unit">         points, 0..5000; -1 is
//                        <Leading type="enumeration">Auto
//   kComposer            Composer                      "HL Composer" (Adobe Paragraph Composer),
//                                                      "HL Single" (Adobe Single-line Composer):
//                                                      the names InDesign writes, which every
//                                                      language version of it reads
//   kLeftIndent, kRightIndent, kSpaceBefore, kSpaceAfter   points, 0..8640
//   kFirstLineIndent     FirstLineIndent               points, -8640..8640
//   kStartParagraph      StartParagraph                Anywhere, NextColumn, NextFrame,
//                                                      NextPage, NextOddPage, NextEvenPage
//   kJustification       Justification                 LeftAlign, CenterAlign, RightAlign,
//                                                      FullyJustified, LeftJustified, ...
//   kTabStops            <TabList type="list">         a ListItem record per stop: Alignment
//                                                      (LeftAlign, CenterAlign, RightAlign,
//                                                      CharacterAlign), AlignmentCharacter (one
//                                                      character, "." when none), Leader (8
//                                                      characters at most), Position (points)
//   kHyphenation         Hyphenation                   true for any mode but off
//   kMin/Desired/MaxWordSpacing   Minimum/Desired/MaximumWordSpacing   percent: the model keeps
//                        the fraction less 0.2, so (value + 0.2) x 100; 0..1000, and when a list
//                        sets them together, minimum <= desired <= maximum
//   kKeepWithNext        KeepWithNext                  lines, 0..5
//   kKeepFirstLines, kKeepLastLines                    lines, 1..50
//   kKeepLinesTogether   KeepLinesTogether
//   kListType            BulletsAndNumberingListType   NoList, BulletList, NumberedList
//   kAppliedList         <AppliedNumberingList type="object">   the list's Self
//   kNumberingExpression NumberingExpression           "^1.^2^t", as InDesign writes it
//   kNumberingStyle      <NumberingFormat type="string">  "1, 2, 3, 4...", "i, ii, iii, iv...",
//                                                      "I, II, III, IV...", "a, b, c, d...",
//                                                      "A, B, C, D..."
//   kListLevel           NumberingLevel                1..9
//   kNumberingCharStyle  <NumberingCharacterStyle type="object">  a character style's Self
//   kNumberingStartAt    NumberingStartAt              1 and up (InDesign cannot start at 0)
//   kNumberingContinue   NumberingContinue
// A value outside InDesign's range is brought to the nearest end of it, as InDesign would not
// take it. A value of a code InDesign has no name for, of the wrong kind, or naming an object
// the package lacks is left out, so that the text keeps what it inherits.
#pragma once

#include <pugixml.hpp>

#include "AttributeBossList.h"

class IdmlContext;

class IdmlTextAttributes {
public:
    // Which attributes an element takes: a character style or a range of characters takes
    // only the character attributes (kFontFamily .. kStrikeThru).
    enum class Scope { kParagraph, kCharacter };

    // Sets the attributes of `attributes` that `scope` takes on `element`, replacing values
    // the element had.
    static void Write(const IdmlContext& context, const AttributeBossList& attributes, Scope scope, pugi::xml_node element);
};
