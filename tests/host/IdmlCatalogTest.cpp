// IdmlWriter, the document's catalog: swatches (Graphic.xml), fonts (Fonts.xml), paragraph and
// character styles (Styles.xml) and numbering lists (designmap.xml), read back from the package:
// the values InDesign will show, the ids that make the references resolve, and what happens to
// names, values and references InDesign would not take. The whole catalog must also pass the
// package checks, the team's lint and, where Scribus is installed, open in Scribus with its
// styles and colors.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "FontManager.h"
#include "IdmlFontsWriter.h"
#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "Style.h"
#include "StyleUtils.h"
#include "SwatchUtils.h"
#include "TestUtils.h"

#include "host/IdmlPackage.h"
#include "host/IdmlSchema.h"
#include "host/TestDocument.h"

using Strings = std::vector<std::string>;

namespace {

// A font that the tests install, and one that no system has.
constexpr const char* kInstalledFamily = "Tessel Test Serif";
constexpr const char* kMissingFamily = "Frutiger LT Std";

std::string Attr(pugi::xml_node element, const char* name) { return element.attribute(name).value(); }

// The text of <Properties><name>, and its type.
std::string Property(pugi::xml_node element, const char* name) { return element.child("Properties").child_value(name); }
std::string PropertyType(pugi::xml_node element, const char* name)
{
    return element.child("Properties").child(name).attribute("type").value();
}

Strings Children(pugi::xml_node parent, const char* name, const char* attribute)
{
    Strings values;
    for (pugi::xml_node child : parent.children(name)) values.push_back(Attr(child, attribute));
    return values;
}

// The output of `command` (its standard error too); `*status` its exit status.
std::string RunCommand(const std::string& command, int* status)
{
    std::string output;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    *status = ::pclose(pipe);
    return output;
}

Swatch& AddColor(TestDocument& doc, const char* name, SwatchKind kind, double c, double m, double y, double k)
{
    Swatch& swatch = *doc.DB().Create<Swatch>();
    swatch.name = name;
    swatch.kind = kind;
    swatch.cyan = c;
    swatch.magenta = m;
    swatch.yellow = y;
    swatch.black = k;
    doc.Doc().swatches.push_back(swatch.GetUID());
    return swatch;
}

Swatch& AddTint(TestDocument& doc, UID base, double percent)
{
    Swatch& tint = *doc.DB().Create<Swatch>();
    tint.kind = SwatchKind::kTint;
    tint.base = base;
    tint.tint = percent;
    doc.Doc().swatches.push_back(tint.GetUID());
    return tint;
}

Style& AddStyle(TestDocument& doc, StyleKind kind, const char* name, UID basedOn = kInvalidUID)
{
    Style& style = *doc.DB().Create<Style>();
    style.kind = kind;
    style.name = name;
    style.basedOn = basedOn;
    (kind == StyleKind::kParagraph ? doc.Doc().paragraphStyles : doc.Doc().characterStyles).push_back(style.GetUID());
    return style;
}

NumberingList& AddList(TestDocument& doc, const char* name)
{
    NumberingList& list = *doc.DB().Create<NumberingList>();
    list.name = name;
    doc.Doc().lists.push_back(list.GetUID());
    return list;
}

// A document with one of everything the catalog holds, as an import of a MIF file makes it.
struct CatalogDocument {
    CatalogDocument()
    {
        doc.AddSpread(1);
        DataBase& db = doc.DB();
        SwatchUtils::AddDefaultSwatches(db);
        StyleUtils::AddDefaultStyles(db);

        blue = &AddColor(doc, "Brand Blue", SwatchKind::kProcess, 0.9, 0.4, 0, 0.1);
        spot = &AddColor(doc, "PANTONE 185 C", SwatchKind::kSpot, 0, 0.91, 0.76, 0);
        tint = &AddTint(doc, spot->GetUID(), 40);
        tintOfTint = &AddTint(doc, tint->GetUID(), 50);

        FontManager::Get().AddFont(InstalledFont{kInstalledFamily, "Regular", "TesselTestSerif-Regular"});
        FontManager::Get().AddFont(InstalledFont{kInstalledFamily, "Bold", "TesselTestSerif-Bd"});
        serif = DocFontMgr::GetFontFamilyUID(db, kInstalledFamily);
        DocFontMgr::AddStyle(db, serif, "Regular");
        missing = DocFontMgr::GetFontFamilyUID(db, kMissingFamily);
        DocFontMgr::AddStyle(db, missing, "Bold Condensed");

        UID basic = StyleUtils::FindStyle(db, StyleKind::kParagraph, "[Basic Paragraph]");
        emphasis = &AddStyle(doc, StyleKind::kCharacter, "Emphasis");
        AttributeBossList& e = emphasis->attributes;
        e.ApplyAttribute(TextAttribute::kFontFamily, serif);
        e.ApplyAttribute(TextAttribute::kFontStyle, PMString("Bold"));
        e.ApplyAttribute(TextAttribute::kPointSize, PMReal(11));
        e.ApplyAttribute(TextAttribute::kPosition, int32(1));
        e.ApplyAttribute(TextAttribute::kFillColor, tint->GetUID());
        e.ApplyAttribute(TextAttribute::kHorizontalScale, PMReal(0.9));
        e.ApplyAttribute(TextAttribute::kTracking, PMReal(0.05));
        e.ApplyAttribute(TextAttribute::kCapitalization, int32(1));
        e.ApplyAttribute(TextAttribute::kUnderline, int32(2));
        e.ApplyAttribute(TextAttribute::kStrikeThru, true);
        e.ApplyAttribute(TextAttribute::kLeading, PMReal(30));  // a paragraph attribute: not for a character style
        number = &AddStyle(doc, StyleKind::kCharacter, "Number", emphasis->GetUID());
        number->attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Regular"));  // the family is inherited
        number->attributes.ApplyAttribute(TextAttribute::kPosition, int32(2));
        number->attributes.ApplyAttribute(TextAttribute::kUnderline, int32(0));

        chapters = &AddList(doc, "Chapters");
        chapters->continueAcrossStories = true;

        body = &AddStyle(doc, StyleKind::kParagraph, "Body", basic);
        AttributeBossList& b = body->attributes;
        b.ApplyAttribute(TextAttribute::kFillColor, spot->GetUID());
        b.ApplyAttribute(TextAttribute::kLeading, PMReal(14));
        b.ApplyAttribute(TextAttribute::kComposer, int32(1));
        b.ApplyAttribute(TextAttribute::kLeftIndent, PMReal(18));
        b.ApplyAttribute(TextAttribute::kRightIndent, PMReal(9));
        b.ApplyAttribute(TextAttribute::kFirstLineIndent, PMReal(-6));
        b.ApplyAttribute(TextAttribute::kSpaceBefore, PMReal(4));
        b.ApplyAttribute(TextAttribute::kSpaceAfter, PMReal(2.5));
        b.ApplyAttribute(TextAttribute::kStartParagraph, int32(4));
        b.ApplyAttribute(TextAttribute::kJustification, int32(4));
        TabStopTable tabs;
        tabs.Insert(TabStop{144, TabStop::kRight, PMString(), PMString(". ")});
        tabs.Insert(TabStop{36, TabStop::kLeft, PMString(), PMString()});
        tabs.Insert(TabStop{72, TabStop::kCharacter, PMString(","), PMString()});
        tabs.Insert(TabStop{100.5, TabStop::kCenter, PMString(), PMString()});
        b.ApplyAttribute(TextAttribute::kTabStops, tabs);
        b.ApplyAttribute(TextAttribute::kHyphenation, int32(3));
        b.ApplyAttribute(TextAttribute::kMinWordSpacing, PMReal(0.6));
        b.ApplyAttribute(TextAttribute::kDesiredWordSpacing, PMReal(0.8));
        b.ApplyAttribute(TextAttribute::kMaxWordSpacing, PMReal(1.1));
        b.ApplyAttribute(TextAttribute::kKeepWithNext, int32(1));
        b.ApplyAttribute(TextAttribute::kKeepFirstLines, int32(2));
        b.ApplyAttribute(TextAttribute::kKeepLastLines, int32(3));
        b.ApplyAttribute(TextAttribute::kKeepLinesTogether, true);

        heading = &AddStyle(doc, StyleKind::kParagraph, "Heading");
        heading->nextStyle = body->GetUID();
        AttributeBossList& h = heading->attributes;
        h.ApplyAttribute(TextAttribute::kFontFamily, missing);
        h.ApplyAttribute(TextAttribute::kFontStyle, PMString("Bold Condensed"));
        h.ApplyAttribute(TextAttribute::kPointSize, PMReal(18));
        h.ApplyAttribute(TextAttribute::kLeading, PMReal(-1));
        h.ApplyAttribute(TextAttribute::kHyphenation, int32(0));
        h.ApplyAttribute(TextAttribute::kListType, int32(2));
        h.ApplyAttribute(TextAttribute::kAppliedList, chapters->GetUID());
        h.ApplyAttribute(TextAttribute::kNumberingExpression, PMString("Chapter ^1^t"));
        h.ApplyAttribute(TextAttribute::kNumberingStyle, int32(kNumberingUpperRoman));
        h.ApplyAttribute(TextAttribute::kListLevel, int32(1));
        h.ApplyAttribute(TextAttribute::kNumberingCharStyle, number->GetUID());
        h.ApplyAttribute(TextAttribute::kNumberingStartAt, int32(3));
        h.ApplyAttribute(TextAttribute::kNumberingContinue, false);

        step = &AddStyle(doc, StyleKind::kParagraph, "Step", body->GetUID());
        step->attributes.ApplyAttribute(TextAttribute::kListType, int32(2));
        step->attributes.ApplyAttribute(TextAttribute::kAppliedList, StyleUtils::GetDefaultList(db));
        step->attributes.ApplyAttribute(TextAttribute::kNumberingStyle, int32(kNumberingLowerLetters));
        step->attributes.ApplyAttribute(TextAttribute::kListLevel, int32(2));
        step->attributes.ApplyAttribute(TextAttribute::kNumberingExpression, PMString("^2)^t"));
    }

