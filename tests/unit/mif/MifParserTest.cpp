// The MIF parser through its interface: values of every kind, units, strings, facets, and the
// exact messages and line numbers of bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "TaskProgressBar.h"
#include "TestUtils.h"

#include "mif/IMifStatementVisitor.h"
#include "mif/MifFacetList.h"
#include "mif/MifKeywordTable.h"
#include "mif/MifParser.h"

namespace {

double Dim(const ParsedMif& mif, int32 id, int i = 0)
{
    MifProp* prop = mif.Prop(id);
    return prop ? prop->value.dim[i] : NAN;
}

std::string Str(const MifProp* prop)
{
    return prop && prop->value.rawString ? prop->value.rawString->GetUTF8String() : "<none>";
}

} // namespace

TEST(MifParser, Units_DefaultAndStatement)
{
    EXPECT_DOUBLE_EQ(Dim(ParsedMif("<PgfLeading 12>"), kMifPgfLeading), 864.0);  // inches until Units says otherwise
    EXPECT_DOUBLE_EQ(Dim(ParsedMif("<PgfLeading 12.0 pt>"), kMifPgfLeading), 12.0);
    ParsedMif cm("<Units Ucm> <PgfLeading 1.0>");
    EXPECT_DOUBLE_EQ(Dim(cm, kMifPgfLeading), 28.346456692913385);
    EXPECT_EQ(cm.root->GetPropCount(), 1);  // Units leaves no prop
    EXPECT_EQ(cm.Prop(kMifUnits), nullptr);
    ParsedMif chars("<CharUnits CUpt> <FSize 9 pt>");
    EXPECT_EQ(chars.root->GetPropCount(), 1);
}

TEST(MifParser, Units_EveryNameAndUnitWord)
{
    struct { const char* text; double points; } cases[] = {
        {"1 pt", 1}, {"1 point", 1}, {"1\"", 72}, {"1 in", 72}, {"1 mm", 2.834645669291339},
        {"1 millimeter", 2.834645669291339}, {"1 cm", 28.346456692913385}, {"1 centimeter", 28.346456692913385},
        {"1 pc", 12}, {"1 pica", 12}, {"1 dd", 1.06776}, {"1 didot", 1.06776}, {"1 cc", 12.81312},
        {"1 cicero", 12.81312}, {"-2.5pt", -2.5}, {"+.5 in", 36},
    };
    for (const auto& c : cases) {
        ParsedMif mif(std::string("<FSize ") + c.text + ">");
        EXPECT_DOUBLE_EQ(Dim(mif, kMifFSize), c.points) << c.text;
        EXPECT_EQ(mif.ErrorText(), "") << c.text;
    }
    struct { const char* units; double points; } words[] = {
        {"Ucc", 12.81312}, {"Ucm", 28.346456692913385}, {"Udd", 1.06776}, {"Uin", 72}, {"Umm", 2.834645669291339},
        {"Upica", 12}, {"Upt", 1}, {"Left", 72},  // a word that is no unit leaves the inch
    };
    for (const auto& w : words) {
        ParsedMif mif(std::string("<Units ") + w.units + "> <FSize 1>");
        EXPECT_DOUBLE_EQ(Dim(mif, kMifFSize), w.points) << w.units;
    }
}

