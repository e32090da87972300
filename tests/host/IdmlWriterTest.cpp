// IdmlWriter: small documents saved as packages and read back: page geometry, masters, sections,
// layers, the package layout, determinism and failures. Every package must also pass the
// package checks (IdmlPackage::Check) and, when python3 is there, the team's lint.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "CmdUtils.h"
#include "DocumentList.h"
#include "ErrorUtils.h"
#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "NewDocCmd.h"
#include "TestUtils.h"

#include "host/IdmlPackage.h"
#include "host/IdmlSchema.h"
#include "host/TestDocument.h"

using Strings = std::vector<std::string>;

namespace {

IdmlPackage Build(const DataBase& db)
{
    std::string bytes;
    EXPECT_EQ(IdmlWriter::BuildPackage(db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    EXPECT_TRUE(package.IsOpen()) << package.GetError();
    EXPECT_EQ(package.Check(), Strings());
    // Every package these tests make is one InDesign's package schema accepts.
    EXPECT_TRUE(IdmlSchema::Validates(bytes));
    return package;
}

std::string Attr(pugi::xml_node element, const char* name) { return element.attribute(name).value(); }

std::string Self(const DocObject& object) { return IdmlIds::ForUID(object.GetUID()); }

// The document element of the page or spread of `object`.
pugi::xml_node Element(const IdmlPackage& package, const DocObject& object)
{
    pugi::xml_node element = package.FindSelf(Self(object));
    EXPECT_TRUE(element) << "no element for " << Self(object);
    return element;
}

// The parts designmap names with <`kind` src="...">, in order.
Strings Sources(const IdmlPackage& package, const char* kind)
{
    Strings sources;
    for (pugi::xml_node child : package.Part("designmap.xml").children(kind)) sources.push_back(Attr(child, "src"));
    return sources;
}

std::vector<std::string> Names(const std::vector<pugi::xml_node>& elements, const char* attribute = "Name")
{
    std::vector<std::string> names;
    for (pugi::xml_node element : elements) names.push_back(Attr(element, attribute));
    return names;
}

} // namespace

TEST(IdmlWriter, Geometry_SingleLetterPage)
{
    TestDocument doc;
    Spread& spread = doc.AddSpread(1);
    IdmlPackage package = Build(doc.DB());

    pugi::xml_node page = Element(package, doc.PageOf(spread, 0));
    EXPECT_STREQ(page.name(), "Page");
    EXPECT_EQ(Attr(page, "ItemTransform"), "1 0 0 1 -306 -396");
    EXPECT_EQ(Attr(page, "GeometricBounds"), "0 0 792 612");
    EXPECT_EQ(Attr(page, "AppliedMaster"), "n");
    EXPECT_EQ(Attr(page, "Name"), "1");
    pugi::xml_node spreadElement = Element(package, spread);
    EXPECT_EQ(Attr(spreadElement, "PageCount"), "1");
    EXPECT_EQ(Attr(spreadElement, "BindingLocation"), "0");

    pugi::xml_node prefs = package.Part("Resources/Preferences.xml").child("DocumentPreference");
    EXPECT_EQ(Attr(prefs, "PageWidth"), "612");
    EXPECT_EQ(Attr(prefs, "PageHeight"), "792");
    EXPECT_EQ(Attr(prefs, "PagesPerDocument"), "1");
    EXPECT_EQ(Attr(prefs, "FacingPages"), "false");
}

TEST(IdmlWriter, Geometry_FacingSpreads)
{
    TestDocument doc(612, 792, true);
    Spread& first = doc.AddSpread(1, 0);   // a lone right page
    Spread& second = doc.AddSpread(2, 1);  // left and right of the spine
    IdmlPackage package = Build(doc.DB());

    EXPECT_EQ(Attr(Element(package, doc.PageOf(first, 0)), "ItemTransform"), "1 0 0 1 0 -396");
    EXPECT_EQ(Attr(Element(package, doc.PageOf(second, 0)), "ItemTransform"), "1 0 0 1 -612 -396");
    EXPECT_EQ(Attr(Element(package, doc.PageOf(second, 1)), "ItemTransform"), "1 0 0 1 0 -396");
    EXPECT_EQ(Attr(Element(package, first), "BindingLocation"), "0");
    EXPECT_EQ(Attr(Element(package, second), "BindingLocation"), "1");
    EXPECT_EQ(Attr(Element(package, second), "PageCount"), "2");
    EXPECT_EQ(Names(package.FindAll("Page")), (Strings{"1", "2", "3"}));
    pugi::xml_node prefs = package.Part("Resources/Preferences.xml").child("DocumentPreference");
    EXPECT_EQ(Attr(prefs, "FacingPages"), "true");
    EXPECT_EQ(Attr(prefs, "PagesPerDocument"), "3");
    // The spreads are named in page order.
    EXPECT_EQ(Sources(package, "idPkg:Spread"), (Strings{IdmlIds::SpreadPart(first.GetUID()), IdmlIds::SpreadPart(second.GetUID())}));
}

TEST(IdmlWriter, Geometry_WidePages)
{
    TestDocument landscape(792, 612);
    landscape.Doc().preferences.wide = true;
    Spread& spread = landscape.AddSpread(1);
    IdmlPackage package = Build(landscape.DB());
    EXPECT_EQ(Attr(Element(package, landscape.PageOf(spread, 0)), "ItemTransform"), "1 0 0 1 -396 -306");
    EXPECT_EQ(Attr(Element(package, landscape.PageOf(spread, 0)), "GeometricBounds"), "0 0 612 792");
    // The format has no orientation of its own: the page is landscape by its size.
    pugi::xml_node prefs = package.Part("Resources/Preferences.xml").child("DocumentPreference");
    EXPECT_EQ(Attr(prefs, "PageWidth"), "792");
    EXPECT_EQ(Attr(prefs, "PageHeight"), "612");
    EXPECT_FALSE(prefs.attribute("PageOrientation"));

    // A fold-out twice as wide as the document's pages keeps its own size.
    TestDocument foldOut;
    foldOut.AddSpread(1);
    Spread& wide = foldOut.AddSpread(1);
    foldOut.PageOf(wide, 0).width = 1224;
    SpreadLayout::Arrange(foldOut.DB(), wide);
    IdmlPackage widePackage = Build(foldOut.DB());
    pugi::xml_node page = Element(widePackage, foldOut.PageOf(wide, 0));
    EXPECT_EQ(Attr(page, "ItemTransform"), "1 0 0 1 -612 -396");
    EXPECT_EQ(Attr(page, "GeometricBounds"), "0 0 792 1224");
    EXPECT_EQ(Attr(widePackage.Part("Resources/Preferences.xml").child("DocumentPreference"), "PageWidth"), "612");
}

TEST(IdmlWriter, Masters_BasedOnAndApplied)
{
    TestDocument doc(612, 792, true);
    MasterSpread& a = doc.AddMaster("A", "Master", 2);
    MasterSpread& b = doc.AddMaster("B", "Master", 2, &a);
    Spread& spread = doc.AddSpread(2, 1);
    doc.PageOf(spread, 0).appliedMaster = a.GetUID();
    doc.PageOf(spread, 1).appliedMaster = b.GetUID();
    IdmlPackage package = Build(doc.DB());

    pugi::xml_node aElement = Element(package, a);
    EXPECT_STREQ(aElement.name(), "MasterSpread");
    EXPECT_EQ(Attr(aElement, "Name"), "A-Master");
    EXPECT_EQ(Attr(aElement, "NamePrefix"), "A");
    EXPECT_EQ(Attr(aElement, "BaseName"), "Master");
    EXPECT_EQ(Attr(aElement, "PageCount"), "2");
    EXPECT_EQ(Attr(Element(package, b), "Name"), "B-Master");
    // Based on A: each page of B applies A; A's pages apply nothing.
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Attr(Element(package, doc.PageOf(a, i)), "AppliedMaster"), "n");
        EXPECT_EQ(Attr(Element(package, doc.PageOf(b, i)), "AppliedMaster"), Self(a));
        EXPECT_EQ(Attr(Element(package, doc.PageOf(b, i)), "Name"), "B");
    }
    EXPECT_EQ(Attr(Element(package, doc.PageOf(a, 0)), "ItemTransform"), "1 0 0 1 -612 -396");
    EXPECT_EQ(Attr(Element(package, doc.PageOf(spread, 0)), "AppliedMaster"), Self(a));
    EXPECT_EQ(Attr(Element(package, doc.PageOf(spread, 1)), "AppliedMaster"), Self(b));
    EXPECT_EQ(Sources(package, "idPkg:MasterSpread"), (Strings{IdmlIds::MasterSpreadPart(a.GetUID()), IdmlIds::MasterSpreadPart(b.GetUID())}));
}

