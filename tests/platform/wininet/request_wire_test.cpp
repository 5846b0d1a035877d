// What goes on the wire: the request line, the header lines in order, the body.
#include <gtest/gtest.h>

#include "client.h"
#include "raw_server.h"

using namespace wininet_test;

namespace {

const char kDefaultBlock[] =
    "Referer: http://127.0.0.1/a?b=1\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
    "Content-Type: application/x-www-form-urlencoded";

Responder AnswerOk() {
    return [](const Connection &connection, const std::string &) {
        connection.Send(Response("200 OK", "Content-Type: text/plain\r\n", "ok"));
    };
}

std::string HostLine(const RawServer &server) {
    return "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
}

}  // namespace

TEST(RequestWire, GetCarriesTheCallersHeadersThenAgentAndHost) {
    RawServer server(AnswerOk());
    RequestArgs args;
    args.port = server.Port();
    args.path = "/a?b=1";
    args.headers = kDefaultBlock;
    args.flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    Exchange exchange = Perform(args);
    ASSERT_TRUE(exchange.sent) << exchange.sendError;
    EXPECT_EQ(exchange.body, "ok");
    EXPECT_EQ(server.FirstRequest(), "GET /a?b=1 HTTP/1.1\r\n" + std::string(kDefaultBlock) +
                                         "\r\nUser-Agent: TestAgent/1.0\r\n" + HostLine(server) + "\r\n");
}

TEST(RequestWire, NothingIsAddedToAnEmptyBlock) {
    RawServer server(AnswerOk());
    RequestArgs args;
    args.port = server.Port();
    ASSERT_TRUE(Perform(args).sent);
    EXPECT_EQ(server.FirstRequest(), "GET / HTTP/1.1\r\nUser-Agent: TestAgent/1.0\r\n" + HostLine(server) + "\r\n");
}

TEST(RequestWire, PostSendsTheBodyWithItsLengthAndNoExpect) {
    RawServer server(AnswerOk());
    RequestArgs args;
    args.port = server.Port();
    args.verb = "POST";
    args.path = "/form";
    args.headers = "Content-Type: application/x-www-form-urlencoded";
    args.body = std::string(2000, 'x') + "&k=%D6%D0";
    ASSERT_TRUE(Perform(args).sent);
    EXPECT_EQ(server.FirstRequest(), "POST /form HTTP/1.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                                     "User-Agent: TestAgent/1.0\r\n" + HostLine(server) +
                                         "Content-Length: 2009\r\n\r\n" + args.body);
}

TEST(RequestWire, GetWithABodyKeepsItsVerbAndEmptyPostSaysLengthZero) {
    RawServer server(AnswerOk());
    RequestArgs args;
    args.port = server.Port();
    args.body = "a=1";
    ASSERT_TRUE(Perform(args).sent);
    args.verb = "POST";
    args.body.clear();
    ASSERT_TRUE(Perform(args).sent);
    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], "GET / HTTP/1.1\r\nUser-Agent: TestAgent/1.0\r\n" + HostLine(server) +
                               "Content-Length: 3\r\n\r\na=1");
    EXPECT_EQ(requests[1], "POST / HTTP/1.1\r\nUser-Agent: TestAgent/1.0\r\n" + HostLine(server) +
                               "Content-Length: 0\r\n\r\n");
}

TEST(RequestWire, CallersAgentAndHostReplaceTheSessionsAndOrderIsKept) {
    RawServer server(AnswerOk());
    RequestArgs args;
    args.port = server.Port();
    args.headers = "X-B: 2\r\nUser-Agent: Caller/2\r\nX-A: 1\r\nHost: example.test\r\nX-Empty:\r\n\r\n";
    ASSERT_TRUE(Perform(args).sent);
    EXPECT_EQ(server.FirstRequest(),
              "GET / HTTP/1.1\r\nX-B: 2\r\nUser-Agent: Caller/2\r\nX-A: 1\r\nHost: example.test\r\nX-Empty:\r\n\r\n");
}