TEST(MifParser, Dimensions_CountsAndErrors)
{
    ParsedMif size("<PageSize 8.5\" 11\">");
    EXPECT_DOUBLE_EQ(Dim(size, kMifPageSize, 0), 612);
    EXPECT_DOUBLE_EQ(Dim(size, kMifPageSize, 1), 792);

    ParsedMif few("\n<PageSize 612.0 pt>");
    EXPECT_DOUBLE_EQ(Dim(few, kMifPageSize, 0), 612);
    EXPECT_DOUBLE_EQ(Dim(few, kMifPageSize, 1), 0);
    EXPECT_EQ(few.ErrorText(), "Line 2: Invalid value(s) for dimension property, should contain more values");

    // Too many values: reported, and the rest of the statement is passed over (the statement
    // that follows is still read).
    ParsedMif many("<ShapeRect 1 2 3 4 5 6> <FSize 3 pt>");
    EXPECT_EQ(many.ErrorText(), "Line 1: Invalid value(s) for dimension property, should contain less values");
    EXPECT_DOUBLE_EQ(Dim(many, kMifShapeRect, 3), 288);
    EXPECT_DOUBLE_EQ(Dim(many, kMifFSize), 3);

    ParsedMif unit("<FSize 10 furlong>");
    EXPECT_EQ(unit.ErrorText(), "Line 1: Invalid unit: furlong");
    EXPECT_DOUBLE_EQ(Dim(unit, kMifFSize), 10);  // an unknown unit counts as points

    ParsedMif margins("<TblCellMargins 1 pt 2 pt 3 pt 4 pt>");
    EXPECT_DOUBLE_EQ(Dim(margins, kMifTblCellMargins, 3), 4);
    EXPECT_EQ(margins.ErrorText(), "");
}

TEST(MifParser, Strings_KeptRawWithEscapes)
{
    ParsedMif quoted("<String `a\\'b'>");
    EXPECT_EQ(Str(quoted.Prop(kMifString)), "a\\'b");
    ParsedMif backslash("<String `x\\\\'>");
    EXPECT_EQ(Str(backslash.Prop(kMifString)), "x\\\\");
    ParsedMif escapes("<String `\\xd5 \\t\\>'>");
    EXPECT_EQ(Str(escapes.Prop(kMifString)), "\\xd5 \\t\\>");
    ParsedMif trailing("<PgfTag `Body' ignored words>  <FSize 2 pt>");
    EXPECT_EQ(Str(trailing.Prop(kMifPgfTag)), "Body");
    EXPECT_DOUBLE_EQ(Dim(trailing, kMifFSize), 2);
    ParsedMif utf8("<MIFFile 9.00> <String `Caf\xC3\xA9 \xE6\x97\xA5\xF0\x9F\x98\x80'>");
    const PMString* text = utf8.Prop(kMifString)->value.rawString;
    ASSERT_EQ(text->CharCount(), 8);  // C a f é blank 日 and a surrogate pair
    EXPECT_EQ((*text)[3], u'\u00E9');
    EXPECT_EQ((*text)[5], u'\u65E5');
    EXPECT_EQ((*text)[6], 0xD83D);
}

TEST(MifParser, Strings_MissingOpeningQuote)
{
    ParsedMif mif("<PgfTag Body>");
    EXPECT_EQ(Str(mif.Prop(kMifPgfTag)), "Body");
    EXPECT_EQ(mif.ErrorText(), "Line 1: Ivalid string (missing opening quote)");
}