TEST(IdmlWriter, Masters_BrokenReferencesBecomeNone)
{
    TestDocument doc;
    MasterSpread& a = doc.AddMaster("A", "Master", 1);
    MasterSpread& b = doc.AddMaster("B", "Master", 1, &a);
    a.basedOn = b.GetUID();                                // a loop of bases
    MasterSpread& empty = doc.AddMaster("C", "Empty", 0);  // no pages: cannot be written
    MasterSpread& unlisted = *doc.DB().Create<MasterSpread>();
    Spread& spread = doc.AddSpread(3);
    doc.PageOf(spread, 0).appliedMaster = empty.GetUID();
    doc.PageOf(spread, 1).appliedMaster = unlisted.GetUID();
    doc.PageOf(spread, 2).appliedMaster = spread.pages[0];  // not a master at all
    IdmlPackage package = Build(doc.DB());  // checks that every reference resolves

    EXPECT_FALSE(package.FindSelf(Self(empty)));
    EXPECT_EQ(Names(package.FindAll("Page"), "AppliedMaster"), (Strings{"n", "n", "n", "n", "n"}));
}

TEST(IdmlWriter, Sections_NumberingStylesAndStarts)
{
    TestDocument doc;
    Spread& spread = doc.AddSpread(6);
    Section& front = doc.AddSection(doc.PageOf(spread, 0), PageNumberStyle::kLowerRoman, true);
    front.marker = "Front";
    Section& body = doc.AddSection(doc.PageOf(spread, 2), PageNumberStyle::kArabic, false, 5);
    Section& more = doc.AddSection(doc.PageOf(spread, 4), PageNumberStyle::kUpperLetters, true);
    IdmlPackage package = Build(doc.DB());

    std::vector<pugi::xml_node> sections = package.FindAll("Section");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(Attr(sections[0], "Self"), Self(front));
    EXPECT_EQ(Attr(sections[0], "PageStart"), Self(doc.PageOf(spread, 0)));
    EXPECT_EQ(Attr(sections[0], "Length"), "2");
    EXPECT_EQ(Attr(sections[0], "ContinueNumbering"), "true");
    EXPECT_FALSE(sections[0].attribute("PageNumberStart"));
    EXPECT_EQ(Attr(sections[0], "Marker"), "Front");
    EXPECT_EQ(std::string(sections[0].child("Properties").child_value("PageNumberStyle")), "LowerRoman");
    EXPECT_EQ(Attr(sections[0].child("Properties").child("PageNumberStyle"), "type"), "enumeration");

    EXPECT_EQ(Attr(sections[1], "Self"), Self(body));
    EXPECT_EQ(Attr(sections[1], "PageStart"), Self(doc.PageOf(spread, 2)));
    EXPECT_EQ(Attr(sections[1], "ContinueNumbering"), "false");
    EXPECT_EQ(Attr(sections[1], "PageNumberStart"), "5");
    EXPECT_EQ(std::string(sections[1].child("Properties").child_value("PageNumberStyle")), "Arabic");
    EXPECT_EQ(Attr(sections[2], "Self"), Self(more));
    EXPECT_EQ(std::string(sections[2].child("Properties").child_value("PageNumberStyle")), "UpperLetters");

    // The pages show the numbers their sections give them; the last section numbers on.
    EXPECT_EQ(Names(package.FindAll("Page")), (Strings{"i", "ii", "5", "6", "G", "H"}));
}

