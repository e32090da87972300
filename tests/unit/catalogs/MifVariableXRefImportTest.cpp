// Variables and cross-references through a whole import: both preference modes, with the
// companion cross-reference plug-in installed and not; the pieces and the format translation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CAlert.h"
#include "CmdUtils.h"
#include "CrossReference.h"
#include "CrossReferenceText.h"
#include "DataBase.h"
#include "Document.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IdmlSchema.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "ImportModes.h"
#include "MifImportFixture.h"
#include "Story.h"
#include "TempFolder.h"
#include "TextVariable.h"
#include "TextVariableFacade.h"

#include "catalogs/MifVariableImporter.h"
#include "catalogs/MifXRefImporter.h"
#include "layout/IMifLayoutImporter.h"

namespace {

constexpr const char* kSetup =
    "<PgfCatalog <Pgf <PgfTag `Body'>> <Pgf <PgfTag `Heading'>>>\n"
    "<VariableFormats\n"
    " <VariableFormat <VariableName `Running'> <VariableDef `Page <$curpagenum\\> of <$lastpagenum\\>'>>\n"
    " <VariableFormat <VariableName `Chapter'> <VariableDef `<$paratext[Heading]\\>'>>\n"
    " <VariableFormat <VariableName `Current Date (Short)'> <VariableDef `<$monthnum\\>/<$daynum\\>/<$shortyear\\>'>>\n"
    " <VariableFormat <VariableName `Number'> <VariableDef `<$paranum[Heading]\\>'>>\n"
    ">\n"
    "<XRefFormats <XRefFormat <XRefName `See'> <XRefDef `Old <$pagenum\\>'>>\n"
    " <XRefFormat <XRefName `See'> <XRefDef `See <$paratext\\>'>>>\n"
    "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n";

class VariableXRefImportTest : public MifImportFixture {
protected:
    void Import(const std::string& flow)
    {
        std::ostringstream mif;
        mif << "<MIFFile 2015>\n" << kSetup << flow;
        OpenMif("tessel-xref-test.mif", mif.str());
    }
    std::u16string Text() const { return story->textModel.GetText(0, story->textModel.TotalLength()); }

};

const char* kVariableFlow =
    "<TextFlow <TFTag `A'> <Para <PgfTag `Heading'> <ParaLine <TextRectID 1> <String `Intro'>>>\n"
    " <Para <PgfTag `Body'> <ParaLine <Variable <VariableName `Running'>> <String `|'>"
    " <Variable <VariableName `Chapter'>> <Variable <VariableName `Current Date (Short)'>>"
    " <Variable <VariableName `Number'>> <Variable <VariableName `Missing'>>>>>\n";

const char* kXRefFlow =
    "<TextFlow <TFTag `A'>\n"
    " <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <XRef <XRefName `See'> <XRefSrcText `12345: Heading: Intro'>>"
    " <String `See Intro'> <XRefEnd> <String `.'>>>\n"
    " <Para <PgfTag `Heading'> <ParaLine <Marker <MType 9> <MText `12345: Heading: Intro'>> <String `Intro'>>>\n"
    " <Para <PgfTag `Body'> <ParaLine <XRef <XRefName `Nope'> <XRefSrcText `1111: x'>> <String `kept1'> <XRefEnd>"
    " <XRef <XRefName `See'> <XRefSrcText `99999: gone'>> <String `kept2'> <XRefEnd>"
    " <XRef <XRefName `See'> <XRefSrcText `12345: Heading: Intro'>> <String `open'>>>\n"
    " <Para <PgfTag `Body'> <ParaLine <String `after'>>>>\n";

} // namespace