TEST(MifParser, Tokens_EveryKindAndItsMessage)
{
    ParsedMif mif(
        "<FBold Yes> <FItalic No> <Pen 15> <ID 4711> <Angle 12.5> <ColorCyan 40.5%> <PgfAlignment Center>\n"
        "<FEncoding `FrameRoman'> <PgfHyphenate Yes >");
    EXPECT_EQ(mif.ErrorText(), "");
    EXPECT_EQ(mif.Prop(kMifFBold)->value.boolean, 1);
    EXPECT_EQ(mif.Prop(kMifFItalic)->value.boolean, 0);
    EXPECT_EQ(mif.Prop(kMifPen)->value.id, 15);
    EXPECT_EQ(mif.Prop(kMifID)->value.id, 4711);
    EXPECT_DOUBLE_EQ(mif.Prop(kMifAngle)->value.number, 12.5);
    EXPECT_DOUBLE_EQ(mif.Prop(kMifColorCyan)->value.number, 40.5);
    EXPECT_EQ(mif.Prop(kMifPgfAlignment)->value.keyword, kMifCenter);
    EXPECT_EQ(mif.Prop(kMifFEncoding)->value.keyword, kMifFrameRoman);
    EXPECT_EQ(mif.Prop(kMifPgfHyphenate)->value.boolean, 1);  // blanks before '>' are no part of the word

    ParsedMif bad(
        "<FBold Maybe>\n<PgfAlignment Leftish>\n<Pen 99999999999>\n<Angle north>\n<ColorCyan x%>\n<NumPoints 3.5>\n"
        "<PgfLeading>\n");
    EXPECT_EQ(bad.Prop(kMifFBold)->value.boolean, 0);
    EXPECT_EQ(bad.Prop(kMifPgfAlignment)->value.keyword, -1);
    EXPECT_EQ(bad.Prop(kMifPen)->value.id, 0);
    EXPECT_NE(bad.Prop(kMifPgfLeading), nullptr);  // stored with an empty value
    EXPECT_EQ(bad.ErrorText(),
              "Line 1: Invalid value for boolean property: Maybe\n"
              "Line 2: Invalid value for keyword property: Leftish\n"
              "Line 3: Invalid value for number property: 99999999999\n"
              "Line 4: Invalid value for degrees property: north\n"
              "Line 5: Invalid value for degrees property: x%\n"
              "Line 6: Invalid value for number property: 3.5\n"
              "Line 7: Property value expected");
}

TEST(MifParser, Statements_UnknownSkippedTypeSkipKept)
{
    ParsedMif mif("<Pen 1>\n<FooBar <Pen 2> `text>' >\n<DocFileInfo <Pen 3> <String `>'>>\n<Pen 4>");
    EXPECT_EQ(mif.ErrorText(), "Line 2: Unknown statement <FooBar >, skipping");
    ASSERT_EQ(mif.root->GetPropCount(), 3);
    EXPECT_EQ(mif.root->GetProp(0)->value.id, 1);
    MifProp* skipped = mif.root->GetProp(1);
    EXPECT_EQ(skipped->id, kMifDocFileInfo);
    EXPECT_EQ(skipped->type, kMifTypeSkip);
    EXPECT_EQ(skipped->value.dim[0], 0);
    EXPECT_EQ(mif.root->GetProp(2)->value.id, 4);
    EXPECT_EQ(mif.root->GetProp(2)->line, 4);
}

TEST(MifParser, Statements_FNoteByContext)
{
    ParsedMif mif("<Para <ParaLine <FNote 12>>> <Notes <FNote <ID 12> <Para <PgfTag `Footnote'>>>>");
    MifObject* line = mif.root->GetObject(kMifPara)->GetObject(kMifParaLine);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->FindProp(kMifFNote)->type, kMifTypeID);
    EXPECT_EQ(line->FindProp(kMifFNote)->value.id, 12);
    MifObject* note = mif.root->GetObject(kMifNotes)->GetObject(kMifFNote);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->id, kMifFNote);
    EXPECT_NE(note->GetObject(kMifPara), nullptr);
}

TEST(MifParser, Comments_LiveStatementMarker)
{
    ParsedMif mif("#!TQ <Pen 1>\n# <Pen 2>\n<Page # a comment right after the name\n <PageAngle 90>>");
    ASSERT_NE(mif.Prop(kMifPen), nullptr);
    EXPECT_EQ(mif.Prop(kMifPen)->value.id, 1);
    EXPECT_EQ(mif.root->FindProp(kMifPen, false)->value.id, 1);  // the plain comment stayed a comment
    ASSERT_NE(mif.root->GetObject(kMifPage), nullptr);
    EXPECT_DOUBLE_EQ(mif.root->GetObject(kMifPage)->FindProp(kMifPageAngle)->value.number, 90);
    EXPECT_EQ(mif.ErrorText(), "");
}

