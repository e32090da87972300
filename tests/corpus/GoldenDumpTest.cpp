// Whole conversions compared with reviewed dumps of the document model (tests/golden). A change
// that alters what a conversion makes shows up here as a diff to read; run the tests with
// TESSEL_UPDATE_GOLDEN=1 to rewrite the dumps, then review them before committing.
//
// Whether a font is installed depends on the machine, so those fields are left out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
    EXPECT_EQ(dump, ReadFile(golden.string())) << "run with TESSEL_UPDATE_GOLDEN=1 to rewrite " << golden;
}

} // namespace

TEST(GoldenDump, Conversions_MatchTheReviewedDumps)
{
    CheckGolden(std::filesystem::path(TESSEL_SOURCE_DIR) / "samples" / "sample.mif", "sample.json");
    CheckGolden(std::filesystem::path(TESSEL_CORPUS_DIR) / "framemaker" / "Test01.mif", "Test01.json");
    CheckGolden(std::filesystem::path(TESSEL_CORPUS_DIR) / "generated" / "openjade" / "article-features.mif",
                "article-features.json");
}
