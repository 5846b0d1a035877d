// sorvel-mock serves what the collector reads: the visitor marker on the home page,
// ten site entries per result page, and the request log; its switches bring faults.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <regex>

#include "client.h"
#include "mock_process.h"
#include "sorvel_mock/pages.h"

using mock_test::MockProcess;
using wininet_test::Exchange;
using wininet_test::Perform;
using wininet_test::RequestArgs;

namespace {

const std::string kVisitor = "7f3a9c2e51d04b68";
const std::string kKeywordGbk = "\xD6\xD0";  // 中

std::string FirstPagePath(const std::string &visitor, const std::string &encodedKeyword) {
    return "/ssid=0/from=0/sv_page_type=1/uid=0/sorvelid=" + visitor + "/s?word=" + encodedKeyword +
           "&uc_param_str=upssntdnvelami&sa=ib&st_1=111041&st_2=102041&pu=sz%40224_220%2Cta%40middle____&idx=20000"
           "&tn_1=middle&tn_2=middle&ct_1=%E6%90%9C%E7%BD%91%E9%A1%B5";
}

std::string NumberedPagePath(const std::string &visitor, const std::string &encodedKeyword, int page) {
    return "/ssid=0/from=0/sv_page_type=1/uid=0/sorvelid=" + visitor + "/pu=sz%40224_220%2Cta%40middle____/sorvelid=" +
           visitor + "/s?ref=www_colorful&lid=14303942485872487892&word=" + encodedKeyword + "&pn=" +
           std::to_string(page - 1) + "0&rn=10&tn=middle&prest=111081&st=111081&usm=2&sa=np";
}

// The header block the collector sends for an address.
std::string DefaultBlock(const std::string &address) {
    return "Referer: " + address +
           "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
}

Exchange Fetch(const MockProcess &mock, const std::string &path, DWORD receiveMs = 0) {
    RequestArgs args;
    args.port = mock.Port();
    args.path = path;
    args.headers = DefaultBlock("http://127.0.0.1:" + std::to_string(mock.Port()) + path);
    args.receiveMs = receiveMs;
    return Perform(args);
}

std::vector<std::string> SitesOn(const std::string &page) {
    static const std::regex pattern("<span class=\"site\">(.*?)</span>", std::regex::icase);
    std::vector<std::string> sites;
    for (std::sregex_iterator it(page.begin(), page.end(), pattern), end; it != end; ++it) sites.push_back((*it)[1]);
    return sites;
}

std::string LastLine(const std::string &path) {
    std::ifstream file(path);
    std::string line, last;
    while (std::getline(file, line)) last = line;
    return last;
}

}  // namespace

TEST(SorvelMock, HomePageHoldsTheVisitorMarkerAndSetsCookies) {
    MockProcess mock({});
    ASSERT_GT(mock.Port(), 0);
    Exchange home = Fetch(mock, "/");
    ASSERT_TRUE(home.sent);
    size_t marker = home.body.find("sorvelid=");
    ASSERT_NE(marker, std::string::npos);
    EXPECT_EQ(home.body.substr(marker + 9, kVisitor.size() + 1), kVisitor + "/");
    EXPECT_NE(home.rawHeaders.find("Content-Type: text/html; charset=utf-8\r\n"), std::string::npos);
    EXPECT_NE(home.rawHeaders.find("Set-Cookie: SVID=" + kVisitor + "; path=/\r\n"), std::string::npos);
    EXPECT_NE(home.rawHeaders.find("Set-Cookie: SVLANG=zh-cn;"), std::string::npos);
    EXPECT_NE(home.body.find("Sorvel 搜索"), std::string::npos);  // UTF-8 as the real service
}

TEST(SorvelMock, ResultPagesHoldTheTenSitesOfKeywordAndOffset) {
    MockProcess mock({});
    std::vector<std::string> first = SitesOn(Fetch(mock, FirstPagePath(kVisitor, "%D6%D0")).body);
    EXPECT_EQ(first, sorvel_mock::SitesFor(kKeywordGbk, 0));
    EXPECT_EQ(first.size(), 10u);
    EXPECT_EQ(SitesOn(Fetch(mock, NumberedPagePath(kVisitor, "%D6%D0", 1)).body), first);
    std::vector<std::string> third = SitesOn(Fetch(mock, NumberedPagePath(kVisitor, "%D6%D0", 3)).body);
    EXPECT_EQ(third, sorvel_mock::SitesFor(kKeywordGbk, 20));
    EXPECT_NE(third, first);
    std::vector<std::string> other = SitesOn(Fetch(mock, FirstPagePath(kVisitor, "a%20b")).body);
    EXPECT_EQ(other, sorvel_mock::SitesFor("a b", 0));
    EXPECT_NE(other, first);
}

