// UiGuard: who may talk to the server of tessel ui. The server listens on the loopback address
// only, yet any program of the machine, and any web page a browser of the machine shows, can
// reach it; so every request must carry the token printed when the server started (in the
// address, then in a cookie), and its Host and Origin headers must name the loopback address
// and port: a page elsewhere cannot send the user's cookie (SameSite), and a DNS name that a
// foreign site points at 127.0.0.1 (DNS rebinding) is refused by its Host header.
#pragma once

#include <string>

class UiGuard {
public:
    // A guard for the server on `port`, with a new random token.
    explicit UiGuard(int port);
    UiGuard(int port, std::string token) : mPort(port), mToken(std::move(token)) {}

    const std::string& GetToken() const { return mToken; }
    int GetPort() const { return mPort; }
    // The cookie that carries the token after the first page.
    static constexpr const char* kCookie = "tessel-token";
    std::string SetCookieHeader() const;

    // Why a request with these headers is refused; empty when it may go on. `cookie` is the
    // Cookie header, `tokenParameter` the token of the query (empty when none).
    std::string Refusal(const std::string& host, const std::string& origin, const std::string& cookie,
                        const std::string& tokenParameter) const;

    // Whether `host` is a Host header naming the loopback address and this port.
    bool IsLoopbackHost(const std::string& host) const;
    // Whether `origin` is an Origin naming the server itself.
    bool IsOwnOrigin(const std::string& origin) const;
    // Whether `token` is the token (compared in constant time).
    bool IsToken(const std::string& token) const;
    // The value of cookie `name` in a Cookie header; empty when it has none.
    static std::string CookieValue(const std::string& header, const std::string& name);

private:
    int mPort;
    std::string mToken;
};
