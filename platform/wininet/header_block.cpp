#include "header_block.h"

#include <wininet.h>
#include <winerror.h>

#include <cstring>
#include <strings.h>

namespace platform::wininet {
namespace {

bool IsTokenChar(unsigned char c) {
    if (c <= 0x20 || c >= 0x7F) return false;
    return std::strchr("()<>@,;:\\\"/[]?={}", c) == nullptr;
}

std::string Trim(const std::string &text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A line is "Name:" followed by a value without control bytes other than tab.
bool IsValidHeaderLine(const std::string &line) {
    size_t colon = line.find(':');
    if (colon == std::string::npos || !IsToken(line.substr(0, colon))) return false;
    for (size_t i = colon + 1; i < line.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
    }
    return true;
}

std::string NameOf(const std::string &line) {
    return line.substr(0, line.find(':'));
}

}  // namespace

bool IsToken(const std::string &text) {
    if (text.empty()) return false;
    for (unsigned char c : text)
        if (!IsTokenChar(c)) return false;
    return true;
}

bool IsValidHostName(const char *host) {
    if (!host || !*host) return false;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(host); *p; ++p) {
        if (*p <= 0x20 || *p >= 0x7F) return false;
        if (std::strchr("/\\?#@%\"<>{}|^`", *p)) return false;
    }
    return true;
}

bool RequestTargetFromPath(const char *path, std::string &target) {
    static const char hex[] = "0123456789ABCDEF";
    target.clear();
    if (!path || !*path) path = "/";
    if (*path != '/' && *path != '*' && std::strstr(path, "://") == nullptr) target += '/';
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(path); *p; ++p) {
        if (*p == '\r' || *p == '\n') return false;
        if (*p <= 0x20 || *p == 0x7F) {
            target += '%';
            target += hex[*p >> 4];
            target += hex[*p & 15];
        } else {
            target += static_cast<char>(*p);
        }
    }
    return true;
}

DWORD ParseHeaderBlock(const char *text, DWORD length, std::vector<std::string> &lines) {
    if (!text) return ERROR_SUCCESS;
    size_t size = length == static_cast<DWORD>(-1) ? std::strlen(text) : length;
    std::string block(text, size);
    if (block.find('\0') != std::string::npos) return ERROR_INVALID_PARAMETER;
    size_t start = 0;
    while (start <= block.size()) {
        size_t end = block.find("\r\n", start);
        if (end == std::string::npos) end = block.size();
        std::string line = block.substr(start, end - start);
        start = end + 2;
        if (line.empty()) continue;
        if (line.find_first_of("\r\n") != std::string::npos) return ERROR_INVALID_PARAMETER;
        if (!IsValidHeaderLine(line)) return ERROR_HTTP_INVALID_HEADER;
        lines.push_back(line);
    }
    return ERROR_SUCCESS;
}

bool HasHeader(const std::vector<std::string> &lines, const char *name) {
    std::string value;
    return HeaderValue(lines, name, value);
}

bool HeaderValue(const std::vector<std::string> &lines, const char *name, std::string &value) {
    for (const std::string &line : lines) {
        if (strcasecmp(NameOf(line).c_str(), name) == 0) {
            value = Trim(line.substr(line.find(':') + 1));
            return true;
        }
    }
    return false;
}

}  // namespace platform::wininet
