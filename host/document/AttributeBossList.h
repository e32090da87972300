// AttributeBossList: text attributes by kind, each with one value: what a style or a text
// override sets. Kinds are the TextAttribute codes; an attribute set twice keeps the last value.
#pragma once

#include <map>
#include <variant>
#include <vector>

#include "PMString.h"
#include "UIDRef.h"

struct TabStop {
    enum Alignment : int32 { kLeft = 0, kCenter = 1, kRight = 2, kCharacter = 3 };
    PMReal position = 0;            // points from the left edge of the column
    int32 alignment = kLeft;
    PMString alignCharacter;        // for kCharacter
    PMString leader;                // repeated to fill the space before the stop
    friend bool operator==(const TabStop&, const TabStop&) = default;
};

// Tab stops in position order.
class TabStopTable {
public:
    // Inserts `stop` at its place; a stop at the same position replaces the old one.
    void Insert(const TabStop& stop);
    const std::vector<TabStop>& GetStops() const { return mStops; }
    int32 Count() const { return static_cast<int32>(mStops.size()); }
    friend bool operator==(const TabStopTable&, const TabStopTable&) = default;

private:
    std::vector<TabStop> mStops;
};

// The kinds of text attribute, with the kind of value each takes.
enum class TextAttribute : int32 {
    // character attributes
    kFontFamily,          // UID of a FontFamily
    kFontStyle,           // PMString ("Bold Italic")
    kPointSize,           // PMReal
    kPosition,            // int32: 0 normal, 1 superscript, 2 subscript
    kFillColor,           // UID of a Swatch
    kHorizontalScale,     // PMReal, 1 = 100 %
    kTracking,            // PMReal, in thousandths of an em... stored as the MIF fraction
    kCapitalization,      // int32: 0 normal, 1 small caps, 2 all caps
    kUnderline,           // int32: 0 none, 1 single, 2 double (InDesign's Thin-Thin stroke)
    kStrikeThru,          // bool
    // paragraph attributes
    kLeading,             // PMReal points; -1 is auto leading
    kComposer,            // int32: 0 paragraph composer, 1 single-line composer
    kRightIndent,         // PMReal
    kFirstLineIndent,     // PMReal, relative to the left indent
    kLeftIndent,          // PMReal
    kSpaceBefore,         // PMReal
    kSpaceAfter,          // PMReal
    kStartParagraph,      // int32: 0 anywhere, 1 next column, 2 next page, 4 next odd page, 5 next even page
    kJustification,       // int32: 0 left, 1 center, 2 right, 4 justified with the last line left
    kTabStops,            // TabStopTable
    kHyphenation,         // int32: 0 off, 3 on
    kMinWordSpacing,      // PMReal, fraction (1 = 100 %) less 0.2
    kDesiredWordSpacing,  // PMReal
    kMaxWordSpacing,      // PMReal
    kKeepWithNext,        // int32 lines
    kKeepFirstLines,      // int32
    kKeepLastLines,       // int32
    kKeepLinesTogether,   // bool
    // bullets and numbering
    kListType,            // int32: 0 none, 1 bullets, 2 numbers
    kAppliedList,         // UID of a NumberingList
    kNumberingExpression, // PMString ("^1.^2^t")
    kNumberingStyle,      // int32: NumberingFormat
    kListLevel,           // int32, from 1
    kNumberingCharStyle,  // UID of a character Style
    kNumberingStartAt,    // int32
    kNumberingContinue,   // bool
    // rules above and below paragraphs (InDesign's paragraph rules)
    kRuleAbove,           // bool
    kRuleAboveLineWeight, // PMReal points
    kRuleAboveColor,      // UID of a Swatch
    kRuleAboveTint,       // PMReal percent
    kRuleAboveOffset,     // PMReal: from the first line's baseline up to the rule's bottom
    kRuleAboveLeftIndent, // PMReal
    kRuleAboveRightIndent,// PMReal
    kRuleAboveWidth,      // int32: 0 the column's width, 1 the text's (between the indents)
    kRuleBelow,           // bool
    kRuleBelowLineWeight, // PMReal points
    kRuleBelowColor,      // UID of a Swatch
    kRuleBelowTint,       // PMReal percent
    kRuleBelowOffset,     // PMReal: from the last line's baseline down to the rule's top
    kRuleBelowLeftIndent, // PMReal
    kRuleBelowRightIndent,// PMReal
    kRuleBelowWidth,      // int32: 0 the column's width, 1 the text's (between the indents)
};

// The attributes of one rule of a paragraph: the one above or the one below.
struct ParagraphRuleAttributes {
    TextAttribute on, lineWeight, color, tint, offset, leftIndent, rightIndent, width;

    static constexpr ParagraphRuleAttributes Of(bool above)
    {
        return above ? ParagraphRuleAttributes{TextAttribute::kRuleAbove, TextAttribute::kRuleAboveLineWeight, TextAttribute::kRuleAboveColor,
                                               TextAttribute::kRuleAboveTint, TextAttribute::kRuleAboveOffset, TextAttribute::kRuleAboveLeftIndent,
                                               TextAttribute::kRuleAboveRightIndent, TextAttribute::kRuleAboveWidth}
                     : ParagraphRuleAttributes{TextAttribute::kRuleBelow, TextAttribute::kRuleBelowLineWeight, TextAttribute::kRuleBelowColor,
                                               TextAttribute::kRuleBelowTint, TextAttribute::kRuleBelowOffset, TextAttribute::kRuleBelowLeftIndent,
                                               TextAttribute::kRuleBelowRightIndent, TextAttribute::kRuleBelowWidth};
    }
};

// Numbering formats of lists.
enum NumberingFormat : int32 { kNumberingNone = 0, kNumberingArabic, kNumberingLowerRoman, kNumberingUpperRoman,
                               kNumberingLowerLetters, kNumberingUpperLetters };

// Whether an attribute goes to the characters (the others go to paragraphs).
inline bool IsCharacterAttribute(TextAttribute kind) { return kind <= TextAttribute::kStrikeThru; }

using AttributeValue = std::variant<bool, int32, PMReal, PMString, UID, TabStopTable>;

class AttributeBossList {
public:
    void ApplyAttribute(TextAttribute kind, AttributeValue value) { mAttributes[kind] = std::move(value); }
    // The value of `kind`; null when it is not set.
    const AttributeValue* QueryAttribute(TextAttribute kind) const;
    bool Contains(TextAttribute kind) const { return mAttributes.count(kind) != 0; }
    void ClearAttribute(TextAttribute kind) { mAttributes.erase(kind); }
    int32 CountAttributes() const { return static_cast<int32>(mAttributes.size()); }
    bool IsEmpty() const { return mAttributes.empty(); }
    // All attributes in kind order.
    const std::map<TextAttribute, AttributeValue>& GetAttributes() const { return mAttributes; }

    // Typed reads; null when unset or of another kind of value.
    template <class T>
    const T* Get(TextAttribute kind) const
    {
        const AttributeValue* value = QueryAttribute(kind);
        return value ? std::get_if<T>(value) : nullptr;
    }

private:
    std::map<TextAttribute, AttributeValue> mAttributes;
};
