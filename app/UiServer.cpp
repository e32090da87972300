#include "UiServer.h"

#include <httplib.h>

#include <cstdio>
#include <fstream>

#include "BrowserPresenter.h"
#include "BatchWalk.h"
#include "JsonValue.h"
#include "MenuMgr.h"
#include "UiEventLoop.h"
#include "UiFolder.h"
#include "UiJobs.h"
#include "UiPage.h"
#include "UiState.h"

namespace fs = std::filesystem;

namespace {
constexpr auto kLongPoll = std::chrono::seconds(15);
constexpr auto kSettle = std::chrono::seconds(20);
constexpr const char* kJson = "application/json; charset=utf-8";

void Error(httplib::Response& response, int status, const std::string& text)
{
    JsonValue error = JsonValue::Object();
    error.Set("error", JsonValue::String(text));
    response.status = status;
    response.set_content(error.Serialize(), kJson);
}

void Answer(httplib::Response& response, const JsonValue& value) { response.set_content(value.Serialize(), kJson); }

// A whole number parameter; false when it is missing or not one.
bool Number(const httplib::Request& request, const char* name, int64_t& value)
{
    if (!request.has_param(name)) return false;
    std::string text = request.get_param_value(name);
    char* end = nullptr;
    errno = 0;
    long long number = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0) return false;
    value = number;
    return true;
}

int64_t PathNumber(const httplib::Request& request, size_t index)
{
    return index < request.matches.size() ? std::strtoll(request.matches[index].str().c_str(), nullptr, 10) : -1;
}

// Sends the file at `path` in pieces, as a download named `downloadName` when one is given.
void SendFile(httplib::Response& response, const fs::path& path, const std::string& type, const std::string& downloadName)
{
    std::error_code ec;
    uintmax_t size = fs::file_size(path, ec);
    auto in = std::make_shared<std::ifstream>(path, std::ios::binary);
    if (ec || !*in) {
        Error(response, 404, "the file is gone");
        return;
    }
    if (!downloadName.empty()) {
        std::string safe;
        for (char c : downloadName) safe.push_back(c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20 ? '_' : c);
        response.set_header("Content-Disposition", "attachment; filename=\"" + safe + "\"");
    }
    response.set_content_provider(static_cast<size_t>(size), type, [in](size_t offset, size_t length, httplib::DataSink& sink) {
        char buffer[64 * 1024];
        in->seekg(static_cast<std::streamoff>(offset));
        size_t chunk = std::min(length, sizeof buffer);
        in->read(buffer, static_cast<std::streamsize>(chunk));
        std::streamsize got = in->gcount();
        if (got <= 0) return false;
        sink.write(buffer, static_cast<size_t>(got));
        return true;
    });
}

// The name an uploaded file is kept under: its last part, without control characters; empty when
// it is not the name of a MIF file.
std::string UploadName(const std::string& given)
{
    const size_t slash = given.find_last_of("/\\");
    std::string name = slash == std::string::npos ? given : given.substr(slash + 1);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20) c = '_';
    if (name.empty() || name[0] == '.' || !BatchWalk::IsMifName(name)) return "";
    return name;
}
} // namespace

UiServer::UiServer(Parts parts) : mParts(std::move(parts)), mServer(std::make_unique<httplib::Server>()) {}

UiServer::~UiServer() { Stop(); }

bool UiServer::Bind(int port, std::string& why)
{
    int bound = port == 0 ? mServer->bind_to_any_port("127.0.0.1") : (mServer->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        why = "cannot listen on 127.0.0.1:" + std::to_string(port) + " (taken, or not allowed)";
        return false;
    }
    mGuard = std::make_unique<UiGuard>(bound);
    AddRoutes();
    return true;
}

void UiServer::Start()
{
    mThread = std::thread([this] { mServer->listen_after_bind(); });
}

void UiServer::Stop()
{
    mParts.state.Wake();
    if (mServer) mServer->stop();
    if (mThread.joinable()) mThread.join();
}

bool UiServer::Refuse(const httplib::Request& request, httplib::Response& response) const
{
    std::string token = request.has_param("token") ? request.get_param_value("token") : "";
    std::string why = mGuard->Refusal(request.get_header_value("Host"), request.get_header_value("Origin"),
                                      request.get_header_value("Cookie"), token);
    if (!why.empty()) {
        Error(response, 403, why);
        return true;
    }
    // Only an upload has a large body; a request that announces one elsewhere is refused before
    // it is read.
    size_t limit = request.path == "/api/upload" ? kMaxUpload : kMaxRequest;
    if (request.has_header("Content-Length") &&
        std::strtoull(request.get_header_value("Content-Length").c_str(), nullptr, 10) > limit) {
        Error(response, 413, request.path == "/api/upload" ? "the file is larger than 256 MB" : "the request is too large");
        return true;
    }
    return false;
}