    TestDocument doc;
    Swatch *blue, *spot, *tint, *tintOfTint;
    UID serif, missing;
    Style *emphasis, *number, *body, *heading, *step;
    NumberingList* chapters;
};

IdmlPackage Build(const DataBase& db)
{
    std::string bytes;
    EXPECT_EQ(IdmlWriter::BuildPackage(db, &bytes), kSuccess);
    IdmlPackage package = IdmlPackage::FromBytes(bytes);
    EXPECT_TRUE(package.IsOpen()) << package.GetError();
    EXPECT_EQ(package.Check(), Strings());
    // Every package the catalog tests make is one InDesign's package schema accepts.
    EXPECT_TRUE(IdmlSchema::Validates(bytes));
    return package;
}

} // namespace

TEST(IdmlCatalog, Swatches_ColorsInksAndTints)
{
    CatalogDocument catalog;
    IdmlPackage package = Build(catalog.doc.DB());
    pugi::xml_node graphic = package.Part("Resources/Graphic.xml");

    Strings groups;
    for (pugi::xml_node child : graphic.children())
        if (groups.empty() || groups.back() != child.name()) groups.push_back(child.name());
    EXPECT_EQ(groups, (Strings{"Color", "Ink", "Tint", "Swatch", "StrokeStyle"}));
    // The fixed swatches first, then the document's colors in its order.
    EXPECT_EQ(Children(graphic, "Color", "Self"),
              (Strings{"Color/Black", "Color/Paper", "Color/Registration", "Color/C=100 M=0 Y=0 K=0", "Color/C=0 M=100 Y=0 K=0",
                       "Color/C=0 M=0 Y=100 K=0", "Color/Brand Blue", "Color/PANTONE 185 C"}));
    EXPECT_EQ(Children(graphic, "Swatch", "Self"), Strings{"Swatch/None"});

    pugi::xml_node blue = package.FindSelf("Color/Brand Blue");
    EXPECT_EQ(Attr(blue, "Name"), "Brand Blue");
    EXPECT_EQ(Attr(blue, "Model"), "Process");
    EXPECT_EQ(Attr(blue, "Space"), "CMYK");
    EXPECT_EQ(Attr(blue, "ColorValue"), "90 40 0 10");
    EXPECT_EQ(Attr(blue, "ColorRemovable"), "true");
    pugi::xml_node spot = package.FindSelf("Color/PANTONE 185 C");
    EXPECT_EQ(Attr(spot, "Model"), "Spot");
    EXPECT_EQ(Attr(spot, "ColorValue"), "0 91 76 0");
    // A spot color prints on its own ink, after the four process inks.
    pugi::xml_node ink = package.FindSelf("Ink/PANTONE 185 C");
    ASSERT_TRUE(ink);
    EXPECT_EQ(Attr(ink, "Name"), "PANTONE 185 C");
    EXPECT_EQ(Attr(ink, "TrapOrder"), "5");
    EXPECT_EQ(package.FindAll("Ink").size(), 5u);

    // Tints name their color; a tint of a tint is a tint of the color underneath.
    std::vector<pugi::xml_node> tints = package.FindAll("Tint");
    ASSERT_EQ(tints.size(), 2u);
    EXPECT_EQ(Attr(tints[0], "Self"), "Tint/PANTONE 185 C 40%");
    EXPECT_EQ(Attr(tints[0], "BaseColor"), "Color/PANTONE 185 C");
    EXPECT_EQ(Attr(tints[0], "TintValue"), "40");
    // The tint's model and values are its color's: it repeats none of them.
    for (const char* absent : {"Model", "Space", "ColorValue"}) EXPECT_FALSE(tints[0].attribute(absent)) << absent;
    EXPECT_EQ(Attr(tints[1], "BaseColor"), "Color/PANTONE 185 C");
    EXPECT_EQ(Attr(tints[1], "TintValue"), "20");
    // Text in the tint refers to the tint itself.
    EXPECT_EQ(Attr(package.FindSelf("CharacterStyle/Emphasis"), "FillColor"), "Tint/PANTONE 185 C 40%");
}

