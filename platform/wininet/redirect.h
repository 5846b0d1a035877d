// Following a redirect: where it leads and what becomes of the verb and body.
#pragma once

#include <wininet.h>

#include <string>

namespace platform::wininet {

// Where a request goes; a redirect moves it.
struct Target {
    bool secure = false;
    std::string host;
    INTERNET_PORT port = 0;
    std::string path;
};

std::string OriginOf(const Target &target);      // scheme://host:port
std::string HostHeaderOf(const Target &target);  // host, with :port unless the default

bool IsRedirectStatus(int status);
// The target named by a Location value, relative ones resolved against from.
// False when it is not an http or https address this module can request.
bool RedirectTarget(const Target &from, const std::string &location, Target &to);
// 303, and 301/302 after a POST, continue with GET and without the body.
bool RedirectDropsBody(int status, const std::string &verb);

}  // namespace platform::wininet
