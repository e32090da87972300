// The parts of tessel ui that decide what the server accepts: the guard (token, Host, Origin),
// the folder that paths are kept below, and how a worker's output is read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "UiFolder.h"
#include "UiGuard.h"
#include "UiJobs.h"

namespace fs = std::filesystem;

TEST(UiGuard, RefusesForeignHostsOriginsAndMissingTokens)
{
    UiGuard guard(8123, "0123456789abcdef0123456789abcdef");
    const std::string cookie = "theme=dark; tessel-token=0123456789abcdef0123456789abcdef";
    EXPECT_EQ(guard.Refusal("127.0.0.1:8123", "", cookie, ""), "");
    EXPECT_EQ(guard.Refusal("localhost:8123", "http://localhost:8123", "", "0123456789abcdef0123456789abcdef"), "");
    EXPECT_EQ(guard.Refusal("127.0.0.1:8123", "http://127.0.0.1:8123", cookie, ""), "");

    // DNS rebinding: a foreign name that resolves to the loopback address.
    EXPECT_NE(guard.Refusal("evil.example:8123", "", cookie, ""), "");
    EXPECT_NE(guard.Refusal("127.0.0.1:8124", "", cookie, ""), "");
    EXPECT_NE(guard.Refusal("127.0.0.1", "", cookie, ""), "");
    EXPECT_NE(guard.Refusal("", "", cookie, ""), "");
    // A page elsewhere, even one served by another loopback port.
    EXPECT_NE(guard.Refusal("127.0.0.1:8123", "http://evil.example", cookie, ""), "");
    EXPECT_NE(guard.Refusal("127.0.0.1:8123", "http://127.0.0.1:9000", cookie, ""), "");
    EXPECT_NE(guard.Refusal("127.0.0.1:8123", "null", cookie, ""), "");
    // The token: missing, wrong, a prefix, or in another cookie's name.
    EXPECT_NE(guard.Refusal("127.0.0.1:8123", "", "", ""), "");
    EXPECT_NE(guard.Refusal("127.0.0.1:8123", "", "tessel-token=0123", "0123"), "");
    EXPECT_NE(guard.Refusal("127.0.0.1:8123", "", "xtessel-token=0123456789abcdef0123456789abcdef", ""), "");

    EXPECT_EQ(UiGuard::CookieValue("a=1;  tessel-token=x ;b=2", "tessel-token"), "x ");
    EXPECT_EQ(UiGuard::CookieValue("a=1", "tessel-token"), "");
    // Two guards never share a token.
    EXPECT_EQ(UiGuard(1).GetToken().size(), 32u);
    EXPECT_NE(UiGuard(1).GetToken(), UiGuard(1).GetToken());
}

TEST(UiFolder, KeepsPathsBelowTheFolder)
{
    TempFolder temp("ui-folder");
    fs::create_directories(temp / "root/sub");
    fs::create_directories(temp / "outside");
    std::ofstream(temp / "root/sub/a.mif") << "<MIFFile 2015>";
    std::ofstream(temp / "root/.hidden") << "";
    std::ofstream(temp / "outside/secret.mif") << "";
    fs::create_symlink(temp / "outside", temp / "root/link-out");
    fs::create_symlink(temp / "outside/secret.mif", temp / "root/secret.mif");
    fs::create_symlink(temp / "root/sub", temp / "root/link-in");

    UiFolder folder(temp / "root");
    ASSERT_TRUE(folder.IsValid());
    std::string why;
    EXPECT_EQ(folder.Resolve("sub/a.mif", true, why), fs::canonical(temp / "root/sub/a.mif"));
    EXPECT_EQ(folder.Resolve("", true, why), fs::canonical(temp / "root"));
    EXPECT_EQ(folder.Resolve("link-in/a.mif", true, why), fs::canonical(temp / "root/sub/a.mif")) << "a link that stays inside";
    EXPECT_EQ(folder.Resolve("sub/new.tqp", false, why), fs::canonical(temp / "root/sub") / "new.tqp") << "a file to save";

    for (const char* refused : {"../outside/secret.mif", "sub/../../outside", "/etc/passwd", "link-out/secret.mif",
                                "secret.mif", "link-out", "missing.mif", "nowhere/new.tqp"}) {
        why.clear();
        EXPECT_FALSE(folder.Resolve(refused, !std::string(refused).starts_with("nowhere"), why)) << refused;
        EXPECT_FALSE(why.empty()) << refused;
    }
    EXPECT_FALSE(folder.Resolve("link-out/new.tqp", false, why)) << "saving through a link out";
    EXPECT_FALSE(folder.Resolve(std::string("a\0b", 3), true, why));

    std::optional<JsonValue> list = folder.List("", why);
    ASSERT_TRUE(list);
    std::string text = list->Serialize();
    // Folders first, then files; hidden names left out.
    EXPECT_LT(text.find("\"link-in\""), text.find("\"sub\""));
    EXPECT_LT(text.find("\"sub\""), text.find("\"secret.mif\""));
    EXPECT_EQ(text.find(".hidden"), std::string::npos);
    EXPECT_FALSE(folder.List("..", why));
    EXPECT_FALSE(folder.List("sub/a.mif", why)) << "a file is not a folder";
    EXPECT_FALSE(UiFolder(temp / "missing").IsValid());
}

TEST(UiJobs, ReadsWarningGroupsAndProgressLines)
{
    std::string report =
        "There were errors when parsing the MIF:\r\n"
        "Line 12: Unknown statement <Foo >, skipping\n"
        "Line 13: Unknown statement <Bar >, skipping\n"
        "\n"
        "There were errors when importing the MIF:\n"
        "The table 4 has no rows: it is left out\n"
        "Overset text (stories whose text does not fit their frames):\n"
        "  story 12 (\"Intro\"): 40 of 90 characters do not fit\n";
    std::vector<UiJobs::WarningGroup> groups = UiJobs::GroupWarnings(report);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].heading, "There were errors when parsing the MIF:");
    EXPECT_EQ(groups[0].lines, (std::vector<std::string>{"Line 12: Unknown statement <Foo >, skipping",
                                                         "Line 13: Unknown statement <Bar >, skipping"}));
    EXPECT_EQ(groups[1].lines.size(), 1u);
    EXPECT_EQ(groups[2].lines, (std::vector<std::string>{"story 12 (\"Intro\"): 40 of 90 characters do not fit"}));
    // Lines before any heading keep a group without one.
    EXPECT_EQ(UiJobs::GroupWarnings("lone line\n").front().heading, "");
    EXPECT_TRUE(UiJobs::GroupWarnings("").empty());

    double fraction = -1;
    std::string title, task;
    ASSERT_TRUE(UiJobs::ParseProgress("tessel-progress\t0.250\tOpening MIF document\tReading text flows", fraction, title, task));
    EXPECT_DOUBLE_EQ(fraction, 0.25);
    EXPECT_EQ(title, "Opening MIF document");
    EXPECT_EQ(task, "Reading text flows");
    EXPECT_TRUE(UiJobs::ParseProgress("tessel-progress\t1\tDone", fraction, title, task));
    EXPECT_EQ(task, "");
    for (const char* wrong : {"tessel convert: wrote x.idml", "tessel-progress\tabc\tT\tX", "tessel-progress\t2\tT\tX",
                              "tessel-progress\t0.5", "tessel-progress\t\tT\tX"})
        EXPECT_FALSE(UiJobs::ParseProgress(wrong, fraction, title, task)) << wrong;
}
