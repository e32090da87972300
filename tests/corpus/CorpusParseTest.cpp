// Every file of the shared corpus parses, and its tree holds as many of the main statements as
// the file does (counted here by pattern, apart from the parser).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "TestUtils.h"

#include "mif/MifKeywordTable.h"
#include "mif/MifTreePrinter.h"

namespace {

int CountInTree(const MifObject& object, int32 id)
{
    int count = 0;
    for (const MifProp* prop : object.props) {
        if (prop->id == id) ++count;
        if (prop->type == kMifTypeObject && prop->value.object) count += CountInTree(*prop->value.object, id);
    }
    return count;
}

// Statements opened as "<Name" followed by a blank or '>', outside comments.
int CountInText(const std::string& text, const std::string& name)
{
    const std::string opening = "<" + name;
    int count = 0;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::string code = line.substr(0, line.find('#')) + " ";  // no MIF writer puts a '#' in these
        for (size_t at = code.find(opening); at != std::string::npos; at = code.find(opening, at + 1)) {
            char after = code[at + opening.size()];  // the added blank ends every line
            if (after == '>' || std::isspace(static_cast<unsigned char>(after))) ++count;
        }
    }
    return count;
}

} // namespace

TEST(CorpusParse, EveryFile_StatementCountsMatchTheText)
{
    std::vector<std::filesystem::path> files = CorpusFiles();
    ASSERT_GE(files.size(), 15u) << "corpus not found at " << TESSEL_CORPUS_DIR;
    for (const std::filesystem::path& path : files) {
        SCOPED_TRACE(path.string());
        std::string text = ReadFile(path.string());
        ParsedMif mif(text);
        ASSERT_NE(mif.root, nullptr);
        EXPECT_GT(MifTreePrinter::CountStatements(*mif.root), 100);
        // A file that FrameMaker wrote has no syntax errors beyond keywords newer than the table.
        std::string errors = mif.ErrorText();
        EXPECT_THAT(errors, ::testing::MatchesRegex("(Line [0-9]+: Unknown statement <[A-Za-z0-9_]+ >, skipping\n?)*"))
            << errors.substr(0, 500);
        for (const char* name : {"Para", "Tbl", "Page", "Font"})
            EXPECT_EQ(CountInTree(*mif.root, MifKeywordTable::Lookup(name)), CountInText(text, name)) << name;
    }
}
