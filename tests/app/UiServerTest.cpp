// tessel ui, through its HTTP API as the page uses it: the refusals of the guard, the
// preferences dialog driven by widget events (with the messages the command line shows), file
// dialogs and conversions kept inside the folder, uploads limited in size, and a server that
// keeps serving under many requests and stops on Ctrl-C.
#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "TempFolder.h"
#include "TestUtils.h"
#include "app/TesselRun.h"

#include "prefs/MifPrefsDialogIDs.h"

namespace fs = std::filesystem;

namespace {
// A tessel ui server of its own, with its own settings, serving `folder`.
class UiProcess {
public:
    UiProcess(const fs::path& config, const fs::path& folder)
    {
        int out[2];
        if (::pipe(out) != 0) return;
        mPid = ::fork();
        if (mPid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::setenv("TESSEL_CONFIG_DIR", config.c_str(), 1);
            ::execl(TESSEL_APP_PATH, TESSEL_APP_PATH, "ui", "--no-browser", "--folder", folder.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        mOut = out[0];
        std::string line;
        char c;
        while (::read(mOut, &c, 1) == 1 && c != '\n') line.push_back(c);
        std::smatch match;
        if (std::regex_search(line, match, std::regex(R"(http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32}))"))) {
            mPort = std::stoi(match[1]);
            mToken = match[2];
        }
    }
    ~UiProcess()
    {
        if (mPid > 0 && Stop() < 0) ::kill(mPid, SIGKILL), ::waitpid(mPid, nullptr, 0);
        if (mOut >= 0) ::close(mOut);
    }
    // Ctrl-C; the exit status, -1 when it did not end within 20 s.
    int Stop()
    {
        if (mPid <= 0) return mStatus;
        ::kill(mPid, SIGINT);
        for (int i = 0; i < 200; ++i) {
            int status = 0;
            if (::waitpid(mPid, &status, WNOHANG) == mPid) {
                mPid = -1;
                return mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return -1;
    }
    bool IsUp() const { return mPort > 0; }
    int Port() const { return mPort; }
    const std::string& Token() const { return mToken; }

    httplib::Client Client(bool withToken = true) const
    {
        httplib::Client client("127.0.0.1", mPort);
        client.set_read_timeout(60);
        if (withToken) client.set_default_headers({{"Cookie", "tessel-token=" + mToken}});
        return client;
    }
    std::string State() const
    {
        auto result = Client().Get("/api/state");
        return result ? result->body : "";
    }
    // Posts a form; the body of the answer, with the status before it ("200 {...}").
    std::string Post(const std::string& path, const httplib::Params& params) const
    {
        auto result = Client().Post(path.c_str(), params);
        return result ? std::to_string(result->status) + " " + result->body : "no answer";
    }
    // Waits until the state holds `text`; false after `seconds`.
    bool WaitFor(const std::string& text, int seconds = 60) const
    {
        for (int i = 0; i < seconds * 10; ++i) {
            if (State().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

private:
    pid_t mPid = -1;
    int mOut = -1;
    int mPort = 0;
    int mStatus = -1;
    std::string mToken;
};

std::string Id(WidgetID id) { return std::to_string(id); }
bool Ok(const std::string& answer) { return answer.rfind("200 ", 0) == 0 && answer.find("\"ok\": true") != std::string::npos; }
} // namespace

TEST(UiServer, RefusesRequestsWithoutTheTokenOrFromElsewhere)
{
    TempFolder config("ui-guard-config"), work("ui-guard-work");
    UiProcess ui(config.Path(), work.Path());
    ASSERT_TRUE(ui.IsUp());
    httplib::Client bare = ui.Client(false);
    EXPECT_EQ(bare.Get("/api/state")->status, 403);
    EXPECT_EQ(bare.Get("/")->status, 403);
    EXPECT_EQ(bare.Post("/api/convert", httplib::Params{{"path", "a.mif"}})->status, 403);
    auto wrong = bare.Get("/api/state", httplib::Headers{{"Cookie", "tessel-token=00000000000000000000000000000000"}});
    EXPECT_EQ(wrong->status, 403);
    EXPECT_NE(wrong->body.find("token"), std::string::npos) << wrong->body;

    // The address printed: the token becomes a cookie and leaves the address.
    auto first = bare.Get(("/?token=" + ui.Token()).c_str());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->status, 303);
    EXPECT_EQ(first->get_header_value("Location"), "/");
    EXPECT_NE(first->get_header_value("Set-Cookie").find("HttpOnly; SameSite=Strict"), std::string::npos);

    httplib::Client client = ui.Client();
    EXPECT_EQ(client.Get("/")->status, 200);
    EXPECT_EQ(client.Get("/tessel.js")->status, 200);
    EXPECT_EQ(client.Get("/api/state", httplib::Headers{{"Host", "rebound.example:80"}})->status, 403);
    EXPECT_EQ(client.Post("/api/menu", httplib::Headers{{"Origin", "http://evil.example"}}, httplib::Params{{"action", "1"}})->status,
              403);
    EXPECT_EQ(ui.Stop(), 0);
}

TEST(UiServer, PreferencesDialogThroughWidgetEvents)
{
    TempFolder config("ui-prefs-config"), work("ui-prefs-work");
    UiProcess ui(config.Path(), work.Path());
    ASSERT_TRUE(ui.IsUp());
    std::string state = ui.State();
    std::smatch action;
    ASSERT_TRUE(std::regex_search(state, action, std::regex(R"("action": (\d+),\s*"enabled": true,\s*"menu": \["Edit", "Preferences"\],\s*"name": "Tessel...")")))
        << state;
    ASSERT_TRUE(Ok(ui.Post("/api/menu", {{"action", action[1]}})));
    ASSERT_TRUE(ui.WaitFor("\"title\": \"Tessel\""));

    // Dialog 1 is the preferences; a new preset through the nested name dialog (2).
    ASSERT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "1"}, {"event", "click"}, {"widget", Id(kMifNewPresetButtonWidgetID)}})));
    ASSERT_TRUE(ui.WaitFor("\"title\": \"New Preset\""));
    EXPECT_FALSE(Ok(ui.Post("/api/menu", {{"action", action[1]}}))) << "menus wait for the modal dialogs";
    EXPECT_FALSE(Ok(ui.Post("/api/dialog", {{"dialog", "1"}, {"event", "confirm"}}))) << "the outer dialog waits";
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "2"}, {"event", "type"}, {"widget", Id(kMifPresetNameWidgetID)}, {"text", "Web"}})));
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "2"}, {"event", "confirm"}})));

    // The font substitution table is on panel 2: its buttons are refused until it is shown.
    std::string add = Id(kMifAddFontSubstButtonWidgetID);
    EXPECT_FALSE(Ok(ui.Post("/api/dialog", {{"dialog", "1"}, {"event", "click"}, {"widget", add}})));
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "1"}, {"event", "choose"}, {"widget", Id(kMifPanelDropDownWidgetID)}, {"index", "1"}})));
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "1"}, {"event", "click"}, {"widget", add}})));
    ASSERT_TRUE(ui.WaitFor("\"title\": \"New Font Substitution\""));
    // OK with an empty family: the dialog's own message, as an alert (4) above the entry dialog (3).
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "3"}, {"event", "confirm"}})));
    ASSERT_TRUE(ui.WaitFor("\"text\": \"Please enter FrameMaker font family.\""));
    EXPECT_FALSE(Ok(ui.Post("/api/dialog", {{"dialog", "3"}, {"event", "cancel"}}))) << "the alert comes first";
    EXPECT_TRUE(Ok(ui.Post("/api/alert", {{"alert", "4"}, {"button", "0"}})));
    ASSERT_TRUE(ui.WaitFor("\"alert\": null"));
    EXPECT_NE(ui.State().find("\"focus\": " + Id(kMifFrameFamilyWidgetID)), std::string::npos) << "the family to correct";
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "3"}, {"event", "type"}, {"widget", Id(kMifFrameFamilyWidgetID)}, {"text", "Palatino"}})));
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "3"}, {"event", "choose"}, {"widget", Id(kMifDesignFamilyWidgetID)}, {"index", "1"}})));
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "3"}, {"event", "confirm"}})));
    ASSERT_TRUE(ui.WaitFor("\"Palatino ("));
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "1"}, {"event", "confirm"}})));
    ASSERT_TRUE(ui.WaitFor("\"dialogs\": []"));

    // Saved as the menu action ends: the command line sees the preset and its table while the
    // server runs.
    TesselRun show = Tessel(config.Path(), "prefs show");
    for (int i = 0; i < 50 && show.out.find("Palatino") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        show = Tessel(config.Path(), "prefs show");
    }
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("Web"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("Palatino"), std::string::npos) << show.out;
    EXPECT_EQ(ui.Stop(), 0);
}

