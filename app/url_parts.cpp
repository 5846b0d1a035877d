#include "url_parts.h"

#include <vector>

#include "literals.h"
#include "text_calls.h"
#include "text_pieces.h"

namespace app {
namespace {

bool StartsWith(const std::string &text, const char *prefix) {
    std::string p = prefix;
    return TextLeft(text, TextLength(p)) == p;
}

// Where the host may start: after the scheme when there is one.
int32_t HostSearchStart(const std::string &address) {
    std::string lower = ToLowerCase(address);
    if (StartsWith(lower, Literal(image::kHttpsPrefix))) return TextLength(Literal(image::kHttpsPrefix)) + 1;
    if (StartsWith(lower, Literal(image::kHttpPrefix))) return TextLength(Literal(image::kHttpPrefix)) + 1;
    return 1;
}

std::string LastTwoLabels(const std::string &host) {
    std::vector<std::string> labels = SplitText(host, Literal(image::kDot));
    if (labels.size() <= 1) return host;
    return labels[labels.size() - 2] + Literal(image::kDot) + labels.back();
}

} // namespace

bool IsHttpsAddress(const std::string &address) {
    return ToLowerCase(TextLeft(address, 5)) == Literal(image::kSchemeHttps);
}

std::string UrlHost(const std::string &address, bool registrableOnly, bool keepPort) {
    std::string u = ToLowerCase(address);
    if (TextRight(u, 1) != Literal(image::kSlash)) u += Literal(image::kSlash);
    std::string host;
    if (StartsWith(u, Literal(image::kHttpsPrefix))) {
        host = TextBetween(u, Literal(image::kHttpsPrefix), Literal(image::kSlash));
    } else {
        // Only a scheme in front counts: "http://" later in a query is not the host.
        if (!StartsWith(u, Literal(image::kHttpPrefix))) u = Literal(image::kHttpPrefix) + u;
        host = TextBetween(u, Literal(image::kHttpPrefix), Literal(image::kSlash));
    }
    if (registrableOnly) host = LastTwoLabels(host);
    int32_t colon = TextPosition(host, Literal(image::kColon));
    if (!keepPort && colon > 0) host = TextLeft(host, colon - 1);
    return host;
}

int32_t UrlPort(const std::string &address) {
    std::string host = UrlHost(address, false, true);
    int32_t colon = TextPosition(host, Literal(image::kColon));
    if (colon <= 0) return IsHttpsAddress(address) ? 443 : 80;
    return ToInteger(TextRight(host, TextLength(host) - colon));
}

std::string UrlPath(const std::string &address) {
    std::string host = UrlHost(address, false, false);
    int32_t a = TextPosition(address, host, HostSearchStart(address), true);
    int32_t b = TextPosition(address, Literal(image::kSlash), a, true);
    if (b <= 0) return Literal(image::kSlash);
    return TextRight(address, TextLength(address) - b + 1);
}

} // namespace app
