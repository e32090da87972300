// The package of every file of the shared corpus, and of the sample, is one that InDesign's own
// package schema accepts: every XML part validates. Runs when TESSEL_IDML_SCHEMA_DIR names the
// schema (see host/IdmlSchema.h), and skips, saying why, when it does not. One test per file,
// so that the files validate side by side and a failure names its file.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "CmdUtils.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "IdmlWriter.h"
#include "TestUtils.h"
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

class CorpusSchema : public ::testing::TestWithParam<std::filesystem::path> {};

} // namespace

TEST_P(CorpusSchema, EveryPartValidates)
{
    IdmlSchema schema = IdmlSchema::FromEnvironment();
    if (!schema.IsAvailable()) GTEST_SKIP() << schema.WhyUnavailable();
    const std::filesystem::path& path = GetParam();
    UIDRef document;
    PMString message;
    ASSERT_EQ(DocumentOpener::OpenFile(IDFile(path), kSuppressUI, document, message), kSuccess) << message.GetUTF8String();
    CmdUtils::ProcessScheduledCmds();
    DataBase* db = document.GetDataBase();
    std::string package;
    ErrorCode built = IdmlWriter::BuildPackage(*db, &package);
    DocumentList::Close(db);
    ASSERT_EQ(built, kSuccess);
    IdmlSchema::Result result = schema.Validate(package);
    EXPECT_TRUE(result.valid) << path.string() << ":\n" << result.report;
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusSchema, ::testing::ValuesIn(FilesToValidate()),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& info) { return TestName(info.param); });