TEST(IdmlWriter, Sections_FirstPageAlwaysStartsOne)
{
    TestDocument doc;
    Spread& spread = doc.AddSpread(3);
    doc.AddSection(doc.PageOf(spread, 1), PageNumberStyle::kUpperRoman, false, 4);
    IdmlPackage package = Build(doc.DB());

    std::vector<pugi::xml_node> sections = package.FindAll("Section");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(Attr(sections[0], "Self"), IdmlIds::kImpliedSection);
    EXPECT_EQ(Attr(sections[0], "PageStart"), Self(doc.PageOf(spread, 0)));
    EXPECT_EQ(Attr(sections[0], "Length"), "1");
    EXPECT_EQ(Attr(sections[1], "Length"), "2");
    EXPECT_EQ(Names(package.FindAll("Page")), (Strings{"1", "IV", "V"}));
}

TEST(IdmlWriter, Layers_BackToFrontWithDefault)
{
    TestDocument doc;
    doc.AddSpread(1);
    IdmlPackage plain = Build(doc.DB());
    std::vector<pugi::xml_node> layers = plain.FindAll("Layer");
    ASSERT_EQ(layers.size(), 1u);
    EXPECT_EQ(Attr(layers[0], "Name"), "Layer 1");
    EXPECT_EQ(Attr(plain.Part("designmap.xml"), "ActiveLayer"), Attr(layers[0], "Self"));

    Layer& front = doc.AddLayer("Front");
    Layer& back = doc.AddLayer("Back");
    back.visible = false;
    back.locked = true;
    IdmlPackage package = Build(doc.DB());
    EXPECT_EQ(Names(package.FindAll("Layer")), (Strings{"Back", "Front"}));
    EXPECT_EQ(Attr(Element(package, back), "Visible"), "false");
    EXPECT_EQ(Attr(Element(package, back), "Locked"), "true");
    EXPECT_EQ(Attr(Element(package, front), "Visible"), "true");
    EXPECT_EQ(Attr(package.Part("designmap.xml"), "ActiveLayer"), Self(front));
}