TEST(SorvelMock, EntriesSwitchMakesLargePagesThatLinkPastThem) {
    MockProcess mock({"--entries", "2500"});
    std::string page = Fetch(mock, FirstPagePath(kVisitor, "%D6%D0")).body;
    EXPECT_GT(page.size(), 300000u);
    EXPECT_EQ(SitesOn(page), sorvel_mock::SitesFor(kKeywordGbk, 0, 2500));
    EXPECT_NE(page.find("&amp;pn=2500&amp;"), std::string::npos);
    EXPECT_EQ(MockProcess({"--entries", "0"}).Port(), 0);
}

TEST(SorvelMock, EntriesMixCapitalTagsAndChineseNames) {
    MockProcess mock({});
    std::string page = Fetch(mock, FirstPagePath(kVisitor, "%D6%D0")).body;
    EXPECT_NE(page.find("<SPAN CLASS=\"site\">"), std::string::npos);
    EXPECT_NE(page.find("<span class=\"site\">"), std::string::npos);
    bool chinese = false;
    for (const std::string &site : SitesOn(page))
        for (unsigned char c : site) chinese = chinese || c >= 0x80;
    EXPECT_TRUE(chinese);
    EXPECT_NE(page.find("<title>中 - Sorvel"), std::string::npos);  // the GBK keyword was understood
}

TEST(SorvelMock, UnknownVisitorGetsNoEntries) {
    MockProcess mock({});
    Exchange page = Fetch(mock, FirstPagePath("", "%D6%D0"));
    ASSERT_TRUE(page.sent);
    EXPECT_TRUE(SitesOn(page.body).empty());
    EXPECT_TRUE(SitesOn(Fetch(mock, NumberedPagePath("other", "%D6%D0", 1)).body).empty());
}

TEST(SorvelMock, LogKeepsEachRequestWithItsHeadersInOrder) {
    std::string log = ::testing::TempDir() + "sorvel-mock-log-" + std::to_string(::getpid()) + ".jsonl";
    std::remove(log.c_str());
    MockProcess mock({"--log", log});
    ASSERT_TRUE(Fetch(mock, "/?q=%D6%D0").sent);
    std::string host = "127.0.0.1:" + std::to_string(mock.Port());
    EXPECT_EQ(LastLine(log),
              "{\"method\":\"GET\",\"path\":\"/?q=%D6%D0\",\"version\":\"HTTP/1.1\",\"headers\":["
              "[\"Referer\",\"http://" + host + "/?q=%D6%D0\"],[\"Accept\",\"*/*\"],[\"Accept-Language\",\"zh-cn\"],"
              "[\"Content-Type\",\"application/x-www-form-urlencoded\"],[\"User-Agent\",\"TestAgent/1.0\"],"
              "[\"Host\",\"" + host + "\"]],\"body\":\"\"}");
    std::remove(log.c_str());
}

TEST(SorvelMock, LateCharsetDeclaresUtf8OnlyAfterByte500) {
    MockProcess mock({"--late-charset"});
    Exchange page = Fetch(mock, FirstPagePath(kVisitor, "%D6%D0"));
    ASSERT_TRUE(page.sent);
    EXPECT_GE(page.body.find("utf-8"), 500u);
    EXPECT_NE(page.body.find("utf-8"), std::string::npos);
    std::string headers = page.rawHeaders;
    for (char &c : headers) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(headers.find("utf-8"), std::string::npos);
    EXPECT_EQ(SitesOn(page.body).size(), 10u);
}

TEST(SorvelMock, GbkPagesAreGbk) {
    MockProcess mock({"--gbk"});
    Exchange page = Fetch(mock, "/");
    EXPECT_NE(page.body.find("Sorvel \xCB\xD1\xCB\xF7"), std::string::npos);
    EXPECT_EQ(page.body.find("utf-8"), std::string::npos);
    EXPECT_NE(page.rawHeaders.find("charset=gbk"), std::string::npos);
}

TEST(SorvelMock, BigHeadersDropAndSlowBringTheirFaults) {
    MockProcess big({"--big-headers"});
    EXPECT_GT(Fetch(big, "/").rawHeaders.size(), 5000u);

    MockProcess dropping({"--drop"});
    Exchange cut = Fetch(dropping, "/");
    ASSERT_TRUE(cut.sent);
    EXPECT_NE(cut.readError, 0u);
    EXPECT_FALSE(cut.body.empty());
    EXPECT_EQ(cut.body.find("</html>"), std::string::npos);

    MockProcess slow({"--slow", "2"});
    Exchange late = Fetch(slow, "/", 300);
    EXPECT_FALSE(late.sent);
    EXPECT_EQ(late.sendError, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
}

TEST(SorvelMock, BadSwitchIsRefused) {
    MockProcess mock({"--no-such-switch"});
    EXPECT_EQ(mock.Port(), 0);
    EXPECT_EQ(mock.Wait(), 2);
}
