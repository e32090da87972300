// IdmlPackage, the package checker other tests rely on: a package the writer made passes, and
// each fault put into a copy of it is reported.
#include <gtest/gtest.h>

#include <functional>

#include "IdmlWriter.h"
#include "ZipArchiveWriter.h"

#include "host/IdmlPackage.h"
#include "host/IdmlSchema.h"
#include "host/TestDocument.h"

namespace {

using Strings = std::vector<std::string>;
using Edit = std::function<void(std::vector<ZipEntry>&)>;

// A good package: a master applied to a page, a section, a layer.
IdmlPackage GoodPackage()
{
    TestDocument doc;
    MasterSpread& master = doc.AddMaster("A", "Master", 1);
    Spread& spread = doc.AddSpread(1);
    doc.PageOf(spread, 0).appliedMaster = master.GetUID();
    doc.AddLayer("Text");
    std::string bytes;
    EXPECT_EQ(IdmlWriter::BuildPackage(doc.DB(), &bytes), kSuccess);
    return IdmlPackage::FromBytes(bytes);
}

// The bytes of the good package with `edit` applied to its entries.
std::string BrokenBytes(const Edit& edit)
{
    IdmlPackage good = GoodPackage();
    std::vector<ZipEntry> entries;
    for (const std::string& name : good.GetEntryNames()) entries.push_back(ZipEntry{name, good.Entry(name), name != "mimetype"});
    edit(entries);
    std::string bytes;
    EXPECT_EQ(ZipArchiveWriter::Pack(entries, &bytes), kSuccess);
    return bytes;
}

// The good package with `edit` applied to its entries, read back.
IdmlPackage Broken(const Edit& edit) { return IdmlPackage::FromBytes(BrokenBytes(edit)); }

ZipEntry& EntryNamed(std::vector<ZipEntry>& entries, const std::string& prefix)
{
    for (ZipEntry& entry : entries)
        if (entry.name.rfind(prefix, 0) == 0) return entry;
    ADD_FAILURE() << "no entry " << prefix;
    return entries.front();
}

void Replace(std::string& text, const std::string& from, const std::string& to)
{
    size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

// Whether some problem contains `text`.
::testing::AssertionResult Reports(const Strings& problems, const std::string& text)
{
    for (const std::string& problem : problems)
        if (problem.find(text) != std::string::npos) return ::testing::AssertionSuccess();
    ::testing::AssertionResult result = ::testing::AssertionFailure() << "no problem mentions \"" << text << "\"; got:";
    for (const std::string& problem : problems) result << "\n  " << problem;
    return result;
}

} // namespace

TEST(IdmlPackage, Open_GoodAndUnreadable)
{
    IdmlPackage good = GoodPackage();
    ASSERT_TRUE(good.IsOpen()) << good.GetError();
    EXPECT_EQ(good.Check(), Strings());
    EXPECT_STREQ(good.Part("designmap.xml").name(), "Document");
    EXPECT_FALSE(good.Part("Stories/none.xml"));
    EXPECT_EQ(good.Entry("mimetype"), IdmlPackage::kMimeType);

    IdmlPackage junk = IdmlPackage::FromBytes("not a zip at all");
    EXPECT_FALSE(junk.IsOpen());
    EXPECT_TRUE(Reports(junk.Check(), "package: not a ZIP archive"));
    EXPECT_FALSE(IdmlPackage::Open("/no/such/package.idml").IsOpen());
}

TEST(IdmlPackage, Package_MimeTypeFaults)
{
    EXPECT_TRUE(Reports(Broken([](auto& e) { e[0].compress = true; }).CheckPackage(), "mimetype: compressed"));
    EXPECT_TRUE(Reports(Broken([](auto& e) { e[0].data += "\n"; }).CheckPackage(), "mimetype: content"));
    IdmlPackage second = Broken([](auto& e) { std::swap(e[0], e[1]); });
    EXPECT_TRUE(Reports(second.CheckPackage(), "mimetype: not the first entry"));
}

TEST(IdmlPackage, Package_PartFaults)
{
    IdmlPackage malformed = Broken([](auto& e) { EntryNamed(e, "Resources/Styles.xml").data += "<extra/>"; });
    EXPECT_TRUE(Reports(malformed.CheckPackage(), "Resources/Styles.xml: not well formed: 2 root elements"));
    IdmlPackage unclosed = Broken([](auto& e) { Replace(EntryNamed(e, "XML/Tags.xml").data, "</idPkg:Tags>", ""); });
    EXPECT_TRUE(Reports(unclosed.CheckPackage(), "XML/Tags.xml: not well formed: Start-end tags mismatch"));

    IdmlPackage missing = Broken([](auto& e) { e.erase(e.begin() + 3); });  // Resources/Graphic.xml
    EXPECT_TRUE(Reports(missing.CheckPackage(), "src=\"Resources/Graphic.xml\": no such part"));

    IdmlPackage stray = Broken([](auto& e) { e.push_back(ZipEntry{"Stories/Story_u99.xml", "<x DOMVersion=\"8.0\"/>", true}); });
    EXPECT_TRUE(Reports(stray.CheckPackage(), "Stories/Story_u99.xml: not named in designmap.xml"));

    IdmlPackage version = Broken([](auto& e) { Replace(EntryNamed(e, "Resources/Fonts.xml").data, "DOMVersion=\"8.0\"", "DOMVersion=\"7.5\""); });
    EXPECT_TRUE(Reports(version.CheckPackage(), "Resources/Fonts.xml: DOMVersion \"7.5\""));

    IdmlPackage order = Broken([](auto& e) {
        std::string& map = EntryNamed(e, "designmap.xml").data;
        Replace(map, "\t<idPkg:Graphic src=\"Resources/Graphic.xml\" />\n", "");
        Replace(map, "\t<idPkg:BackingStory", "\t<idPkg:Graphic src=\"Resources/Graphic.xml\" />\n\t<idPkg:BackingStory");
    });
    EXPECT_TRUE(Reports(order.CheckPackage(), "designmap.xml: <idPkg:Graphic> after <Section>"));

    IdmlPackage noAid = Broken([](auto& e) { Replace(EntryNamed(e, "designmap.xml").data, "<?aid", "<?other"); });
    EXPECT_TRUE(Reports(noAid.CheckPackage(), "no <?aid"));
}

TEST(IdmlPackage, References_Faults)
{
    IdmlPackage master = Broken([](auto& e) { Replace(EntryNamed(e, "Spreads/").data, "AppliedMaster=\"u2\"", "AppliedMaster=\"u77\""); });
    EXPECT_EQ(master.CheckReferences(),
              Strings{"Spreads/Spread_u4.xml: <Page Self=\"u5\"> AppliedMaster=\"u77\": no element has this Self"});

    IdmlPackage twice = Broken([](auto& e) { Replace(EntryNamed(e, "Spreads/").data, "Self=\"u5\"", "Self=\"u3\""); });
    EXPECT_TRUE(Reports(twice.CheckReferences(), "Self \"u3\" also in"));

    IdmlPackage basedOn = Broken([](auto& e) {
        Replace(EntryNamed(e, "Resources/Styles.xml").data, "<BasedOn type=\"string\">$ID/[No paragraph style]</BasedOn>",
                "<BasedOn type=\"object\">ParagraphStyle/Gone</BasedOn>");
    });
    EXPECT_TRUE(Reports(basedOn.CheckReferences(), "BasedOn=\"ParagraphStyle/Gone\""));

    IdmlPackage list = Broken([](auto& e) { Replace(EntryNamed(e, "designmap.xml").data, "StoryList=\"\"", "StoryList=\"u40 u41\""); });
    EXPECT_TRUE(Reports(list.CheckReferences(), "StoryList=\"u41\""));

    // Frames that disagree about their thread, one of them on a story that does not exist.
    IdmlPackage threads = Broken([](auto& e) {
        Replace(EntryNamed(e, "Spreads/").data, "</Spread>",
                "<TextFrame Self=\"f1\" ParentStory=\"s9\" NextTextFrame=\"f2\" PreviousTextFrame=\"n\" />"
                "<TextFrame Self=\"f2\" ParentStory=\"s9\" NextTextFrame=\"n\" PreviousTextFrame=\"n\" /></Spread>");
    });
    Strings problems = threads.CheckReferences();
    EXPECT_TRUE(Reports(problems, "ParentStory=\"s9\""));
    EXPECT_TRUE(Reports(problems, "TextFrame f1: NextTextFrame f2 does not name it"));
}

// The schema check other tests rely on: it says why it cannot run, and it refuses what the
// package schema has no place for, naming the part.
TEST(IdmlSchema, Unavailable_SaysWhy)
{
    std::string script = std::string(TESSEL_CORPUS_DIR) + "/../tools/idml/validate_schema.sh";
    IdmlSchema unset("", script);
    EXPECT_FALSE(unset.IsAvailable());
    EXPECT_NE(unset.WhyUnavailable().find(IdmlSchema::kVariable), std::string::npos) << unset.WhyUnavailable();
    IdmlSchema empty(TESSEL_TEST_DATA_DIR, script);
    EXPECT_FALSE(empty.IsAvailable());
    EXPECT_NE(empty.WhyUnavailable().find("designmap.rnc"), std::string::npos) << empty.WhyUnavailable();
    IdmlSchema::Result result = empty.Validate("not a package");
    EXPECT_FALSE(result.valid);
    EXPECT_EQ(result.report, empty.WhyUnavailable());
}

TEST(IdmlSchema, Refuses_AttributesTheSchemaLacks)
{
    IdmlSchema schema = IdmlSchema::FromEnvironment();
    ASSERT_TRUE(schema.IsAvailable()) << schema.WhyUnavailable();
    std::string bad = BrokenBytes([](std::vector<ZipEntry>& entries) {
        Replace(EntryNamed(entries, "Resources/Preferences.xml").data, "<DocumentPreference ",
                "<DocumentPreference PageOrientation=\"Portrait\" ");
    });
    IdmlSchema::Result result = schema.Validate(bad);
    EXPECT_FALSE(result.valid);
    EXPECT_NE(result.report.find("FAIL Resources/Preferences.xml"), std::string::npos) << result.report;
    EXPECT_NE(result.report.find("PageOrientation"), std::string::npos) << result.report;
    EXPECT_EQ(result.report.find("designmap.xml"), std::string::npos) << result.report;  // only the bad part
    EXPECT_EQ(result.report.find("[warning]"), std::string::npos) << result.report;
}
