// What FetchWebPage puts on the wire: request line, header block and body.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "fetch_web_page.h"
#include "web_test_support.h"

namespace {

using webtest::DefaultBlock;
using webtest::HeadOf;
using webtest::LoggedMock;

const std::string kAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; QW7ZR; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; .NET CLR "
    "3.5.21022)";

class FetchRequest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

TEST_F(FetchRequest, DefaultHeaderBlockByteForByte) {
    LoggedMock mock;
    std::string address = mock.Address("/echo?y=1");
    std::string headers;
    std::string page = app::FetchWebPage(address, app::kMethodGet, {}, nullptr, nullptr, &headers);
    EXPECT_EQ(headers, DefaultBlock(address));
    EXPECT_EQ(HeadOf(page), "GET /echo?y=1 HTTP/1.1\r\n" + DefaultBlock(address) + "\r\nUser-Agent: " + kAgent +
                                "\r\nHost: " + mock.HostPort() + "\r\n\r\n");
    EXPECT_EQ(mock.Log().size(), 1u);
}

TEST_F(FetchRequest, CallerLinesFirstAndNoSecondAccept) {
    LoggedMock mock;
    std::string address = mock.Address("/echo");
    std::string headers = "Accept: text/html\r\nX-Probe: 1";
    std::string page = app::FetchWebPage(address, app::kMethodGet, {}, nullptr, nullptr, &headers);
    std::string expected = "Accept: text/html\r\nX-Probe: 1\r\nReferer: " + address +
                           "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
    EXPECT_EQ(headers, expected);
    EXPECT_NE(HeadOf(page).find("\r\n" + expected + "\r\n"), std::string::npos);
    EXPECT_EQ(HeadOf(page).find("Accept: */*"), std::string::npos);
}

TEST_F(FetchRequest, UserAgentOfTheExtraHeaders) {
    LoggedMock mock;
    std::string headers = "User-Agent: Probe/2.0\r\nX-A: 1";
    std::string page = app::FetchWebPage(mock.Address("/echo"), app::kMethodGet, {}, nullptr, nullptr, &headers);
    EXPECT_NE(HeadOf(page).find("\r\nUser-Agent: Probe/2.0\r\n"), std::string::npos);
    EXPECT_EQ(HeadOf(page).find("MSIE"), std::string::npos);
}

// A User-Agent line last, without a line break: its own value, not the text after
// the first colon of the whole block.
TEST_F(FetchRequest, UserAgentOnTheLastLine) {
    LoggedMock mock;
    std::string headers = "X-A: 1\r\nuser-agent: Probe/3.0";
    std::string page = app::FetchWebPage(mock.Address("/echo"), app::kMethodGet, {}, nullptr, nullptr, &headers);
    std::string head = HeadOf(page);
    EXPECT_NE(head.find("\r\nX-A: 1\r\nuser-agent: Probe/3.0\r\nReferer: "), std::string::npos) << head;
    EXPECT_EQ(head.find("MSIE"), std::string::npos);
    EXPECT_EQ(head.find("User-Agent: 1"), std::string::npos);
}

TEST_F(FetchRequest, PostSendsThePostTextAsBody) {
    LoggedMock mock;
    std::string body;
    std::string page = app::FetchWebPage(mock.Address("/echo"), app::kMethodPost, "a=1&b=%E4", nullptr, nullptr,
                                         nullptr, nullptr, false, &body);
    EXPECT_EQ(body, "a=1&b=%E4");
    EXPECT_EQ(page.substr(0, 22), "POST /echo HTTP/1.1\r\nR");
    EXPECT_NE(HeadOf(page).find("\r\nContent-Length: 9\r\n"), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 9), "a=1&b=%E4");
}

TEST_F(FetchRequest, OtherMethodIsGetWithABodyAndGivenBytesWin) {
    LoggedMock mock;
    std::string body("\x01\x00\xFFz", 4);
    std::string page = app::FetchWebPage(mock.Address("/echo"), 2, "ignored", nullptr, nullptr, nullptr, nullptr,
                                         false, &body);
    EXPECT_EQ(page.substr(0, 15), "GET /echo HTTP/");
    EXPECT_NE(HeadOf(page).find("\r\nContent-Length: 4\r\n"), std::string::npos);
    EXPECT_EQ(body, std::string("\x01\x00\xFFz", 4));
}

