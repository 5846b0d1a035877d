// Reading the response: the raw header block, single headers, the body in chunks, and
// a body cut short by the server.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "client.h"
#include "raw_server.h"

using namespace wininet_test;

namespace {

const char kHead[] =
    "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; path=/\r\n"
    "Content-Length: 5\r\nConnection: close\r\n\r\n";

// Opens a request to the server and sends it; the caller closes the three handles.
struct OpenRequest {
    HINTERNET session, connection, request;
    explicit OpenRequest(int port, DWORD flags = INTERNET_FLAG_NO_COOKIES) {
        session = InternetOpenA("T", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                      INTERNET_SERVICE_HTTP, 0, 0);
        request = HttpOpenRequestA(connection, "GET", "/", nullptr, nullptr, nullptr, flags, 0);
    }
    ~OpenRequest() {
        InternetCloseHandle(request);
        InternetCloseHandle(connection);
        InternetCloseHandle(session);
    }
};

Responder Fixed(const std::string &bytes) {
    return [bytes](const Connection &connection, const std::string &) { connection.Send(bytes); };
}

}  // namespace

TEST(Response, RawHeadersComeWithStatusLineFirstAndAFinalEmptyLine) {
    RawServer server(Fixed(std::string(kHead) + "hello"));
    OpenRequest open(server.Port());
    ASSERT_TRUE(HttpSendRequestA(open.request, nullptr, 0, nullptr, 0));
    const std::string expected(kHead);
    char buffer[5000];
    std::memset(buffer, ' ', sizeof buffer);
    DWORD size = sizeof buffer;
    ASSERT_TRUE(HttpQueryInfoA(open.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &size, nullptr));
    EXPECT_EQ(size, expected.size());
    EXPECT_EQ(std::string(buffer), expected);

    // One byte short of room for the terminating NUL: nothing is written, the size is told.
    std::memset(buffer, ' ', sizeof buffer);
    size = static_cast<DWORD>(expected.size());
    EXPECT_FALSE(HttpQueryInfoA(open.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &size, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, expected.size() + 1);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, ' '));
}

TEST(Response, SingleHeadersByLevelIndexAndName) {
    RawServer server(Fixed(std::string(kHead) + "hello"));
    OpenRequest open(server.Port());
    ASSERT_TRUE(HttpSendRequestA(open.request, nullptr, 0, nullptr, 0));
    DWORD status = 0, size = sizeof status;
    ASSERT_TRUE(HttpQueryInfoA(open.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr));
    EXPECT_EQ(status, 200u);
    char text[64];
    size = sizeof text;
    ASSERT_TRUE(HttpQueryInfoA(open.request, HTTP_QUERY_STATUS_TEXT, text, &size, nullptr));
    EXPECT_STREQ(text, "OK");

    DWORD index = 0;
    size = sizeof text;
    ASSERT_TRUE(HttpQueryInfoA(open.request, HTTP_QUERY_SET_COOKIE, text, &size, &index));
    EXPECT_STREQ(text, "a=1; path=/");
    EXPECT_EQ(index, 1u);
    size = 3;  // too small: the index stays so that the caller can ask again
    EXPECT_FALSE(HttpQueryInfoA(open.request, HTTP_QUERY_SET_COOKIE, text, &size, &index));
    EXPECT_EQ(index, 1u);
    size = sizeof text;
    ASSERT_TRUE(HttpQueryInfoA(open.request, HTTP_QUERY_SET_COOKIE, text, &size, &index));
    EXPECT_STREQ(text, "b=2; path=/");
    size = sizeof text;
    EXPECT_FALSE(HttpQueryInfoA(open.request, HTTP_QUERY_SET_COOKIE, text, &size, &index));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HTTP_HEADER_NOT_FOUND));

    std::strcpy(text, "content-TYPE");
    size = sizeof text;
    ASSERT_TRUE(HttpQueryInfoA(open.request, HTTP_QUERY_CUSTOM, text, &size, nullptr));
    EXPECT_STREQ(text, "text/html");
    size = sizeof text;
    EXPECT_FALSE(HttpQueryInfoA(open.request, HTTP_QUERY_LOCATION, text, &size, nullptr));
}

