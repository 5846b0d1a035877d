#include "response_info.h"

#include <winerror.h>
#include <wininet.h>

#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace platform::wininet {
namespace {

struct NamedLevel {
    DWORD level;
    const char *name;
};

const NamedLevel namedLevels[] = {
    {HTTP_QUERY_MIME_VERSION, "Mime-Version"},
    {HTTP_QUERY_CONTENT_TYPE, "Content-Type"},
    {HTTP_QUERY_CONTENT_TRANSFER_ENCODING, "Content-Transfer-Encoding"},
    {HTTP_QUERY_CONTENT_LENGTH, "Content-Length"},
    {HTTP_QUERY_CONTENT_LANGUAGE, "Content-Language"},
    {HTTP_QUERY_ALLOW, "Allow"},
    {HTTP_QUERY_DATE, "Date"},
    {HTTP_QUERY_EXPIRES, "Expires"},
    {HTTP_QUERY_LAST_MODIFIED, "Last-Modified"},
    {HTTP_QUERY_PRAGMA, "Pragma"},
    {HTTP_QUERY_CONNECTION, "Connection"},
    {HTTP_QUERY_CONTENT_ENCODING, "Content-Encoding"},
    {HTTP_QUERY_LOCATION, "Location"},
    {HTTP_QUERY_RETRY_AFTER, "Retry-After"},
    {HTTP_QUERY_SERVER, "Server"},
    {HTTP_QUERY_WWW_AUTHENTICATE, "WWW-Authenticate"},
    {HTTP_QUERY_PROXY_AUTHENTICATE, "Proxy-Authenticate"},
    {HTTP_QUERY_ACCEPT_RANGES, "Accept-Ranges"},
    {HTTP_QUERY_SET_COOKIE, "Set-Cookie"},
    {HTTP_QUERY_TRANSFER_ENCODING, "Transfer-Encoding"},
};

std::string Trim(const std::string &text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string RawBlock(const ResponseHead &head, const char *lineEnd, size_t endSize) {
    std::string block = head.statusLine;
    block.append(lineEnd, endSize);
    for (const std::string &line : head.lines) {
        block += line;
        block.append(lineEnd, endSize);
    }
    block.append(lineEnd, endSize);
    return block;
}

std::string StatusPart(const std::string &statusLine, int part) {
    size_t first = statusLine.find(' ');
    if (part == 0) return statusLine.substr(0, first);
    if (first == std::string::npos) return {};
    size_t second = statusLine.find(' ', first + 1);
    if (part == 1) return statusLine.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    return second == std::string::npos ? std::string() : statusLine.substr(second + 1);
}

// The value of the n-th header of that name (n from the caller's index).
bool HeaderOccurrence(const ResponseHead &head, const std::string &name, DWORD *index, std::string &value) {
    DWORD wanted = index ? *index : 0, seen = 0;
    for (const std::string &line : head.lines) {
        size_t colon = line.find(':');
        if (colon == std::string::npos || strcasecmp(line.substr(0, colon).c_str(), name.c_str()) != 0) continue;
        if (seen++ == wanted) {
            value = Trim(line.substr(colon + 1));
            return true;
        }
    }
    return false;
}

const char *LevelName(DWORD level) {
    for (const NamedLevel &entry : namedLevels)
        if (entry.level == level) return entry.name;
    return nullptr;
}

DWORD GiveText(const std::string &text, void *buffer, DWORD *length) {
    if (!buffer || *length < text.size() + 1) {
        *length = static_cast<DWORD>(text.size() + 1);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    std::memcpy(buffer, text.data(), text.size());
    static_cast<char *>(buffer)[text.size()] = '\0';
    *length = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

DWORD GiveNumber(const std::string &text, void *buffer, DWORD *length) {
    if (!buffer || *length < sizeof(DWORD)) {
        *length = sizeof(DWORD);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    DWORD number = static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
    std::memcpy(buffer, &number, sizeof number);
    *length = sizeof(DWORD);
    return ERROR_SUCCESS;
}

// The text a level asks for; false when the response has none.
bool TextFor(const ResponseHead &head, DWORD base, const std::string &customName, DWORD *index, std::string &text) {
    switch (base) {
    case HTTP_QUERY_RAW_HEADERS_CRLF: text = RawBlock(head, "\r\n", 2); return true;
    case HTTP_QUERY_RAW_HEADERS: text = RawBlock(head, "\0", 1); text.pop_back(); return true;
    case HTTP_QUERY_VERSION: text = StatusPart(head.statusLine, 0); return true;
    case HTTP_QUERY_STATUS_CODE: text = StatusPart(head.statusLine, 1); return true;
    case HTTP_QUERY_STATUS_TEXT: text = StatusPart(head.statusLine, 2); return true;
    case HTTP_QUERY_CUSTOM: return HeaderOccurrence(head, customName, index, text);
    default: {
        const char *name = LevelName(base);
        return name && HeaderOccurrence(head, name, index, text);
    }
    }
}

}  // namespace

DWORD QueryResponse(const ResponseHead &head, DWORD level, void *buffer, DWORD *length, DWORD *index) {
    if (!length) return ERROR_INVALID_PARAMETER;
    DWORD base = level & HTTP_QUERY_HEADER_MASK;
    if (level & (HTTP_QUERY_FLAG_REQUEST_HEADERS | HTTP_QUERY_FLAG_SYSTEMTIME)) return ERROR_HTTP_INVALID_QUERY_REQUEST;
    if (base != HTTP_QUERY_CUSTOM && base > HTTP_QUERY_TRANSFER_ENCODING) return ERROR_HTTP_INVALID_QUERY_REQUEST;
    std::string customName;
    if (base == HTTP_QUERY_CUSTOM) {
        if (!buffer) return ERROR_INVALID_PARAMETER;
        customName.assign(static_cast<const char *>(buffer), strnlen(static_cast<const char *>(buffer), *length));
    }
    std::string text;
    if (!TextFor(head, base, customName, index, text)) return ERROR_HTTP_HEADER_NOT_FOUND;
    DWORD error = level & HTTP_QUERY_FLAG_NUMBER ? GiveNumber(text, buffer, length) : GiveText(text, buffer, length);
    // The index moves to the next header of the name only when this one was delivered.
    if (error == ERROR_SUCCESS && index) ++*index;
    return error;
}

}  // namespace platform::wininet