TEST(IdmlCatalog, Swatches_OddNamesAndBrokenBases)
{
    TestDocument doc;
    doc.AddSpread(1);
    SwatchUtils::AddDefaultSwatches(doc.DB());
    AddColor(doc, "Ratio 1:2 at 50%", SwatchKind::kProcess, 0.1, 0, 0, 0);
    AddColor(doc, "Twin", SwatchKind::kProcess, 0.2, 0, 0, 0);
    AddColor(doc, "Twin", SwatchKind::kSpot, 0.3, 0, 0, 0);
    AddColor(doc, "Black", SwatchKind::kProcess, 0, 0, 0, 0.8);  // a color of its own called Black
    AddColor(doc, "", SwatchKind::kProcess, 0.25, 0.5, 0, 0);
    PMString lineBreak("Two\nLines");
    lineBreak.AppendW(0x0001);
    AddColor(doc, "", SwatchKind::kProcess, 0, 0, 0, 0).name = lineBreak;
    AddColor(doc, "Loud", SwatchKind::kProcess, 1.5, -0.2, 0, 0);
    AddColor(doc, "Varnish", SwatchKind::kSpot, 0, 0, 0, 0);
    Swatch& ofNone = AddTint(doc, SwatchUtils::GetNoneSwatch(doc.DB()), 50);
    AddTint(doc, 999, 30);
    AddTint(doc, SwatchUtils::GetBlackSwatch(doc.DB()), 30);  // the same color and percent as ofGone
    Swatch& loopA = AddTint(doc, kInvalidUID, 50);
    Swatch& loopB = AddTint(doc, loopA.GetUID(), 50);
    loopA.base = loopB.GetUID();
    Style& text = AddStyle(doc, StyleKind::kParagraph, "Text");
    text.attributes.ApplyAttribute(TextAttribute::kFillColor, ofNone.GetUID());
    Style& dangling = AddStyle(doc, StyleKind::kParagraph, "Dangling");
    dangling.attributes.ApplyAttribute(TextAttribute::kFillColor, UID(4242));
    IdmlPackage package = Build(doc.DB());

    // A swatch's Self holds its name as it is (styles escape theirs).
    EXPECT_EQ(Attr(package.FindSelf("Color/Ratio 1:2 at 50%"), "Name"), "Ratio 1:2 at 50%");
    // Names stay unique, as InDesign wants them, and never take a fixed swatch's place.
    EXPECT_EQ(Attr(package.FindSelf("Color/Twin"), "ColorValue"), "20 0 0 0");
    EXPECT_EQ(Attr(package.FindSelf("Color/Twin 2"), "ColorValue"), "30 0 0 0");
    EXPECT_TRUE(package.FindSelf("Ink/Twin 2"));
    EXPECT_EQ(Attr(package.FindSelf("Ink/Twin 2"), "NeutralDensity"), "0.183");
    // An ink of no color still darkens the paper a little: InDesign takes no density below 0.001.
    EXPECT_EQ(Attr(package.FindSelf("Ink/Varnish"), "NeutralDensity"), "0.001");
    EXPECT_EQ(Attr(package.FindSelf("Color/Black"), "ColorValue"), "0 0 0 100");
    EXPECT_EQ(Attr(package.FindSelf("Color/Black 2"), "ColorValue"), "0 0 0 80");
    // A color without a name is called by its values; line breaks become blanks.
    EXPECT_TRUE(package.FindSelf("Color/C=25 M=50 Y=0 K=0"));
    EXPECT_EQ(Attr(package.FindSelf("Color/Two Lines"), "Name"), "Two Lines");
    EXPECT_EQ(Attr(package.FindSelf("Color/Loud"), "ColorValue"), "100 0 0 0");

    // A tint of None is None; one of a vanished color tints Black; a loop of tints has no color
    // underneath, so it tints Black too. Each keeps an id of its own.
    EXPECT_EQ(Attr(package.FindSelf("ParagraphStyle/Text"), "FillColor"), IdmlIds::kSwatchNone);
    std::vector<pugi::xml_node> tints = package.FindAll("Tint");
    ASSERT_EQ(tints.size(), 4u);
    EXPECT_EQ(Children(package.Part("Resources/Graphic.xml"), "Tint", "Self"),
              (Strings{"Tint/Black 30%", "Tint/Black 30% 2", "Tint/Black 50%", "Tint/Black 50% 2"}));
    for (pugi::xml_node tint : tints) EXPECT_EQ(Attr(tint, "BaseColor"), IdmlIds::kColorBlack);
    // A reference to a swatch the document lacks is left out: the style inherits its color.
    EXPECT_FALSE(package.FindSelf("ParagraphStyle/Dangling").attribute("FillColor"));
}

