// Character and paragraph formats as styles: names, replacement, leading, indents, tabs,
// numbering, next styles, and the character attributes of fonts.
#include <gtest/gtest.h>

#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "NewDocCmd.h"
#include "StyleUtils.h"
#include "TestUtils.h"

#include "base/IMifErrorLog.h"
#include "base/MifDocInterface.h"
#include "catalogs/IMifColorImporter.h"
#include "content/IMifContentImporter.h"
#include "content/MifAttributeBuilder.h"
#include "content/MifContentImporter.h"
#include "prefs/IMifImportOptions.h"

namespace {

class MifStyleImportTest : public ::testing::Test {
protected:
    // Imports the colors and styles of `mif` into a new document, with the given leading choice.
    void Import(const std::string& mif, int32 leadingMode = 2)
    {
        mParsed = std::make_unique<ParsedMif>(mif);
        auto newDocCmd = std::make_shared<NewDocCmd>();
        ASSERT_EQ(CmdUtils::ProcessCommand(newDocCmd), kSuccess);
        db = newDocCmd->GetItemList().GetDataBase();
        InterfacePtr<IMifImportOptions> options = MifDocInterface<IMifImportOptions>(db);
        ASSERT_TRUE(options);
        MifPresetRecord preset;
        preset.SetLeading(leadingMode);
        options->SetPreset(preset);
        InterfacePtr<IMifColorImporter> colors = MifDocInterface<IMifColorImporter>(db);
        colors->SetRoot(mParsed->root.get());
        colors->Import();
        content = MifDocInterface<IMifContentImporter>(db);
        ASSERT_TRUE(content);
        content->SetMifObject(mParsed->root.get());
        content->ImportStyles();
    }
    void TearDown() override
    {
        content = InterfacePtr<IMifContentImporter>();
        for (DataBase* d : DocumentList::GetDocuments()) DocumentList::Close(d);
    }
    const Style* Para(const char* name) { return db->Get<Style>(content->FindParagraphStyle(name)); }
    const Style* Char(const char* name) { return db->Get<Style>(content->FindCharacterStyle(name)); }
    template <class T>
    T Attr(const Style* style, TextAttribute kind)
    {
        const T* value = style ? style->attributes.Get<T>(kind) : nullptr;
        EXPECT_NE(value, nullptr) << static_cast<int>(kind);
        return value ? *value : T();
    }

    std::unique_ptr<ParsedMif> mParsed;
    DataBase* db = nullptr;
    InterfacePtr<IMifContentImporter> content;
};

} // namespace

TEST_F(MifStyleImportTest, Names_MissingDuplicateReserved)
{
    Import("<PgfCatalog <Pgf <PgfSpBefore 1 pt>> <Pgf <PgfTag `Body'> <PgfSpBefore 2 pt>> <Pgf <PgfTag `Body'> <PgfSpBefore 5 pt>>"
           " <Pgf <PgfTag `[No paragraph style]'> <PgfUseNextTag Yes> <PgfNextTag `[No paragraph style]'>>>"
           "<FontCatalog <Font <FSize 9 pt>> <Font <FTag `Emphasis'> <FAngle `Italic'>>>");
    const Document* doc = db->GetDocument();
    EXPECT_EQ(doc->paragraphStyles.size(), 2u + 2u);  // the document's two, Body, and the renamed one
    EXPECT_DOUBLE_EQ(Attr<PMReal>(Para("Body"), TextAttribute::kSpaceBefore), 5);  // the last Body wins
    const Style* renamed = Para("No paragraph style");
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(renamed->nextStyle, kInvalidUID);  // the tag as written names no style
    EXPECT_EQ(renamed->basedOn, kInvalidUID);
    EXPECT_EQ(doc->characterStyles.size(), 2u);
    EXPECT_EQ(Attr<PMString>(Char("Emphasis"), TextAttribute::kFontStyle), PMString("Italic"));
}

TEST_F(MifStyleImportTest, Leading_AutoOrFixed)
{
    const std::string mif = "<PgfCatalog"
                            " <Pgf <PgfTag `A'> <PgfLeading 2 pt> <PgfFont <FSize 10 pt>>>"
                            " <Pgf <PgfTag `B'> <PgfLeading 2 pt> <PgfFont <FSize 11 pt>>>"
                            " <Pgf <PgfTag `C'> <PgfLeading 3 pt> <PgfFont <FSize 12 pt>>>"
                            " <Pgf <PgfTag `D'> <PgfLeading 3 pt>>"
                            " <Pgf <PgfTag `E'> <PgfFont <FSize 12 pt>>>>";
    Import(mif, 1);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(Para("A"), TextAttribute::kLeading), -1);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(Para("B"), TextAttribute::kLeading), -1);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(Para("C"), TextAttribute::kLeading), 15);
    EXPECT_FALSE(Para("D")->attributes.Contains(TextAttribute::kLeading));
    EXPECT_FALSE(Para("E")->attributes.Contains(TextAttribute::kLeading));
    TearDown();
    Import(mif, 2);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(Para("A"), TextAttribute::kLeading), 12);
    EXPECT_EQ(Attr<int32>(Para("A"), TextAttribute::kComposer), 1);  // single-line composer
}

