#include "content/MifAttributeBuilder.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "CmdUtils.h"
#include "Document.h"
#include "StyleCommands.h"
#include "StyleUtils.h"

#include "base/IMifErrorLog.h"
#include "base/MifAssertLog.h"
#include "base/MifCommandRunner.h"
#include "catalogs/IMifColorImporter.h"
#include "content/MifParagraphRules.h"
#include "mif/IMifTextConverter.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"
#include "mif/MifValueLimits.h"
#include "prefs/IMifFontConverter.h"

namespace {

bool Dim(const MifObject& object, int32 id, double& value)
{
    MifPropVal propVal;
    if (!object.GetPropVal(id, propVal)) return false;
    value = propVal.dim[0];
    return true;
}

bool Int(const MifObject& object, int32 id, int32& value)
{
    MifPropVal propVal;
    if (!object.GetPropVal(id, propVal)) return false;
    value = propVal.id;
    return true;
}

bool Keyword(const MifObject& object, int32 id, int32& value) { return Int(object, id, value); }

const PMString* String(const MifObject& object, int32 id)
{
    const MifProp* prop = object.FindProp(id);
    return prop && MifIsStringType(prop->type) ? prop->value.rawString : nullptr;
}

PMString StringOr(const MifObject& object, int32 id)
{
    const PMString* s = String(object, id);
    return s ? *s : PMString();
}

const PMString& FirstNonEmpty(const PMString& a, const PMString& b, const PMString& c)
{
    return !a.IsEmpty() ? a : !b.IsEmpty() ? b : c;
}

// The base of an indent that the statement leaves out: the catalog format's, when it has one.
double BaseIndent(double recorded) { return recorded >= -1e-8 ? recorded : 0; }

} // namespace

PMReal MifAttributeBuilder::Leading(double size, double lead, int32 leadingMode)
{
    double leading = size + lead;
    if (leadingMode == 1 && std::fabs(std::floor(size * 1.2 + 0.5) - leading) < 1e-8) return -1;
    return leading;
}

void MifAttributeBuilder::AddLeading(AttributeBossList& attributes, const MifObject& pgf, const MifObject& pgfFont)
{
    const MifProp* size = pgfFont.FindProp(kMifFSize);
    const MifProp* lead = pgf.FindProp(kMifPgfLeading);
    if (!size || !lead) return;
    // The size itself has been reported with the character attributes.
    MifValueLimits quiet(nullptr);
    MifValueLimits limits(mContext.importErrors);
    double points = quiet.Clamp(size->value.dim[0], MifValueLimits::kFontSize, *size);
    PMReal leading = Leading(points, lead->value.dim[0], mContext.leadingMode);
    if (leading != -1) leading = limits.Clamp(leading, MifValueLimits::kLeading, *lead, "plus FSize");
    attributes.ApplyAttribute(TextAttribute::kLeading, leading);
}

