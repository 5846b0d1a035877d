#include "fetch_web_page.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "conversion_commands.h"
#include "convert_charset.h"
#include "cookies.h"
#include "literals.h"
#include "runtime_calls.h"
#include "text_calls.h"
#include "text_commands.h"
#include "text_pieces.h"
#include "url_parts.h"

namespace app {
namespace {

constexpr int32_t kChunkSize = 1024;
constexpr int32_t kHeaderBufferSize = 5000;
constexpr int32_t kUtf8DeclarationLimit = 500; // a body's own declaration counts before this position

using Handle = uintptr_t;

// The caller's variable, or a local one standing in for an omitted argument.
struct Variables {
    std::string cookies, responseCookies, extraHeaders, redirectTarget, bodyBytes, rawHeaders;
};

const char *L(image::Constant offset) { return Literal(offset); }

bool Contains(const std::string &text, image::Constant sought, bool ignoreCase = false) {
    return TextPosition(text, L(sought), 1, ignoreCase) > 0;
}

// The agent named by a User-Agent line of the extra headers, else the default one.
std::string AgentOf(const std::string &extraHeaders) {
    int32_t at = TextPosition(extraHeaders, L(image::kUserAgentName), 1, true);
    if (at <= 0) return L(image::kDefaultUserAgent);
    std::string agent = TrimSpaces(TextBetween(extraHeaders, L(image::kUserAgentName), L(image::kLineBreak)));
    // A last line without a line break: the text after the colon of that line.
    if (agent.empty()) agent = TextAfterColon(TextRight(extraHeaders, TextLength(extraHeaders) - at + 1));
    return agent;
}

Handle OpenInternet(const std::string &agent, const std::string *proxy) {
    if (proxy) {
        std::string server = L(image::kProxyPrefix) + *proxy;
        return Handle(CallDeclared(image::kDeclaredInternetOpen, {Word(agent.c_str()), Word(INTERNET_OPEN_TYPE_PROXY),
                                                                  Word(server.c_str()), Word(EmptyText()), Word(0)}));
    }
    return Handle(CallDeclared(image::kDeclaredInternetOpen,
                               {Word(agent.c_str()), Word(INTERNET_OPEN_TYPE_DIRECT), Word(0), Word(0), Word(0)}));
}

Handle Connect(Handle internet, const std::string &address) {
    std::string host = UrlHost(address);
    return Handle(CallDeclared(image::kDeclaredInternetConnect,
                               {internet, Word(host.c_str()), Word(UrlPort(address)), Word(0), Word(0),
                                Word(INTERNET_SERVICE_HTTP), Word(0), Word(0)}));
}

uint32_t RequestFlags(const std::string &address, bool cookiesGiven, bool noRedirect) {
    uint32_t flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
    if (cookiesGiven) flags |= INTERNET_FLAG_NO_COOKIES;
    if (noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    flags |= IsHttpsAddress(address) ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    return flags;
}

Handle OpenRequest(Handle connection, int32_t method, const std::string &address, uint32_t flags) {
    const char *verb = method == kMethodPost ? L(image::kVerbPost) : L(image::kVerbGet);
    std::string path = UrlPath(address);
    return Handle(CallDeclared(image::kDeclaredHttpOpenRequest,
                               {connection, Word(verb), Word(path.c_str()), Word(L(image::kHttpVersion)), Word(0),
                                Word(0), Word(int32_t(flags)), Word(0)}));
}

void Close(Handle handle) { CallDeclared(image::kDeclaredInternetCloseHandle, {handle}); }
void CloseAll(std::initializer_list<Handle> handles) {
    for (Handle h : handles) Close(h);
}

// Appends the default lines whose names the caller's headers lack, then the cookies.
void AddDefaultHeaders(std::string &headers, const std::string &address, const std::string &cookies) {
    if (!Contains(headers, image::kRefererName))
        headers += (headers.empty() ? L(image::kRefererFirstLine) : L(image::kRefererLine)) + address;
    if (!Contains(headers, image::kAcceptName)) headers += L(image::kAcceptLine);
    if (!Contains(headers, image::kAcceptLanguageName)) headers += L(image::kAcceptLanguageLine);
    if (!Contains(headers, image::kContentTypeName)) headers += L(image::kContentTypeLine);
    if (!cookies.empty()) headers += L(image::kCookieLine) + cookies;
}

void Send(Handle request, int32_t method, const std::string &headers, const std::string &postText,
          std::string &bodyBytes) {
    int32_t length = TextLength(headers);
    if (method == kMethodGet) {
        CallDeclared(image::kDeclaredHttpSendRequestText,
                     {request, Word(headers.c_str()), Word(length), Word(EmptyText()), Word(0)});
        return;
    }
    if (bodyBytes.empty()) bodyBytes = TakeByteSet(CallCommand(cmd::ToByteSet, {TextArg(postText.c_str())}));
    ByteSetBlock body(bodyBytes);
    CallDeclared(image::kDeclaredHttpSendRequestBytes,
                 {request, Word(headers.c_str()), Word(length), Word(body.Data()), Word(int32_t(bodyBytes.size()))});
}

// The body in chunks until a read gives nothing (the end, or a failed read).
std::string ReadBody(Handle request) {
    std::string body;
    for (;;) {
        rt::TypedValue chunk = CallCommand(cmd::BlankByteSet, {IntegerArg(kChunkSize)});
        int32_t read = 0;
        CallDeclared(image::kDeclaredInternetReadFile,
                     {request, Word(rt::ByteSetBytes(chunk.Pointer<uint8_t>())), Word(kChunkSize), Word(&read)});
        std::string bytes = TakeByteSet(chunk);
        if (read <= 0) return body;
        body += bytes.substr(0, size_t(read < kChunkSize ? read : kChunkSize));
    }
}

// The raw header block; 5000 spaces when it does not fit.
std::string ReadRawHeaders(Handle request) {
    rt::TypedValue buffer = CallCommand(cmd::SpaceText, {IntegerArg(kHeaderBufferSize)});
    int32_t size = kHeaderBufferSize;
    CallDeclared(image::kDeclaredHttpQueryInfo,
                 {request, Word(HTTP_QUERY_RAW_HEADERS_CRLF), Word(buffer.Pointer<char>()), Word(&size), Word(0)});
    return TakeText(buffer);
}

// Location and Set-Cookie lines of the raw headers.
void ReadHeaderLines(const std::string &rawHeaders, std::string &redirectTarget, std::string &responseCookies) {
    responseCookies.clear();
    for (const std::string &line : SplitText(rawHeaders, L(image::kLineBreak))) {
        if (Contains(line, image::kLocationName)) redirectTarget = TextAfterColon(line);
        if (Contains(line, image::kSetCookieMark))
            responseCookies += TrimSpaces(TextBetween(line, L(image::kSetCookieName), L(image::kSemicolon))) +
                               L(image::kItemSeparator);
    }
    responseCookies = TextLeft(responseCookies, TextLength(responseCookies) - 2);
}

std::string AsText(const std::string &body) {
    return TakeText(CallCommand(cmd::ToText, {ByteSetBlock(body).Arg()}));
}

// The body's own utf-8 declaration before position 500 in any case ("UTF-8" is as
// common as "utf-8"), or one in the headers.
bool IsUtf8Page(const std::string &body, const std::string &rawHeaders) {
    std::string head = body.substr(0, kUtf8DeclarationLimit + TextLength(L(image::kUtf8Name)));
    std::replace(head.begin(), head.end(), '\0', ' '); // a zero byte must not end the search early
    head = AsText(head);
    int32_t at = TextPosition(head, L(image::kUtf8Name), 1, true);
    if (at > 0 && at < kUtf8DeclarationLimit) return true;
    return Contains(rawHeaders, image::kUtf8Name, true);
}

bool ClosedAfterFailure(std::initializer_list<Handle> handles) {
    CloseAll(handles);
    return false;
}

struct Handles {
    Handle internet = 0, connection = 0, request = 0;
};

// The internet handle, connection and request; on a failure those opened so far
// (and the failed one) are closed.
bool OpenHandles(Handles &h, const std::string &address, int32_t method, const std::string &agent,
                 const std::string *proxy, uint32_t flags) {
    h.internet = OpenInternet(agent, proxy);
    if (!h.internet) return ClosedAfterFailure({h.internet});
    h.connection = Connect(h.internet, address);
    if (!h.connection) return ClosedAfterFailure({h.connection, h.internet});
    h.request = OpenRequest(h.connection, method, address, flags);
    if (!h.request) return ClosedAfterFailure({h.request, h.connection, h.internet});
    return true;
}

} // namespace

std::string FetchWebPage(const std::string &address, int32_t method, const std::string &postText,
                         std::string *cookies, std::string *responseCookies, std::string *extraHeaders,
                         std::string *redirectTarget, bool noRedirect, std::string *bodyBytes,
                         const std::string *proxy, std::string *rawHeaders) {
    Variables local;
    std::string &headers = extraHeaders ? *extraHeaders : local.extraHeaders;
    Handles handles;
    uint32_t flags = RequestFlags(address, cookies != nullptr, noRedirect);
    if (!OpenHandles(handles, address, method, AgentOf(headers), proxy, flags)) return {};

    AddDefaultHeaders(headers, address, cookies ? *cookies : local.cookies);
    Send(handles.request, method, headers, postText, bodyBytes ? *bodyBytes : local.bodyBytes);
    std::string page = ReadBody(handles.request);
    std::string raw = ReadRawHeaders(handles.request);
    CloseAll({handles.request, handles.connection, handles.internet});

    std::string &target = redirectTarget ? *redirectTarget : local.redirectTarget;
    std::string &setCookies = responseCookies ? *responseCookies : local.responseCookies;
    (rawHeaders ? *rawHeaders : local.rawHeaders) = raw;
    ReadHeaderLines(raw, target, setCookies);
    if (cookies) MergeCookies(*cookies, setCookies);
    if (target.empty()) target = raw;
    if (IsUtf8Page(page, raw)) page = ConvertCharset(page);
    return AsText(page);
}

} // namespace app
