// Host, port and path of addresses with and without scheme, port and query.
#include <gtest/gtest.h>

#include "app_runtime_fixture.h"
#include "gbk.h"
#include "url_parts.h"

namespace {

class UrlParts : public ::testing::Test {
protected:
    void SetUp() override { testsupport::StartApplicationRuntime(); }
};

TEST_F(UrlParts, AddressWithoutSchemeIsHttp) {
    EXPECT_EQ(app::UrlHost("10.0.0.1/a"), "10.0.0.1");
    EXPECT_EQ(app::UrlPort("10.0.0.1/a"), 80);
    EXPECT_EQ(app::UrlPath("10.0.0.1/a"), "/a");
    EXPECT_FALSE(app::IsHttpsAddress("10.0.0.1/a"));
}

TEST_F(UrlParts, HttpsWithPortAndQuery) {
    std::string address = "https://10.0.0.1:8443/x?y=1";
    EXPECT_EQ(app::UrlHost(address), "10.0.0.1");
    EXPECT_EQ(app::UrlHost(address, false, true), "10.0.0.1:8443");
    EXPECT_EQ(app::UrlPort(address), 8443);
    EXPECT_EQ(app::UrlPath(address), "/x?y=1");
    EXPECT_TRUE(app::IsHttpsAddress(address));
    EXPECT_EQ(app::UrlPort("HTTPS://a.cn"), 443);
}

TEST_F(UrlParts, HostIsLowerCaseAndPathKeepsItsCase) {
    EXPECT_EQ(app::UrlHost("HTTP://WWW.Example.COM/Path/A?Q=B"), "www.example.com");
    EXPECT_EQ(app::UrlPath("HTTP://WWW.Example.COM/Path/A?Q=B"), "/Path/A?Q=B");
    EXPECT_EQ(app::UrlPath("http://a.cn"), "/");
    EXPECT_EQ(app::UrlPath("http://a.cn:81"), "/");
}

TEST_F(UrlParts, RegistrableDomainIsTheLastTwoLabels) {
    EXPECT_EQ(app::UrlHost("http://m.news.example.com/x", true), "example.com");
    EXPECT_EQ(app::UrlHost("http://localhost:8080/", true, true), "localhost:8080");
    EXPECT_EQ(app::UrlHost("http://localhost:8080/", true), "localhost");
}

// Only a scheme in front names the host: an address written without scheme that
// carries another address in its query keeps its own host and path.
TEST_F(UrlParts, SchemeInTheQueryIsNotTheHost) {
    std::string address = "example.com/go?to=http://other.cn/";
    EXPECT_EQ(app::UrlHost(address), "example.com");
    EXPECT_EQ(app::UrlPath(address), "/go?to=http://other.cn/");
}

// The host is found after the scheme, not inside it.
TEST_F(UrlParts, HostThatAlsoOccursInTheScheme) {
    EXPECT_EQ(app::UrlHost("http://t:9/x"), "t");
    EXPECT_EQ(app::UrlPath("http://t:9/x"), "/x");
    EXPECT_EQ(app::UrlPort("http://t:9/x"), 9);
}

} // namespace