bool MifAttributeBuilder::BuildParagraphAttributes(AttributeBossList& attributes, const MifObject& pgf)
{
    attributes.ApplyAttribute(TextAttribute::kComposer, static_cast<int32>(mContext.composerMode == 2 ? 1 : 0));
    double value = 0;
    if (Dim(pgf, kMifPgfRIndent, value)) attributes.ApplyAttribute(TextAttribute::kRightIndent, value);
    AddIndents(attributes, pgf);
    if (Dim(pgf, kMifPgfSpBefore, value)) attributes.ApplyAttribute(TextAttribute::kSpaceBefore, std::max(value, 0.0));
    if (Dim(pgf, kMifPgfSpAfter, value)) attributes.ApplyAttribute(TextAttribute::kSpaceAfter, std::max(value, 0.0));
    int32 keyword = 0;
    if (Keyword(pgf, kMifPgfPlacement, keyword)) {
        int32 start = keyword == kMifPageTop ? 2 : keyword == kMifColumnTop ? 1 : keyword == kMifLPageTop ? 5 : keyword == kMifRPageTop ? 4 : 0;
        attributes.ApplyAttribute(TextAttribute::kStartParagraph, start);
    }
    if (Keyword(pgf, kMifPgfAlignment, keyword)) {
        int32 justification = keyword == kMifCenter ? 1 : keyword == kMifRight ? 2 : keyword == kMifLeftRight ? 4 : 0;
        // A centred line has no first-line indent to keep.
        if (keyword == kMifCenter) attributes.ApplyAttribute(TextAttribute::kFirstLineIndent, 0.0);
        attributes.ApplyAttribute(TextAttribute::kJustification, justification);
    }
    AddTabStops(attributes, pgf);
    AddSeparator(attributes, pgf, true);
    AddSeparator(attributes, pgf, false);
    if (pgf.GetBool(kMifPgfAutoNum) && String(pgf, kMifPgfNumFormat) && !String(pgf, kMifPgfNumFormat)->IsEmpty())
        if (!AddNumbering(attributes, pgf)) return false;
    attributes.ApplyAttribute(TextAttribute::kHyphenation, static_cast<int32>(pgf.GetBool(kMifPgfHyphenate) ? 3 : 0));
    int32 number = 0;
    if (Int(pgf, kMifPgfMinWordSpace, number)) attributes.ApplyAttribute(TextAttribute::kMinWordSpacing, number / 100.0 - 0.2);
    if (Int(pgf, kMifPgfOptWordSpace, number)) attributes.ApplyAttribute(TextAttribute::kDesiredWordSpacing, number / 100.0 - 0.2);
    if (Int(pgf, kMifPgfMaxWordSpace, number)) attributes.ApplyAttribute(TextAttribute::kMaxWordSpacing, number / 100.0 - 0.2);
    if (pgf.FindProp(kMifPgfWithNext)) attributes.ApplyAttribute(TextAttribute::kKeepWithNext, static_cast<int32>(pgf.GetBool(kMifPgfWithNext) ? 1 : 0));
    if (Int(pgf, kMifPgfBlockSize, number)) {
        if (number > 0) {
            attributes.ApplyAttribute(TextAttribute::kKeepFirstLines, number);
            attributes.ApplyAttribute(TextAttribute::kKeepLastLines, number);
        }
        attributes.ApplyAttribute(TextAttribute::kKeepLinesTogether, number > 0);
    }
    return true;
}

