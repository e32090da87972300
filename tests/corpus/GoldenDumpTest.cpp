// Whole conversions compared with reviewed dumps of the document model (tests/golden). A change
// that alters what a conversion makes shows up here as a diff to read; run the tests with
// TESSEL_UPDATE_GOLDEN=1 to rewrite the dumps, then review them before committing.
//
// Whether a font is installed depends on the machine, so those fields are left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "CmdUtils.h"
#include "DocumentList.h"
#include "DocumentOpener.h"
#include "IImportProvider.h"
#include "JsonDumpWriter.h"
#include "TestUtils.h"

namespace {

std::string WithoutMachineFacts(const std::string& dump)
{
    std::istringstream lines(dump);
    std::string line, out;
    bool inMissing = false;
    while (std::getline(lines, line)) {
        if (line.find("\"installed\":") != std::string::npos) continue;
        if (line.find("\"missingFonts\":") != std::string::npos) {
            inMissing = line.find(']') == std::string::npos;
            continue;
        }
        if (inMissing) {
            inMissing = line.find(']') == std::string::npos;
            continue;
        }
        out += line + "\n";
    }
    return out;
}

void CheckGolden(const std::filesystem::path& mif, const std::string& goldenName)
{
    SCOPED_TRACE(mif.string());
    UIDRef document;
    PMString message;
    ASSERT_EQ(DocumentOpener::OpenFile(IDFile(mif), kSuppressUI, document, message), kSuccess);
    CmdUtils::ProcessScheduledCmds();
    std::string dump = WithoutMachineFacts(JsonDumpWriter::Dump(*document.GetDataBase()));
    DocumentList::Close(document.GetDataBase());
    std::filesystem::path golden = std::filesystem::path(TESSEL_SOURCE_DIR) / "tests" / "golden" / goldenName;
    if (std::getenv("TESSEL_UPDATE_GOLDEN")) {
        std::ofstream(golden, std::ios::binary) << dump;
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(golden)) << "no reviewed dump for " << mif << ": run with TESSEL_UPDATE_GOLDEN=1 to write " << golden << ", then review it";
    EXPECT_EQ(dump, ReadFile(golden.string())) << "run with TESSEL_UPDATE_GOLDEN=1 to rewrite " << golden;
}

} // namespace

// Every MIF file of the shared corpus, and the sample, each with a reviewed dump named after it.
std::vector<std::filesystem::path> GoldenInputs()
{
    std::vector<std::filesystem::path> inputs{std::filesystem::path(TESSEL_SOURCE_DIR) / "samples" / "sample.mif"};
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(TESSEL_CORPUS_DIR, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file() && it->path().extension() == ".mif") inputs.push_back(it->path());
    std::sort(inputs.begin() + 1, inputs.end());
    return inputs;
}

class GoldenDump : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(GoldenDump, ConversionMatchesTheReviewedDump)
{
    CheckGolden(GetParam(), GetParam().stem().string() + ".json");
}

INSTANTIATE_TEST_SUITE_P(Corpus, GoldenDump, ::testing::ValuesIn(GoldenInputs()),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& info) {
                             std::string name = info.param.stem().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
