// The package of every file of the shared corpus, and of the sample, is one that InDesign's own
// package schema accepts: every XML part validates against the schema TESSEL_IDML_SCHEMA_DIR
// names, or the one in the shared tools folder (see host/IdmlSchema.h); a missing schema or
// jing fails the test. And the text of every <Content> is the document's text, character for
// character, as InDesign reads it: no line breaks or tabs from the serializer's indentation.
// One test per file, so that the files are checked side by side and a failure names its file.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "CmdUtils.h"
#include "DataBase.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IdmlIds.h"
#include "IdmlWriter.h"
#include "IImportProvider.h"
#include "Story.h"
#include "TestUtils.h"

#include "host/IdmlPackage.h"
#include "host/IdmlSchema.h"

namespace {

std::vector<std::filesystem::path> FilesToValidate()
{
    std::vector<std::filesystem::path> files = CorpusFiles();
    files.push_back(std::filesystem::path(TESSEL_SOURCE_DIR) / "samples" / "sample.mif");
    return files;
}

// "generated_openjade_article_features" for .../corpus/generated/openjade/article-features.mif.
std::string TestName(const std::filesystem::path& path)
{
    std::filesystem::path corpus = std::filesystem::path(TESSEL_CORPUS_DIR).lexically_normal();
    std::filesystem::path relative = path.lexically_normal().lexically_relative(corpus);
    std::string name = relative.empty() || *relative.begin() == ".." ? path.filename().string() : relative.string();
    name = name.substr(0, name.size() - path.extension().string().size());
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

// The page number and footnote number characters stand in <Content> as <?ACE 18?> and
// <?ACE 4?>; both read back as this private-use character.
constexpr char16_t kSpecialCharacter = u'\uE018';

// The text of a <Content> exactly as a reader takes it: every text node, whitespace included,
// with its special characters.
std::u16string ContentText(pugi::xml_node content)
{
    std::string utf8;
    for (pugi::xml_node child : content.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) utf8 += child.value();
        else if (child.type() == pugi::node_pi) utf8 += "\uE018";
        else utf8 += "<" + std::string(child.name()) + ">";  // no element belongs in text
    }
    return PMString(utf8.c_str()).GetUTF16();
}

// The story's characters as <Content> holds them: forced line breaks as U+2028, page numbers as
// the special character. Characters that stand as elements beside <Content> (footnote markers,
// tables, anchored items) split the text, so they become a character no <Content> holds.
std::u16string ModelText(const Story& story)
{
    std::u16string text = story.textModel.GetText(0, story.textModel.TotalLength());
    for (char16_t& c : text) {
        if (c == kTextChar_LF) c = u'\u2028';
        else if (c == kTextChar_PageNumber) c = kSpecialCharacter;
        else if (c < 0x20 && c != kTextChar_Tab) c = u'\0';
    }
    return text;
}

// Every <Content> of every story part is a piece of that story's text. Pieces mostly come in
// the order of the text, so each is looked for from where the last one ended first.
void ExpectContentIsText(DataBase& db, const IdmlPackage& package)
{
    for (const auto& [uid, object] : db.GetObjects()) {
        const auto* story = dynamic_cast<const Story*>(object.get());
        if (!story) continue;
        std::string part = IdmlIds::StoryPart(uid);
        std::string bytes = package.Entry(part);
        ASSERT_FALSE(bytes.empty()) << "no part " << part;
        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_pi | pugi::parse_ws_pcdata));
        std::u16string text = ModelText(*story);
        size_t from = 0;
        for (pugi::xpath_node found : xml.select_nodes("//Content")) {
            std::u16string content = ContentText(found.node());
            std::u16string piece = content;
            // The footnote number is drawn by InDesign, not held in the text.
            if (found.node().parent().parent().parent().name() == std::string("Footnote") && piece == std::u16string(1, kSpecialCharacter)) continue;
            size_t at = text.find(piece, from);
            if (at == std::u16string::npos) at = text.find(piece);
            if (at == std::u16string::npos) {
                ADD_FAILURE() << part << ": <Content> holds text that is not the story's: \""
                              << PMString(content).GetUTF8String() << "\"";
                return;
            }
            from = at + piece.size();
        }
    }
}

class CorpusPackage : public ::testing::TestWithParam<std::filesystem::path> {};

} // namespace

TEST_P(CorpusPackage, PartsValidate_ContentIsText)
{
    IdmlSchema schema = IdmlSchema::FromEnvironment();
    ASSERT_TRUE(schema.IsAvailable()) << schema.WhyUnavailable();
    const std::filesystem::path& path = GetParam();
    UIDRef document;
    PMString message;
    ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
    CmdUtils::ProcessScheduledCmds();
    DataBase* db = document.GetDataBase();
    std::string package;
    ErrorCode built = IdmlWriter::BuildPackage(*db, &package);
    if (built == kSuccess) ExpectContentIsText(*db, IdmlPackage::FromBytes(package));
    DocumentList::Close(db);
    ASSERT_EQ(built, kSuccess);
    IdmlSchema::Result result = schema.Validate(package);
    EXPECT_TRUE(result.valid) << path.string() << ":\n" << result.report;
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusPackage, ::testing::ValuesIn(FilesToValidate()),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& info) { return TestName(info.param); });
