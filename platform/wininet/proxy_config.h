// The proxy list and bypass list of InternetOpenA.
#pragma once

#include <string>
#include <vector>

namespace platform::wininet {

struct ProxyConfig {
    std::string http;   // host:port for http requests, empty = direct
    std::string https;  // host:port for https requests (tunnelled), empty = direct
    std::vector<std::string> bypass;
};

// "host:port" serves every scheme; "http=host:port https=host:port" name schemes.
// Entries are separated by spaces or semicolons. False when the text holds no proxy.
bool ParseProxyList(const char *text, ProxyConfig &config);
void ParseBypassList(const char *text, ProxyConfig &config);
// The proxy for a request to host, or empty for a direct connection.
std::string ProxyFor(const ProxyConfig &config, bool secure, const std::string &host);

}  // namespace platform::wininet