TEST(MifVariablePieces, Pieces_FormatAndInstanceCuts)
{
    using V = MifVariableImporter;
    std::vector<PMString> format = V::GetFormatPieces("<Emphasis\\>Page <$curpagenum\\> of <$lastpagenum\\><Default \xC2\xB6 Font\\>");
    ASSERT_EQ(format.size(), 4u);  // the tags go
    EXPECT_EQ(format[0], PMString("Page "));
    EXPECT_EQ(format[1], PMString("<$curpagenum>"));
    EXPECT_EQ(format[3], PMString("<$lastpagenum>"));
    std::vector<PMString> instance = V::GetInstancePieces("<Emphasis\\>Page <$curpagenum\\>");
    ASSERT_EQ(instance.size(), 3u);  // tags stay
    EXPECT_EQ(instance[0], PMString("<Emphasis>"));
    EXPECT_EQ(V::GetDateToken("<$shortyear>"), PMString("yy"));
    EXPECT_TRUE(V::GetDateToken("<$paranum>").IsEmpty());
}

TEST(MifVariablePieces, Translate_DateKindsByName)
{
    MifVariableImporter importer;
    std::vector<PMString> pieces = MifVariableImporter::GetFormatPieces("<$monthnum\\>/<$daynum\\>/<$shortyear\\>");
    AddVariableInfo info;
    ASSERT_TRUE(importer.TranslateFormat(pieces, "Current Date (Short)", info));
    EXPECT_EQ(info.Get().baseType, kCurrentDateVariableType);
    EXPECT_EQ(info.Get().contents, PMString("M/d/yy"));
    AddVariableInfo created;
    ASSERT_TRUE(importer.TranslateFormat(pieces, "Creation Date (Long)", created));
    EXPECT_EQ(created.Get().baseType, kCreationDateVariableType);
    // A date under a name of the user's own is still a date.
    AddVariableInfo own;
    ASSERT_TRUE(importer.TranslateFormat(pieces, "Today", own));
    EXPECT_EQ(own.Get().baseType, kCurrentDateVariableType);
    // Literals with letters are no date format; a lone literal is custom text.
    AddVariableInfo words;
    EXPECT_FALSE(importer.TranslateFormat(MifVariableImporter::GetFormatPieces("<$monthnum\\> of <$year\\>"), "X", words));
    AddVariableInfo custom;
    ASSERT_TRUE(importer.TranslateFormat({PMString("Draft")}, "X", custom));
    EXPECT_EQ(custom.Get().baseType, kCustomTextVariableType);
}

TEST(MifXRefTranslation, Translate_SpansBlocksAndEscapes)
{
    MifXRefImporter importer;
    EXPECT_EQ(importer.TranslateXRefDef("<Default \xC2\xB6 Font\\>See <$paratext[Heading]\\> on page\\ <$pagenum\\>"),
              PMString("<span cstyle=\"\">See <paratext precedingpstyle=\"Heading\" /> on page^s<pagenum />"));
    EXPECT_EQ(importer.TranslateXRefDef("<Emphasis\\><$paranumonly\\>"), PMString("<span cstyle=\"Emphasis\"><paranum numberonly=\"true\" /></span>"));
    EXPECT_EQ(importer.TranslateXRefDef("a<$bogus\\>b\\\\c"), PMString("ab\\c"));
    // FrameMaker's hex escapes: the hard space between "page" and its number, a hard hyphen,
    // an ASCII character; an escape of no digits is dropped like any unknown one.
    EXPECT_EQ(importer.TranslateXRefDef("page\\x11 <$pagenum\\>"), PMString("page^s<pagenum />"));
    EXPECT_EQ(importer.TranslateXRefDef("A\\x15 B\\x41\\xzC\\tD\\>"), PMString(u"A\u2011BAzC\tD>"));
    EXPECT_EQ(MifXRefImporter::GetSourceKey("12345: Heading: Intro"), PMString("12345"));
    EXPECT_EQ(MifXRefImporter::GetSourceKey("123: short"), PMString("123: short"));
    EXPECT_EQ(MifXRefImporter::GetSourceKey("12345678: long"), PMString("12345678: long"));
}

TEST(CrossReferenceText, Parse_KeepsWhatItCannotRead)
{
    std::vector<CrossReferenceBlock> blocks;
    PMString problem;
    EXPECT_TRUE(CrossReferenceText::Parse("See <paratext precedingpstyle=\"H\" />^s<pagenum />", blocks, &problem));
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[1].kind, CrossReferenceBlock::Kind::kParagraphText);
    EXPECT_EQ(blocks[1].paragraphStyle, PMString("H"));
    EXPECT_EQ(blocks[2].text, PMString("\xC2\xA0"));
    EXPECT_FALSE(CrossReferenceText::Parse("a <foo /> b <pagenum", blocks, &problem));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].text, PMString("a <foo /> b <pagenum"));
    EXPECT_EQ(problem, PMString("unknown element <foo>"));
}