// The frame FrameMaker draws above (or below) the paragraph, as InDesign's rule: the rule stands
// where the frame's line does, measured from the first (or last) baseline, and the frame's height
// joins the paragraph's space, as FrameMaker makes room for it. An empty name is no separator.
void MifAttributeBuilder::AddSeparator(AttributeBossList& attributes, const MifObject& pgf, bool above)
{
    const PMString* tag = String(pgf, above ? kMifPgfTopSeparator : kMifPgfBotSeparator);
    if (!tag || !mContext.paragraphRules) return;
    const ParagraphRuleAttributes kinds = ParagraphRuleAttributes::Of(above);
    const TextAttribute on = kinds.on;
    MifParagraphRules::Rule rule;
    const MifParagraphRules::Found found = tag->IsEmpty() ? MifParagraphRules::Found::kInvisible : mContext.paragraphRules->Find(*tag, rule);
    if (found != MifParagraphRules::Found::kRule) {
        attributes.ApplyAttribute(on, false);
        if (found != MifParagraphRules::Found::kInvisible && mContext.importErrors && mContext.paragraphRules->FirstReport(*tag)) {
            PMString message(found == MifParagraphRules::Found::kNoFrame
                                 ? "Paragraph separator: no frame of the reference pages has this name, the separator is dropped"
                                 : "Paragraph separator: its frame holds more than one horizontal line, which a paragraph rule cannot draw; the separator is dropped");
            mContext.importErrors->AddError(message, *tag);
        }
        return;
    }
    // The paragraph's size places its first baseline below the top of the line and its last
    // above the bottom: about four fifths and one fifth of it.
    double size = 12;
    if (const MifObject* font = pgf.GetObject(kMifPgfFont)) {
        double value = 0;
        if (Dim(*font, kMifFSize, value) && value > 0 && value < 2000) size = value;
    } else if (mContext.state && mContext.state->paragraphFont.size > 0) {
        size = mContext.state->paragraphFont.size;
    }
    double offset = 0;
    Dim(pgf, above ? kMifPgfTopSepOffset : kMifPgfBotSepOffset, offset);
    if (!std::isfinite(offset) || std::fabs(offset) > 1000) offset = 0;
    const double half = rule.weight / 2;
    const double distance = above ? 0.8 * size + (rule.frameHeight - rule.lineY) + offset - half
                                  : 0.2 * size + offset + rule.lineY - half;
    // The frame stands at the column's left edge, or at the paragraph's left indent; the rule is
    // measured from the column's edges, the frame's width standing for the column's.
    double indent = 0;
    if (pgf.GetBool(above ? kMifPgfTopSepAtIndent : kMifPgfBotSepAtIndent) && Dim(pgf, kMifPgfLIndent, indent))
        indent = std::isfinite(indent) ? std::clamp(indent, 0.0, 8640.0) : 0;
    rule.leftIndent += indent;
    rule.rightIndent = std::fmax(0, rule.rightIndent - indent);
    attributes.ApplyAttribute(on, true);
    attributes.ApplyAttribute(kinds.lineWeight, PMReal(rule.weight));
    attributes.ApplyAttribute(kinds.offset, PMReal(distance));
    attributes.ApplyAttribute(kinds.leftIndent, PMReal(rule.leftIndent));
    attributes.ApplyAttribute(kinds.rightIndent, PMReal(rule.rightIndent));
    attributes.ApplyAttribute(kinds.width, int32(0));
    if (rule.tint < 100) attributes.ApplyAttribute(kinds.tint, PMReal(rule.tint));
    if (mContext.colorImporter) {
        const UID swatch = mContext.colorImporter->GetColorUID(rule.color);
        if (swatch != kInvalidUID) attributes.ApplyAttribute(kinds.color, swatch);
    }
    // The room FrameMaker gives the separator, where this statement gives the space it joins.
    const TextAttribute space = above ? TextAttribute::kSpaceBefore : TextAttribute::kSpaceAfter;
    if (const PMReal* given = attributes.Get<PMReal>(space)) attributes.ApplyAttribute(space, PMReal(*given + rule.frameHeight + std::fmax(0.0, offset)));
}

void MifAttributeBuilder::AddIndents(AttributeBossList& attributes, const MifObject& pgf)
{
    double first = 0, left = 0;
    bool hasFirst = Dim(pgf, kMifPgfFIndent, first);
    bool hasLeft = Dim(pgf, kMifPgfLIndent, left);
    if (!hasFirst && !hasLeft) return;
    const PgfRecord* base = mContext.state ? &mContext.state->currentFormat : nullptr;
    if (!hasFirst) first = base ? BaseIndent(base->firstIndent) : 0;
    if (!hasLeft) left = base ? BaseIndent(base->leftIndent) : 0;
    // FrameMaker measures the first line from the column edge, InDesign from the left indent.
    attributes.ApplyAttribute(TextAttribute::kFirstLineIndent, first - left);
    attributes.ApplyAttribute(TextAttribute::kLeftIndent, left);
}

void MifAttributeBuilder::AddTabStops(AttributeBossList& attributes, const MifObject& pgf)
{
    TabStopTable table;
    for (const MifObject& tab : pgf.Children(kMifTabStop)) {
        TabStop stop;
        double x = 0;
        if (Dim(tab, kMifTSX, x)) stop.position = x;
        int32 type = 0, decimal = 0;
        if (Keyword(tab, kMifTSType, type)) {
            if (type == kMifCenter) stop.alignment = TabStop::kCenter;
            if (type == kMifRight) stop.alignment = TabStop::kRight;
            // Aligning on a character needs the character; without it the stop stays left.
            if (type == kMifDecimal && Int(tab, kMifTSDecimalChar, decimal)) {
                stop.alignment = TabStop::kCharacter;
                stop.alignCharacter.AppendCodePoint(static_cast<UTF32TextChar>(decimal));
            }
        }
        if (const PMString* leader = String(tab, kMifTSLeaderStr); leader && !leader->IsEmpty()) stop.leader = *leader;
        table.Insert(stop);
    }
    if (table.Count() > 0) attributes.ApplyAttribute(TextAttribute::kTabStops, table);
}

