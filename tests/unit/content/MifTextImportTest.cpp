// Text flows into stories: paragraphs and their returns, formats carried from paragraph to
// paragraph, the space-before rule, leading, special characters, font changes, footnotes,
// variables as text, cross-reference text, and bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CAlert.h"
#include "CmdUtils.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "ImportModes.h"
#include "MifImportFixture.h"
#include "Story.h"
#include "StyleUtils.h"
#include "TestUtils.h"

#include "catalogs/IMifVariableImporter.h"
#include "catalogs/MifVariableImporter.h"
#include "content/IMifContentImporter.h"
#include "layout/IMifLayoutImporter.h"

namespace {

// A page with the text column 1, and the formats the flows below use.
constexpr const char* kSetup =
    "<PgfCatalog\n"
    " <Pgf <PgfTag `Body'> <PgfSpBefore 0pt> <PgfSpAfter 12pt> <PgfFont <FFamily `Times'> <FSize 10pt>>>\n"
    " <Pgf <PgfTag `Head'> <PgfSpBefore 6pt> <PgfSpAfter 0pt> <PgfLeading 4pt> <PgfFont <FFamily `Times'> <FSize 14pt>>>\n"
    " <Pgf <PgfTag `Tall'> <PgfSpBefore 18pt> <PgfSpAfter 0pt>>\n"
    " <Pgf <PgfTag `Orphan'> <PgfSpAfter 3pt>>\n"
    ">\n"
    "<FontCatalog <Font <FTag `Emphasis'> <FAngle `Italic'>>>\n"
    "<VariableFormats\n"
    " <VariableFormat <VariableName `Running'> <VariableDef `Page <$curpagenum\\> of <$lastpagenum\\>'>>\n"
    " <VariableFormat <VariableName `Chapter'> <VariableDef `<$paratext[Head]\\>'>>\n"
    ">\n"
    "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n";

class MifTextImportTest : public MifImportFixture {
protected:
    void Import(const std::string& flow, const char* version = "2015")
    {
        std::ostringstream mif;
        mif << "<MIFFile " << version << ">\n" << kSetup << flow;
        OpenMif("tessel-text-test.mif", mif.str());
    }
    std::u16string Text() const { return story->textModel.GetText(0, story->textModel.TotalLength()); }
    const TextModel& Model() const { return story->textModel; }
    UID ParaStyle(const char* name) const { return StyleUtils::FindStyle(*db, StyleKind::kParagraph, name); }
    const AttributeBossList& ParaOverrides(int32 index) const { return Model().GetParagraphFormat(index)->overrides; }
    const AttributeBossList& CharOverrides(int32 index) const { return Model().GetCharacterFormat(index)->overrides; }

};

TEST_F(MifTextImportTest, ParagraphsKeepTheirStylesAndFormatsCarryOn)
{
    Import("<TextFlow <TFTag `A'>\n"
           " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `One'>>>\n"
           " <Para <Pgf <PgfLIndent 20pt>> <ParaLine <String `Two'>>>\n"
           " <Para <PgfTag `Nowhere'> <ParaLine <String `Three'>>>\n"
           ">\n");
    // Three paragraphs, two returns between them and the story's own.
    EXPECT_EQ(Text(), u"One\rTwo\rThree\r");
    EXPECT_EQ(Model().ParagraphRunCount(), 3);
    EXPECT_EQ(Model().GetParagraphFormat(0)->style, ParaStyle("Body"));
    // Without a PgfTag the paragraph keeps the style and overrides before it, plus its own Pgf.
    EXPECT_EQ(Model().GetParagraphFormat(4)->style, ParaStyle("Body"));
    EXPECT_EQ(*ParaOverrides(4).Get<PMReal>(TextAttribute::kLeftIndent), 20);
    EXPECT_FALSE(ParaOverrides(0).Contains(TextAttribute::kLeftIndent));
    // A tag that names no style applies none: the formatting in force stays.
    EXPECT_EQ(Model().GetParagraphFormat(8)->style, ParaStyle("Body"));
    // The 10 pt paragraph font with no leading of its own gives 12 pt (fixed by default).
    EXPECT_EQ(*ParaOverrides(0).Get<PMReal>(TextAttribute::kLeading), 12);
    EXPECT_NE(CharOverrides(0).Get<PMReal>(TextAttribute::kPointSize), nullptr);
}

TEST_F(MifTextImportTest, ATagInsideTheParagraphsOwnPgfStartsFromTheCatalogFormat)
{
    // openjade names each paragraph's format inside its own Pgf: a catalog format named there
    // starts the paragraph afresh, so a tiny white anchor paragraph does not make the following
    // text white. A tag there that the catalog lacks (FrameMaker's running heads) goes on from
    // the paragraph before, as FrameMaker writes it.
    Import("<ColorCatalog <Color <ColorTag `White'>>>\n"
           "<TextFlow <TFTag `A'>\n"
           " <Para <Pgf <PgfFont <FSize 2pt> <FColor `White'>>> <ParaLine <TextRectID 1> <String `x'>>>\n"
           " <Para <Pgf <PgfTag `Body'> <PgfFont <FWeight `Bold'>>> <ParaLine <String `Text'>>>\n"
           " <Para <Pgf <PgfTag `Footer'> <PgfLIndent 9pt>> <ParaLine <String `Foot'>>>\n"
           ">\n");
    ASSERT_EQ(Text(), u"x\rText\rFoot\r");
    EXPECT_TRUE(CharOverrides(0).Contains(TextAttribute::kFillColor));
    EXPECT_EQ(Model().GetParagraphFormat(2)->style, ParaStyle("Body"));
    EXPECT_FALSE(CharOverrides(2).Contains(TextAttribute::kFillColor));
    EXPECT_EQ(*CharOverrides(2).Get<PMReal>(TextAttribute::kPointSize), 10);
    // "Footer" is no catalog format: Body's style and Text's bold go on, with its own indent.
    EXPECT_EQ(Model().GetParagraphFormat(7)->style, ParaStyle("Body"));
    EXPECT_EQ(*ParaOverrides(7).Get<PMReal>(TextAttribute::kLeftIndent), 9);
    EXPECT_TRUE(CharOverrides(7).Contains(TextAttribute::kFontStyle));
}

TEST_F(MifTextImportTest, SpaceBeforeGivesOnlyWhatTheLargerSpaceAdds)
{
    Import("<TextFlow <TFTag `A'>\n"
           " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `A'>>>\n"
           " <Para <PgfTag `Head'> <ParaLine <String `B'>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <String `C'>>>\n"
           " <Para <PgfTag `Tall'> <ParaLine <String `D'>>>\n"
           ">\n");
    EXPECT_EQ(*ParaOverrides(2).Get<PMReal>(TextAttribute::kSpaceBefore), 0);   // 12 after, 6 before
    EXPECT_EQ(*ParaOverrides(6).Get<PMReal>(TextAttribute::kSpaceBefore), 6);   // 12 after, 18 before
    EXPECT_EQ(*ParaOverrides(2).Get<PMReal>(TextAttribute::kLeading), 18);      // 14 pt + 4 pt lead
}

// Tabs FrameMaker would not honour go, as the composed paragraph (Times 10 pt in a 432 pt
// column) shows: those past the paragraph's stops, and those whose stop the text has passed.
TEST_F(MifTextImportTest, TabsWithoutAStopToGoToAreDeleted)
{
    Import("<TextFlow <TFTag `A'>\n"
           " <Para <PgfTag `Body'> <Pgf <TabStop <TSX 100pt>>>"
           " <ParaLine <TextRectID 1> <String `a'> <Char Tab> <String `b'> <Char Tab> <String `c'> <Char Tab> <String `d'>>>\n"
           " <Para <Pgf <TabStop <TSX 40pt>> <TabStop <TSX 300pt>>>"
           " <ParaLine <String `A heading wider than forty points'> <Char Tab> <String `x'>>>\n"
           " <Para <ParaLine <String `ab'> <Char Tab> <String `x'> <Char Tab> <String `y'>>>\n"
           " <Para <PgfTag `Head'> <Pgf <PgfAutoNum Yes> <PgfNumFormat `\\t'>> <ParaLine <String `n'> <Char Tab> <String `m'>>>\n"
           // A forced line break starts a line whose tabs take the stops from the first again, as
           // in a footer of two lines set at a centre and a right stop.
           " <Para <PgfTag `Body'> <Pgf <TabStop <TSX 200pt> <TSType Center>> <TabStop <TSX 400pt> <TSType Right>>>"
           " <ParaLine <Char Tab> <String `Date'> <Char Tab> <Char HardReturn>>"
           " <ParaLine <Char Tab> <Char Tab> <String `Manual'> <Char Tab>>>\n"
           ">\n");
    EXPECT_EQ(Text(), u"a\tbcd\rA heading wider than forty pointsx\rab\tx\ty\rn\tm\r\tDate\t\n\t\tManual\r");
}

TEST_F(MifTextImportTest, SpecialCharactersFontChangesAndText)
{
    Import("<TextFlow <TFTag `A'>\n"
           " <Para <PgfTag `Body'> <Pgf <TabStop <TSX 100pt>>>"
           " <ParaLine <TextRectID 1> <String `a'> <Char HardReturn> <String `b'>"
           " <Char NoHyphen> <Char Tab> <Char EmDash> <Char HardSpace>\n"
           " <Font <FTag `Emphasis'>> <String `it'> <Font <FTag `'> <FWeight `Bold'>> <String `bold'>"
           " <String `x\\x11 y\\x15 z\\x02 .'>>>\n"
           ">\n");
    EXPECT_EQ(Text(), u"a\nb\t\u2014\u00A0itboldx\u00A0y\u2011z.\r");
    EXPECT_EQ(Model().GetCharacterFormat(6)->style, StyleUtils::FindStyle(*db, StyleKind::kCharacter, "Emphasis"));
    // An empty tag returns to the paragraph font; the weight alone applies on top.
    const TextFormat* bold = Model().GetCharacterFormat(8);
    EXPECT_EQ(bold->style, StyleUtils::FindStyle(*db, StyleKind::kCharacter, "[No character style]"));
    EXPECT_EQ(*bold->overrides.Get<PMString>(TextAttribute::kFontStyle), PMString("Bold"));
    EXPECT_NE(bold->overrides.Get<PMReal>(TextAttribute::kPointSize), nullptr);  // the paragraph font's size
}

TEST_F(MifTextImportTest, FootnotesHaveTheirOwnThread)
{
    Import("<TextFlow <TFTag `A'>\n"
           " <Notes <FNote <ID 5> <Para <PgfTag `Body'> <ParaLine <String `First note'>>>"
           " <Para <ParaLine <String `second'>>>>>\n"
           " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `See'> <FNote 5> <String ` here'> <FNote 99>>>\n"
           " <Para <PgfTag `Head'> <ParaLine <String `Next'>>>\n"
           ">\n");
    TextRange body = Model().GetThreadRange(0);
    EXPECT_EQ(Model().GetText(0, body.length), u"See\x04 here\rNext\r");
    UID footnote = Model().GetOwnedItem(3);
    ASSERT_NE(footnote, kInvalidUID);
    TextRange thread = Model().FindThread(footnote);
    EXPECT_EQ(Model().GetText(thread.start, thread.length), u"First note\rsecond\r");
    EXPECT_EQ(Model().GetParagraphFormat(thread.start)->style, ParaStyle("Body"));
    // The body goes on with its own formatting after the footnote.
    EXPECT_EQ(Model().GetParagraphFormat(body.length - 2)->style, ParaStyle("Head"));
}

TEST_F(MifTextImportTest, VariablesBecomeTheirTextAndCrossReferencesKeepTheirs)
{
    PresetModesScope convertToText(1, 1);
    Import("<TextFlow <TFTag `A'>\n"
           " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <Variable <VariableName `Running'>>"
           " <Variable <VariableName `Table Continuation'>> <Variable <VariableName `Chapter'>>"
           " <XRef <XRefName `Page'>> <String `see page 3'> <XRefEnd > <Marker <MType 2> <MText `index'>>>>\n"
           ">\n");
    EXPECT_EQ(Text(), u"Page \x18 of 1see page 3\r");
}

TEST_F(MifTextImportTest, OldFilesDecodeByTheFontAndHiddenConditionsStayText)
{
    Import("<ConditionCatalog <Condition <CTag `Secret'> <CState CHidden>>>\n"
           "<TextFlow <TFTag `A'>\n"
           " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <Conditional <InCondition `Secret'>>"
           " <String `caf\\x8e '> <Unconditional >>>\n"
           ">\n",
           "7.00");
    EXPECT_EQ(Text(), u"caf\u00E9\r");
}

TEST_F(MifTextImportTest, SymbolTextWrapsAndKeepsItsSignsReadable)
{
    // Blanks in Symbol break like any other; its trademark, registered and copyright signs, serif
    // and sans-serif, are the standard characters.
    Import("<TQ_EncodingTable <TQ_FamilyEncoding `Symbol,2'>>\n"
           "<TextFlow <TFTag `A'>\n"
           " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <Font <FFamily `Symbol'>>"
           " <String `a b\\xd4 \\xd2 \\xd3 \\xe4 \\xe2 \\xe3 '>>>\n"
           ">\n",
           "5.00");
    EXPECT_EQ(Text(), u"\u03B1 \u03B2\u2122\u00AE\u00A9\u2122\u00AE\u00A9\r");
}

TEST_F(MifTextImportTest, ThePresetsEncodingOfAFamilyComesBeforeTheFilesOwn)
{
    // The byte escaped as \xb9 is a capital L with caron in East European text (238), a small je
    // in Cyrillic (204).
    const char* mif = "<TQ_EncodingTable <TQ_FamilyEncoding `Arial CE,204'>>\n"
                      "<TextFlow <TFTag `A'>\n"
                      " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <Font <FFamily `Arial CE'>> <String `\\xb9 '>>>\n"
                      ">\n";
    Import(mif, "5.00");
    EXPECT_EQ(Text(), u"\u0458\r");
    InterfacePtr<IMifPrefs> prefs(GetSessionWorkspace(), IID_IMIFPREFS);
    ASSERT_TRUE(prefs);
    std::vector<MifPresetRecord> saved = prefs->GetPresets(), presets = saved;
    presets.at(static_cast<size_t>(prefs->GetCurrentPreset())).AddEncoding("arial ce", 238);
    prefs->SetPresets(presets);
    Import(mif, "5.00");
    prefs->SetPresets(saved);
    EXPECT_EQ(Text(), u"\u013D\r");
}

TEST_F(MifTextImportTest, EscapedBlanksOfCodeExamplesStay)
{
    // SDF escapes every blank of a code example; old and new files alike keep them.
    for (const char* version : {"5.00", "2015"}) {
        Import("<TextFlow <TFTag `A'>\n"
               " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `\\ \\ use\\ POSIX\\ qw(setsid);'>>>\n"
               ">\n",
               version);
        EXPECT_EQ(Text(), u"  use POSIX qw(setsid);\r") << version;
    }
}

TEST_F(MifTextImportTest, BadInputIsSkippedAndTheRestArrives)
{
    Import("<Para <ParaLine <String `stray'>>>\n"
           "<TextFlow <TFTag `B'> <Para <PgfTag `Body'> <ParaLine <TextRectID 77> <String `lost'>>>>\n"
           "<TextFlow <TFTag `A'>\n"
           " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <String `kept'> <Char Frobnicate> <FNote>"
           " <Font <FTag `NoSuchFont'>> <String ` bytes \xff\xfe end'>>>\n"
           ">\n");
    // Bytes that are not UTF-8 are replaced; nothing else of the paragraph is lost.
    std::u16string text = Text();
    EXPECT_EQ(text.rfind(u"kept bytes ", 0), 0u) << PMString(text).GetUTF8String();
    EXPECT_EQ(text.substr(text.size() - 5), u" end\r");
    EXPECT_EQ(Model().GetThreadRange(0).length, Model().TotalLength());
    EXPECT_TRUE(Warned("Line 14: A paragraph outside any text flow is skipped"));
    EXPECT_TRUE(Warned("Line 15: Text flow: TextRectID names no text column, its text is skipped: 77"));
    EXPECT_TRUE(Warned("Line 17: Footnote: an FNote without the ID of its text is skipped"));
}

TEST_F(MifTextImportTest, FootnotesThatNameThemselvesAndDamagedFormatsEnd)
{
    Import("<TextFlow <TFTag `A'>\n"
           " <Notes <FNote <ID 5> <Para <ParaLine <String `loop'> <FNote 5>>>>>\n"
           " <Para <PgfTag `Body'> <Pgf <PgfSpBefore `x'> <PgfLeading 1e308pt>> <ParaLine <TextRectID 1> <String `a'> <FNote 5>>>\n"
           " <Para <PgfTag `Nowhere'> <Pgf <PgfWithPrev Yes>> <ParaLine <String `b'>>>\n"
           " <Para <ParaLine <String `c'>>>\n"
           ">\n");
    EXPECT_EQ(Model().GetText(0, Model().GetThreadRange(0).length), u"a\x04\rb\rc\r");
    TextRange note = Model().FindThread(Model().GetOwnedItem(1));
    EXPECT_EQ(Model().GetText(note.start, note.length), u"loop\r");
    EXPECT_TRUE(Warned("Line 15: Footnote: a footnote inside a footnote is skipped: 5"));
    const PMReal* spaceBefore = ParaOverrides(0).Get<PMReal>(TextAttribute::kSpaceBefore);
    ASSERT_NE(spaceBefore, nullptr);
    EXPECT_EQ(*spaceBefore, 0);
    // b keeps with the paragraph before it; what follows b does not inherit the keep.
    EXPECT_EQ(*ParaOverrides(0).Get<int32>(TextAttribute::kKeepWithNext), 1);
    EXPECT_EQ(*ParaOverrides(3).Get<int32>(TextAttribute::kKeepWithNext), 1);
    EXPECT_EQ(*ParaOverrides(5).Get<int32>(TextAttribute::kKeepWithNext), 0);
}

TEST(MifVariableTextTest, HoursMinutesAndHalfDays)
{
    MifVariableImporter importer;
    std::tm afternoon{};
    afternoon.tm_hour = 14;
    afternoon.tm_min = 5;
    std::tm noon{};
    noon.tm_hour = 12;
    noon.tm_min = 10;
    auto text = [&](const char* block, const std::tm& at) {
        PMString out;
        EXPECT_TRUE(importer.GetBlockText(PMString(block), at, 0, out)) << block;
        return out.GetUTF8String();
    };
    EXPECT_EQ(text("<$hour>", afternoon), "2");
    EXPECT_EQ(text("<$minute00>", afternoon), "05");
    EXPECT_EQ(text("<$ampm>", afternoon), "pm");
    EXPECT_EQ(text("<$hour>", noon), "12");
    EXPECT_EQ(text("<$minute00>", noon), "10");
    EXPECT_EQ(text("<$ampm>", noon), "am");
    EXPECT_EQ(text("<$hour24>", std::tm{}), "00");
    PMString none;
    EXPECT_FALSE(importer.GetBlockText(PMString("<$paranum>"), noon, 0, none));
    // A paragraph-number block gives no text; the literals around it stay.
    auto pieces = importer.GetTextPieces(PMString("No. <$paranum\\> here"), noon, 0);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].text, PMString("No. "));
    EXPECT_EQ(pieces[1].text, PMString("<$paranum>"));
    EXPECT_FALSE(pieces[1].replaced);
}

} // namespace
