// Every file of the shared corpus parses, and its tree holds as many of the main statements as
// the file does (counted here by pattern, apart from the parser).
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <regex>
#include <sstream>

#include "MifKeywordTable.h"
#include "MifTreePrinter.h"
#include "TestUtils.h"

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
    std::regex pattern("<" + name + "[\\s>]");
    int count = 0;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::string code = line.substr(0, line.find('#')) + " ";  // no MIF writer puts a '#' in these
        count += static_cast<int>(std::distance(std::sregex_iterator(code.begin(), code.end(), pattern), std::sregex_iterator()));
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
        std::regex unknownOnly("(Line \\d+: Unknown statement <\\w+ >, skipping\n?)*");
        EXPECT_TRUE(std::regex_match(errors, unknownOnly)) << errors.substr(0, 500);
        for (const char* name : {"Para", "Tbl", "Page", "Font"})
            EXPECT_EQ(CountInTree(*mif.root, MifKeywordTable::Lookup(name)), CountInText(text, name)) << name;
    }
}