bool MifAttributeBuilder::DecodeNumberFormat(const MifObject& pgf, PMString& format)
{
    IMifTextConverter* textConverter = mContext.textConverter;
    if (!textConverter) {
        MIF_LOG_NIL(textConverter);
        return false;
    }
    format = StringOr(pgf, kMifPgfNumFormat);
    MifPropVal version;
    bool current = mContext.root && mContext.root->GetPropVal(kMifMIFFile, version) && version.number >= 8.0;
    if (current) {
        textConverter->DecodeEscapes(format);
        return true;
    }
    // Older files: the encoding of the font the number is set in.
    PMString catalogFamily;
    PMString numberFont = StringOr(pgf, kMifPgfNumberFont);
    if (!numberFont.IsEmpty() && mContext.root) {
        if (const MifObject* catalog = mContext.root->GetObject(kMifFontCatalog))
            if (const MifObject* font = catalog->FindObjectWithString(kMifFTag, numberFont, 1)) catalogFamily = StringOr(*font, kMifFFamily);
    }
    PMString empty;
    const PMString& textFamily = mContext.state ? mContext.state->textFont.family : empty;
    const PMString& paragraphFamily = mContext.state ? mContext.state->paragraphFont.family : empty;
    textConverter->ConvertFontString(format, FirstNonEmpty(textFamily, paragraphFamily, catalogFamily), mContext.root);
    return true;
}

MifAttributeBuilder::Numbering MifAttributeBuilder::ParseNumberFormat(const PMString& format) const
{
    Numbering result;
    const std::u16string& text = format.GetUTF16();
    std::u16string expression;
    auto appendASCII = [&](const std::string& s) { expression.append(s.begin(), s.end()); };
    const MifObject* document = mContext.root ? mContext.root->GetObject(kMifDocument) : nullptr;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == '<') {
            size_t close = text.find(u'>', i);
            std::u16string block = text.substr(i + 1, close == std::u16string::npos ? std::u16string::npos : close - i - 1);
            if (!block.empty() && std::u16string(u"nrRaA").find(block[0]) != std::u16string::npos) {
                ++result.blocks;
                appendASCII(std::string(1, '^').append(std::to_string(result.blocks)));
                switch (block[0]) {
                case 'n': result.format = kNumberingArabic; break;
                case 'r': result.format = kNumberingLowerRoman; break;
                case 'R': result.format = kNumberingUpperRoman; break;
                case 'a': result.format = kNumberingLowerLetters; break;
                default: result.format = kNumberingUpperLetters; break;
                }
                size_t j = 1;
                if (j < block.size() && block[j] == '+') ++j;
                if (j < block.size() && block[j] == '=') {
                    int32 start = 0;
                    bool digits = false;
                    for (++j; j < block.size() && block[j] >= '0' && block[j] <= '9' && start < 100000000; ++j) {
                        start = start * 10 + (block[j] - '0');
                        digits = true;
                    }
                    if (digits) result.startAt = start;
                }
            } else if (block == u"$chapnum" || block == u"$volnum") {
                bool chapter = block == u"$chapnum";
                MifPropVal style;
                bool asText = document && document->GetPropVal(chapter ? kMifChapterNumStyle : kMifVolumeNumStyle, style) &&
                              (style.keyword == kMifTextStyle || style.keyword == kMifCustom);
                if (asText) {
                    PMString value = StringOr(*document, chapter ? kMifChapterNumText : kMifVolumeNumText);
                    expression += value.GetUTF16();
                } else if (chapter) {
                    appendASCII("^H");
                } else {
                    MifPropVal start;
                    appendASCII(std::to_string(document && document->GetPropVal(kMifVolumeNumStart, start) ? start.id : 0));
                }
            }
            // Other building blocks (character format switches, ...) produce nothing.
            if (close == std::u16string::npos) break;
            i = close;
            continue;
        }
        if (c == '\t' || (c == '\\' && i + 1 < text.size() && text[i + 1] == 't')) {
            if (c == '\\') ++i;
            if (!expression.empty()) appendASCII("^t");  // a leading tab is dropped
            continue;
        }
        if (c == 0x2022 || (c == '\\' && i + 1 < text.size() && text[i + 1] == 'b')) {
            if (c == '\\') ++i;
            appendASCII("^B");
            continue;
        }
        if (c == '\\') {
            if (i + 1 < text.size())
                ++i;  // an unknown escape vanishes with its character
            else
                expression.push_back(c);
            continue;
        }
        expression.push_back(c);
    }
    result.expression = PMString(expression);
    return result;
}