TEST_F(MifStyleImportTest, Paragraph_IndentsSpacingAlignmentHyphenation)
{
    Import("<PgfCatalog"
           " <Pgf <PgfTag `Indented'> <PgfFIndent 0.5\"> <PgfLIndent 1\"> <PgfRIndent 6 pt> <PgfSpBefore -3 pt>"
           "  <PgfPlacement PageTop> <PgfAlignment LeftRight> <PgfHyphenate Yes> <PgfMinWordSpace 90> <PgfBlockSize 2>"
           "  <PgfWithNext Yes>>"
           " <Pgf <PgfTag `Centred'> <PgfFIndent 18 pt> <PgfAlignment Center>>"
           " <Pgf <PgfTag `Plain'>>>");
    const Style* indented = Para("Indented");
    EXPECT_DOUBLE_EQ(Attr<PMReal>(indented, TextAttribute::kFirstLineIndent), -36);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(indented, TextAttribute::kLeftIndent), 72);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(indented, TextAttribute::kRightIndent), 6);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(indented, TextAttribute::kSpaceBefore), 0);
    EXPECT_EQ(Attr<int32>(indented, TextAttribute::kStartParagraph), 2);
    EXPECT_EQ(Attr<int32>(indented, TextAttribute::kJustification), 4);
    EXPECT_EQ(Attr<int32>(indented, TextAttribute::kHyphenation), 3);
    EXPECT_NEAR(Attr<PMReal>(indented, TextAttribute::kMinWordSpacing), 0.7, 1e-12);
    EXPECT_EQ(Attr<int32>(indented, TextAttribute::kKeepFirstLines), 2);
    EXPECT_TRUE(Attr<bool>(indented, TextAttribute::kKeepLinesTogether));
    EXPECT_EQ(Attr<int32>(indented, TextAttribute::kKeepWithNext), 1);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(Para("Centred"), TextAttribute::kFirstLineIndent), 0);
    EXPECT_EQ(Attr<int32>(Para("Plain"), TextAttribute::kHyphenation), 0);  // off when not said
}

TEST_F(MifStyleImportTest, TabStops_AlignmentLeadersDecimal)
{
    Import("<PgfCatalog <Pgf <PgfTag `Tabs'>"
           " <TabStop <TSX 2\"> <TSType Right> <TSLeaderStr `.'>>"
           " <TabStop <TSX 1\"> <TSType Decimal> <TSDecimalChar 44>>"
           " <TabStop <TSX 3\"> <TSType Decimal>>>>");
    TabStopTable table = Attr<TabStopTable>(Para("Tabs"), TextAttribute::kTabStops);
    ASSERT_EQ(table.Count(), 3);
    EXPECT_EQ(table.GetStops()[0].alignment, TabStop::kCharacter);
    EXPECT_EQ(table.GetStops()[0].alignCharacter, PMString(","));
    EXPECT_EQ(table.GetStops()[1].alignment, TabStop::kRight);
    EXPECT_EQ(table.GetStops()[1].leader, PMString("."));
    EXPECT_EQ(table.GetStops()[2].alignment, TabStop::kLeft);  // no character to align on
}

