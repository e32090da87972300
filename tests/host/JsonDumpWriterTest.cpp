// JsonDumpWriter and the JSON it is made of: the golden dump of a small document, escaping,
// numbers, objects the dump does not know, and writing to a file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ErrorUtils.h"
#include "JsonDumpWriter.h"
#include "JsonValue.h"
#include "Style.h"
#include "Swatch.h"
#include "TestUtils.h"

#include "host/TestDocument.h"

namespace {

// Reviewed by hand: objects in UID order, keys sorted, references as UIDs, none as null,
// attributes by name with their values as their kinds print.
const char* kGuideDump = R"json(
{
  "document": 1,
  "format": "tessel-document-dump",
  "objects": [
    {
      "characterStyles": [],
      "crossReferenceFormats": [],
      "crossReferenceSources": [],
      "fontFamilies": [11],
      "kind": "Document",
      "layers": [7],
      "lists": [12],
      "masterSpreads": [2],
      "missingFonts": ["Palatino"],
      "name": "Guide.indd",
      "paragraphStyles": [13],
      "preferences": {
        "facingPages": true,
        "pageHeight": 792,
        "pageWidth": 612,
        "pagesPerSpread": 2,
        "skipByLeading": false,
        "wide": false
      },
      "sections": [8],
      "spreads": [5],
      "stories": [],
      "swatches": [9, 10],
      "textDestinations": [],
      "textVariables": [],
      "uid": 1
    },
    {
      "baseName": "Master",
      "basedOn": null,
      "bindingLocation": 1,
      "kind": "MasterSpread",
      "pageItems": [],
      "pages": [3, 4],
      "prefix": "A",
      "primaryTextFrame": null,
      "uid": 2
    },
    {
      "appliedMaster": null,
      "boundsInSpread": {
        "bottom": 396,
        "left": -612,
        "right": 0,
        "top": -396
      },
      "height": 792,
      "kind": "Page",
      "spread": 2,
      "uid": 3,
      "width": 612
    },
    {
      "appliedMaster": null,
      "boundsInSpread": {
        "bottom": 396,
        "left": 0,
        "right": 612,
        "top": -396
      },
      "height": 792,
      "kind": "Page",
      "spread": 2,
      "uid": 4,
      "width": 612
    },
    {
      "bindingLocation": 0,
      "kind": "Spread",
      "pageItems": [],
      "pages": [6],
      "uid": 5
    },
    {
      "appliedMaster": 2,
      "boundsInSpread": {
        "bottom": 396,
        "left": 0,
        "right": 612,
        "top": -396
      },
      "height": 792,
      "kind": "Page",
      "spread": 5,
      "uid": 6,
      "width": 612
    },
    {
      "kind": "Layer",
      "locked": true,
      "name": "Text",
      "uid": 7,
      "visible": true
    },
    {
      "continueNumbering": false,
      "kind": "Section",
      "marker": "Front",
      "numberingStyle": "LowerRoman",
      "pageNumberStart": 3,
      "startPage": 6,
      "uid": 8
    },
    {
      "base": null,
      "cmyk": [0, 0, 0, 1],
      "kind": "Swatch",
      "name": "Black",
      "reserved": true,
      "swatchKind": "Process",
      "tint": 100,
      "uid": 9
    },
    {
      "base": 9,
      "cmyk": [0, 0, 0, 0],
      "kind": "Swatch",
      "name": "Black 40%",
      "reserved": false,
      "swatchKind": "Tint",
      "tint": 40,
      "uid": 10
    },
    {
      "installed": false,
      "kind": "FontFamily",
      "name": "Palatino",
      "styles": ["Roman", "Bold"],
      "uid": 11
    },
    {
      "continueAcrossStories": false,
      "continueFromPreviousDocument": false,
      "kind": "NumberingList",
      "name": "Steps",
      "reserved": false,
      "uid": 12
    },
    {
      "attributes": {
        "fillColor": 10,
        "fontFamily": 11,
        "fontStyle": "Roman",
        "keepLinesTogether": true,
        "listLevel": 2,
        "pointSize": 10.5,
        "tabStops": [
          {
            "alignCharacter": ".",
            "alignment": 3,
            "leader": " ",
            "position": 72
          }
        ]
      },
      "basedOn": null,
      "kind": "Style",
      "name": "Body",
      "nextStyle": null,
      "reserved": false,
      "styleKind": "Paragraph",
      "uid": 13
    }
  ],
  "version": 2
}
)json";

