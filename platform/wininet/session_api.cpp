// InternetOpenA, InternetConnectA and InternetCloseHandle.
#include <winbase.h>

#include <cstring>

#include "header_block.h"
#include "internet_object.h"

using namespace platform::wininet;

namespace {

HINTERNET Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

bool HoldsLineBreak(const char *text) {
    return text && std::strpbrk(text, "\r\n") != nullptr;
}

}  // namespace

extern "C" HINTERNET WINAPI InternetOpenA(LPCSTR lpszAgent, DWORD dwAccessType, LPCSTR lpszProxy,
                                          LPCSTR lpszProxyBypass, DWORD dwFlags) {
    if (dwFlags & INTERNET_FLAG_ASYNC) return Fail(ERROR_NOT_SUPPORTED);
    if (HoldsLineBreak(lpszAgent)) return Fail(ERROR_INVALID_PARAMETER);
    auto session = std::make_shared<InternetObject>();
    session->kind = ObjectKind::Session;
    session->timeouts = DefaultTimeouts();
    session->agent = lpszAgent ? lpszAgent : "";
    switch (dwAccessType) {
    case INTERNET_OPEN_TYPE_DIRECT:
    case INTERNET_OPEN_TYPE_PRECONFIG:  // no system settings here: direct
    case INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY:
        break;
    case INTERNET_OPEN_TYPE_PROXY:
        if (!ParseProxyList(lpszProxy, session->proxy)) return Fail(ERROR_INVALID_PARAMETER);
        ParseBypassList(lpszProxyBypass, session->proxy);
        break;
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
    return RegisterInternetObject(std::move(session));
}

extern "C" HINTERNET WINAPI InternetConnectA(HINTERNET hInternet, LPCSTR lpszServerName,
                                             INTERNET_PORT nServerPort, LPCSTR, LPCSTR,
                                             DWORD dwService, DWORD, DWORD_PTR) {
    ObjectRef session = LookUpInternetObject(hInternet, ObjectKind::Session);
    if (!session) return nullptr;
    if (dwService != INTERNET_SERVICE_HTTP) return Fail(ERROR_NOT_SUPPORTED);
    if (!IsValidHostName(lpszServerName)) return Fail(ERROR_INVALID_PARAMETER);
    auto connection = std::make_shared<InternetObject>();
    connection->kind = ObjectKind::Connection;
    {
        std::lock_guard<std::mutex> guard(session->lock);
        connection->timeouts = session->timeouts;
        connection->agent = session->agent;
        connection->proxy = session->proxy;
    }
    connection->host = lpszServerName;
    connection->port = nServerPort;
    return RegisterInternetObject(std::move(connection));
}

extern "C" BOOL WINAPI InternetCloseHandle(HINTERNET hInternet) {
    if (!CloseInternetObject(hInternet)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