TEST_F(VariableXRefImportTest, UseVariables_InstancesAndPerBlockVariables)
{
    PresetModesScope modes(2, 1);
    Import(kVariableFlow);
    // Page number character, the literal, the <$lastpagenum> variable; running header and date
    // variables of the formats' own names; the paragraph number block is passed over.
    EXPECT_EQ(Text(), u"Intro\rPage \x18 of \x19|\x19\x19\r");
    EXPECT_TRUE(TextVariableFacade::FindVariable(*db, "<$lastpagenum>"));
    const TextVariable* chapter = TextVariableFacade::FindVariable(*db, "Chapter");
    ASSERT_TRUE(chapter);
    EXPECT_EQ(chapter->baseType, kRunningHeaderVariableType);
    EXPECT_EQ(TextVariableFacade::FindVariable(*db, "Current Date (Short)")->contents, PMString("M/d/yy"));
    EXPECT_TRUE(Warned("Line 13: Can't translate variable 'Number', unsupported building block:<$paranum[Heading]>"));
    EXPECT_TRUE(Warned("Line 13: Variable 'Missing' has no variable format of that name, nothing inserted"));
    std::string package;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &package), kSuccess);
    EXPECT_TRUE(IdmlSchema::Validates(package));
}

TEST_F(VariableXRefImportTest, ConvertToText_ValuesAsText)
{
    PresetModesScope modes(1, 1);
    Import(kVariableFlow);
    EXPECT_EQ(story->textModel.GetText(0, 18), u"Intro\rPage \x18 of 1|");
    EXPECT_TRUE(db->GetDocument()->textVariables.empty());
}

TEST_F(VariableXRefImportTest, LiveCrossReferences_WithThePlugIn)
{
    XRefPlugInScope installed;
    PresetModesScope modes(1, 2);
    Import(kXRefFlow);
    // The live one shows its destination's paragraph; the stored text is dropped. Those without a
    // format or a marker keep FrameMaker's text; an XRef without XRefEnd ends with its paragraph.
    const std::u16string text = Text();
    EXPECT_EQ(text.substr(0, 13), u"\x1CSee Intro\x1D.\r");  // the stored text is not there twice
    EXPECT_NE(text.find(u"kept1kept2"), std::u16string::npos);
    EXPECT_NE(text.find(u"after"), std::u16string::npos);
    EXPECT_TRUE(Warned("Line 15: Cross-reference: no XRefFormat is named 'Nope', its text is kept"));
    EXPECT_TRUE(Warned("Line 15: Cross-reference: no Cross-Ref marker has the text '99999: gone', its text is kept"));
    EXPECT_TRUE(Warned("Line 15: Cross-reference: an XRef without XRefEnd ends with its paragraph"));
    const Document& document = *db->GetDocument();
    ASSERT_EQ(document.crossReferenceSources.size(), 2u);
    for (UID uid : document.crossReferenceSources)
        EXPECT_EQ(db->Get<CrossReferenceSource>(uid)->destination, document.textDestinations.at(0));
    std::string package;
    ASSERT_EQ(IdmlWriter::BuildPackage(*db, &package), kSuccess);
    EXPECT_NE(package.size(), 0u);
    EXPECT_TRUE(IdmlSchema::Validates(package));
}

TEST_F(VariableXRefImportTest, WithoutThePlugIn_CrossReferencesAreText)
{
    PresetModesScope modes(1, 2);  // stored 2, but it reads as 1 without the plug-in
    Import(kXRefFlow);
    EXPECT_EQ(Text().substr(0, 10), u"See Intro.");
    EXPECT_TRUE(db->GetDocument()->crossReferenceSources.empty());
}

