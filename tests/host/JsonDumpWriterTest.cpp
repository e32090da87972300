// JsonDumpWriter and the JSON it is made of: the golden dump of a small document, escaping,
// numbers, objects the dump does not know, and writing to a file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ErrorUtils.h"
#include "JsonDumpWriter.h"
#include "JsonValue.h"
#include "TestUtils.h"
#include "host/TestDocument.h"

namespace {

// Reviewed by hand: objects in UID order, keys sorted, references as UIDs, none as null.
const char* kGuideDump = R"json(
{
  "document": 1,
  "format": "tessel-document-dump",
  "objects": [
    {
      "kind": "Document",
      "layers": [7],
      "masterSpreads": [2],
      "name": "Guide.indd",
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
    }
  ],
  "version": 1
}
)json";

// A two-page facing master, one lone right page applying it, a locked layer, a section.
void BuildGuide(TestDocument& doc)
{
    doc.Doc().name = "Guide.indd";
    MasterSpread& master = doc.AddMaster("A", "Master", 2);
    Spread& spread = doc.AddSpread(1, 0);
    doc.PageOf(spread, 0).appliedMaster = master.GetUID();
    doc.AddLayer("Text").locked = true;
    doc.AddSection(doc.PageOf(spread, 0), PageNumberStyle::kLowerRoman, false, 3).marker = "Front";
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
