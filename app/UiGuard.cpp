#include "UiGuard.h"

#include <sys/random.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace {
std::string NewToken()
{
    uint8_t bytes[16];
    size_t got = 0;
    while (got < sizeof bytes) {
        ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n < 0) throw std::runtime_error("no random numbers for the token");
        got += static_cast<size_t>(n);
    }
    std::string token;
    char hex[3];
    for (uint8_t byte : bytes) {
        std::snprintf(hex, sizeof hex, "%02x", byte);
        token += hex;
    }
    return token;
}
} // namespace

UiGuard::UiGuard(int port) : mPort(port), mToken(NewToken()) {}

std::string UiGuard::SetCookieHeader() const
{
    return std::string(kCookie) + "=" + mToken + "; Path=/; HttpOnly; SameSite=Strict";
}

bool UiGuard::IsLoopbackHost(const std::string& host) const
{
    // Compared piece by piece: "127.0.0.1" + a temporary string makes GCC 12 warn (-Wrestrict).
    std::string port = std::to_string(mPort);
    size_t colon = host.rfind(':');
    if (colon == std::string::npos || host.compare(colon + 1, std::string::npos, port) != 0) return false;
    std::string_view name(host.data(), colon);
    return name == "127.0.0.1" || name == "localhost";
}

bool UiGuard::IsOwnOrigin(const std::string& origin) const
{
    return origin.rfind("http://", 0) == 0 && IsLoopbackHost(origin.substr(7));
}

bool UiGuard::IsToken(const std::string& token) const
{
    if (token.size() != mToken.size()) return false;
    unsigned char differ = 0;
    for (size_t i = 0; i < token.size(); ++i) differ |= static_cast<unsigned char>(token[i] ^ mToken[i]);
    return differ == 0;
}

std::string UiGuard::CookieValue(const std::string& header, const std::string& name)
{
    size_t start = 0;
    while (start < header.size()) {
        size_t end = header.find(';', start);
        if (end == std::string::npos) end = header.size();
        size_t first = header.find_first_not_of(' ', start);
        if (first < end) {
            std::string pair = header.substr(first, end - first);
            size_t equals = pair.find('=');
            if (equals != std::string::npos && pair.substr(0, equals) == name) return pair.substr(equals + 1);
        }
        start = end + 1;
    }
    return "";
}

std::string UiGuard::Refusal(const std::string& host, const std::string& origin, const std::string& cookie,
                             const std::string& tokenParameter) const
{
    if (!IsLoopbackHost(host)) return "the Host header must name this server (127.0.0.1:" + std::to_string(mPort) + ")";
    if (!origin.empty() && !IsOwnOrigin(origin)) return "requests from other sites are refused";
    if (!IsToken(tokenParameter) && !IsToken(CookieValue(cookie, kCookie)))
        return "the token is missing or wrong: open the address tessel ui printed";
    return "";
}