// A two-page facing master, one lone right page applying it, a locked layer, a section, and the
// text resources: a tint of black, a paragraph style with attributes of every kind of value, a
// numbering list and a missing font family.
void BuildGuide(TestDocument& doc)
{
    DataBase& db = doc.DB();
    doc.Doc().name = "Guide.indd";
    MasterSpread& master = doc.AddMaster("A", "Master", 2);
    Spread& spread = doc.AddSpread(1, 0);
    doc.PageOf(spread, 0).appliedMaster = master.GetUID();
    doc.AddLayer("Text").locked = true;
    doc.AddSection(doc.PageOf(spread, 0), PageNumberStyle::kLowerRoman, false, 3).marker = "Front";

    Swatch& black = *db.Create<Swatch>();
    black.name = "Black";
    black.black = 1;
    black.reserved = true;
    Swatch& grey = *db.Create<Swatch>();
    grey.name = "Black 40%";
    grey.kind = SwatchKind::kTint;
    grey.base = black.GetUID();
    grey.tint = 40;
    doc.Doc().swatches = {black.GetUID(), grey.GetUID()};

    FontFamily& family = *db.Create<FontFamily>();
    family.name = "Palatino";
    family.styles = {"Roman", "Bold"};
    doc.Doc().fontFamilies = {family.GetUID()};
    doc.Doc().missingFonts = {"Palatino"};
    NumberingList& list = *db.Create<NumberingList>();
    list.name = "Steps";
    doc.Doc().lists = {list.GetUID()};

    Style& body = *db.Create<Style>();
    body.name = "Body";
    body.attributes.ApplyAttribute(TextAttribute::kFontFamily, family.GetUID());
    body.attributes.ApplyAttribute(TextAttribute::kFontStyle, PMString("Roman"));
    body.attributes.ApplyAttribute(TextAttribute::kPointSize, PMReal(10.5));
    body.attributes.ApplyAttribute(TextAttribute::kFillColor, grey.GetUID());
    body.attributes.ApplyAttribute(TextAttribute::kListLevel, int32(2));
    body.attributes.ApplyAttribute(TextAttribute::kKeepLinesTogether, true);
    TabStopTable tabs;
    tabs.Insert(TabStop{72, TabStop::kCharacter, ".", " "});
    body.attributes.ApplyAttribute(TextAttribute::kTabStops, tabs);
    doc.Doc().paragraphStyles = {body.GetUID()};
}

std::string Print(const JsonValue& value) { return value.Serialize(); }

class Stranger : public DocObject {};  // a kind of object the dump does not know

} // namespace

TEST(JsonDumpWriter, Dump_GoldenGuide)
{
    TestDocument doc(612, 792, true);
    BuildGuide(doc);
    EXPECT_EQ("\n" + JsonDumpWriter::Dump(doc.DB()), kGuideDump);
}

TEST(JsonDumpWriter, Dump_UnknownKindsAndDanglingReferences)
{
    TestDocument doc;
    Spread& spread = doc.AddSpread(1);
    doc.DB().Create<Stranger>();
    spread.pages.push_back(999);  // names nothing: still dumped as it is
    std::string dump = JsonDumpWriter::Dump(doc.DB());
    EXPECT_NE(dump.find("\"kind\": \"Unknown\",\n      \"uid\": 4\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"pages\": [3, 999]"), std::string::npos) << dump;
}

