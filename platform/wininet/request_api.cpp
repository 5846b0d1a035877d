// HttpOpenRequestA, HttpSendRequestA, InternetReadFile and HttpQueryInfoA.
#include <winbase.h>

#include <cstring>

#include "header_block.h"
#include "internet_object.h"
#include "response_info.h"

using namespace platform::wininet;

namespace {

constexpr int maxRedirects = 20;

HINTERNET FailHandle(DWORD error) {
    SetLastError(error);
    return nullptr;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Referer and Accept lines of HttpOpenRequestA. False when one would hold a line break.
bool OpenHeaderLines(LPCSTR referrer, LPCSTR *acceptTypes, std::vector<std::string> &lines) {
    if (referrer && *referrer) {
        if (std::strpbrk(referrer, "\r\n")) return false;
        lines.push_back(std::string("Referer: ") + referrer);
    }
    std::string accept;
    for (LPCSTR *type = acceptTypes; type && *type; ++type) {
        if (std::strpbrk(*type, "\r\n")) return false;
        accept += (accept.empty() ? "" : ", ") + std::string(*type);
    }
    if (!accept.empty()) lines.push_back("Accept: " + accept);
    return true;
}

Target TargetOf(const InternetObject &connection, DWORD flags, const std::string &path) {
    Target target;
    target.secure = (flags & INTERNET_FLAG_SECURE) != 0;
    target.host = connection.host;
    target.port = connection.port != INTERNET_INVALID_PORT_NUMBER
                      ? connection.port
                      : (target.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
    target.path = path;
    return target;
}

// What one hop of a send needs besides the request object.
struct Outgoing {
    std::vector<std::string> callerLines;
    std::string verb;
    bool hasBody = false;
    std::string body;
};

// The header lines in wire order: those of the open call, the caller's, then
// User-Agent and Host unless the caller gave them.
std::vector<std::string> WireHeaders(const InternetObject &request, const Outgoing &out) {
    std::vector<std::string> lines = request.request.openHeaders;
    lines.insert(lines.end(), out.callerLines.begin(), out.callerLines.end());
    if (!request.agent.empty() && !HasHeader(lines, "User-Agent")) lines.push_back("User-Agent: " + request.agent);
    if (!HasHeader(lines, "Host")) lines.push_back("Host: " + HostHeaderOf(request.request.target));
    return lines;
}

TransferPlan PlanFor(const InternetObject &request, const Outgoing &out) {
    const RequestState &state = request.request;
    TransferPlan plan;
    plan.origin = OriginOf(state.target);
    plan.verb = out.verb;
    plan.http10 = state.http10;
    plan.headers = WireHeaders(request, out);
    plan.hasBody = out.hasBody;
    plan.body = out.body;
    plan.proxy = ProxyFor(request.proxy, state.target.secure, state.target.host);
    // Without a tunnel the proxy is sent the absolute address.
    bool absolute = !plan.proxy.empty() && !state.target.secure && state.target.path[0] == '/';
    plan.path = state.target.path;
    plan.target = absolute ? plan.origin + state.target.path : state.target.path;
    plan.cookies = (state.flags & INTERNET_FLAG_NO_COOKIES) == 0;
    plan.verifyPeer = (request.securityFlags & SECURITY_FLAG_IGNORE_UNKNOWN_CA) == 0;
    plan.verifyHost = ((state.flags | request.securityFlags) & INTERNET_FLAG_IGNORE_CERT_CN_INVALID) == 0;
    plan.connectMs = request.timeouts.connectMs;
    plan.sendMs = request.timeouts.sendMs;
    plan.receiveMs = request.timeouts.receiveMs;
    return plan;
}

// The error a redirect to another scheme meets, unless the flags allow it.
DWORD SchemeChangeError(DWORD flags, bool fromSecure, bool toSecure) {
    if (!fromSecure && toSecure && !(flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS))
        return ERROR_INTERNET_HTTP_TO_HTTPS_ON_REDIR;
    if (fromSecure && !toSecure && !(flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP))
        return ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR;
    return ERROR_SUCCESS;
}

// Moves the request on when the response is a redirect to follow. Returns true when it
// moved, false when this response is the answer; error is set when the send must fail.
bool FollowRedirect(InternetObject &request, Outgoing &out, const ResponseHead &head, DWORD &error) {
    RequestState &state = request.request;
    std::string location;
    if ((state.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) || !IsRedirectStatus(head.status) ||
        !HeaderValue(head.lines, "Location", location))
        return false;
    Target next;
    if (!RedirectTarget(state.target, location, next)) return false;
    error = SchemeChangeError(state.flags, state.target.secure, next.secure);
    if (error != ERROR_SUCCESS) return false;
    if (RedirectDropsBody(head.status, out.verb)) {
        out.verb = "GET";
        out.hasBody = false;
        out.body.clear();
    }
    state.target = next;
    return true;
}

DWORD SendWithRedirects(InternetObject &request, Outgoing &out) {
    for (int hop = 0; hop <= maxRedirects; ++hop) {
        std::unique_ptr<Transfer> transfer = StartTransfer(PlanFor(request, out));
        if (!transfer) return ERROR_INTERNET_INTERNAL_ERROR;
        DWORD error = AwaitResponseHead(*transfer);
        if (error != ERROR_SUCCESS) return error;
        if (!FollowRedirect(request, out, transfer->head, error)) {
            if (error == ERROR_SUCCESS) request.request.transfer = std::move(transfer);
            return error;
        }
    }
    return ERROR_HTTP_REDIRECT_FAILED;
}

}  // namespace

extern "C" HINTERNET WINAPI HttpOpenRequestA(HINTERNET hConnect, LPCSTR lpszVerb, LPCSTR lpszObjectName,
                                             LPCSTR lpszVersion, LPCSTR lpszReferrer,
                                             LPCSTR *lplpszAcceptTypes, DWORD dwFlags, DWORD_PTR) {
    ObjectRef connection = LookUpInternetObject(hConnect, ObjectKind::Connection);
    if (!connection) return nullptr;
    std::string verb = lpszVerb && *lpszVerb ? lpszVerb : "GET";
    if (!IsToken(verb)) return FailHandle(ERROR_INVALID_PARAMETER);
    std::string path;
    if (!RequestTargetFromPath(lpszObjectName, path)) return FailHandle(ERROR_INTERNET_INVALID_URL);
    std::string version = lpszVersion && *lpszVersion ? lpszVersion : "HTTP/1.1";
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return FailHandle(ERROR_INVALID_PARAMETER);
    auto request = std::make_shared<InternetObject>();
    request->kind = ObjectKind::Request;
    if (!OpenHeaderLines(lpszReferrer, lplpszAcceptTypes, request->request.openHeaders))
        return FailHandle(ERROR_INVALID_PARAMETER);
    std::lock_guard<std::mutex> guard(connection->lock);
    request->timeouts = connection->timeouts;
    request->agent = connection->agent;
    request->proxy = connection->proxy;
    request->request.verb = verb;
    request->request.http10 = version == "HTTP/1.0";
    request->request.flags = dwFlags;
    request->request.target = TargetOf(*connection, dwFlags, path);
    return RegisterInternetObject(std::move(request));
}

extern "C" BOOL WINAPI HttpSendRequestA(HINTERNET hRequest, LPCSTR lpszHeaders, DWORD dwHeadersLength,
                                        LPVOID lpOptional, DWORD dwOptionalLength) {
    ObjectRef request = LookUpInternetObject(hRequest, ObjectKind::Request);
    if (!request) return FALSE;
    if (!lpOptional && dwOptionalLength > 0) return Fail(ERROR_INVALID_PARAMETER);
    Outgoing out;
    DWORD error = ParseHeaderBlock(lpszHeaders, dwHeadersLength, out.callerLines);
    if (error != ERROR_SUCCESS) return Fail(error);
    std::lock_guard<std::mutex> guard(request->lock);
    out.verb = request->request.verb;
    out.hasBody = dwOptionalLength > 0;
    if (out.hasBody) out.body.assign(static_cast<const char *>(lpOptional), dwOptionalLength);
    request->request.transfer.reset();
    error = SendWithRedirects(*request, out);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

extern "C" BOOL WINAPI InternetReadFile(HINTERNET hFile, LPVOID lpBuffer, DWORD dwNumberOfBytesToRead,
                                        LPDWORD lpdwNumberOfBytesRead) {
    if (!lpdwNumberOfBytesRead) return Fail(ERROR_INVALID_PARAMETER);
    *lpdwNumberOfBytesRead = 0;
    ObjectRef request = LookUpInternetObject(hFile, ObjectKind::Request);
    if (!request) return FALSE;
    if (!lpBuffer && dwNumberOfBytesToRead > 0) return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard<std::mutex> guard(request->lock);
    Transfer *transfer = request->request.transfer.get();
    if (!transfer) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    DWORD error = ReadBody(*transfer, static_cast<char *>(lpBuffer), dwNumberOfBytesToRead, *lpdwNumberOfBytesRead);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

extern "C" BOOL WINAPI HttpQueryInfoA(HINTERNET hRequest, DWORD dwInfoLevel, LPVOID lpBuffer,
                                      LPDWORD lpdwBufferLength, LPDWORD lpdwIndex) {
    ObjectRef request = LookUpInternetObject(hRequest, ObjectKind::Request);
    if (!request) return FALSE;
    std::lock_guard<std::mutex> guard(request->lock);
    Transfer *transfer = request->request.transfer.get();
    if (!transfer) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    DWORD error = QueryResponse(transfer->head, dwInfoLevel, lpBuffer, lpdwBufferLength, lpdwIndex);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}