TEST(MifParser, Lines_CountedOnCRLFAndBoth)
{
    ParsedMif mif("<Pen 1>\r\n<Pen 2>\r<Pen 3>\n\n<Pen x>");
    EXPECT_EQ(mif.root->GetProp(1)->line, 2);
    EXPECT_EQ(mif.root->GetProp(2)->line, 3);
    EXPECT_EQ(mif.ErrorText(), "Line 5: Invalid value for number property: x");
}

TEST(MifParser, Lines_CountedAcrossBlocksAndRuns)
{
    // Blanks, comments and line ends of every kind between statements, long enough to cross the
    // parser's 64 KiB blocks at every offset of a CR LF pair; each Pen records the line it ended on.
    const char* gaps[] = {"\r\n", "\r", "\n", "  \t", "\r\r\n\n", " # note\r\n", "#x\r", "\n\r"};
    std::string mif;
    std::vector<int32> lines;
    int32 line = 1;
    for (int n = 0; mif.size() < 200000; ++n) {
        mif += "<Pen " + std::to_string(n % 7) + ">";
        lines.push_back(line);
        std::string gap = gaps[n % 8];
        if (n % 13 == 0) gap = std::string(n % 29, ' ') + gap;  // shifts the pairs across the block ends
        mif += gap;
        for (size_t i = 0; i < gap.size(); ++i)
            if (gap[i] == '\r' || (gap[i] == '\n' && (i == 0 || gap[i - 1] != '\r'))) ++line;
    }
    mif += "<FooBar 1>";
    ParsedMif parsed(mif);
    ASSERT_EQ(parsed.root->GetPropCount(), static_cast<int32>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(parsed.root->GetProp(static_cast<int32>(i))->line, lines[i]) << i;
    EXPECT_EQ(parsed.ErrorText(), "Line " + std::to_string(line) + ": Unknown statement <FooBar >, skipping");
}

TEST(MifParser, Facets_HexDataNameSizeAndCRC)
{
    ParsedMif mif(
        "<ImportObject\n <ImportObFile `2.0 internal inset'>\n"
        "=TIFF\n&%v\n&\\x\n&4D4D002A\n&00000008\n&\\x\n=EndInset\n <ShapeRect 0 0 1 1>\n>\n<Pen 7>");
    EXPECT_EQ(mif.ErrorText(), "");
    MifObject* object = mif.root->GetObject(kMifImportObject);
    ASSERT_NE(object, nullptr);
    MifPropVal propVal;
    ASSERT_TRUE(object->GetPropVal(kMifInset, propVal));
    MifFacetList* facets = propVal.facets;
    ASSERT_EQ(facets->GetCount(), 1);
    EXPECT_EQ(facets->GetName(0), PMString("TIFF"));
    ASSERT_EQ(facets->GetSize(0), 8);
    const uchar expected[] = {0x4D, 0x4D, 0x00, 0x2A, 0x00, 0x00, 0x00, 0x08};
    EXPECT_EQ(std::memcmp(facets->GetData(0), expected, 8), 0);
    EXPECT_EQ(facets->GetCRC(0), MifFacetList::ComputeCRC32(expected, 8));
    EXPECT_NE(object->FindProp(kMifShapeRect), nullptr);  // statements after the inset still belong to it
    EXPECT_EQ(mif.Prop(kMifPen)->value.id, 7);
    EXPECT_EQ(facets->GetName(5), PMString());
    EXPECT_EQ(facets->GetSize(-1), 0);
}

TEST(MifParser, Facets_ModesEscapesAndSeveralFacets)
{
    ParsedMif mif(
        "<ImportObject\n=A\n&ab\\\\c\\r\\n%x\n&%iskipped\n&%vz\n=B\n&\\xff\\x\n=EndInset\n>");
    MifPropVal propVal;
    ASSERT_TRUE(mif.root->GetObject(kMifImportObject)->GetPropVal(kMifInset, propVal));
    ASSERT_EQ(propVal.facets->GetCount(), 2);
    std::string a(reinterpret_cast<const char*>(propVal.facets->GetData(0)), propVal.facets->GetSize(0));
    EXPECT_EQ(a, "ab\\c\r\n%xz");
    ASSERT_EQ(propVal.facets->GetSize(1), 1);
    EXPECT_EQ(propVal.facets->GetData(1)[0], 0xFF);
    EXPECT_EQ(MifFacetList::ComputeCRC32(reinterpret_cast<const uchar*>("123456789"), 9), 0xCBF43926u);
}

// A parse with lowered limits, so that sizes past them need no gigabytes.
struct LimitedParse {
    LimitedParse(std::string_view mif, int64 facetBytes, int64 stringBytes)
        : parser(CreateObject2<IMifParser>(kMifParserBoss)), errors(parser.get(), IID_IMIFERRORLOG)
    {
        MifParser::Limits limits;
        limits.facetBytes = facetBytes;
        limits.stringBytes = stringBytes;
        static_cast<MifParser*>(parser.get())->SetLimits(limits);
        auto stream = StreamUtil::CreateMemoryStreamRead(mif.data(), mif.size());
        root.reset(parser->Parse(stream.get()));
    }
    std::string ErrorText() const
    {
        std::string text = errors->GetText().GetUTF8String(), out;
        for (char c : text)
            if (c != '\r') out.push_back(c);
        return out;
    }
    InterfacePtr<IMifParser> parser;
    InterfacePtr<IMifErrorLog> errors;
    std::unique_ptr<MifObject> root;
};

TEST(MifParser, Limits_FacetTooLargeIsSkippedAndReported)
{
    // 24 bytes of data against a limit of 16: the facet goes, the next one and the statement stay.
    LimitedParse mif("<MIFFile 9.0>\n<ImportObject\n=TIFF\n&\\x\n&000102030405060708090A0B\n"
                     "&000102030405060708090A0B\n&\\x\n=PICT\n&abc\n=EndInset\n <ShapeRect 0 0 1 1>\n>\n<Pen 7>",
                     16, 1 << 20);
    EXPECT_EQ(mif.ErrorText(), "Line 3: Inset facet too large, skipping: TIFF, more than 16 bytes");
    const MifObject* object = mif.root->GetObject(kMifImportObject);
    ASSERT_NE(object, nullptr);
    MifPropVal propVal;
    ASSERT_TRUE(object->GetPropVal(kMifInset, propVal));
    ASSERT_EQ(propVal.facets->GetCount(), 1);
    EXPECT_EQ(propVal.facets->GetName(0), PMString("PICT"));
    EXPECT_EQ(propVal.facets->GetSize(0), 3);
    EXPECT_NE(object->FindProp(kMifShapeRect), nullptr);
    EXPECT_NE(mif.root->FindProp(kMifPen), nullptr);

    // Exactly at the limit is still a facet.
    LimitedParse exact("<ImportObject\n=A\n&abcd\n=EndInset\n>", 4, 1 << 20);
    EXPECT_EQ(exact.ErrorText(), "");
    ASSERT_TRUE(exact.root->GetObject(kMifImportObject)->GetPropVal(kMifInset, propVal));
    EXPECT_EQ(propVal.facets->GetSize(0), 4);
    // The default bound keeps every facet size within what a facet records.
    EXPECT_LE(MifParser::Limits().facetBytes, int64(INT32_MAX));
}

TEST(MifParser, Limits_StringTooLongIsCutAndReported)
{
    LimitedParse mif("<MIFFile 9.0>\n<String `abcdefghij'>\n<PgfTag `abc'>", 1 << 20, 4);
    EXPECT_EQ(mif.ErrorText(), "Line 2: String too long, cut: more than 4 bytes");
    const MifProp* string = mif.root->FindProp(kMifString);
    ASSERT_NE(string, nullptr);
    EXPECT_EQ(string->value.rawString->GetUTF8String(), "abcd");
    ASSERT_NE(mif.root->FindProp(kMifPgfTag), nullptr);   // reading goes on after the string
    EXPECT_EQ(mif.root->FindProp(kMifPgfTag)->value.rawString->GetUTF8String(), "abc");
}

TEST(MifParser, EndOfFile_ReportedOnceTreeKept)
{
    ParsedMif cut("<Pen 1>\n<Pgf <PgfTag `Body'>\n <PgfFont <FSize 9 pt>");
    EXPECT_EQ(cut.ErrorText(), "Line 3: Unexpected end of file, missing right angle bracket(s)");
    EXPECT_EQ(cut.root->GetPropCount(), 2);
    MifObject* pgf = cut.root->GetObject(kMifPgf);
    ASSERT_NE(pgf, nullptr);
    EXPECT_EQ(Str(pgf->FindProp(kMifPgfTag)), "Body");
    EXPECT_DOUBLE_EQ(pgf->GetObject(kMifPgfFont)->FindProp(kMifFSize)->value.dim[0], 9);

    // Cut inside a string, a keyword, a value: one message each, and no crash.
    for (const char* text : {"<Pgf <PgfTag `Bo", "<Pgf <PgfT", "<FSize 12", "<FSize", "<Pen ", "<", "<Page <Pen 1>"}) {
        ParsedMif mif(text);
        ASSERT_NE(mif.root, nullptr) << text;
        std::string errors = mif.ErrorText();
        EXPECT_NE(errors, "") << text;
        EXPECT_EQ(errors.find('\n'), std::string::npos) << text << ": " << errors;
    }
}

// A signed file cut between two statements loses its end without a bracket missing: the absent
// "# End of MIFFile" line says so. Unsigned files (as some writers make them) need no such line.
TEST(MifParser, SignedFileWithoutItsLastLine_Reported)
{
    const std::string start = "<MIFFile 9.00> # Generated by FrameMaker 9.0p250\r\n<Pgf <PgfTag `Body'>>\r\n";
    ParsedMif whole(start + "<TextFlow <TFTag `A'>> # end of TextFlow\r\n# End of MIFFile\r\n\r\n");
    EXPECT_EQ(whole.ErrorText(), "");
    ParsedMif cut(start);
    EXPECT_EQ(cut.ErrorText(), "Line 3: The file does not end with its \"# End of MIFFile\" line: it may have been cut "
                               "short, and what followed is missing");
    EXPECT_NE(cut.root->GetObject(kMifPgf), nullptr);
    ParsedMif unsigned_("<MIFFile 5.0>\n<Pgf <PgfTag `Body'>>\n");
    EXPECT_EQ(unsigned_.ErrorText(), "");
    // Cut inside a statement: the missing bracket is the one message.
    ParsedMif inside(start + "<TextFlow <TFTag `A'>");
    EXPECT_EQ(inside.ErrorText(), "Line 3: Unexpected end of file, missing right angle bracket(s)");
}

TEST(MifParser, BadBytes_NoCrashNoHang)
{
    ParsedMif empty("");
    ASSERT_NE(empty.root, nullptr);
    EXPECT_EQ(empty.root->GetPropCount(), 0);
    EXPECT_EQ(empty.ErrorText(), "");

    std::string nul("<Pen 1>\0<String `a\0b'>", 22);
    ParsedMif withNul(nul);
    EXPECT_EQ(withNul.root->GetPropCount(), 2);

    ParsedMif invalidUtf8("<MIFFile 9.0><String `\xFF\xC3'>");
    EXPECT_NE(invalidUtf8.Prop(kMifString), nullptr);

    ParsedMif stray("> > = <<< ` ' \\ >");
    ASSERT_NE(stray.root, nullptr);
}

TEST(MifParser, Nesting_BoundedAndReported)
{
    const int levels = MifParser::kMaxNesting + 50;
    std::string deep;
    for (int i = 0; i < levels; ++i) deep += "<Frame ";
    deep += "<Pen 1>";
    for (int i = 0; i < levels; ++i) deep += ">";
    deep += "\n<Pen 2>";
    ParsedMif mif(deep);
    EXPECT_EQ(mif.ErrorText(), "Line 1: Statements nested too deeply, skipping: Frame");
    EXPECT_EQ(mif.root->FindProp(kMifPen)->value.id, 2);  // reading went on after the deep statement

    // A million unclosed brackets: no stack is deep enough for a naive reader.
    ParsedMif unclosed(std::string(1000000, '<'));
    ASSERT_NE(unclosed.root, nullptr);
}

TEST(MifParser, Errors_CountedPastTheListedOnes)
{
    std::string mif;
    for (int i = 0; i < MifParser::kMaxReportedErrors + 5; ++i) mif += "<Nope>\n";
    ParsedMif parsed(mif);
    auto* parser = static_cast<MifParser*>(parsed.parser.get());
    EXPECT_EQ(parser->GetErrorCount(), MifParser::kMaxReportedErrors + 5);
    std::string text = parsed.ErrorText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), MifParser::kMaxReportedErrors);
    EXPECT_NE(text.find("Too many errors, the rest are not listed"), std::string::npos);
}