TEST_F(VariableXRefImportTest, FormatsOfOneName_TheLastWins)
{
    XRefPlugInScope installed;
    PresetModesScope modes(1, 2);
    Import("");
    const Document& document = *db->GetDocument();
    ASSERT_EQ(document.crossReferenceFormats.size(), 1u);
    EXPECT_EQ(db->Get<CrossReferenceFormat>(document.crossReferenceFormats[0])->definition, PMString("See <paratext />"));
}

// Formats and references that lack a name or a definition are told to the user with their
// lines, and what FrameMaker wrote for the reference stays in the text.
TEST_F(VariableXRefImportTest, IncompleteFormats_WarnedWithTheirLines)
{
    XRefPlugInScope installed;
    PresetModesScope modes(2, 2);
    OpenMif("tessel-incomplete.mif",
            "<MIFFile 2015>\n"
            "<PgfCatalog <Pgf <PgfTag `Body'>>>\n"
            "<VariableFormats <VariableFormat <VariableName `NoDef'>>\n"
            " <VariableFormat <VariableDef `orphan'>>>\n"
            "<XRefFormats <XRefFormat <XRefName `Empty'>>\n"
            " <XRefFormat <XRefDef `See <$paratext\\>'>>>\n"
            "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n"
            "<TextFlow <TFTag `A'> <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <Marker <MType 9> <MText `123456: x'>>\n"
            " <Variable <VariableName `NoDef'>>\n"
            " <Variable>\n"
            " <XRef <XRefName `Empty'> <XRefSrcText `123456: x'>> <String `stored'> <XRefEnd>\n"
            " <XRef <XRefSrcText `123456: x'>> <String `kept'> <XRefEnd>>>>\n");
    CmdUtils::ProcessScheduledCmds();
    for (const char* line : {"Line 4: VariableFormat without VariableName, skipped",
                             "Line 6: XRefFormat without XRefName, skipped",
                             "Line 9: Variable 'NoDef': its variable format has no VariableDef, nothing inserted",
                             "Line 10: A Variable without VariableName, nothing inserted",
                             "Line 11: Cross-reference format 'Empty' has no XRefDef, its text is kept",
                             "Line 12: Cross-reference: an XRef without XRefName, its text is kept"})
        EXPECT_TRUE(Warned(line));
    EXPECT_NE(Text().find(u"storedkept"), std::u16string::npos);
    EXPECT_TRUE(db->GetDocument()->crossReferenceSources.empty());
}

// A reference to a marker in its own paragraph shows that paragraph once: its own text is no
// part of what it shows, however often it is brought up to date.
TEST_F(VariableXRefImportTest, SelfReference_ShowsItsParagraphOnce)
{
    XRefPlugInScope installed;
    PresetModesScope modes(1, 2);
    OpenMif("tessel-self.mif",
            "<MIFFile 2015>\n"
            "<PgfCatalog <Pgf <PgfTag `Body'>>>\n"
            "<XRefFormats <XRefFormat <XRefName `Self'> <XRefDef `see <$paratext\\> on <$pagenum\\>'>>>\n"
            "<Page <PageType BodyPage> <TextRect <ID 1> <ShapeRect 1\" 1\" 6\" 9\">>>\n"
            "<TextFlow <TFTag `A'> <Para <PgfTag `Body'> <ParaLine <TextRectID 1> <Marker <MType 9> <MText `12345: x'>>\n"
            " <String `Target '> <XRef <XRefName `Self'> <XRefSrcText `12345: x'>> <String `see Target on 1'> <XRefEnd>\n"
            " <String `.'>>>>\n");
    EXPECT_EQ(Text(), u"\x1ETarget \x1Csee Target . on 1\x1D.\r");
    EXPECT_EQ(CrossReferenceText::UpdateAll(*db), 0);   // nothing more to show
    EXPECT_EQ(Text(), u"\x1ETarget \x1Csee Target . on 1\x1D.\r");
    ASSERT_EQ(db->GetDocument()->crossReferenceSources.size(), 1u);
    EXPECT_EQ(CrossReferenceText::GetText(*db, *db->Get<CrossReferenceSource>(db->GetDocument()->crossReferenceSources[0])),
              PMString("see Target . on 1"));
}
