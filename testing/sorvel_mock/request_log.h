// The request log: one JSON object per line with the method, the path (the request
// target as sent, query included), the version, the header lines in the order
// received and the body.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sorvel_mock {

struct LoggedRequest {
    std::string method;
    std::string target;
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
};

// Splits a raw request head (request line, header lines, blank line).
LoggedRequest ParseRawHead(const std::string &rawHead);
std::string ToJsonLine(const LoggedRequest &request);
bool OpenRequestLog(const std::string &path);
void WriteRequestLog(const LoggedRequest &request);

}  // namespace sorvel_mock
