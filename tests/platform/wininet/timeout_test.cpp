// Time-outs: a server that never answers, or stops halfway, cannot hold a caller.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <vector>
#include <thread>

#include "client.h"
#include "raw_server.h"

using namespace wininet_test;

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

DWORD QueryOption(HINTERNET handle, DWORD option) {
    DWORD value = 0, size = sizeof value;
    EXPECT_TRUE(InternetQueryOptionA(handle, option, &value, &size));
    return value;
}

}  // namespace

TEST(Timeouts, DefaultsAreConnectSixtySendAndReceiveThirtySeconds) {
    HINTERNET session = InternetOpenA("T", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    EXPECT_EQ(QueryOption(session, INTERNET_OPTION_CONNECT_TIMEOUT), 60000u);
    EXPECT_EQ(QueryOption(session, INTERNET_OPTION_SEND_TIMEOUT), 30000u);
    EXPECT_EQ(QueryOption(session, INTERNET_OPTION_RECEIVE_TIMEOUT), 30000u);
    DWORD value = 0, size = 2;
    EXPECT_FALSE(InternetQueryOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, 4u);
    EXPECT_FALSE(InternetSetOptionA(session, 12345, &value, 4));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INVALID_OPTION));
    InternetCloseHandle(session);
}

TEST(Timeouts, ProcessDefaultReachesNewSessionsAndChildrenInherit) {
    DWORD saved = QueryOption(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT);
    DWORD shorter = 1234;
    ASSERT_TRUE(InternetSetOptionA(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &shorter, sizeof shorter));
    HINTERNET session = InternetOpenA("T", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "GET", "/", nullptr, nullptr, nullptr, 0, 0);
    EXPECT_EQ(QueryOption(request, INTERNET_OPTION_RECEIVE_TIMEOUT), 1234u);
    ASSERT_TRUE(InternetSetOptionA(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &saved, sizeof saved));
    EXPECT_EQ(QueryOption(request, INTERNET_OPTION_RECEIVE_TIMEOUT), 1234u);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
}

TEST(Timeouts, ServerThatNeverAnswersEndsTheSend) {
    RawServer server([](const Connection &connection, const std::string &) { connection.Stall(); });
    RequestArgs args;
    args.port = server.Port();
    args.receiveMs = 300;
    Clock::time_point start = Clock::now();
    Exchange exchange = Perform(args);
    EXPECT_FALSE(exchange.sent);
    EXPECT_EQ(exchange.sendError, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
    EXPECT_GE(MillisecondsSince(start), 250);
    EXPECT_LT(MillisecondsSince(start), 5000);
}

TEST(Timeouts, BodyThatStopsHalfwayEndsTheRead) {
    RawServer server([](const Connection &connection, const std::string &) {
        connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
        connection.Stall();
    });
    RequestArgs args;
    args.port = server.Port();
    args.receiveMs = 300;
    Clock::time_point start = Clock::now();
    Exchange exchange = Perform(args);
    ASSERT_TRUE(exchange.sent);
    EXPECT_EQ(exchange.body, "0123456789");
    EXPECT_EQ(exchange.readError, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
    EXPECT_LT(MillisecondsSince(start), 5000);
}

TEST(Timeouts, SlowButSteadyBodyIsNotCut) {
    RawServer server([](const Connection &connection, const std::string &) {
        connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\n");
        for (char c : std::string("abcdefgh")) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            connection.Send(std::string(1, c));
        }
    });
    RequestArgs args;
    args.port = server.Port();
    args.receiveMs = 300;
    Exchange exchange = Perform(args);
    ASSERT_TRUE(exchange.sent);
    EXPECT_EQ(exchange.body, "abcdefgh");
    EXPECT_EQ(exchange.readError, 0u);
}

TEST(Timeouts, RefusedConnectionFailsAtOnce) {
    int port;
    {
        RawServer closed([](const Connection &, const std::string &) {});
        port = closed.Port();
    }
    RequestArgs args;
    args.port = port;
    Exchange exchange = Perform(args);
    EXPECT_FALSE(exchange.sent);
    EXPECT_EQ(exchange.sendError, static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
}

// A listener whose queue is full lets no connection through: only the connect time-out
// ends the wait.
TEST(Timeouts, ConnectionThatNeverCompletesEndsAtTheConnectTimeout) {
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &size);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<sockaddr *>(&address), sizeof address);
        fillers.push_back(filler);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    HINTERNET session = InternetOpenA("T", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    DWORD connectMs = 400;
    ASSERT_TRUE(InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs));
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", ntohs(address.sin_port), nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "GET", "/", nullptr, nullptr, nullptr, INTERNET_FLAG_NO_COOKIES, 0);
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
    EXPECT_LT(MillisecondsSince(start), 5000);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
    for (int filler : fillers) ::close(filler);
    ::close(listener);
}

// The receive time-out counts the wait inside one read, not the caller's pause between reads.
TEST(Timeouts, PauseBetweenReadsIsNotAStall) {
    RawServer server([](const Connection &connection, const std::string &) {
        connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n01234");
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        connection.Send("56789");
    });
    HINTERNET session = InternetOpenA("T", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    DWORD receiveMs = 400;
    InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &receiveMs, sizeof receiveMs);
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(server.Port()), nullptr,
                                            nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "GET", "/", nullptr, nullptr, nullptr, INTERNET_FLAG_NO_COOKIES, 0);
    ASSERT_TRUE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
    char buffer[5];
    DWORD got = 0;
    ASSERT_TRUE(InternetReadFile(request, buffer, sizeof buffer, &got));
    EXPECT_EQ(std::string(buffer, got), "01234");
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    ASSERT_TRUE(InternetReadFile(request, buffer, sizeof buffer, &got)) << GetLastError();
    EXPECT_EQ(std::string(buffer, got), "56789");
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
}
