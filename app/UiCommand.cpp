#include "UiCommand.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "AppCommandLine.h"
#include "AppSession.h"
#include "BrowserPresenter.h"
#include "MenuMgr.h"
#include "ScriptedPresenter.h"
#include "UiEventLoop.h"
#include "UiFolder.h"
#include "UiJobs.h"
#include "UiServer.h"
#include "UiState.h"

namespace fs = std::filesystem;

namespace {
struct Options {
    int port = 0;
    bool noBrowser = false;
    std::string folder = ".";
};

volatile sig_atomic_t gStop = 0;
void OnStop(int) { gStop = 1; }

// The menus as the page shows them: each entry's menus from the main menu down, without the
// '&' of their keyboard letters.
std::string DescribeMenus()
{
    JsonValue menus = JsonValue::Array();
    MenuMgr& mgr = MenuMgr::Get();
    for (const MenuEntry& entry : mgr.GetEntries()) {
        if (entry.separator) continue;
        JsonValue path = JsonValue::Array();
        std::string text = entry.menuPath.GetUTF8String();
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(':', start);
            if (end == std::string::npos) end = text.size();
            std::string part = text.substr(start, end - start);
            std::erase(part, '&');
            if (!(start == 0 && part == "Main") && !part.empty()) path.Append(JsonValue::String(part));
            start = end + 1;
        }
        JsonValue e = JsonValue::Object();
        e.Set("menu", std::move(path));
        e.Set("name", JsonValue::String(entry.name));
        e.Set("action", JsonValue::Integer(entry.action));
        e.Set("enabled", JsonValue::Bool(mgr.IsEnabled(entry.action)));
        menus.Append(std::move(e));
    }
    return menus.Serialize();
}

// Opens `url` in the desktop's browser, when there is a desktop; never waits for it.
void OpenBrowser(const std::string& url)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::printf("tessel ui: no desktop here; open the address in a browser of this machine\n");
        return;
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        // A grandchild opens it, so that nothing is left to wait for.
        if (::fork() == 0) {
            ::setsid();
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            ::execlp("xdg-open", "xdg-open", url.c_str(), static_cast<char*>(nullptr));
        }
        ::_exit(0);
    }
    if (pid > 0) ::waitpid(pid, nullptr, 0);
}

// A new private folder for uploads and the conversions' files.
fs::path MakeScratch()
{
    std::error_code ec;
    fs::path pattern = fs::temp_directory_path(ec) / "tessel-ui-XXXXXX";
    std::string text = pattern.string();
    if (!::mkdtemp(text.data())) return {};
    return text;
}

int RunUiCommand(const Options& options)
{
    UiFolder folder{fs::path(options.folder)};
    if (!folder.IsValid()) {
        std::fprintf(stderr, "tessel ui: %s is not a folder\n", options.folder.c_str());
        return 2;
    }
    fs::path scratch = MakeScratch();
    if (scratch.empty()) {
        std::fprintf(stderr, "tessel ui: cannot make a temporary folder for the conversions\n");
        return 1;
    }
    struct Cleanup {
        fs::path scratch;
        ~Cleanup()
        {
            std::error_code ec;
            fs::remove_all(scratch, ec);
        }
    } cleanup{scratch};

    UiState state;
    UiEventLoop loop;
    BrowserPresenter presenter(loop, state);
    DialogPresenterScope scope(&presenter);
    state.Set("folder", JsonValue::String(folder.GetRoot().string()).Serialize());
    state.Set("menus", DescribeMenus());
    unsigned cores = std::thread::hardware_concurrency();
    UiJobs jobs(state, scratch, AppSession::GetProgram(), cores ? cores : 1);
    UiServer server(UiServer::Parts{loop, state, presenter, jobs, folder, [&state] {
                                        AppSession::SaveWorkspace();
                                        state.Set("menus", DescribeMenus());
                                    }});
    std::string why;
    if (!server.Bind(options.port, why)) {
        std::fprintf(stderr, "tessel ui: %s\n", why.c_str());
        return 1;
    }
    std::string url = "http://127.0.0.1:" + std::to_string(server.GetGuard().GetPort()) + "/?token=" + server.GetGuard().GetToken();
    std::printf("tessel ui: open %s in a browser (Ctrl-C stops)\n", url.c_str());
    std::printf("tessel ui: converting below %s\n", folder.GetRoot().c_str());
    std::fflush(stdout);

    struct sigaction stop = {};
    stop.sa_handler = OnStop;
    sigemptyset(&stop.sa_mask);
    ::sigaction(SIGINT, &stop, nullptr);
    ::sigaction(SIGTERM, &stop, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    // Ctrl-C ends the host's loop, a modal dialog's loop too.
    std::atomic<bool> ended = false;
    std::thread watcher([&] {
        while (!gStop && !ended) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        loop.Stop();
    });
    server.Start();
    if (!options.noBrowser) OpenBrowser(url);

    loop.RunUntil([] { return gStop != 0; });
    ended = true;
    watcher.join();
    std::printf("tessel ui: stopping\n");
    std::fflush(stdout);
    server.Stop();
    jobs.Stop();
    return 0;
}
} // namespace

void AddUiCommand(AppCommandLine& commandLine)
{
    auto options = std::make_shared<Options>();
    CLI::App& command = commandLine.AddCommand("ui", "Convert and set the preferences in a web browser", [options] {
        return AppSession::RunInWorkspace([&] { return RunUiCommand(*options); });
    });
    command.add_option("--port", options->port, "The port to serve on, on 127.0.0.1 (default: a free one)")
        ->check(CLI::Range(0, 65535))
        ->type_name("N");
    command.add_flag("--no-browser", options->noBrowser, "Print the address only; do not open a browser");
    command.add_option("--folder", options->folder,
                       "The folder whose files the page converts and whose files the dialogs\nread and write (default: the current folder)")
        ->type_name("DIR");
    command.footer("The address printed holds a token: only a browser given it may use the page. The server listens\n"
                   "on 127.0.0.1 only, and reads and writes no file outside the folder (and its own temporary one).\n"
                   "Exit status: 0 after Ctrl-C, 1 when it cannot start, 2 on wrong usage.");
}
