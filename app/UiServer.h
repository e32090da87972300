// UiServer: the HTTP server of tessel ui (cpp-httplib), on the loopback address only. It serves
// the page, the page's state (a long poll), and the user's actions: menu entries, widget
// events, alert answers and file choices go to the host thread (UiEventLoop), conversions to the
// job runner (UiJobs). Every request passes UiGuard first; every path the page names is resolved
// by UiFolder; request bodies are limited in size.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "UiGuard.h"

class BrowserPresenter;
class UiEventLoop;
class UiFolder;
class UiJobs;
class UiState;
namespace httplib {
class Server;
struct Request;
struct Response;
}

class UiServer {
public:
    // The largest file the page may upload, and the largest body of any other request.
    static constexpr size_t kMaxUpload = 256u << 20;
    static constexpr size_t kMaxRequest = 1u << 20;

    struct Parts {
        UiEventLoop& loop;
        UiState& state;
        BrowserPresenter& presenter;
        UiJobs& jobs;
        const UiFolder& folder;
        // Runs after each menu action, on the host thread (the settings are saved).
        std::function<void()> afterAction;
    };

    explicit UiServer(Parts parts);
    ~UiServer();
    UiServer(const UiServer&) = delete;
    UiServer& operator=(const UiServer&) = delete;

    // Binds 127.0.0.1:`port` (0: a free port); false with `why` when it cannot.
    bool Bind(int port, std::string& why);
    // The guard of the bound server (its port and token).
    const UiGuard& GetGuard() const { return *mGuard; }
    // Serves on threads of its own until Stop.
    void Start();
    void Stop();

private:
    void AddRoutes();
    // Answers a request the guard refuses (true), else false.
    bool Refuse(const httplib::Request& request, httplib::Response& response) const;

    Parts mParts;
    std::unique_ptr<httplib::Server> mServer;
    std::unique_ptr<UiGuard> mGuard;
    std::thread mThread;
};