TEST(IdmlCatalog, Fonts_InstalledAndMissing)
{
    CatalogDocument catalog;
    IdmlPackage package = Build(catalog.doc.DB());
    std::vector<pugi::xml_node> families = package.FindAll("FontFamily");
    ASSERT_EQ(families.size(), 2u);

    // The installed family: the style its text uses, then the one a style sets on it.
    pugi::xml_node serif = families[0];
    EXPECT_EQ(Attr(serif, "Self"), IdmlIds::ForUID(catalog.serif));
    EXPECT_EQ(Attr(serif, "Name"), kInstalledFamily);
    EXPECT_EQ(Children(serif, "Font", "FontStyleName"), (Strings{"Regular", "Bold"}));
    EXPECT_EQ(Children(serif, "Font", "PostScriptName"), (Strings{"TesselTestSerif-Regular", "TesselTestSerif-Bd"}));
    EXPECT_EQ(Children(serif, "Font", "Status"), (Strings{"Installed", "Installed"}));
    EXPECT_EQ(Children(serif, "Font", "FontFamily"), (Strings{kInstalledFamily, kInstalledFamily}));
    EXPECT_EQ(Children(serif, "Font", "Name"), (Strings{"Tessel Test Serif Regular", "Tessel Test Serif Bold"}));

    // The missing one keeps its own family and style, with the PostScript name it would have.
    pugi::xml_node missing = families[1];
    EXPECT_EQ(Attr(missing, "Name"), kMissingFamily);
    EXPECT_EQ(Children(missing, "Font", "FontStyleName"), Strings{"Bold Condensed"});
    EXPECT_EQ(Children(missing, "Font", "PostScriptName"), Strings{"FrutigerLTStd-BoldCondensed"});
    EXPECT_EQ(Children(missing, "Font", "Status"), Strings{"NotAvailable"});

    // An installed family that lacks the style the text asks for shows that style as missing.
    DocFontMgr::AddStyle(catalog.doc.DB(), catalog.serif, "Black Italic");
    IdmlPackage more = Build(catalog.doc.DB());
    pugi::xml_node blackItalic = more.FindAll("FontFamily")[0].find_child_by_attribute("Font", "FontStyleName", "Black Italic");
    EXPECT_EQ(Attr(blackItalic, "Status"), "NotAvailable");
    EXPECT_EQ(Attr(blackItalic, "PostScriptName"), "TesselTestSerif-BlackItalic");
}

