// Redirects, followed or not, and the process's cookie store.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "client.h"
#include "raw_server.h"

using namespace wininet_test;

namespace {

std::string TargetOf(const std::string &request) {
    size_t first = request.find(' ');
    return request.substr(first + 1, request.find(' ', first + 1) - first - 1);
}

// /from-* redirects with the status in its name to /to; /to answers "arrived".
Responder Redirecting() {
    return [](const Connection &connection, const std::string &request) {
        std::string target = TargetOf(request);
        if (target.rfind("/from-", 0) == 0)
            connection.Send(Response(target.substr(6, 3) + " Moved", "Location: /to?x=1\r\n", "moved"));
        else
            connection.Send(Response("200 OK", "", "arrived"));
    };
}

}  // namespace

TEST(Redirect, FollowedUnlessTheFlagSaysNo) {
    RawServer server(Redirecting());
    RequestArgs args;
    args.port = server.Port();
    args.path = "/from-302";
    args.headers = "Referer: http://127.0.0.1/from-302";
    Exchange followed = Perform(args);
    ASSERT_TRUE(followed.sent);
    EXPECT_EQ(followed.body, "arrived");
    EXPECT_EQ(followed.rawHeaders.substr(0, 17), "HTTP/1.1 200 OK\r\n");

    args.flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    Exchange kept = Perform(args);
    ASSERT_TRUE(kept.sent);
    EXPECT_EQ(kept.body, "moved");
    EXPECT_NE(kept.rawHeaders.find("\r\nLocation: /to?x=1\r\n"), std::string::npos);

    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(TargetOf(requests[0]), "/from-302");
    // The caller's headers go along to the new address.
    EXPECT_EQ(requests[1], "GET /to?x=1 HTTP/1.1\r\nReferer: http://127.0.0.1/from-302\r\nUser-Agent: TestAgent/1.0\r\n"
                           "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n\r\n");
    EXPECT_EQ(TargetOf(requests[2]), "/from-302");
}

TEST(Redirect, SeeOtherTurnsAPostIntoAGetAndTemporaryKeepsIt) {
    RawServer server(Redirecting());
    RequestArgs args;
    args.port = server.Port();
    args.verb = "POST";
    args.body = "k=v";
    args.path = "/from-303";
    ASSERT_EQ(Perform(args).body, "arrived");
    args.path = "/from-307";
    ASSERT_EQ(Perform(args).body, "arrived");
    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].substr(0, 16), "GET /to?x=1 HTTP");
    EXPECT_EQ(requests[1].find("Content-Length"), std::string::npos);
    EXPECT_EQ(requests[3].substr(0, 17), "POST /to?x=1 HTTP");
    EXPECT_EQ(requests[3].substr(requests[3].size() - 24), "Content-Length: 3\r\n\r\nk=v");
}

TEST(Redirect, ToHttpsNeedsItsFlag) {
    RawServer server([](const Connection &connection, const std::string &) {
        connection.Send(Response("302 Found", "Location: https://127.0.0.1:1/\r\n", ""));
    });
    RequestArgs args;
    args.port = server.Port();
    args.flags = INTERNET_FLAG_NO_COOKIES;
    Exchange exchange = Perform(args);
    EXPECT_FALSE(exchange.sent);
    EXPECT_EQ(exchange.sendError, static_cast<DWORD>(ERROR_INTERNET_HTTP_TO_HTTPS_ON_REDIR));
    // With the flag the redirect is followed, and port 1 refuses the connection.
    args.flags |= INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    exchange = Perform(args);
    EXPECT_FALSE(exchange.sent);
    EXPECT_EQ(exchange.sendError, static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
}

TEST(Redirect, EndlessRedirectsEnd) {
    RawServer server([](const Connection &connection, const std::string &) {
        connection.Send(Response("302 Found", "Location: /again\r\n", ""));
    });
    RequestArgs args;
    args.port = server.Port();
    Exchange exchange = Perform(args);
    EXPECT_FALSE(exchange.sent);
    EXPECT_EQ(exchange.sendError, static_cast<DWORD>(ERROR_HTTP_REDIRECT_FAILED));
    EXPECT_LE(server.Requests().size(), 21u);
}

// Cookies live under /jar so that they touch no other test of this program.
TEST(Cookies, StoredAndSentUnlessBypassed) {
    RawServer server([](const Connection &connection, const std::string &request) {
        std::string target = TargetOf(request);
        if (target == "/jar/set")
            connection.Send(Response("200 OK", "Set-Cookie: jar=1; Path=/jar\r\nSet-Cookie: lid=2; Path=/jar\r\n", ""));
        else if (target == "/jar/set-bypassed")
            connection.Send(Response("200 OK", "Set-Cookie: hidden=3; Path=/jar\r\n", ""));
        else
            connection.Send(Response("200 OK", "", "plain"));
    });
    RequestArgs args;
    args.port = server.Port();
    args.flags = INTERNET_FLAG_RELOAD;
    args.path = "/jar/set";
    ASSERT_TRUE(Perform(args).sent);
    args.path = "/jar/get";
    ASSERT_TRUE(Perform(args).sent);
    args.flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES;
    args.path = "/jar/set-bypassed";
    ASSERT_TRUE(Perform(args).sent);
    args.path = "/jar/get-bypassed";
    ASSERT_TRUE(Perform(args).sent);
    args.flags = INTERNET_FLAG_RELOAD;
    args.path = "/jar/get-again";
    ASSERT_TRUE(Perform(args).sent);

    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0].find("Cookie"), std::string::npos);
    EXPECT_NE(requests[1].find("\r\nCookie: "), std::string::npos);
    EXPECT_NE(requests[1].find("jar=1"), std::string::npos);
    EXPECT_NE(requests[1].find("lid=2"), std::string::npos);
    EXPECT_EQ(requests[3].find("Cookie"), std::string::npos);
    EXPECT_NE(requests[4].find("jar=1"), std::string::npos);
    EXPECT_EQ(requests[4].find("hidden=3"), std::string::npos);
}

// Requests on several threads share the handle table and the cookie store.
TEST(Cookies, ParallelRequestsStayApart) {
    RawServer server([](const Connection &connection, const std::string &request) {
        std::string target = TargetOf(request);
        connection.Send(Response("200 OK", "Set-Cookie: t" + target.substr(9) + "=1; Path=/jar-par\r\n", target));
    });
    std::vector<std::thread> threads;
    std::atomic<int> good{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&server, &good, t] {
            for (int i = 0; i < 5; ++i) {
                RequestArgs args;
                args.port = server.Port();
                args.flags = INTERNET_FLAG_RELOAD;
                args.path = "/jar-par/" + std::to_string(t) + "-" + std::to_string(i);
                Exchange exchange = Perform(args);
                if (exchange.sent && exchange.body == args.path) ++good;
            }
        });
    }
    for (std::thread &thread : threads) thread.join();
    EXPECT_EQ(good.load(), 20);
    EXPECT_EQ(server.Requests().size(), 20u);
}
