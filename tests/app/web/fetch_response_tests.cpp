// What FetchWebPage makes of responses: body, charset, cookies, redirects, faults.
// Pages that set cookies are fetched with a cookie text given, which keeps them out
// of the process's cookie store.
#include <gtest/gtest.h>

#include <wininet.h>

#include <thread>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "fetch_web_page.h"
#include "sorvel_mock/pages.h"
#include "web_test_support.h"

namespace {

std::string Gbk(const std::string &utf8) { return rt::ToGbk(utf8); }
using webtest::HeadOf;
using webtest::LoggedMock;

const std::string kVisitor = "7f3a9c2e51d04b68";

class FetchResponse : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

// The home page with a cookie text given; the other out-arguments into `raw` and
// `redirect`.
std::string FetchHome(const LoggedMock &mock, std::string &cookies, std::string *responseCookies = nullptr,
                      std::string *redirect = nullptr, std::string *raw = nullptr) {
    return app::FetchWebPage(mock.Address("/"), app::kMethodGet, {}, &cookies, responseCookies, nullptr, redirect,
                             false, nullptr, nullptr, raw);
}

TEST_F(FetchResponse, Utf8PageComesBackAsGbk) {
    LoggedMock mock;
    std::string cookies;
    std::string page = FetchHome(mock, cookies);
    EXPECT_NE(page.find(Gbk("<h1>Sorvel 搜索</h1>")), std::string::npos);
    EXPECT_NE(page.find("sorvelid=" + kVisitor + "/"), std::string::npos);
}

// Declared in the headers, or only as "UTF-8" in the page's head.
TEST_F(FetchResponse, ResultPageSitesInGbk) {
    for (std::vector<std::string> options : {std::vector<std::string>{}, {"--upper-charset"}}) {
        LoggedMock mock(options);
        std::string keyword = Gbk("中");
        std::string page = app::FetchWebPage(mock.Address(std::string(sorvel_mock::kResultPathStart) + kVisitor +
                                                          "/s?word=%D6%D0&pn=10"));
        std::vector<std::string> sites = sorvel_mock::SitesFor(keyword, 10);
        ASSERT_EQ(sites.size(), 10u);
        size_t at = 0;
        for (const std::string &site : sites) {
            at = page.find(Gbk(site), at);
            ASSERT_NE(at, std::string::npos) << site << (options.empty() ? "" : " with " + options[0]);
        }
    }
}

TEST_F(FetchResponse, DeclarationAfterByte500IsNotEnough) {
    LoggedMock mock({"--late-charset"});
    std::string cookies;
    std::string page = FetchHome(mock, cookies);
    ASSERT_GT(page.find("utf-8"), 500u);
    EXPECT_NE(page.find("<h1>Sorvel 搜索</h1>"), std::string::npos); // the UTF-8 bytes as they came
}

// The echo page is the request head and then the posted body, so the body places
// "utf-8" at a chosen position of the page: 499 is below the limit, 500 is not.
TEST_F(FetchResponse, Utf8DeclarationBoundaryAtPosition500) {
    LoggedMock mock;
    const size_t length = 700;
    auto bodyWithDeclarationAt = [&](size_t offset) {
        std::string body = std::string(offset, 'x') + "utf-8";
        return body + std::string(length - body.size() - 3, 'y') + "\xE4\xB8\xAD";
    };
    auto post = [&](const std::string &body) {
        std::string bytes = body;
        return app::FetchWebPage(mock.Address("/echo"), app::kMethodPost, {}, nullptr, nullptr, nullptr, nullptr,
                                 false, &bytes);
    };
    std::string plain = post(bodyWithDeclarationAt(600)); // declared late: the page as it came
    ASSERT_EQ(plain.substr(plain.size() - 3), "\xE4\xB8\xAD");
    size_t head = plain.size() - length;
    ASSERT_LT(head, 400u);
    std::string before = post(bodyWithDeclarationAt(498 - head));
    EXPECT_EQ(before.find("utf-8"), 498u);
    EXPECT_EQ(before.substr(before.size() - 2), "\xD6\xD0");
    std::string at = post(bodyWithDeclarationAt(499 - head));
    EXPECT_EQ(at.find("utf-8"), 499u);
    EXPECT_EQ(at.substr(at.size() - 3), "\xE4\xB8\xAD");
}

TEST_F(FetchResponse, GbkPageStaysAsItIs) {
    LoggedMock mock({"--gbk"});
    std::string cookies;
    EXPECT_NE(FetchHome(mock, cookies).find(Gbk("<h1>Sorvel 搜索</h1>")), std::string::npos);
}

TEST_F(FetchResponse, ResponseCookiesFromTwoSetCookieLines) {
    LoggedMock mock;
    std::string cookies, set;
    FetchHome(mock, cookies, &set);
    EXPECT_EQ(cookies, "SVID=" + kVisitor + "; SVLANG=zh-cn");
    EXPECT_EQ(set, "SVID=" + kVisitor + ";SVLANG=zh-cn"); // merged, so without spaces
}

TEST_F(FetchResponse, ResponseCookiesMergeIntoTheCallersText) {
    LoggedMock mock;
    std::string cookies = "a=1; SVID=old; b=2";
    FetchHome(mock, cookies);
    EXPECT_EQ(cookies, "SVID=" + kVisitor + "; SVLANG=zh-cn; a=1; b=2");
    std::vector<std::string> log = mock.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("[\"Cookie\",\"a=1; SVID=old; b=2\"]"), std::string::npos) << log[0];
}