TEST(IdmlCatalog, Fonts_GuessedPostScriptNames)
{
    EXPECT_EQ(IdmlFontsWriter::GuessPostScriptName("Frutiger LT Std", "Bold"), "FrutigerLTStd-Bold");
    EXPECT_EQ(IdmlFontsWriter::GuessPostScriptName("Times", ""), "Times");
    // PostScript names are printable ASCII without the delimiters PostScript reserves.
    EXPECT_EQ(IdmlFontsWriter::GuessPostScriptName("Caf\xC3\xA9 (Pro)/[X]", "It%alic"), "CafProX-Italic");
    EXPECT_EQ(IdmlFontsWriter::GuessPostScriptName("\xE6\x98\x8E\xE6\x9C\x9D", "W3"), "Font-W3");
    EXPECT_EQ(IdmlFontsWriter::GuessPostScriptName(PMString(std::string(80, 'A')), "Bold").size(), 63u);
}

TEST(IdmlCatalog, Styles_CharacterAttributes)
{
    CatalogDocument catalog;
    IdmlPackage package = Build(catalog.doc.DB());
    pugi::xml_node emphasis = package.FindSelf("CharacterStyle/Emphasis");
    ASSERT_TRUE(emphasis);
    EXPECT_EQ(Attr(emphasis, "Name"), "Emphasis");
    EXPECT_EQ(Property(emphasis, "AppliedFont"), kInstalledFamily);
    EXPECT_EQ(PropertyType(emphasis, "AppliedFont"), "string");
    EXPECT_EQ(Attr(emphasis, "FontStyle"), "Bold");
    EXPECT_EQ(Attr(emphasis, "PointSize"), "11");
    EXPECT_EQ(Attr(emphasis, "Position"), "Superscript");
    EXPECT_EQ(Attr(emphasis, "HorizontalScale"), "90");
    EXPECT_EQ(Attr(emphasis, "Tracking"), "50");
    EXPECT_EQ(Attr(emphasis, "Capitalization"), "SmallCaps");
    EXPECT_EQ(Attr(emphasis, "Underline"), "true");
    EXPECT_EQ(Property(emphasis, "UnderlineType"), IdmlIds::kStrokeThinThin);  // double
    EXPECT_EQ(Attr(emphasis, "UnderlineWeight"), "1.5");
    EXPECT_EQ(Attr(emphasis, "StrikeThru"), "true");
    // Paragraph attributes have no place in a character style.
    EXPECT_EQ(Property(emphasis, "Leading"), "");
    EXPECT_EQ(PropertyType(emphasis, "BasedOn"), "string");
    EXPECT_EQ(Property(emphasis, "BasedOn"), "$ID/[No character style]");
    EXPECT_FALSE(emphasis.attribute("NextStyle"));

    // A style that sets the font style names the family it inherits.
    pugi::xml_node number = package.FindSelf("CharacterStyle/Number");
    EXPECT_EQ(PropertyType(number, "BasedOn"), "object");
    EXPECT_EQ(Property(number, "BasedOn"), "CharacterStyle/Emphasis");
    EXPECT_EQ(Attr(number, "FontStyle"), "Regular");
    EXPECT_EQ(Property(number, "AppliedFont"), kInstalledFamily);
    EXPECT_EQ(Attr(number, "Position"), "Subscript");
    // No underline under the style's double one: no stroke to go with it.
    EXPECT_EQ(Attr(number, "Underline"), "false");
    EXPECT_EQ(Property(number, "UnderlineType"), "");
    // "[No character style]" stays empty.
    EXPECT_EQ(package.FindAll("CharacterStyle").size(), 3u);
    EXPECT_EQ(Attr(package.FindSelf(IdmlIds::kNoCharacterStyle), "Name"), "$ID/[No character style]");
}