TEST(IdmlWriter, Package_LayoutAndBuiltIns)
{
    TestDocument doc;
    doc.Doc().name = "Report.indd";
    MasterSpread& master = doc.AddMaster("A", "Master", 1);
    Spread& spread = doc.AddSpread(1);
    IdmlPackage package = Build(doc.DB());

    EXPECT_EQ(package.GetEntryNames(), (Strings{"mimetype", "designmap.xml", "META-INF/container.xml", "Resources/Graphic.xml",
                            "Resources/Fonts.xml", "Resources/Styles.xml", "Resources/Preferences.xml", "XML/Tags.xml",
                            IdmlIds::MasterSpreadPart(master.GetUID()), IdmlIds::SpreadPart(spread.GetUID()),
                            "XML/BackingStory.xml"}));
    std::vector<std::string> children;
    for (pugi::xml_node child : package.Part("designmap.xml").children()) children.push_back(child.name());
    EXPECT_EQ(children, (Strings{"Language", "idPkg:Graphic", "idPkg:Fonts", "idPkg:Styles", "NumberingList", "idPkg:Preferences",
                                      "idPkg:Tags", "Layer", "idPkg:MasterSpread", "idPkg:Spread", "Section",
                                      "idPkg:BackingStory"}));
    std::string designMap = package.Entry("designmap.xml");
    EXPECT_EQ(designMap.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<?aid style=\"50\" "
                              "type=\"document\" readerVersion=\"6.0\" featureSet=\"257\" product=\"",
                              0),
              0u);
    EXPECT_EQ(Attr(package.Part("designmap.xml"), "Name"), "Report.indd");
    EXPECT_EQ(Attr(package.Part("designmap.xml"), "Self"), "d");

    // Graphic.xml: colours, inks, swatches, stroke styles, in that order, with the four swatches
    // every document has.
    std::vector<std::string> graphic;
    for (pugi::xml_node child : package.Part("Resources/Graphic.xml").children())
        if (graphic.empty() || graphic.back() != child.name()) graphic.push_back(child.name());
    EXPECT_EQ(graphic, (Strings{"Color", "Ink", "Swatch", "StrokeStyle"}));
    for (const char* swatch : {"Swatch/None", "Color/Paper", "Color/Black", "Color/Registration"})
        EXPECT_TRUE(package.FindSelf(swatch)) << swatch;
    EXPECT_EQ(Attr(package.FindSelf("Color/Black"), "Name"), "Black");

    // Styles.xml: the root styles, "[Basic Paragraph]" based on "[No paragraph style]", named as
    // InDesign names a root style.
    for (const char* style : {IdmlIds::kNoParagraphStyle, IdmlIds::kBasicParagraphStyle, IdmlIds::kNoCharacterStyle,
                              IdmlIds::kNoObjectStyle, IdmlIds::kNormalGraphicsFrameStyle, IdmlIds::kNormalTextFrameStyle,
                              IdmlIds::kNoTableStyle, IdmlIds::kBasicTableStyle, IdmlIds::kNoCellStyle})
        EXPECT_TRUE(package.FindSelf(style)) << style;
    pugi::xml_node basic = package.FindSelf(IdmlIds::kBasicParagraphStyle);
    EXPECT_EQ(Attr(basic, "Name"), "$ID/NormalParagraphStyle");
    pugi::xml_node basedOn = basic.child("Properties").child("BasedOn");
    EXPECT_EQ(Attr(basedOn, "type"), "string");
    EXPECT_STREQ(basedOn.text().get(), "$ID/[No paragraph style]");
}