TEST_F(MifStyleImportTest, Numbering_ListsExpressionsAndNextStyles)
{
    // MIF writes the '>' of a building block inside a string as "\>".
    Import("<MIFFile 9.00> <FontCatalog <Font <FTag `Num'> <FWeight `Bold'>>>"
           "<PgfCatalog"
           " <Pgf <PgfTag `Step'> <PgfAutoNum Yes> <PgfNumFormat `S:<n+\\>.<n+\\>\\t'> <PgfNumberFont `Num'>"
           "  <PgfUseNextTag Yes> <PgfNextTag `Body'>>"
           " <Pgf <PgfTag `Tabbed'> <PgfAutoNum Yes> <PgfNumFormat `\\t<n+\\>'>>"
           " <Pgf <PgfTag `Roman'> <PgfAutoNum Yes> <PgfNumFormat `<r=3\\>'>>"
           " <Pgf <PgfTag `Bullet'> <PgfAutoNum Yes> <PgfNumFormat `\\\\b\\\\t'>>"
           " <Pgf <PgfTag `Body'> <PgfUseNextTag No> <PgfNextTag `Step'>>>");
    const Style* step = Para("Step");
    EXPECT_EQ(Attr<PMString>(step, TextAttribute::kNumberingExpression), PMString("^1.^2^t"));
    EXPECT_EQ(Attr<int32>(step, TextAttribute::kNumberingStyle), kNumberingArabic);
    EXPECT_EQ(Attr<int32>(step, TextAttribute::kListLevel), 2);
    EXPECT_TRUE(Attr<bool>(step, TextAttribute::kNumberingContinue));
    EXPECT_EQ(Attr<UID>(step, TextAttribute::kAppliedList), StyleUtils::FindList(*db, "S"));
    EXPECT_EQ(Attr<UID>(step, TextAttribute::kNumberingCharStyle), content->FindCharacterStyle("Num"));
    EXPECT_EQ(step->nextStyle, content->FindParagraphStyle("Body"));
    EXPECT_EQ(Para("Body")->nextStyle, kInvalidUID);
    EXPECT_EQ(Attr<PMString>(Para("Tabbed"), TextAttribute::kNumberingExpression), PMString("^1"));
    EXPECT_EQ(Attr<UID>(Para("Tabbed"), TextAttribute::kAppliedList), StyleUtils::GetDefaultList(*db));
    const Style* roman = Para("Roman");
    EXPECT_EQ(Attr<int32>(roman, TextAttribute::kNumberingStyle), kNumberingLowerRoman);
    EXPECT_EQ(Attr<int32>(roman, TextAttribute::kNumberingStartAt), 3);
    EXPECT_FALSE(Attr<bool>(roman, TextAttribute::kNumberingContinue));
    EXPECT_EQ(Attr<PMString>(Para("Bullet"), TextAttribute::kNumberingExpression), PMString("^B^t"));
}

TEST_F(MifStyleImportTest, Character_FontSizeColorCaseScale)
{
    Import("<ColorCatalog <Color <ColorTag `Red'> <ColorMagenta 100> <ColorYellow 100>>>"
           "<FontCatalog"
           " <Font <FTag `Big'> <FFamily `Times'> <FAngle `Italic'> <FWeight `Bold'> <FSize 14 pt> <FColor `Red'>"
           "  <FPosition FSuperscript> <FCase FSmallCaps> <FStretch 90%> <FDW 5%>>"
           " <Font <FTag `Lower'> <FCase FLowercase> <FColor `Nowhere'>>>");
    const Style* big = Char("Big");
    UID family = Attr<UID>(big, TextAttribute::kFontFamily);
    ASSERT_NE(db->Get<FontFamily>(family), nullptr);
    EXPECT_EQ(db->Get<FontFamily>(family)->name, PMString("Times"));
    EXPECT_EQ(Attr<PMString>(big, TextAttribute::kFontStyle), PMString("Bold Italic"));
    EXPECT_DOUBLE_EQ(Attr<PMReal>(big, TextAttribute::kPointSize), 14);
    EXPECT_NE(Attr<UID>(big, TextAttribute::kFillColor), kInvalidUID);
    EXPECT_EQ(Attr<int32>(big, TextAttribute::kPosition), 1);
    EXPECT_EQ(Attr<int32>(big, TextAttribute::kCapitalization), 1);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(big, TextAttribute::kHorizontalScale), 0.9);
    const Style* lower = Char("Lower");
    EXPECT_FALSE(lower->attributes.Contains(TextAttribute::kCapitalization));
    EXPECT_FALSE(lower->attributes.Contains(TextAttribute::kFillColor));
}

TEST_F(MifStyleImportTest, Character_UnderliningAndStrikeThrough)
{
    // As SDF writes its "Underline" format: a keyword followed by a blank.
    Import("<FontCatalog"
           " <Font <FTag `Underline'> <FUnderlining FSingle >>"
           " <Font <FTag `Twice'> <FUnderlining FDouble> <FStrike Yes>>"
           " <Font <FTag `Figures'> <FUnderlining FNumeric>>"
           " <Font <FTag `Plain'> <FUnderlining FNoUnderlining> <FStrike No> <FOverline Yes>>"
           " <Font <FTag `Silent'> <FSize 9 pt>>>");
    EXPECT_EQ(Attr<int32>(Char("Underline"), TextAttribute::kUnderline), 1);
    EXPECT_EQ(Attr<int32>(Char("Twice"), TextAttribute::kUnderline), 2);
    EXPECT_TRUE(Attr<bool>(Char("Twice"), TextAttribute::kStrikeThru));
    EXPECT_EQ(Attr<int32>(Char("Figures"), TextAttribute::kUnderline), 1);
    // Stated off is off, so that text with the format drops an underline it would inherit.
    EXPECT_EQ(Attr<int32>(Char("Plain"), TextAttribute::kUnderline), 0);
    EXPECT_FALSE(Attr<bool>(Char("Plain"), TextAttribute::kStrikeThru));
    EXPECT_FALSE(Char("Silent")->attributes.Contains(TextAttribute::kUnderline));
    EXPECT_FALSE(Char("Silent")->attributes.Contains(TextAttribute::kStrikeThru));
}

