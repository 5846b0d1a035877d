// FetchWebPage: one HTTP request through the declared WinInet functions, its whole
// body as text (UTF-8 pages re-encoded to GBK), and what the response says about
// cookies and redirects.
#pragma once

#include <cstdint>
#include <string>

namespace app {

constexpr int32_t kMethodGet = 0;
constexpr int32_t kMethodPost = 1; // any other nonzero method: verb GET sent with a body

// A null pointer is an argument the caller leaves out. `cookies` given: sent in a
// Cookie line when not empty, WinInet's own cookie store bypassed, and the response's
// cookies merged into it. `extraHeaders` receives the default header lines appended.
// `redirectTarget` receives the Location header, or, when there is none and it is
// empty, the raw header block. `bodyBytes` (method other than GET) is the body, set
// from `postText` when empty. `proxy` is host:port for HTTP. The empty text when the
// internet handle, connection or request cannot be opened.
std::string FetchWebPage(const std::string &address, int32_t method = kMethodGet, const std::string &postText = {},
                         std::string *cookies = nullptr, std::string *responseCookies = nullptr,
                         std::string *extraHeaders = nullptr, std::string *redirectTarget = nullptr,
                         bool noRedirect = false, std::string *bodyBytes = nullptr,
                         const std::string *proxy = nullptr, std::string *rawHeaders = nullptr);

} // namespace app