TEST(IdmlWriter, Package_TextThatXmlCannotHold)
{
    TestDocument doc;
    doc.AddSpread(1);
    PMString name("Q&A <\"draft\">");
    name.AppendW(0x0001);            // a control character XML 1.0 forbids
    name.AppendW(0xD800);            // an unpaired surrogate
    name.AppendCodePoint(0x1F600);   // a pair, kept
    name.Append(" \xC3\xA9t\xC3\xA9");
    doc.AddLayer("").name = name;
    IdmlPackage package = Build(doc.DB());
    EXPECT_EQ(Attr(package.FindAll("Layer").at(0), "Name"), "Q&A <\"draft\">\xF0\x9F\x98\x80 \xC3\xA9t\xC3\xA9");
}

TEST(IdmlWriter, Determinism_SameModelSameBytes)
{
    auto makeDocument = [](TestDocument& doc) {
        MasterSpread& master = doc.AddMaster("A", "Master", 2);
        Spread& first = doc.AddSpread(1, 0);
        doc.AddSpread(2, 1);
        doc.PageOf(first, 0).appliedMaster = master.GetUID();
        doc.AddLayer("Text");
        doc.AddSection(doc.PageOf(first, 0), PageNumberStyle::kLowerRoman, false, 3);
    };
    TestDocument one(612, 792, true), two(612, 792, true);
    makeDocument(one);
    makeDocument(two);
    TempFolder folder("idml-determinism");
    ASSERT_EQ(IdmlWriter::Write(one.DB(), IDFile(folder / "a.idml")), kSuccess);
    // The ZIP dates must not follow the time zone.
    const char* zone = std::getenv("TZ");
    std::string savedZone = zone ? zone : "";
    setenv("TZ", "Pacific/Kiritimati", 1);
    tzset();
    ErrorCode second = IdmlWriter::Write(one.DB(), IDFile(folder / "b.idml"));
    zone ? setenv("TZ", savedZone.c_str(), 1) : unsetenv("TZ");
    tzset();
    ASSERT_EQ(second, kSuccess);
    ASSERT_EQ(IdmlWriter::Write(two.DB(), IDFile(folder / "c.idml")), kSuccess);

    std::string a = ReadFile((folder / "a.idml").string());
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a == ReadFile((folder / "b.idml").string()));
    EXPECT_TRUE(a == ReadFile((folder / "c.idml").string()));
}

TEST(IdmlWriter, Errors_NothingWrittenOnFailure)
{
    TempFolder folder("idml-errors");
    std::filesystem::path out = folder / "out.idml";
    {
        std::FILE* old = std::fopen(out.c_str(), "wb");
        ASSERT_TRUE(old);
        std::fputs("previous version", old);
        std::fclose(old);
    }
    TestDocument empty;  // no pages: no layout program can open it
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    EXPECT_EQ(IdmlWriter::Write(empty.DB(), IDFile(out)), kInvalidParameterError);
    EXPECT_EQ(ErrorUtils::PMGetGlobalErrorCode(), kInvalidParameterError);
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);

    TestDocument doc;
    doc.AddSpread(1);
    EXPECT_EQ(IdmlWriter::Write(doc.DB(), IDFile(folder / "missing" / "out.idml")), kFileNotFoundError);
    EXPECT_EQ(IdmlWriter::Write(doc.DB(), IDFile(folder.Path())), kInvalidParameterError);
    EXPECT_EQ(IdmlWriter::Write(doc.DB(), IDFile(out / "out.idml")), kFileNotFoundError);  // a file as folder
    EXPECT_EQ(ReadFile(out.string()), "previous version");
    EXPECT_EQ(folder.List(), (Strings{"out.idml"}));

    ASSERT_EQ(IdmlWriter::Write(doc.DB(), IDFile(out)), kSuccess);  // replaces the old file
    EXPECT_TRUE(IdmlPackage::Open(out.string()).IsOpen());
    EXPECT_EQ(folder.List(), (Strings{"out.idml"}));
}