// Separators become rules above and below: the frame's single line with its weight, colour,
// place and extent; the frame's height joins the paragraph's space. A frame of two lines or no
// frame at all is reported once and gives no rule; an empty name is explicitly none.
TEST_F(MifStyleImportTest, Separators_SingleLineFramesBecomeRules)
{
    const std::string line = "<PolyLine <Pen 0> <PenWidth 3 pt> <ObColor `Red'> <NumPoints 2> <Point 0pt 2pt> <Point 400pt 2pt>>";
    Import("<ColorCatalog <Color <ColorTag `Red'> <ColorCyan 0> <ColorMagenta 100> <ColorYellow 100> <ColorBlack 0>>>\n"
           "<PgfCatalog"
           " <Pgf <PgfTag `Note'> <PgfSpBefore 6 pt> <PgfSpAfter 4 pt> <PgfLIndent 10 pt> <PgfFont <FSize 10 pt>>"
           "  <PgfTopSeparator `Above'> <PgfTopSepAtIndent No> <PgfBotSeparator `Indented'> <PgfBotSepAtIndent Yes>>"
           " <Pgf <PgfTag `Twice'> <PgfSpBefore 6 pt> <PgfTopSeparator `Double'> <PgfBotSeparator `Nowhere'>>"
           " <Pgf <PgfTag `Other'> <PgfSpBefore 6 pt> <PgfTopSeparator `Double'> <PgfBotSeparator `'>>>\n"
           "<Page <PageType ReferencePage> <PageTag `Reference'>\n"
           " <Frame <ShapeRect 72pt 100pt 400pt 6pt> <Tag `Above'> " + line + ">\n"
           " <Frame <ShapeRect 72pt 200pt 400pt 8pt> <Tag `Indented'>"
           "  <PolyLine <PenWidth 0.5 pt> <NumPoints 2> <Point 20pt 4pt> <Point 300pt 4pt>>>\n"
           " <Frame <ShapeRect 72pt 300pt 400pt 8pt> <Tag `Double'> " + line + line + ">>\n");
    const Style* note = Para("Note");
    EXPECT_TRUE(Attr<bool>(note, TextAttribute::kRuleAbove));
    EXPECT_DOUBLE_EQ(Attr<PMReal>(note, TextAttribute::kRuleAboveLineWeight), 3);
    // The line's bottom is 2.5 pt above the frame's bottom edge, the first baseline 8 pt below it.
    EXPECT_NEAR(Attr<PMReal>(note, TextAttribute::kRuleAboveOffset), 8 + 4 - 1.5, 1e-9);
    EXPECT_NE(Attr<UID>(note, TextAttribute::kRuleAboveColor), kInvalidUID);
    EXPECT_EQ(Attr<int32>(note, TextAttribute::kRuleAboveWidth), 0);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(note, TextAttribute::kSpaceBefore), 6 + 6);
    EXPECT_TRUE(Attr<bool>(note, TextAttribute::kRuleBelow));
    EXPECT_NEAR(Attr<PMReal>(note, TextAttribute::kRuleBelowOffset), 2 + 4 - 0.25, 1e-9);
    // At the indent, the frame and its line move right by the paragraph's left indent.
    EXPECT_DOUBLE_EQ(Attr<PMReal>(note, TextAttribute::kRuleAboveLeftIndent), 0);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(note, TextAttribute::kRuleBelowLeftIndent), 20 + 10);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(note, TextAttribute::kRuleBelowRightIndent), 100 - 10);
    EXPECT_DOUBLE_EQ(Attr<PMReal>(note, TextAttribute::kSpaceAfter), 4 + 8);

    EXPECT_FALSE(Attr<bool>(Para("Twice"), TextAttribute::kRuleAbove));
    EXPECT_FALSE(Attr<bool>(Para("Twice"), TextAttribute::kRuleBelow));
    EXPECT_DOUBLE_EQ(Attr<PMReal>(Para("Twice"), TextAttribute::kSpaceBefore), 6);
    EXPECT_FALSE(Attr<bool>(Para("Other"), TextAttribute::kRuleBelow));
    InterfacePtr<IMifErrorLog> errors = MifDocInterface<IMifErrorLog>(db);
    ASSERT_TRUE(errors);
    const std::string text = errors->GetText().GetUTF8String();
    EXPECT_NE(text.find("than one horizontal line, which a paragraph rule cannot draw; the separator is dropped: Double"), std::string::npos) << text;
    EXPECT_NE(text.find("no frame of the reference pages has this name, the separator is dropped: Nowhere"), std::string::npos) << text;
    EXPECT_EQ(text.find("Double", text.find("Double") + 1), std::string::npos) << "reported once";
}
