#include "IdmlTextAttributes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "DataBase.h"
#include "IdmlContext.h"
#include "IdmlIds.h"
#include "IdmlXml.h"
#include "NumberFormatter.h"
#include "Style.h"

namespace {

using Names = std::initializer_list<std::pair<int32, const char*>>;

constexpr PMReal kMaxLength = 8640;  // the largest indent or space InDesign takes, in points
constexpr PMReal kDoubleUnderlineWeight = 1.5;  // points: two 0.5 pt lines with 0.5 pt between

// The value as a number: reals, integers and booleans; nothing for other kinds or non-finite reals.
std::optional<PMReal> Real(const AttributeValue& value)
{
    if (const PMReal* real = std::get_if<PMReal>(&value)) return std::isfinite(*real) ? std::optional<PMReal>(*real) : std::nullopt;
    if (const int32* integer = std::get_if<int32>(&value)) return *integer;
    if (const bool* flag = std::get_if<bool>(&value)) return *flag ? 1 : 0;
    return std::nullopt;
}

std::optional<int32> Integer(const AttributeValue& value)
{
    std::optional<PMReal> real = Real(value);
    if (!real) return std::nullopt;
    return static_cast<int32>(std::clamp<PMReal>(std::round(*real), std::numeric_limits<int32>::min(), std::numeric_limits<int32>::max()));
}

// The name `code` has in `names`; null when it has none.
const char* NameOf(const AttributeValue& value, Names names)
{
    std::optional<int32> code = Integer(value);
    for (const auto& [known, name] : names)
        if (code && *code == known) return name;
    return nullptr;
}

UID Reference(const AttributeValue& value)
{
    const UID* uid = std::get_if<UID>(&value);
    return uid ? *uid : kInvalidUID;
}

// `text` cut to `count` characters, never inside a surrogate pair.
PMString Truncate(const PMString& text, int32 count)
{
    int32 end = std::min(count, text.CharCount());
    if (end > 0 && end < text.CharCount() && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
    return text.Substring(0, end);
}

class Writer {
public:
    Writer(const IdmlContext& context, pugi::xml_node element) : mContext(context), mElement(element) {}

    void Write(TextAttribute kind, const AttributeValue& value);
    void FinishWordSpacing();

private:
    void Real(const char* name, const AttributeValue& value, PMReal scale, PMReal low, PMReal high)
    {
        if (std::optional<PMReal> real = ::Real(value)) IdmlXml::SetReal(mElement, name, std::clamp(*real * scale, low, high));
    }
    void Integer(const char* name, const AttributeValue& value, int32 low, int32 high)
    {
        if (std::optional<int32> integer = ::Integer(value)) IdmlXml::SetInteger(mElement, name, std::clamp(*integer, low, high));
    }
    void Bool(const char* name, const AttributeValue& value)
    {
        if (std::optional<int32> integer = ::Integer(value)) IdmlXml::SetBool(mElement, name, *integer != 0);
    }
    void Enumeration(const char* name, const AttributeValue& value, Names names)
    {
        if (const char* text = NameOf(value, names)) IdmlXml::SetText(mElement, name, text);
    }
    void String(const char* name, const AttributeValue& value)
    {
        if (const PMString* text = std::get_if<PMString>(&value)) IdmlXml::SetText(mElement, name, *text);
    }
    void Reference(const char* name, const std::string& self)
    {
        if (!self.empty()) IdmlXml::SetText(mElement, name, self);
    }
    // A rule's colour is a property element naming its swatch.
    void RuleColor(const char* name, const AttributeValue& value)
    {
        std::string swatch = mContext.GetCatalog().SwatchRef(::Reference(value));
        if (!swatch.empty()) IdmlXml::AddProperty(mElement, name, "object", swatch);
    }
    void AppliedFont(const AttributeValue& value);
    void Leading(const AttributeValue& value);
    void Underline(const AttributeValue& value);
    void TabList(const AttributeValue& value);
    void WordSpacing(int index, const AttributeValue& value);

    const IdmlContext& mContext;
    pugi::xml_node mElement;
    std::optional<PMReal> mWordSpacing[3];  // minimum, desired, maximum, in percent
};

void Writer::Write(TextAttribute kind, const AttributeValue& value)
{
    const IdmlCatalog& catalog = mContext.GetCatalog();
    switch (kind) {
    case TextAttribute::kFontFamily: AppliedFont(value); break;
    case TextAttribute::kFontStyle: String("FontStyle", value); break;
    case TextAttribute::kPointSize: Real("PointSize", value, 1, 0.1, 1296); break;
    case TextAttribute::kPosition: Enumeration("Position", value, {{0, "Normal"}, {1, "Superscript"}, {2, "Subscript"}}); break;
    case TextAttribute::kFillColor: Reference("FillColor", catalog.SwatchRef(::Reference(value))); break;
    case TextAttribute::kHorizontalScale: Real("HorizontalScale", value, 100, 1, 1000); break;
    case TextAttribute::kTracking: Real("Tracking", value, 1000, -1000, 10000); break;
    case TextAttribute::kCapitalization:
        Enumeration("Capitalization", value, {{0, "Normal"}, {1, "SmallCaps"}, {2, "AllCaps"}});
        break;
    case TextAttribute::kUnderline: Underline(value); break;
    case TextAttribute::kStrikeThru: Bool("StrikeThru", value); break;
    case TextAttribute::kLeading: Leading(value); break;
    case TextAttribute::kComposer: Enumeration("Composer", value, {{0, "HL Composer"}, {1, "HL Single"}}); break;
    case TextAttribute::kRightIndent: Real("RightIndent", value, 1, 0, kMaxLength); break;
    case TextAttribute::kFirstLineIndent: Real("FirstLineIndent", value, 1, -kMaxLength, kMaxLength); break;
    case TextAttribute::kLeftIndent: Real("LeftIndent", value, 1, 0, kMaxLength); break;
    case TextAttribute::kSpaceBefore: Real("SpaceBefore", value, 1, 0, kMaxLength); break;
    case TextAttribute::kSpaceAfter: Real("SpaceAfter", value, 1, 0, kMaxLength); break;
    case TextAttribute::kStartParagraph:
        Enumeration("StartParagraph", value, {{0, "Anywhere"}, {1, "NextColumn"}, {2, "NextPage"}, {3, "NextFrame"},
                                              {4, "NextOddPage"}, {5, "NextEvenPage"}});
        break;
    case TextAttribute::kJustification:
        Enumeration("Justification", value, {{0, "LeftAlign"}, {1, "CenterAlign"}, {2, "RightAlign"}, {3, "FullyJustified"},
                                             {4, "LeftJustified"}, {5, "CenterJustified"}, {6, "RightJustified"},
                                             {7, "ToBindingSide"}, {8, "AwayFromBindingSide"}});
        break;
    case TextAttribute::kTabStops: TabList(value); break;
    case TextAttribute::kHyphenation: Bool("Hyphenation", value); break;
    case TextAttribute::kMinWordSpacing: WordSpacing(0, value); break;
    case TextAttribute::kDesiredWordSpacing: WordSpacing(1, value); break;
    case TextAttribute::kMaxWordSpacing: WordSpacing(2, value); break;
    case TextAttribute::kKeepWithNext: Integer("KeepWithNext", value, 0, 5); break;
    case TextAttribute::kKeepFirstLines: Integer("KeepFirstLines", value, 1, 50); break;
    case TextAttribute::kKeepLastLines: Integer("KeepLastLines", value, 1, 50); break;
    case TextAttribute::kKeepLinesTogether: Bool("KeepLinesTogether", value); break;
    case TextAttribute::kListType:
        Enumeration("BulletsAndNumberingListType", value, {{0, "NoList"}, {1, "BulletList"}, {2, "NumberedList"}});
        break;
    case TextAttribute::kAppliedList: {
        std::string list = catalog.ListRef(::Reference(value));
        if (!list.empty()) IdmlXml::AddProperty(mElement, "AppliedNumberingList", "object", list);
        break;
    }
    case TextAttribute::kNumberingExpression: String("NumberingExpression", value); break;
    case TextAttribute::kNumberingStyle:
        if (const char* format = NameOf(value, {{kNumberingArabic, "1, 2, 3, 4..."}, {kNumberingLowerRoman, "i, ii, iii, iv..."},
                                                 {kNumberingUpperRoman, "I, II, III, IV..."}, {kNumberingLowerLetters, "a, b, c, d..."},
                                                 {kNumberingUpperLetters, "A, B, C, D..."}}))
            IdmlXml::AddProperty(mElement, "NumberingFormat", "string", format);
        break;
    case TextAttribute::kListLevel: Integer("NumberingLevel", value, 1, 9); break;
    case TextAttribute::kNumberingCharStyle:
        if (std::string style = catalog.CharacterStyleRef(::Reference(value)); !style.empty())
            IdmlXml::AddProperty(mElement, "NumberingCharacterStyle", "object", style);
        break;
    case TextAttribute::kNumberingStartAt: Integer("NumberingStartAt", value, 1, std::numeric_limits<int32>::max()); break;
    case TextAttribute::kNumberingContinue: Bool("NumberingContinue", value); break;
    case TextAttribute::kRuleAbove: Bool("RuleAbove", value); break;
    case TextAttribute::kRuleAboveLineWeight: Real("RuleAboveLineWeight", value, 1, 0, 1000); break;
    case TextAttribute::kRuleAboveColor: RuleColor("RuleAboveColor", value); break;
    case TextAttribute::kRuleAboveTint: Real("RuleAboveTint", value, 1, 0, 100); break;
    case TextAttribute::kRuleAboveOffset: Real("RuleAboveOffset", value, 1, -kMaxLength, kMaxLength); break;
    case TextAttribute::kRuleAboveLeftIndent: Real("RuleAboveLeftIndent", value, 1, -kMaxLength, kMaxLength); break;
    case TextAttribute::kRuleAboveRightIndent: Real("RuleAboveRightIndent", value, 1, -kMaxLength, kMaxLength); break;
    case TextAttribute::kRuleAboveWidth: Enumeration("RuleAboveWidth", value, {{0, "ColumnWidth"}, {1, "TextWidth"}}); break;
    case TextAttribute::kRuleBelow: Bool("RuleBelow", value); break;
    case TextAttribute::kRuleBelowLineWeight: Real("RuleBelowLineWeight", value, 1, 0, 1000); break;
    case TextAttribute::kRuleBelowColor: RuleColor("RuleBelowColor", value); break;
    case TextAttribute::kRuleBelowTint: Real("RuleBelowTint", value, 1, 0, 100); break;
    case TextAttribute::kRuleBelowOffset: Real("RuleBelowOffset", value, 1, -kMaxLength, kMaxLength); break;
    case TextAttribute::kRuleBelowLeftIndent: Real("RuleBelowLeftIndent", value, 1, -kMaxLength, kMaxLength); break;
    case TextAttribute::kRuleBelowRightIndent: Real("RuleBelowRightIndent", value, 1, -kMaxLength, kMaxLength); break;
    case TextAttribute::kRuleBelowWidth: Enumeration("RuleBelowWidth", value, {{0, "ColumnWidth"}, {1, "TextWidth"}}); break;
    }
}

void Writer::AppliedFont(const AttributeValue& value)
{
    const FontFamily* family = mContext.GetDataBase().Get<FontFamily>(::Reference(value));
    if (family && !family->name.IsEmpty()) IdmlXml::AddProperty(mElement, "AppliedFont", "string", IdmlXml::CleanText(family->name));
}

void Writer::Leading(const AttributeValue& value)
{
    std::optional<PMReal> leading = ::Real(value);
    if (!leading) return;
    if (*leading < 0)  // -1: auto leading
        IdmlXml::AddProperty(mElement, "Leading", "enumeration", "Auto");
    else
        IdmlXml::AddProperty(mElement, "Leading", "unit", NumberFormatter::FormatReal(std::min<PMReal>(*leading, 5000)));
}

// The stroke is written with every underline, so that a single underline over a style's double
// one is single again.
void Writer::Underline(const AttributeValue& value)
{
    std::optional<int32> kind = ::Integer(value);
    if (!kind) return;
    IdmlXml::SetBool(mElement, "Underline", *kind != 0);
    if (*kind == 0) return;
    bool twoLines = *kind == 2;
    IdmlXml::AddProperty(mElement, "UnderlineType", "object", twoLines ? IdmlIds::kStrokeThinThin : IdmlIds::kStrokeSolid);
    // Thin-Thin at the automatic weight of body text is too fine to show two lines.
    if (twoLines) IdmlXml::SetReal(mElement, "UnderlineWeight", kDoubleUnderlineWeight);
}

void Writer::TabList(const AttributeValue& value)
{
    const TabStopTable* table = std::get_if<TabStopTable>(&value);
    if (!table) return;
    // An empty list is written too: it clears the stops the style would inherit.
    pugi::xml_node list = IdmlXml::AddPropertyElement(mElement, "TabList", "list");
    for (const TabStop& stop : table->GetStops()) {
        const char* alignment = NameOf(AttributeValue(stop.alignment),
                                       {{TabStop::kLeft, "LeftAlign"}, {TabStop::kCenter, "CenterAlign"},
                                        {TabStop::kRight, "RightAlign"}, {TabStop::kCharacter, "CharacterAlign"}});
        PMString character = Truncate(stop.alignCharacter, 1);
        if (character.IsEmpty() && !stop.alignCharacter.IsEmpty()) character = Truncate(stop.alignCharacter, 2);  // a pair
        pugi::xml_node item = list.append_child("ListItem");
        item.append_attribute("type").set_value("record");
        auto field = [&](const char* name, const char* type, const std::string& text) {
            pugi::xml_node child = item.append_child(name);
            child.append_attribute("type").set_value(type);
            child.text().set(text.c_str());
        };
        field("Alignment", "enumeration", alignment ? alignment : "LeftAlign");
        std::string alignCharacter = IdmlXml::CleanText(character);
        field("AlignmentCharacter", "string", alignCharacter.empty() ? std::string(".") : alignCharacter);
        field("Leader", "string", IdmlXml::CleanText(Truncate(stop.leader, 8)));
        field("Position", "unit", NumberFormatter::FormatReal(stop.position));
    }
}

void Writer::WordSpacing(int index, const AttributeValue& value)
{
    if (std::optional<PMReal> fraction = ::Real(value)) mWordSpacing[index] = std::clamp<PMReal>((*fraction + 0.2) * 100, 0, 1000);
}

// InDesign wants minimum <= desired <= maximum; values set together are brought in line around
// the desired spacing.
void Writer::FinishWordSpacing()
{
    auto& [minimum, desired, maximum] = mWordSpacing;
    if (desired && minimum) minimum = std::min(*minimum, *desired);
    if (desired && maximum) maximum = std::max(*maximum, *desired);
    if (minimum && maximum && *minimum > *maximum) maximum = minimum;
    const char* names[] = {"MinimumWordSpacing", "DesiredWordSpacing", "MaximumWordSpacing"};
    for (int i = 0; i < 3; ++i)
        if (mWordSpacing[i]) IdmlXml::SetReal(mElement, names[i], *mWordSpacing[i]);
}

} // namespace

void IdmlTextAttributes::Write(const IdmlContext& context, const AttributeBossList& attributes, Scope scope, pugi::xml_node element)
{
    Writer writer(context, element);
    for (const auto& [kind, value] : attributes.GetAttributes())
        if (scope == Scope::kParagraph || IsCharacterAttribute(kind)) writer.Write(kind, value);
    writer.FinishWordSpacing();
}
