#include "sorvel_mock/request_log.h"

#include <cstdio>
#include <mutex>

namespace sorvel_mock {
namespace {

std::mutex logLock;
std::FILE *logFile = nullptr;

// Bytes outside ASCII are written as \u00XX so that every byte survives in valid JSON.
std::string JsonString(const std::string &bytes) {
    std::string out = "\"";
    char escape[8];
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::vector<std::string> Lines(const std::string &rawHead) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < rawHead.size()) {
        size_t end = rawHead.find("\r\n", start);
        if (end == std::string::npos) end = rawHead.size();
        if (end == start) break;
        lines.push_back(rawHead.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace

LoggedRequest ParseRawHead(const std::string &rawHead) {
    LoggedRequest request;
    std::vector<std::string> lines = Lines(rawHead);
    if (lines.empty()) return request;
    const std::string &first = lines[0];
    size_t space1 = first.find(' '), space2 = first.rfind(' ');
    request.method = first.substr(0, space1);
    if (space1 != std::string::npos && space2 > space1) {
        request.target = first.substr(space1 + 1, space2 - space1 - 1);
        request.version = first.substr(space2 + 1);
    }
    for (size_t i = 1; i < lines.size(); ++i) {
        size_t colon = lines[i].find(':');
        size_t value = lines[i].find_first_not_of(' ', colon + 1);
        request.headers.emplace_back(lines[i].substr(0, colon),
                                     colon == std::string::npos || value == std::string::npos ? "" : lines[i].substr(value));
    }
    return request;
}

std::string ToJsonLine(const LoggedRequest &request) {
    std::string line = "{\"method\":" + JsonString(request.method) + ",\"path\":" + JsonString(request.target) +
                       ",\"version\":" + JsonString(request.version) + ",\"headers\":[";
    for (size_t i = 0; i < request.headers.size(); ++i)
        line += (i ? ",[" : "[") + JsonString(request.headers[i].first) + "," + JsonString(request.headers[i].second) + "]";
    return line + "],\"body\":" + JsonString(request.body) + "}\n";
}

bool OpenRequestLog(const std::string &path) {
    std::lock_guard<std::mutex> guard(logLock);
    logFile = std::fopen(path.c_str(), "a");
    return logFile != nullptr;
}

void WriteRequestLog(const LoggedRequest &request) {
    std::lock_guard<std::mutex> guard(logLock);
    if (!logFile) return;
    std::fputs(ToJsonLine(request).c_str(), logFile);
    std::fflush(logFile);  // readers look at the file while the mock runs
}

}  // namespace sorvel_mock