// The team's lint (../shared/tools/idml/idml_lint.py) on a package with every kind of object the
// writer knows; it must report nothing at all.
namespace {

// Facing pages under two masters, one based on the other, two layers and two sections.
void AddMastersLayersAndSections(TestDocument& doc)
{
    MasterSpread& a = doc.AddMaster("A", "Master", 2);
    MasterSpread& b = doc.AddMaster("B", "Master", 2, &a);
    Spread& first = doc.AddSpread(1, 0);
    Spread& second = doc.AddSpread(2, 1);
    doc.PageOf(first, 0).appliedMaster = a.GetUID();
    doc.PageOf(second, 0).appliedMaster = b.GetUID();
    doc.AddLayer("Text");
    doc.AddLayer("Art");
    doc.AddSection(doc.PageOf(first, 0), PageNumberStyle::kLowerRoman, true);
    doc.AddSection(doc.PageOf(second, 0), PageNumberStyle::kArabic, false, 1);
}

} // namespace

TEST(IdmlWriter, Lint_CleanPackage)
{
    std::string lint = std::string(TESSEL_CORPUS_DIR) + "/../tools/idml/idml_lint.py";
    if (std::system("command -v python3 > /dev/null 2>&1") != 0 || !std::filesystem::exists(lint))
        GTEST_SKIP() << "python3 or " << lint << " is missing";
    TestDocument doc(612, 792, true);
    AddMastersLayersAndSections(doc);
    TempFolder folder("idml-lint");
    ASSERT_EQ(IdmlWriter::Write(doc.DB(), IDFile(folder / "lint.idml")), kSuccess);

    std::string command = "python3 '" + lint + "' '" + (folder / "lint.idml").string() + "' 2>&1";
    std::string output;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int status = ::pclose(pipe);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "0 errors, 0 warnings\n");
}

// InDesign's package schema accepts masters based on masters, layers and sections.
TEST(IdmlWriter, Schema_MastersLayersAndSections)
{
    IdmlSchema schema = IdmlSchema::FromEnvironment();
    ASSERT_TRUE(schema.IsAvailable()) << schema.WhyUnavailable();
    TestDocument doc(612, 792, true);
    AddMastersLayersAndSections(doc);
    std::string package;
    ASSERT_EQ(IdmlWriter::BuildPackage(doc.DB(), &package), kSuccess);
    IdmlSchema::Result result = schema.Validate(package);
    EXPECT_TRUE(result.valid) << result.report;
}

// A document as the host's New Document command makes it (with the swatches, styles and layer
// it adds) saves as a package whose pages the command laid out.
TEST(IdmlWriter, NewDocument_FromCommand)
{
    auto newDoc = std::make_shared<NewDocCmd>();
    newDoc->GetData().pagesPerSpread = 2;
    newDoc->GetData().numPages = 4;
    ASSERT_EQ(CmdUtils::ProcessCommand(newDoc), kSuccess);
    DataBase* db = newDoc->GetItemList().GetDataBase();
    IdmlPackage package = Build(*db);
    DocumentList::Close(db);

    EXPECT_EQ(Names(package.FindAll("Spread"), "PageCount"), (Strings{"1", "2", "1"}));
    EXPECT_EQ(Names(package.FindAll("Page"), "ItemTransform"),
              (Strings{"1 0 0 1 -612 -396", "1 0 0 1 0 -396",                       // A-Master
                       "1 0 0 1 0 -396", "1 0 0 1 -612 -396", "1 0 0 1 0 -396", "1 0 0 1 -612 -396"}));
    EXPECT_EQ(Names(package.FindAll("Layer")), (Strings{"Layer 1"}));
    EXPECT_EQ(package.FindAll("Section").size(), 1u);
}