TEST(IdmlCatalog, Styles_ParagraphAttributes)
{
    CatalogDocument catalog;
    IdmlPackage package = Build(catalog.doc.DB());
    pugi::xml_node body = package.FindSelf("ParagraphStyle/Body");
    ASSERT_TRUE(body);
    EXPECT_EQ(Property(body, "BasedOn"), IdmlIds::kBasicParagraphStyle);
    EXPECT_EQ(PropertyType(body, "BasedOn"), "object");
    EXPECT_EQ(Attr(body, "NextStyle"), "ParagraphStyle/Body");  // none named: itself
    EXPECT_EQ(Attr(body, "FillColor"), "Color/PANTONE 185 C");
    EXPECT_EQ(Property(body, "Leading"), "14");
    EXPECT_EQ(PropertyType(body, "Leading"), "unit");
    EXPECT_EQ(Attr(body, "Composer"), "HL Single");
    EXPECT_EQ(Attr(body, "LeftIndent"), "18");
    EXPECT_EQ(Attr(body, "RightIndent"), "9");
    EXPECT_EQ(Attr(body, "FirstLineIndent"), "-6");
    EXPECT_EQ(Attr(body, "SpaceBefore"), "4");
    EXPECT_EQ(Attr(body, "SpaceAfter"), "2.5");
    EXPECT_EQ(Attr(body, "StartParagraph"), "NextOddPage");
    EXPECT_EQ(Attr(body, "Justification"), "LeftJustified");
    EXPECT_EQ(Attr(body, "Hyphenation"), "true");
    EXPECT_EQ(Attr(body, "MinimumWordSpacing"), "80");
    EXPECT_EQ(Attr(body, "DesiredWordSpacing"), "100");
    EXPECT_EQ(Attr(body, "MaximumWordSpacing"), "130");
    EXPECT_EQ(Attr(body, "KeepWithNext"), "1");
    EXPECT_EQ(Attr(body, "KeepFirstLines"), "2");
    EXPECT_EQ(Attr(body, "KeepLastLines"), "3");
    EXPECT_EQ(Attr(body, "KeepLinesTogether"), "true");

    // Tab stops in position order, each a record.
    pugi::xml_node tabs = body.child("Properties").child("TabList");
    EXPECT_EQ(Attr(tabs, "type"), "list");
    Strings stops;
    for (pugi::xml_node item : tabs.children("ListItem")) {
        EXPECT_EQ(Attr(item, "type"), "record");
        stops.push_back(std::string(item.child_value("Alignment")) + " " + item.child_value("Position") + " '" +
                        item.child_value("AlignmentCharacter") + "' '" + item.child_value("Leader") + "'");
    }
    EXPECT_EQ(stops, (Strings{"LeftAlign 36 '.' ''", "CharacterAlign 72 ',' ''", "CenterAlign 100.5 '.' ''", "RightAlign 144 '.' '. '"}));

    pugi::xml_node heading = package.FindSelf("ParagraphStyle/Heading");
    EXPECT_EQ(Property(heading, "BasedOn"), "$ID/[No paragraph style]");
    EXPECT_EQ(PropertyType(heading, "BasedOn"), "string");
    EXPECT_EQ(Attr(heading, "NextStyle"), "ParagraphStyle/Body");
    EXPECT_EQ(Property(heading, "AppliedFont"), kMissingFamily);
    EXPECT_EQ(Attr(heading, "FontStyle"), "Bold Condensed");
    EXPECT_EQ(Property(heading, "Leading"), "Auto");
    EXPECT_EQ(PropertyType(heading, "Leading"), "enumeration");
    EXPECT_EQ(Attr(heading, "Hyphenation"), "false");
}

TEST(IdmlCatalog, Styles_NumberingAndLists)
{
    CatalogDocument catalog;
    IdmlPackage package = Build(catalog.doc.DB());
    pugi::xml_node heading = package.FindSelf("ParagraphStyle/Heading");
    EXPECT_EQ(Attr(heading, "BulletsAndNumberingListType"), "NumberedList");
    EXPECT_EQ(Property(heading, "AppliedNumberingList"), "NumberingList/Chapters");
    EXPECT_EQ(PropertyType(heading, "AppliedNumberingList"), "object");
    EXPECT_EQ(Attr(heading, "NumberingExpression"), "Chapter ^1^t");
    EXPECT_EQ(Property(heading, "NumberingFormat"), "I, II, III, IV...");
    EXPECT_EQ(Attr(heading, "NumberingLevel"), "1");
    EXPECT_EQ(Property(heading, "NumberingCharacterStyle"), "CharacterStyle/Number");
    EXPECT_EQ(PropertyType(heading, "NumberingCharacterStyle"), "object");
    EXPECT_EQ(Attr(heading, "NumberingStartAt"), "3");
    EXPECT_EQ(Attr(heading, "NumberingContinue"), "false");
    pugi::xml_node step = package.FindSelf("ParagraphStyle/Step");
    EXPECT_EQ(Property(step, "AppliedNumberingList"), IdmlIds::kDefaultNumberingList);
    EXPECT_EQ(Property(step, "NumberingFormat"), "a, b, c, d...");
    EXPECT_EQ(Attr(step, "NumberingLevel"), "2");

    // The lists, default first, in designmap after the styles.
    pugi::xml_node designMap = package.Part("designmap.xml");
    EXPECT_EQ(Children(designMap, "NumberingList", "Self"), (Strings{IdmlIds::kDefaultNumberingList, "NumberingList/Chapters"}));
    EXPECT_EQ(Children(designMap, "NumberingList", "Name"), (Strings{"$ID/[Default]", "Chapters"}));
    EXPECT_EQ(Children(designMap, "NumberingList", "ContinueNumbersAcrossStories"), (Strings{"false", "true"}));
    EXPECT_STREQ(designMap.child("NumberingList").previous_sibling().name(), "idPkg:Styles");
}