TEST_F(FetchResponse, RawHeadersAndRedirectTargetWithoutLocation) {
    LoggedMock mock;
    std::string cookies, redirect, raw;
    FetchHome(mock, cookies, nullptr, &redirect, &raw);
    EXPECT_EQ(raw.substr(0, 17), "HTTP/1.1 200 OK\r\n");
    EXPECT_EQ(raw.substr(raw.size() - 4), "\r\n\r\n");
    EXPECT_NE(raw.find("\r\nSet-Cookie: SVID=" + kVisitor + "; path=/\r\n"), std::string::npos);
    EXPECT_EQ(redirect, raw);
    std::string kept = "earlier";
    FetchHome(mock, cookies, nullptr, &kept);
    EXPECT_EQ(kept, "earlier");
}

TEST_F(FetchResponse, RedirectFollowed) {
    LoggedMock mock;
    std::string redirect, raw;
    std::string page = app::FetchWebPage(mock.Address("/redirect?to=/echo"), app::kMethodGet, {}, nullptr, nullptr,
                                         nullptr, &redirect, false, nullptr, nullptr, &raw);
    EXPECT_EQ(page.substr(0, 20), "GET /echo HTTP/1.1\r\n");
    EXPECT_EQ(mock.Log().size(), 2u);
    EXPECT_EQ(redirect, raw);
}

TEST_F(FetchResponse, RedirectNotFollowedGivesItsTarget) {
    LoggedMock mock;
    std::string redirect, raw;
    std::string page = app::FetchWebPage(mock.Address("/redirect?to=/echo&code=301"), app::kMethodGet, {}, nullptr,
                                         nullptr, nullptr, &redirect, true, nullptr, nullptr, &raw);
    EXPECT_EQ(redirect, "/echo");
    EXPECT_EQ(raw.substr(0, 13), "HTTP/1.1 301 ");
    EXPECT_EQ(page.find("GET /echo"), std::string::npos);
    EXPECT_EQ(mock.Log().size(), 1u);
}

TEST_F(FetchResponse, HeaderBlockOver5000Bytes) {
    LoggedMock mock({"--big-headers"});
    std::string cookies, set = "x", redirect, raw;
    std::string page = FetchHome(mock, cookies, &set, &redirect, &raw);
    EXPECT_EQ(raw, std::string(5000, ' '));
    EXPECT_EQ(redirect, raw);
    EXPECT_EQ(set, "");
    EXPECT_EQ(cookies, "");
    EXPECT_NE(page.find(Gbk("<h1>Sorvel 搜索</h1>")), std::string::npos); // the body's own declaration
}

TEST_F(FetchResponse, DroppedConnectionGivesWhatWasRead) {
    LoggedMock whole, dropped({"--drop"});
    std::string cookies;
    std::string full = FetchHome(whole, cookies);
    cookies.clear();
    std::string part = FetchHome(dropped, cookies);
    ASSERT_GT(part.size(), 100u);
    EXPECT_LT(part.size(), full.size());
    EXPECT_EQ(part.substr(0, 100), full.substr(0, 100));
}

// With the process's receive time-out shortened, a server that holds its answer
// back longer gives the empty text instead of the late page.
TEST_F(FetchResponse, ServerThatNeverAnswersIsBoundedByTheTimeouts) {
    LoggedMock mock({"--slow", "20"});
    DWORD saved = 0, size = sizeof saved, shorter = 1000;
    ASSERT_TRUE(InternetQueryOptionA(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &saved, &size));
    ASSERT_TRUE(InternetSetOptionA(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &shorter, sizeof shorter));
    std::string raw;
    std::string page = app::FetchWebPage(mock.Address("/echo"), app::kMethodGet, {}, nullptr, nullptr, nullptr,
                                         nullptr, false, nullptr, nullptr, &raw);
    InternetSetOptionA(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &saved, sizeof saved);
    EXPECT_EQ(page, "");
    EXPECT_EQ(mock.Log().size(), 1u); // the request did arrive
}

// Several threads at once, as the collector's jobs call it.
TEST_F(FetchResponse, ConcurrentCalls) {
    LoggedMock mock;
    std::string pages[4];
    std::thread threads[4];
    for (int i = 0; i < 4; ++i)
        threads[i] = std::thread([&, i] {
            pages[i] = app::FetchWebPage(mock.Address(std::string(sorvel_mock::kResultPathStart) + kVisitor +
                                                      "/s?word=a" + std::to_string(i)));
        });
    for (auto &t : threads) t.join();
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(pages[i].find(Gbk(sorvel_mock::SitesFor("a" + std::to_string(i), 0)[0])), std::string::npos) << i;
}

} // namespace