TEST(MifParser, Progress_TextShownWhileReading)
{
    TaskProgressBar bar("title", 1);
    bar.DoTask("OV#0xB40#kMifParsingMIFKey");
    std::string mif = "<MIFFile 9.0>\n";
    for (int i = 0; i < 300; ++i) mif += "<Pen 1>\n";
    ParsedMif parsed(mif);
    EXPECT_EQ(bar.GetTaskText().GetUTF8String(), "100% / 2 KB processed");
}

TEST(MifParser, Version_MIFFileKeptAndSteersStrings)
{
    ParsedMif mif("<MIFFile 9.00>");
    EXPECT_DOUBLE_EQ(mif.Prop(kMifMIFFile)->value.number, 9.0);
    auto* parser = static_cast<MifParser*>(mif.parser.get());
    EXPECT_DOUBLE_EQ(parser->GetVersion(), 9.0);
    EXPECT_EQ(parser->GetClientData(), -1);
    ParsedMif none("<Pen 1>");
    EXPECT_DOUBLE_EQ(static_cast<MifParser*>(none.parser.get())->GetVersion(), 5.5);
}

TEST(MifParser, Scan_VisitsInnerFirstAndKeepsOnlyWhatTheVisitorKeeps)
{
    // Records each statement as "container>statement" and keeps only FFamily, so the Font body
    // it sees at its end holds that one statement.
    struct Recorder : IMifStatementVisitor {
        bool Visit(const MifObject& body, const MifProp& statement) override
        {
            std::string seen = body.id ? MifKeywordTable::GetName(body.id, kMifTypeObject) : "";
            seen = seen + ">" + MifKeywordTable::GetName(statement.id, statement.type);
            if (statement.type == kMifTypeObject) seen += "(" + std::to_string(statement.value.object->GetPropCount()) + ")";
            visits.push_back(seen);
            return statement.id == kMifFFamily;
        }
        std::vector<std::string> visits;
    } recorder;
    const std::string mif = "<MIFFile 9.0> <Units Upt> <PgfCatalog <Pgf <PgfFont <FFamily `Times'> <FSize 9>>>>";
    InterfacePtr<IMifParser> parser(CreateObject2<IMifParser>(kMifParserBoss));
    auto stream = StreamUtil::CreateMemoryStreamRead(mif.data(), mif.size());
    parser->Scan(stream.get(), recorder);
    EXPECT_EQ(recorder.visits, (std::vector<std::string>{">MIFFile", "PgfFont>FFamily", "PgfFont>FSize",
                                                         "Pgf>PgfFont(1)", "PgfCatalog>Pgf(0)", ">PgfCatalog(0)"}));
    parser->Scan(nullptr, recorder);  // nothing to read: nothing visited
    EXPECT_EQ(recorder.visits.size(), 6u);
}