TEST(IdmlCatalog, Styles_RootsAndOddStyles)
{
    TestDocument doc;
    doc.AddSpread(1);
    StyleUtils::AddDefaultStyles(doc.DB());
    DataBase& db = doc.DB();
    UID none = StyleUtils::FindStyle(db, StyleKind::kParagraph, "[No paragraph style]");
    UID basic = StyleUtils::FindStyle(db, StyleKind::kParagraph, "[Basic Paragraph]");
    db.Get<Style>(none)->attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10));
    db.Get<Style>(basic)->attributes.ApplyAttribute(TextAttribute::kLeading, PMReal(12));
    Style& colon = AddStyle(doc, StyleKind::kParagraph, "Head:1", basic);
    AddStyle(doc, StyleKind::kParagraph, "[Basic Paragraph]");
    AddStyle(doc, StyleKind::kParagraph, "Head:1");
    AddStyle(doc, StyleKind::kParagraph, "");
    Style& loopA = AddStyle(doc, StyleKind::kParagraph, "Loop A");
    Style& loopB = AddStyle(doc, StyleKind::kParagraph, "Loop B", loopA.GetUID());
    loopA.basedOn = loopB.GetUID();
    Style& wrongKind = AddStyle(doc, StyleKind::kCharacter, "Strong");
    Style& crossed = AddStyle(doc, StyleKind::kParagraph, "Crossed", wrongKind.GetUID());
    crossed.nextStyle = wrongKind.GetUID();  // a character style cannot follow a paragraph
    Style& later = AddStyle(doc, StyleKind::kParagraph, "Later");
    AddStyle(doc, StyleKind::kParagraph, "Early", later.GetUID());
    std::swap(doc.Doc().paragraphStyles[doc.Doc().paragraphStyles.size() - 2], doc.Doc().paragraphStyles.back());
    doc.Doc().paragraphStyles.push_back(colon.GetUID());  // listed twice
    doc.Doc().paragraphStyles.push_back(4242);            // gone
    IdmlPackage package = Build(db);

    // The document's root styles are InDesign's: their attributes go there.
    EXPECT_EQ(Attr(package.FindSelf(IdmlIds::kNoParagraphStyle), "PointSize"), "10");
    // Text styles say they were not imported; cell, table and object styles have no such flag.
    EXPECT_EQ(Attr(package.FindSelf(IdmlIds::kBasicParagraphStyle), "Imported"), "false");
    EXPECT_EQ(Attr(package.FindSelf(IdmlIds::kNoCharacterStyle), "Imported"), "false");
    for (const char* self : {IdmlIds::kNoCellStyle, IdmlIds::kBasicTableStyle, IdmlIds::kNormalTextFrameStyle}) {
        ASSERT_TRUE(package.FindSelf(self)) << self;
        EXPECT_FALSE(package.FindSelf(self).attribute("Imported")) << self;
    }
    EXPECT_EQ(Property(package.FindSelf(IdmlIds::kBasicParagraphStyle), "Leading"), "12");
    // Names: escaped in Self, unique, never a root style's.
    EXPECT_EQ(Children(package.Part("Resources/Styles.xml").child("RootParagraphStyleGroup"), "ParagraphStyle", "Self"),
              (Strings{IdmlIds::kNoParagraphStyle, IdmlIds::kBasicParagraphStyle, "ParagraphStyle/Head%3a1",
                       "ParagraphStyle/[Basic Paragraph] 2", "ParagraphStyle/Head%3a1 2", "ParagraphStyle/Paragraph Style 1",
                       "ParagraphStyle/Loop A", "ParagraphStyle/Loop B", "ParagraphStyle/Crossed", "ParagraphStyle/Early",
                       "ParagraphStyle/Later"}));
    EXPECT_EQ(Attr(package.FindSelf("ParagraphStyle/Head%3a1"), "Name"), "Head:1");
    EXPECT_EQ(Attr(package.FindSelf("ParagraphStyle/Head%3a1 2"), "Name"), "Head:1 2");
    // A loop of based-on styles is broken: InDesign takes none.
    EXPECT_EQ(Property(package.FindSelf("ParagraphStyle/Loop A"), "BasedOn"), "$ID/[No paragraph style]");
    EXPECT_EQ(Property(package.FindSelf("ParagraphStyle/Loop B"), "BasedOn"), "$ID/[No paragraph style]");
    // A paragraph style based on, or followed by, a character style: the root, and itself.
    pugi::xml_node crossedElement = package.FindSelf("ParagraphStyle/Crossed");
    EXPECT_EQ(Property(crossedElement, "BasedOn"), "$ID/[No paragraph style]");
    EXPECT_EQ(Attr(crossedElement, "NextStyle"), "ParagraphStyle/Crossed");
    // A style may be based on one listed after it.
    EXPECT_EQ(Property(package.FindSelf("ParagraphStyle/Early"), "BasedOn"), "ParagraphStyle/Later");
}