TEST(UiServer, FileDialogsAndConversionsStayInTheFolder)
{
    TempFolder config("ui-files-config"), work("ui-files-work"), outside("ui-files-outside");
    fs::copy_file(fs::path(TESSEL_SOURCE_DIR) / "samples/sample.mif", work / "sample.mif");
    fs::create_directories(work / "tree/sub");
    fs::copy_file(fs::path(TESSEL_SOURCE_DIR) / "samples/sample.mif", work / "tree/sub/one.MIF");
    std::ofstream(work / "tree/broken.mif") << "a text file named as a MIF file";
    std::ofstream(outside / "secret.mif") << "<MIFFile 2015>";
    fs::create_symlink(outside.Path(), work / "out");
    UiProcess ui(config.Path(), work.Path());
    ASSERT_TRUE(ui.IsUp());

    // Save presets: a save dialog whose answers must stay in the folder.
    std::string state = ui.State();
    std::smatch action;
    ASSERT_TRUE(std::regex_search(state, action, std::regex(R"("action": (\d+))")));
    ASSERT_TRUE(Ok(ui.Post("/api/menu", {{"action", action[1]}})));
    ASSERT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "1"}, {"event", "click"}, {"widget", Id(kMifSavePresetsButtonWidgetID)}})));
    ASSERT_TRUE(ui.WaitFor("\"mode\": \"save\""));
    for (const char* path : {"../escape.tqp", "out/escape.tqp", "/tmp/escape.tqp", "missing/escape.tqp"})
        EXPECT_EQ(ui.Post("/api/chooser", {{"chooser", "2"}, {"path", path}}).substr(0, 4), "403 ") << path;
    EXPECT_TRUE(Ok(ui.Post("/api/chooser", {{"chooser", "2"}, {"path", "mine.tqp"}})));
    ASSERT_TRUE(ui.WaitFor("\"chooser\": null"));
    // The dialog writes the file once the chooser has closed.
    for (int i = 0; i < 100 && !fs::exists(work / "mine.tqp"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(fs::exists(work / "mine.tqp"));
    EXPECT_FALSE(fs::exists(outside / "escape.tqp"));
    EXPECT_TRUE(Ok(ui.Post("/api/dialog", {{"dialog", "1"}, {"event", "cancel"}})));

    EXPECT_EQ(ui.Post("/api/convert", {{"path", "out/secret.mif"}}).substr(0, 4), "403 ");
    EXPECT_EQ(ui.Post("/api/convert", {{"path", "../x.mif"}}).substr(0, 4), "403 ");
    EXPECT_EQ(ui.Post("/api/convert", {{"path", "mine.tqp"}}).substr(0, 4), "400 ");
    EXPECT_EQ(ui.Client().Get("/api/files?dir=out")->status, 403);

    // A file: progress, report, pages and the package; a folder: a row per file.
    std::string single = ui.Post("/api/convert", {{"path", "sample.mif"}});
    ASSERT_NE(single.find("\"job\": 1"), std::string::npos) << single;
    std::string batch = ui.Post("/api/convert", {{"path", "tree"}});
    ASSERT_NE(batch.find("\"job\": 2"), std::string::npos) << batch;
    ASSERT_TRUE(ui.WaitFor("\"package\": \"/api/jobs/1/package\""));
    httplib::Client client = ui.Client();
    auto package = client.Get("/api/jobs/1/package");
    ASSERT_EQ(package->status, 200);
    EXPECT_EQ(package->body.substr(0, 2), "PK");
    EXPECT_NE(package->get_header_value("Content-Disposition").find("sample.idml"), std::string::npos);
    auto page = client.Get("/api/jobs/1/pages/1.png");
    ASSERT_EQ(page->status, 200);
    EXPECT_EQ(page->body.substr(1, 3), "PNG");
    EXPECT_EQ(client.Get("/api/jobs/1/pages/9.png")->status, 404);
    EXPECT_NE(ui.State().find("\"title\": \"Opening MIF document\""), std::string::npos) << "the host's progress texts";

    ASSERT_TRUE(ui.WaitFor("\"total\": 2"));
    ASSERT_TRUE(ui.WaitFor("\"input\": \"sub/one.MIF\""));
    ASSERT_TRUE(ui.WaitFor("\"input\": \"broken.mif\""));
    state = ui.State();
    EXPECT_NE(state.find("\"status\": \"failed\""), std::string::npos) << state;
    EXPECT_EQ(client.Get("/api/jobs/2/files/1/package")->status, 200) << "sub/one.MIF comes second, in walking order";
    EXPECT_FALSE(fs::exists(outside / "secret.idml"));
    EXPECT_EQ(ui.Stop(), 0);
}

TEST(UiServer, UploadsAreLimitedAndManyRequestsAreServed)
{
    TempFolder config("ui-load-config"), work("ui-load-work");
    UiProcess ui(config.Path(), work.Path());
    ASSERT_TRUE(ui.IsUp());
    httplib::Client client = ui.Client();
    std::string mif = ReadFile((fs::path(TESSEL_SOURCE_DIR) / "samples/sample.mif").string());
    auto uploaded = client.Post("/api/upload?name=dropped.mif", mif, "application/octet-stream");
    ASSERT_EQ(uploaded->status, 200) << uploaded->body;
    EXPECT_EQ(client.Post("/api/upload?name=notes.txt", "x", "application/octet-stream")->status, 400);
    EXPECT_EQ(client.Post("/api/upload?name=..%2F..%2Fescape.mif", mif, "application/octet-stream")->status, 200)
        << "only the name's last part is kept";
    EXPECT_FALSE(fs::exists(work.Path().parent_path() / "escape.mif"));

    // A 2 GB upload is refused from its headers, before anything is read.
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string printed = "127.0.0.1:" + std::to_string(ui.Port());
    address.sin_port = htons(static_cast<uint16_t>(ui.Port()));
    ASSERT_EQ(::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::string head = "POST /api/upload?name=big.mif HTTP/1.1\r\nHost: " + printed + "\r\nCookie: tessel-token=" + ui.Token() +
                       "\r\nContent-Type: application/octet-stream\r\nContent-Length: 2147483648\r\n\r\n";
    ASSERT_EQ(::write(socket, head.data(), head.size()), static_cast<ssize_t>(head.size()));
    char answer[512] = {};
    ssize_t got = ::read(socket, answer, sizeof answer - 1);
    ::close(socket);
    ASSERT_GT(got, 0);
    EXPECT_EQ(std::string(answer).substr(0, 12), "HTTP/1.1 413") << answer;

    // Many requests at once, a browser that goes away mid-poll among them: all answered.
    std::atomic<int> served = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 20; ++t)
        threads.emplace_back([&] {
            httplib::Client many = ui.Client();
            for (int i = 0; i < 50; ++i)
                if (auto result = many.Get("/api/files?dir="); result && result->status == 200) ++served;
        });
    {
        httplib::Client leaving = ui.Client();
        leaving.set_read_timeout(0, 200000);
        leaving.Get("/api/state?since=999999");
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(served, 1000);
    ASSERT_TRUE(ui.WaitFor("\"name\": \"dropped.mif\""));
    ASSERT_TRUE(ui.WaitFor("\"state\": \"done\""));
    EXPECT_EQ(ui.Stop(), 0);
}