TEST(JsonValue, Strings_Escaped)
{
    PMString text("quote\" backslash\\ tab\t newline\n bell");
    text.AppendW(0x07);
    text.AppendW(0x2028);                 // JavaScript cannot hold it raw
    text.Append(" caf\xC3\xA9 ");         // UTF-8 stays as it is
    text.AppendCodePoint(0x1F600);
    text.AppendW(0xDC00);                 // an unpaired surrogate becomes U+FFFD
    EXPECT_EQ(Print(JsonValue::String(text)),
              "\"quote\\\" backslash\\\\ tab\\t newline\\n bell\\u0007\\u2028 caf\xC3\xA9 \xF0\x9F\x98\x80\xEF\xBF\xBD\"\n");
    JsonValue object = JsonValue::Object();
    object.Set("k\"ey", JsonValue::Integer(1));
    EXPECT_EQ(Print(object), "{\n  \"k\\\"ey\": 1\n}\n");
}

TEST(JsonValue, Numbers_SameTextEveryRun)
{
    EXPECT_EQ(Print(JsonValue::Real(0.1 + 0.2)), "0.3\n");
    EXPECT_EQ(Print(JsonValue::Real(305.99999999999994)), "306\n");
    EXPECT_EQ(Print(JsonValue::Real(1.0 / 3)), "0.333333\n");
    EXPECT_EQ(Print(JsonValue::Real(-0.0)), "0\n");
    EXPECT_EQ(Print(JsonValue::Real(-1e-9)), "0\n");
    EXPECT_EQ(Print(JsonValue::Real(-612.5)), "-612.5\n");
    EXPECT_EQ(Print(JsonValue::Real(1e15)), "1000000000000000\n");  // never in exponent form
    EXPECT_EQ(Print(JsonValue::Real(std::numeric_limits<double>::quiet_NaN())), "0\n");
    EXPECT_EQ(Print(JsonValue::Real(-std::numeric_limits<double>::infinity())), "0\n");
    EXPECT_EQ(Print(JsonValue::Integer(-9007199254740993)), "-9007199254740993\n");
}

TEST(JsonValue, Layout_SortedKeysAndArrays)
{
    JsonValue root = JsonValue::Object();
    root.Set("b", JsonValue::Array()).Append(JsonValue::Integer(2));
    root.Set("a", JsonValue::Bool(true));
    root.Set("\xC3\xA9", JsonValue());                     // sorts after ASCII
    root.Set("a", JsonValue::Bool(false));                 // replaces
    root.Set("c", JsonValue::Object());
    JsonValue& nested = root.Set("d", JsonValue::Array());
    nested.Append(JsonValue::Object()).Set("x", JsonValue::Real(1.5));
    EXPECT_EQ(Print(root), "{\n"
                           "  \"a\": false,\n"
                           "  \"b\": [2],\n"
                           "  \"c\": {},\n"
                           "  \"d\": [\n"
                           "    {\n"
                           "      \"x\": 1.5\n"
                           "    }\n"
                           "  ],\n"
                           "  \"\xC3\xA9\": null\n"
                           "}\n");
}

TEST(JsonDumpWriter, Write_FileAndFailures)
{
    TestDocument doc(612, 792, true);
    BuildGuide(doc);
    TempFolder folder("json-dump");
    std::filesystem::path out = folder / "guide.json";
    ASSERT_EQ(JsonDumpWriter::Write(doc.DB(), IDFile(out)), kSuccess);
    EXPECT_EQ("\n" + ReadFile(out.string()), kGuideDump);

    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    EXPECT_EQ(JsonDumpWriter::Write(doc.DB(), IDFile(folder / "missing" / "guide.json")), kFileNotFoundError);
    EXPECT_EQ(ErrorUtils::PMGetGlobalErrorCode(), kFileNotFoundError);
    ErrorUtils::PMSetGlobalErrorCode(kSuccess);
    EXPECT_EQ(folder.List(), (std::vector<std::string>{"guide.json"}));
}
