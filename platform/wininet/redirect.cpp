#include "redirect.h"

#include <curl/curl.h>

#include <cstdlib>

#include "curl_library.h"
#include "header_block.h"

namespace platform::wininet {
namespace {

std::string UrlPart(CURLU *url, CURLUPart part, unsigned flags = 0) {
    char *value = nullptr;
    if (Curl().url_get(url, part, &value, flags) != CURLUE_OK || !value) return {};
    std::string text(value);
    Curl().free(value);
    return text;
}

bool SetBase(CURLU *url, const Target &from) {
    std::string withPath = OriginOf(from) + (from.path.empty() || from.path[0] != '/' ? "/" : from.path);
    if (Curl().url_set(url, CURLUPART_URL, withPath.c_str(), CURLU_ALLOW_SPACE) == CURLUE_OK) return true;
    return Curl().url_set(url, CURLUPART_URL, (OriginOf(from) + "/").c_str(), 0) == CURLUE_OK;
}

bool ReadTarget(CURLU *url, Target &to) {
    std::string scheme = UrlPart(url, CURLUPART_SCHEME);
    if (scheme != "http" && scheme != "https") return false;
    to.secure = scheme == "https";
    to.host = UrlPart(url, CURLUPART_HOST);
    to.port = static_cast<INTERNET_PORT>(std::atoi(UrlPart(url, CURLUPART_PORT, CURLU_DEFAULT_PORT).c_str()));
    std::string query = UrlPart(url, CURLUPART_QUERY);
    to.path = UrlPart(url, CURLUPART_PATH) + (query.empty() ? "" : "?" + query);
    return IsValidHostName(to.host.c_str()) && to.port != 0;
}

}  // namespace

std::string OriginOf(const Target &target) {
    return (target.secure ? "https://" : "http://") + target.host + ":" + std::to_string(target.port);
}

std::string HostHeaderOf(const Target &target) {
    INTERNET_PORT standard = target.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    return target.port == standard ? target.host : target.host + ":" + std::to_string(target.port);
}

bool IsRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool RedirectTarget(const Target &from, const std::string &location, Target &to) {
    CURLU *url = Curl().url();
    if (!url) return false;
    bool usable = SetBase(url, from) &&
                  Curl().url_set(url, CURLUPART_URL, location.c_str(), CURLU_ALLOW_SPACE) == CURLUE_OK &&
                  ReadTarget(url, to);
    Curl().url_cleanup(url);
    return usable;
}

bool RedirectDropsBody(int status, const std::string &verb) {
    if (status == 303) return verb != "HEAD";
    return (status == 301 || status == 302) && verb == "POST";
}

}  // namespace platform::wininet