TEST(RequestWire, ReferrerAndAcceptTypesOfTheOpenComeFirst) {
    RawServer server(AnswerOk());
    HINTERNET session = InternetOpenA("", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    LPCSTR types[] = {"text/html", "*/*", nullptr};
    HINTERNET request = HttpOpenRequestA(connection, nullptr, "x y", nullptr, "http://r.test/", types,
                                         INTERNET_FLAG_NO_COOKIES, 0);
    ASSERT_NE(request, nullptr);
    ASSERT_TRUE(HttpSendRequestA(request, "X-A: 1", static_cast<DWORD>(-1), nullptr, 0));
    EXPECT_EQ(server.FirstRequest(), "GET /x%20y HTTP/1.1\r\nReferer: http://r.test/\r\nAccept: text/html, */*\r\n"
                                     "X-A: 1\r\n" + HostLine(server) + "\r\n");
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
}

TEST(RequestWire, DefaultPortIsLeftOutOfHost) {
    RawServer server(AnswerOk());
    // Nothing listens on port 80 here; only the Host line of a proxied request shows it.
    RequestArgs args;
    args.host = "sorvel.test";
    args.port = INTERNET_DEFAULT_HTTP_PORT;
    args.path = "/p?q=1";
    args.proxy = "http=127.0.0.1:" + std::to_string(server.Port());
    ASSERT_TRUE(Perform(args).sent);
    EXPECT_EQ(server.FirstRequest(),
              "GET http://sorvel.test:80/p?q=1 HTTP/1.1\r\nUser-Agent: TestAgent/1.0\r\nHost: sorvel.test\r\n\r\n");
}

// A visitor identifier taken from a page must not be able to add lines to a request.
TEST(RequestWire, LineBreaksAndNulNeverReachTheWire) {
    RawServer server(AnswerOk());
    HINTERNET session = InternetOpenA("A", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    EXPECT_EQ(InternetOpenA("A\r\nX-Evil: 1", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(InternetConnectA(session, "127.0.0.1\r\nX: 1", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
    EXPECT_EQ(InternetConnectA(session, "evil.test/x?", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    EXPECT_EQ(HttpOpenRequestA(connection, "GET", "/s?id=1\r\nX-Evil: 1", nullptr, nullptr, nullptr, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INVALID_URL));
    EXPECT_EQ(HttpOpenRequestA(connection, "GET", "/s?id=1\nX", nullptr, nullptr, nullptr, 0, 0), nullptr);
    EXPECT_EQ(HttpOpenRequestA(connection, "GET", "/", nullptr, "http://r/\r\nX: 1", nullptr, 0, 0), nullptr);
    EXPECT_EQ(HttpOpenRequestA(connection, "GET /x", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);

    HINTERNET request = HttpOpenRequestA(connection, "GET", "/", nullptr, nullptr, nullptr, INTERNET_FLAG_NO_COOKIES, 0);
    ASSERT_NE(request, nullptr);
    const char withNul[] = "X-A: 1\0X-B: 2";
    EXPECT_FALSE(HttpSendRequestA(request, withNul, sizeof withNul - 1, nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(HttpSendRequestA(request, "X-A: 1\nX-B: 2", static_cast<DWORD>(-1), nullptr, 0));
    EXPECT_FALSE(HttpSendRequestA(request, "X-A: 1\rX-B: 2", static_cast<DWORD>(-1), nullptr, 0));
    EXPECT_FALSE(HttpSendRequestA(request, "Referer: a\r\n\tfolded", static_cast<DWORD>(-1), nullptr, 0));
    EXPECT_FALSE(HttpSendRequestA(request, "no colon here", static_cast<DWORD>(-1), nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HTTP_INVALID_HEADER));
    EXPECT_TRUE(server.Requests().empty());
    DWORD got = 7;
    char buffer[8];
    EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 0u);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
}

TEST(RequestWire, HandlesAreCheckedForKindAndLife) {
    HINTERNET session = InternetOpenA("A", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(HttpOpenRequestA(session, "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
    EXPECT_TRUE(InternetCloseHandle(session));
    EXPECT_FALSE(InternetCloseHandle(session));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(InternetConnectA(session, "127.0.0.1", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(InternetCloseHandle(nullptr));
    EXPECT_EQ(InternetOpenA("A", INTERNET_OPEN_TYPE_PROXY, "", nullptr, 0), nullptr);
}