// WinInet's cookie store lives as long as the process, so the test that fills it runs
// in a child process of its own.
std::string StoreAndGivenCookies() {
    testsupport::StartApplicationRuntime();
    LoggedMock mock;
    app::FetchWebPage(mock.Address("/")); // the store keeps SVID and SVLANG
    std::string stored = HeadOf(app::FetchWebPage(mock.Address("/echo")));
    bool fromStore = stored.find("SVID=7f3a9c2e51d04b68") != std::string::npos;
    std::string cookies = "x=1; y=2", headers;
    std::string own = HeadOf(app::FetchWebPage(mock.Address("/echo"), app::kMethodGet, {}, &cookies, nullptr,
                                               &headers));
    bool lastLine = headers == DefaultBlock(mock.Address("/echo")) + "\r\nCookie: x=1; y=2";
    bool onlyOwn = own.find("\r\nCookie: x=1; y=2\r\n") != std::string::npos && own.find("SVID") == std::string::npos;
    std::string none;
    std::string empty = HeadOf(app::FetchWebPage(mock.Address("/echo"), app::kMethodGet, {}, &none));
    bool noCookie = empty.find("Cookie") == std::string::npos;
    return "store " + std::to_string(fromStore) + " last " + std::to_string(lastLine) + " own " +
           std::to_string(onlyOwn) + " none " + std::to_string(noCookie);
}

// The mock has stopped before the report, so the parent sees the end of the output.
void CookieStoreAndGivenCookies() {
    std::string seen = StoreAndGivenCookies();
    std::fprintf(stderr, "%s\n", seen.c_str());
    std::fflush(stderr);
    _exit(0);
}

TEST(FetchCookiesDeathTest, GivenCookiesAreSentAndTheCookieStoreIsBypassed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CookieStoreAndGivenCookies(), ::testing::ExitedWithCode(0), "store 1 last 1 own 1 none 1");
}

TEST_F(FetchRequest, AddressWithoutScheme) {
    LoggedMock mock;
    std::string address = mock.HostPort() + "/echo?q=a";
    std::string page = app::FetchWebPage(address);
    EXPECT_EQ(page.substr(0, 24), "GET /echo?q=a HTTP/1.1\r\n");
    EXPECT_NE(HeadOf(page).find("\r\nReferer: " + address + "\r\n"), std::string::npos);
}

TEST_F(FetchRequest, ThroughAnHttpProxy) {
    LoggedMock mock;
    std::string proxy = mock.HostPort();
    std::string page = app::FetchWebPage("http://sorvel.invalid/echo", app::kMethodGet, {}, nullptr, nullptr, nullptr,
                                         nullptr, false, nullptr, &proxy);
    std::vector<std::string> log = mock.Log();
    ASSERT_EQ(log.size(), 1u) << page;
    EXPECT_NE(log[0].find("sorvel.invalid"), std::string::npos) << log[0];
}

// A line break in the address could add header lines: nothing is sent, the caller's
// variables stay as they were.
TEST_F(FetchRequest, LineBreakInTheAddressSendsNothing) {
    LoggedMock mock;
    std::string headers = "X-A: 1", redirect = "kept";
    std::string page = app::FetchWebPage(mock.Address("/echo\r\nX-Injected: 1"), app::kMethodGet, {}, nullptr,
                                         nullptr, &headers, &redirect);
    EXPECT_EQ(page, "");
    EXPECT_EQ(mock.Log().size(), 0u);
    EXPECT_EQ(redirect, "kept");
    EXPECT_EQ(headers, "X-A: 1");
}

TEST_F(FetchRequest, NothingListeningGivesTheEmptyText) {
    std::string raw = "unchanged";
    std::string port;
    {
        LoggedMock mock; // a port that was free a moment ago
        port = mock.HostPort();
    }
    EXPECT_EQ(app::FetchWebPage("http://" + port + "/echo", app::kMethodGet, {}, nullptr, nullptr, nullptr, nullptr,
                                false, nullptr, nullptr, &raw),
              "");
}

TEST_F(FetchRequest, HttpsAddressAsksForTls) {
    LoggedMock mock; // plain HTTP: the handshake fails, no request is read
    EXPECT_EQ(app::FetchWebPage("https://" + mock.HostPort() + "/echo"), "");
    EXPECT_EQ(mock.Log().size(), 0u);
}

} // namespace