TEST(Response, QueryAndReadBeforeSendingFail) {
    OpenRequest open(1);
    char text[16];
    DWORD size = sizeof text, got = 5;
    EXPECT_FALSE(HttpQueryInfoA(open.request, HTTP_QUERY_RAW_HEADERS_CRLF, text, &size, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_STATE));
    EXPECT_FALSE(InternetReadFile(open.request, text, sizeof text, &got));
    EXPECT_EQ(got, 0u);
}

TEST(Response, ChunkedBodyIsReadWholeInFullChunks) {
    std::string body;
    for (int i = 0; i < 5000; ++i) body += static_cast<char>('a' + i % 26);
    std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    for (size_t at = 0, step = 1; at < body.size(); at += step, step = step * 3 % 1700 + 1) {
        std::string piece = body.substr(at, step);
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
        chunked += size + piece + "\r\n";
    }
    chunked += "0\r\nX-Trailer: t\r\n\r\n";
    RawServer server([chunked](const Connection &connection, const std::string &) {
        // In pieces, so that reads meet a body that is still arriving.
        for (size_t at = 0; at < chunked.size(); at += 700) {
            connection.Send(chunked.substr(at, 700));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    OpenRequest open(server.Port());
    ASSERT_TRUE(HttpSendRequestA(open.request, nullptr, 0, nullptr, 0));
    std::string read;
    char chunk[1024];
    DWORD got = 0;
    while (InternetReadFile(open.request, chunk, sizeof chunk, &got) && got > 0) {
        read.append(chunk, got);
        if (read.size() < body.size()) {
            EXPECT_EQ(got, sizeof chunk);  // only the last read is short
        }
    }
    EXPECT_EQ(read, body);
    EXPECT_EQ(RawHeaders(open.request), "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n");
}

TEST(Response, DroppedConnectionGivesWhatArrivedThenAnError) {
    std::string part(400, 'p');
    RawServer server(Fixed("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + part));
    OpenRequest open(server.Port());
    ASSERT_TRUE(HttpSendRequestA(open.request, nullptr, 0, nullptr, 0));
    DWORD error = 0;
    EXPECT_EQ(ReadAll(open.request, 1024, error), part);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INTERNET_CONNECTION_ABORTED));
}

TEST(Response, AHeaderBlockOver5000BytesDoesNotFitTheApplicationsBuffer) {
    std::string padding;
    for (int i = 0; i < 60; ++i) padding += "X-Padding-" + std::to_string(i) + ": " + std::string(100, 'x') + "\r\n";
    RawServer server(Fixed(Response("200 OK", padding, "body")));
    OpenRequest open(server.Port());
    ASSERT_TRUE(HttpSendRequestA(open.request, nullptr, 0, nullptr, 0));
    std::string buffer(5000, ' ');
    DWORD size = 5000;
    EXPECT_FALSE(HttpQueryInfoA(open.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr));
    EXPECT_GT(size, 5000u);
    EXPECT_EQ(buffer, std::string(5000, ' '));
    DWORD error = 0;
    EXPECT_EQ(ReadAll(open.request, 1024, error), "body");
}

TEST(Response, ServerThatAnswersNothingUsefulFailsTheSend) {
    RawServer closing([](const Connection &, const std::string &) {});
    RequestArgs args;
    args.port = closing.Port();
    Exchange exchange = Perform(args);
    EXPECT_FALSE(exchange.sent);
    EXPECT_EQ(exchange.sendError, static_cast<DWORD>(ERROR_HTTP_INVALID_SERVER_RESPONSE));
}

TEST(Response, ErrorStatusIsStillAResponse) {
    RawServer server(Fixed(Response("404 Not Found", "", "gone")));
    RequestArgs args;
    args.port = server.Port();
    Exchange exchange = Perform(args);
    ASSERT_TRUE(exchange.sent);
    EXPECT_EQ(exchange.body, "gone");
    EXPECT_EQ(exchange.rawHeaders.substr(0, 24), "HTTP/1.1 404 Not Found\r\n");
}
