#include "client.h"

#include <vector>

namespace wininet_test {

std::string ReadAll(HINTERNET request, DWORD chunk, DWORD &error) {
    std::string body;
    std::vector<char> buffer(chunk);
    error = 0;
    for (;;) {
        DWORD got = 0xDEAD;
        if (!InternetReadFile(request, buffer.data(), chunk, &got)) {
            error = GetLastError();
            if (got != 0) error = 0xBAD;  // the count must be 0 on failure
            return body;
        }
        if (got == 0) return body;
        body.append(buffer.data(), got);
    }
}

std::string RawHeaders(HINTERNET request) {
    DWORD size = 0;
    if (HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr)) return {};
    std::string text(size, '\0');
    if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, text.data(), &size, nullptr)) return {};
    text.resize(size);
    return text;
}

Exchange Perform(const RequestArgs &args) {
    Exchange result;
    HINTERNET session = args.proxy.empty()
                            ? InternetOpenA(args.agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)
                            : InternetOpenA(args.agent.c_str(), INTERNET_OPEN_TYPE_PROXY, args.proxy.c_str(), "", 0);
    if (args.receiveMs) InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, const_cast<DWORD *>(&args.receiveMs), 4);
    HINTERNET connection = InternetConnectA(session, args.host.c_str(), static_cast<INTERNET_PORT>(args.port), nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, args.verb.c_str(), args.path.c_str(), "HTTP/1.1", nullptr,
                                         nullptr, args.flags, 0);
    result.sent = HttpSendRequestA(request, args.headers.c_str(), static_cast<DWORD>(args.headers.size()),
                                   const_cast<char *>(args.body.c_str()), static_cast<DWORD>(args.body.size()));
    if (!result.sent) result.sendError = GetLastError();
    if (result.sent) {
        result.body = ReadAll(request, 1024, result.readError);
        result.rawHeaders = RawHeaders(request);
    }
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
    return result;
}

}  // namespace wininet_test