bool MifAttributeBuilder::AddNumbering(AttributeBossList& attributes, const MifObject& pgf)
{
    PMString format;
    if (!DecodeNumberFormat(pgf, format)) return false;
    DataBase* db = mContext.db;
    UID list = kInvalidUID;
    // "S:<n+>" counts in the list named S.
    if (format.CharCount() > 1 && format[1] == ':') {
        PMString label = format.Substring(0, 1);
        list = StyleUtils::FindList(*db, label);
        if (list == kInvalidUID) {
            auto createListStyleCmd = std::make_shared<CreateListStyleCmd>();
            createListStyleCmd->SetItemList(UIDList(db->GetDocument()->GetRef()));
            createListStyleCmd->listName = label;
            if (!MIF_RUN_COMMAND(createListStyleCmd)) {
                return false;
            }
            list = StyleUtils::FindList(*db, label);
        }
        format = format.Substring(2);
    }
    if (list == kInvalidUID) list = StyleUtils::GetDefaultList(*db);
    attributes.ApplyAttribute(TextAttribute::kListType, static_cast<int32>(2));
    attributes.ApplyAttribute(TextAttribute::kAppliedList, list);

    Numbering numbering = ParseNumberFormat(format);
    attributes.ApplyAttribute(TextAttribute::kNumberingExpression, numbering.expression);
    attributes.ApplyAttribute(TextAttribute::kNumberingStyle, numbering.format);
    if (numbering.blocks > 0) attributes.ApplyAttribute(TextAttribute::kListLevel, numbering.blocks);
    PMString numberFont = StringOr(pgf, kMifPgfNumberFont);
    if (!numberFont.IsEmpty()) {
        UID charStyle = StyleUtils::FindStyle(*db, StyleKind::kCharacter, numberFont);
        if (charStyle != kInvalidUID) attributes.ApplyAttribute(TextAttribute::kNumberingCharStyle, charStyle);
    }
    if (numbering.startAt >= 0) {
        attributes.ApplyAttribute(TextAttribute::kNumberingStartAt, numbering.startAt);
        attributes.ApplyAttribute(TextAttribute::kNumberingContinue, false);
    } else {
        attributes.ApplyAttribute(TextAttribute::kNumberingContinue, true);
    }
    return true;
}

