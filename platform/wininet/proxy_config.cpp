#include "proxy_config.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace platform::wininet {
namespace {

std::vector<std::string> SplitEntries(const char *text) {
    std::vector<std::string> entries;
    std::string current;
    for (const char *p = text; p && *p; ++p) {
        if (*p == ' ' || *p == ';' || *p == '\t') {
            if (!current.empty()) entries.push_back(current);
            current.clear();
        } else {
            current += *p;
        }
    }
    if (!current.empty()) entries.push_back(current);
    return entries;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A proxy address may carry an "http://" prefix; what is kept is host:port.
std::string StripScheme(const std::string &address) {
    auto at = address.find("://");
    return at == std::string::npos ? address : address.substr(at + 3);
}

bool WildcardMatch(const char *pattern, const char *text) {
    if (*pattern == '\0') return *text == '\0';
    if (*pattern == '*') return WildcardMatch(pattern + 1, text) || (*text && WildcardMatch(pattern, text + 1));
    return *text && *pattern == *text && WildcardMatch(pattern + 1, text + 1);
}

bool IsBypassed(const ProxyConfig &config, const std::string &host) {
    std::string name = Lower(host);
    for (const std::string &entry : config.bypass) {
        if (entry == "<local>" && name.find('.') == std::string::npos) return true;
        if (WildcardMatch(Lower(entry).c_str(), name.c_str())) return true;
    }
    return false;
}

}  // namespace

bool ParseProxyList(const char *text, ProxyConfig &config) {
    for (const std::string &entry : SplitEntries(text)) {
        auto equals = entry.find('=');
        if (equals == std::string::npos) {
            config.http = config.https = StripScheme(entry);
            continue;
        }
        std::string scheme = Lower(entry.substr(0, equals));
        std::string address = StripScheme(entry.substr(equals + 1));
        if (scheme == "http") config.http = address;
        if (scheme == "https") config.https = address;
    }
    return !config.http.empty() || !config.https.empty();
}

void ParseBypassList(const char *text, ProxyConfig &config) {
    config.bypass = SplitEntries(text);
}

std::string ProxyFor(const ProxyConfig &config, bool secure, const std::string &host) {
    const std::string &proxy = secure ? config.https : config.http;
    if (proxy.empty() || IsBypassed(config, host)) return {};
    return proxy;
}

}  // namespace platform::wininet