TEST(IdmlCatalog, Attributes_OutOfRangeAndUnknown)
{
    TestDocument doc;
    doc.AddSpread(1);
    Style& style = AddStyle(doc, StyleKind::kParagraph, "Extreme");
    AttributeBossList& a = style.attributes;
    a.ApplyAttribute(TextAttribute::kPointSize, PMReal(2000));
    a.ApplyAttribute(TextAttribute::kHorizontalScale, PMReal(0));
    a.ApplyAttribute(TextAttribute::kTracking, PMReal(-3));
    a.ApplyAttribute(TextAttribute::kLeading, PMReal(9000));
    a.ApplyAttribute(TextAttribute::kLeftIndent, PMReal(-20));
    a.ApplyAttribute(TextAttribute::kSpaceBefore, PMReal(-4));
    a.ApplyAttribute(TextAttribute::kKeepWithNext, int32(9));
    a.ApplyAttribute(TextAttribute::kKeepFirstLines, int32(0));
    a.ApplyAttribute(TextAttribute::kListLevel, int32(12));
    a.ApplyAttribute(TextAttribute::kNumberingStartAt, int32(0));
    // Word spacing out of order: the desired value holds, the others make room for it.
    a.ApplyAttribute(TextAttribute::kMinWordSpacing, PMReal(1.3));
    a.ApplyAttribute(TextAttribute::kDesiredWordSpacing, PMReal(0.9));
    a.ApplyAttribute(TextAttribute::kMaxWordSpacing, PMReal(0.5));
    // Codes InDesign has no name for, values of the wrong kind, references to nothing.
    a.ApplyAttribute(TextAttribute::kJustification, int32(99));
    a.ApplyAttribute(TextAttribute::kPosition, PMString("up"));
    a.ApplyAttribute(TextAttribute::kSpaceAfter, PMReal(std::numeric_limits<double>::quiet_NaN()));
    a.ApplyAttribute(TextAttribute::kNumberingStyle, int32(kNumberingNone));
    a.ApplyAttribute(TextAttribute::kAppliedList, UID(4242));
    a.ApplyAttribute(TextAttribute::kFontFamily, UID(4243));
    a.ApplyAttribute(TextAttribute::kNumberingCharStyle, style.GetUID());  // a paragraph style
    IdmlPackage package = Build(doc.DB());

    pugi::xml_node element = package.FindSelf("ParagraphStyle/Extreme");
    ASSERT_TRUE(element);
    EXPECT_EQ(Attr(element, "PointSize"), "1296");
    EXPECT_EQ(Attr(element, "HorizontalScale"), "1");
    EXPECT_EQ(Attr(element, "Tracking"), "-1000");
    EXPECT_EQ(Property(element, "Leading"), "5000");
    EXPECT_EQ(Attr(element, "LeftIndent"), "0");
    EXPECT_EQ(Attr(element, "SpaceBefore"), "0");
    EXPECT_EQ(Attr(element, "KeepWithNext"), "5");
    EXPECT_EQ(Attr(element, "KeepFirstLines"), "1");
    EXPECT_EQ(Attr(element, "NumberingLevel"), "9");
    EXPECT_EQ(Attr(element, "NumberingStartAt"), "1");
    EXPECT_EQ(Attr(element, "MinimumWordSpacing"), "110");
    EXPECT_EQ(Attr(element, "DesiredWordSpacing"), "110");
    EXPECT_EQ(Attr(element, "MaximumWordSpacing"), "110");
    for (const char* absent : {"Justification", "Position", "SpaceAfter"})
        EXPECT_FALSE(element.attribute(absent)) << absent;
    for (const char* absent : {"NumberingFormat", "AppliedNumberingList", "AppliedFont", "NumberingCharacterStyle"})
        EXPECT_FALSE(element.child("Properties").child(absent)) << absent;
}

// The team's lint and Scribus on the whole catalog: no errors, and Scribus shows the document's
// paragraph and character styles and colors.
TEST(IdmlCatalog, Readers_LintAndScribus)
{
    std::string tools = std::string(TESSEL_CORPUS_DIR) + "/../tools/idml/";
    CatalogDocument catalog;
    TempFolder folder("idml-catalog");
    std::string path = (folder / "catalog.idml").string();
    ASSERT_EQ(IdmlWriter::Write(catalog.doc.DB(), IDFile(path)), kSuccess);

    int status = -1;
    if (std::system("command -v python3 > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is missing";
    std::string lint = RunCommand("python3 '" + tools + "idml_lint.py' '" + path + "'", &status);
    EXPECT_EQ(status, 0) << lint;
    EXPECT_EQ(lint, "0 errors, 0 warnings\n");

    if (std::system("command -v scribus > /dev/null 2>&1 && command -v xvfb-run > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "Scribus or xvfb-run is missing";
    std::string report = (folder / "report.json").string();
    std::string pdf = (folder / "catalog.pdf").string();
    // What Scribus read, one name a line: "P name", "C name", "K color".
    std::string names = RunCommand("'" + tools + "idml2pdf.sh' -r '" + report + "' '" + path + "' '" + pdf + "' > /dev/null 2>&1 && python3 -c '"
                            "import json,sys; r=json.load(open(sys.argv[1]));"
                            "[print(\"P\", n) for n in r[\"paragraph_styles\"]];"
                            "[print(\"C\", n) for n in r[\"char_styles\"]];"
                            "[print(\"K\", n) for n in r[\"colors\"]]' '" + report + "'",
                            &status);
    ASSERT_EQ(status, 0) << names;
    for (const char* expected : {"P Body\n", "P Heading\n", "P Step\n", "C Emphasis\n", "C Number\n", "K Brand Blue\n",
                                 "K PANTONE 185 C\n", "K Black\n"})
        EXPECT_NE(names.find(expected), std::string::npos) << expected << " not in:\n" << names;
    // A color Scribus could not find keeps the reference as its name.
    EXPECT_EQ(names.find('/'), std::string::npos) << names;
}