bool MifAttributeBuilder::BuildCharacterAttributes(AttributeBossList& attributes, const MifObject& font)
{
    if (!AddFont(attributes, font)) return false;
    MifValueLimits limits(mContext.importErrors);
    if (const MifProp* size = font.FindProp(kMifFSize))
        attributes.ApplyAttribute(TextAttribute::kPointSize, limits.Clamp(size->value.dim[0], MifValueLimits::kFontSize, *size));
    int32 keyword = 0;
    if (Keyword(font, kMifFPosition, keyword))
        attributes.ApplyAttribute(TextAttribute::kPosition, static_cast<int32>(keyword == kMifFSuperscript ? 1 : keyword == kMifFSubscript ? 2 : 0));
    if (const PMString* color = String(font, kMifFColor); color && !color->IsEmpty() && mContext.colorImporter) {
        UID swatch = mContext.colorImporter->GetColorUID(*color);
        if (swatch != kInvalidUID) attributes.ApplyAttribute(TextAttribute::kFillColor, swatch);
    }
    MifPropVal propVal;
    if (font.GetPropVal(kMifFStretch, propVal)) attributes.ApplyAttribute(TextAttribute::kHorizontalScale, propVal.number / 100);
    if (font.GetPropVal(kMifFDW, propVal)) attributes.ApplyAttribute(TextAttribute::kTracking, propVal.number / 100);
    if (Keyword(font, kMifFCase, keyword) && keyword != kMifFLowercase)
        attributes.ApplyAttribute(TextAttribute::kCapitalization, static_cast<int32>(keyword == kMifFSmallCaps ? 1 : keyword == kMifFUppercase ? 2 : 0));
    // A numeric underline is one line at a depth that does not follow the font; InDesign has
    // one kind of single line. FOverline is passed over: InDesign draws no overline.
    if (Keyword(font, kMifFUnderlining, keyword))
        attributes.ApplyAttribute(TextAttribute::kUnderline,
                                  static_cast<int32>(keyword == kMifFSingle || keyword == kMifFNumeric ? 1 : keyword == kMifFDouble ? 2 : 0));
    if (font.FindProp(kMifFStrike)) attributes.ApplyAttribute(TextAttribute::kStrikeThru, font.GetBool(kMifFStrike));
    return true;
}

bool MifAttributeBuilder::AddFont(AttributeBossList& attributes, const MifObject& font)
{
    FontRecord own;
    own.Read(font);
    FontRecord empty;
    const FontRecord& text = mContext.state ? mContext.state->textFont : empty;
    const FontRecord& paragraph = mContext.state ? mContext.state->paragraphFont : empty;
    // Family and PostScript name go together, from the first record that names either.
    const FontRecord* named = !text.family.IsEmpty() || !text.postScriptName.IsEmpty()           ? &text
                              : !paragraph.family.IsEmpty() || !paragraph.postScriptName.IsEmpty() ? &paragraph
                                                                                                    : &own;
    MifFontKey key(named->family, FirstNonEmpty(text.angle, paragraph.angle, own.angle),
                   FirstNonEmpty(text.weight, paragraph.weight, own.weight),
                   FirstNonEmpty(text.variation, paragraph.variation, own.variation));
    IMifFontConverter* fontConverter = mContext.fontConverter;
    if (!fontConverter) {
        MIF_LOG_NIL(fontConverter);
        return false;
    }
    if (key.GetFamily().IsEmpty() && named->postScriptName.IsEmpty()) {
        if (!key.GetAngle().IsEmpty() || !key.GetWeight().IsEmpty() || !key.GetVariation().IsEmpty())
            attributes.ApplyAttribute(TextAttribute::kFontStyle,
                                      fontConverter->MakeStyleName(key.GetAngle(), key.GetWeight(), key.GetVariation()));
        return true;
    }
    MifIDFont designFont;
    if (!fontConverter->Convert(key, named->postScriptName, designFont)) return true;
    DataBase* docFontMgr = mContext.db;
    if (!docFontMgr) {
        MIF_LOG_NIL(docFontMgr);
        return false;
    }
    UID family = DocFontMgr::GetFontFamilyUID(*docFontMgr, designFont.GetFamily());
    if (family == kInvalidUID) return true;
    attributes.ApplyAttribute(TextAttribute::kFontFamily, family);
    if (!designFont.GetStyle().IsEmpty()) {
        attributes.ApplyAttribute(TextAttribute::kFontStyle, designFont.GetStyle());
        DocFontMgr::AddStyle(*docFontMgr, family, designFont.GetStyle());
    }
    return true;
}