void UiServer::AddRoutes()
{
    httplib::Server& server = *mServer;
    // Long polls hold a thread each; more threads than browsers' connections keep others served.
    server.new_task_queue = [] { return new httplib::ThreadPool(32); };
    server.set_payload_max_length(kMaxUpload);
    server.set_keep_alive_timeout(2);
    server.set_read_timeout(30);
    server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        response.set_header("Cache-Control", "no-store");
        response.set_header("X-Content-Type-Options", "nosniff");
        response.set_header("X-Frame-Options", "DENY");
        response.set_header("Content-Security-Policy", "default-src 'self'; img-src 'self' blob: data:; frame-ancestors 'none'");
        return Refuse(request, response) ? httplib::Server::HandlerResponse::Handled
                                         : httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        Error(response, 500, "the server failed to answer this request");
    });

    server.Get("/", [this](const httplib::Request& request, httplib::Response& response) {
        if (request.has_param("token")) {
            // The token moves from the address into a cookie, and out of the address bar.
            response.set_header("Set-Cookie", mGuard->SetCookieHeader());
            response.set_redirect("/", 303);
            return;
        }
        response.set_content(UiPage::Load("index.html"), "text/html; charset=utf-8");
    });
    for (const char* name : {"tessel.js", "tessel.css"}) {
        server.Get(std::string("/") + name, [name](const httplib::Request&, httplib::Response& response) {
            bool script = std::string_view(name).ends_with(".js");
            response.set_content(UiPage::Load(name), script ? "text/javascript; charset=utf-8" : "text/css; charset=utf-8");
        });
    }

    server.Get("/api/state", [this](const httplib::Request& request, httplib::Response& response) {
        int64_t since = 0;
        if (Number(request, "since", since) && since >= 0) mParts.state.WaitForChange(static_cast<uint64_t>(since), kLongPoll);
        response.set_content(mParts.state.Snapshot(), kJson);
    });

    // Runs `task` on the host thread and answers what became of it; a task that refuses with a
    // reason in `why` is answered 403 with it.
    auto act = [this](httplib::Response& response, std::function<bool()> task, std::shared_ptr<std::string> why = nullptr) {
        auto ticket = mParts.loop.Post(std::move(task));
        UiEventLoop::Settled settled = mParts.loop.WaitSettled(ticket, kSettle);
        if (settled == UiEventLoop::Settled::kTimedOut) return Error(response, 503, "the program is busy; try again");
        if (why && !why->empty()) return Error(response, 403, *why);
        JsonValue answer = JsonValue::Object();
        answer.Set("ok", JsonValue::Bool(settled != UiEventLoop::Settled::kRefused));
        answer.Set("version", JsonValue::Integer(static_cast<int64>(mParts.state.GetVersion())));
        Answer(response, answer);
    };

    server.Post("/api/menu", [this, act](const httplib::Request& request, httplib::Response& response) {
        int64_t action = 0;
        if (!Number(request, "action", action)) return Error(response, 400, "which menu entry?");
        act(response, [this, action] {
            if (!mParts.presenter.IsIdle()) return false;
            bool done = MenuMgr::Get().DoAction(static_cast<ActionID>(action));
            if (done && mParts.afterAction) mParts.afterAction();
            return done;
        });
    });

    server.Post("/api/dialog", [this, act](const httplib::Request& request, httplib::Response& response) {
        BrowserPresenter::DialogEvent event;
        int64_t widget = 0, index = -1;
        if (!Number(request, "dialog", event.dialog) || !request.has_param("event"))
            return Error(response, 400, "which dialog and event?");
        event.event = request.get_param_value("event");
        Number(request, "widget", widget);
        Number(request, "index", index);
        event.widget = static_cast<WidgetID>(widget);
        event.index = static_cast<int32>(index);
        event.text = PMString(request.get_param_value("text"));
        act(response, [this, event] {
            bool done = mParts.presenter.ApplyDialogEvent(event);
            // The settings a confirmed dialog changed are saved before the page sees it closed,
            // so that whatever the user does next (a conversion, tessel prefs) reads them.
            if (mParts.presenter.IsClosingAll() && mParts.afterAction) mParts.afterAction();
            mParts.presenter.Publish();
            return done;
        });
    });

    server.Post("/api/alert", [this, act](const httplib::Request& request, httplib::Response& response) {
        int64_t alert = 0, button = 0;
        if (!Number(request, "alert", alert) || !Number(request, "button", button))
            return Error(response, 400, "which alert and button?");
        act(response, [this, alert, button] { return mParts.presenter.AnswerAlert(alert, static_cast<int32>(button)); });
    });

    server.Post("/api/chooser", [this, act](const httplib::Request& request, httplib::Response& response) {
        int64_t chooser = 0;
        if (!Number(request, "chooser", chooser)) return Error(response, 400, "which file dialog?");
        std::vector<std::string> paths;
        for (size_t i = 0; i < request.get_param_value_count("path"); ++i) paths.push_back(request.get_param_value("path", i));
        auto why = std::make_shared<std::string>();
        act(response, [this, chooser, paths, why] {
            std::optional<FileDialogRequest> shown = mParts.presenter.GetChooser(chooser);
            if (!shown) return false;
            using Mode = FileDialogRequest::Mode;
            std::vector<IDFile> files;
            for (const std::string& path : paths) {
                std::optional<fs::path> resolved = mParts.folder.Resolve(path, shown->mode != Mode::kSave, *why);
                std::error_code ec;
                if (resolved && shown->mode == Mode::kSelectFolder && !fs::is_directory(*resolved, ec)) *why = "it is not a folder";
                if (resolved && shown->mode != Mode::kSelectFolder && fs::is_directory(*resolved, ec)) *why = "it is a folder";
                if (!why->empty()) {
                    *why = path + ": " + *why;
                    return false;
                }
                files.push_back(IDFile(*resolved));
            }
            if (shown->mode != Mode::kOpenSeveral && files.size() > 1) {
                *why = "choose one file";
                return false;
            }
            return mParts.presenter.AnswerChooser(chooser, std::move(files));
        }, why);
    });

    server.Get("/api/files", [this](const httplib::Request& request, httplib::Response& response) {
        std::string why;
        std::optional<JsonValue> list = mParts.folder.List(request.get_param_value("dir"), why);
        if (!list) return Error(response, 403, why);
        Answer(response, *list);
    });

    server.Post("/api/convert", [this](const httplib::Request& request, httplib::Response& response) {
        std::string path = request.get_param_value("path"), why;
        std::optional<fs::path> input = mParts.folder.Resolve(path, true, why);
        if (!input) return Error(response, 403, path + ": " + why);
        std::error_code ec;
        bool folder = fs::is_directory(*input, ec);
        if (!folder && !(fs::is_regular_file(*input, ec) && BatchWalk::IsMifName(*input)))
            return Error(response, 400, path + ": choose a MIF file (.mif) or a folder");
        std::string name = path.empty() ? mParts.folder.GetRoot().filename().string() : fs::path(path).filename().string();
        JsonValue answer = JsonValue::Object();
        answer.Set("job", JsonValue::Integer(mParts.jobs.Convert(*input, name)));
        Answer(response, answer);
    });

    server.Post("/api/upload", [this](const httplib::Request& request, httplib::Response& response,
                                      const httplib::ContentReader& reader) {
        std::string name = UploadName(request.get_param_value("name"));
        if (name.empty()) return Error(response, 400, "only MIF files (.mif) can be converted");
        fs::path file = mParts.jobs.NewUploadFolder() / name;
        std::ofstream out(file, std::ios::binary);
        size_t received = 0;
        bool tooLarge = false;
        bool read = reader([&](const char* data, size_t length) {
            received += length;
            if (received > kMaxUpload) {
                tooLarge = true;
                return false;
            }
            out.write(data, static_cast<std::streamsize>(length));
            return static_cast<bool>(out);
        });
        out.close();
        if (!read || tooLarge || !out) {
            std::error_code ec;
            fs::remove_all(file.parent_path(), ec);
            return Error(response, tooLarge ? 413 : 400, tooLarge ? "the file is larger than 256 MB" : "the upload did not arrive whole");
        }
        JsonValue answer = JsonValue::Object();
        answer.Set("job", JsonValue::Integer(mParts.jobs.Convert(file, name)));
        Answer(response, answer);
    });

    server.Get(R"(/api/jobs/(\d+)/package)", [this](const httplib::Request& request, httplib::Response& response) {
        std::optional<fs::path> package = mParts.jobs.GetPackage(PathNumber(request, 1));
        if (!package) return Error(response, 404, "there is no package for this conversion");
        SendFile(response, *package, "application/vnd.adobe.indesign-idml-package", package->filename().string());
    });
    server.Get(R"(/api/jobs/(\d+)/files/(\d+)/package)", [this](const httplib::Request& request, httplib::Response& response) {
        std::optional<fs::path> package = mParts.jobs.GetPackage(PathNumber(request, 1), PathNumber(request, 2));
        if (!package) return Error(response, 404, "there is no package for this file");
        SendFile(response, *package, "application/vnd.adobe.indesign-idml-package", package->filename().string());
    });
    server.Get(R"(/api/jobs/(\d+)/pages/(\d+)\.png)", [this](const httplib::Request& request, httplib::Response& response) {
        std::optional<fs::path> page = mParts.jobs.GetPage(PathNumber(request, 1), PathNumber(request, 2));
        if (!page) return Error(response, 404, "there is no such page");
        SendFile(response, *page, "image/png", "");
    });
}
