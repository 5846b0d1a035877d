// One request through the wininet functions, as the application makes it.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

namespace wininet_test {

struct RequestArgs {
    std::string host = "127.0.0.1";
    int port = 0;
    std::string verb = "GET";
    std::string path = "/";
    std::string headers;
    std::string body;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES;
    std::string agent = "TestAgent/1.0";
    DWORD receiveMs = 0;  // 0: the default
    std::string proxy;    // for INTERNET_OPEN_TYPE_PROXY
};

struct Exchange {
    bool sent = false;
    DWORD sendError = 0;
    std::string body;
    DWORD readError = 0;  // 0 when the body ended cleanly
    std::string rawHeaders;
};

Exchange Perform(const RequestArgs &args);
// Reads the whole body in chunks of the given size.
std::string ReadAll(HINTERNET request, DWORD chunk, DWORD &error);
std::string RawHeaders(HINTERNET request);

}  // namespace wininet_test
