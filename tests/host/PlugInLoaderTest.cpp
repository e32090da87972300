// Loading plug-in modules: a missing folder, a file that is no module, a module without the
// entry point, and the real Tessel.pln.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "PlugInLoader.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

TEST(PlugInLoader, Problems_NamedOneLineEach)
{
    auto problems = PlugInLoader::LoadFolder(IDFile(fs::path("/no/such/plugins")));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "no plug-ins folder at /no/such/plugins");

    TempFolder temp{"plugin-test"};
    const fs::path& folder = temp.Path();
    problems = PlugInLoader::LoadFolder(IDFile(folder));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("no plug-in (*.pln)"), std::string::npos);

    std::ofstream(folder / "Broken.pln") << "not a shared object";
    int before = PlugInLoader::LoadedCount();
    problems = PlugInLoader::LoadFolder(IDFile(folder));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("cannot load " + (folder / "Broken.pln").string() + ": ", 0), 0u) << problems[0];
    EXPECT_EQ(PlugInLoader::LoadedCount(), before);
}
