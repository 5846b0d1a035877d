// HTTPS: the certificate is checked unless the request's security flags say otherwise.
#include <gtest/gtest.h>

#include <httplib.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "client.h"

namespace {

// A self-signed certificate for 127.0.0.1, made for this run.
bool MakeCertificate(const std::string &cert, const std::string &key) {
    std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                          "-addext subjectAltName=IP:127.0.0.1 -keyout '" + key + "' -out '" + cert +
                          "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

struct TlsServer {
    httplib::SSLServer server;
    int port = 0;
    std::thread thread;
    std::string lastHost, lastTarget;

    TlsServer(const std::string &cert, const std::string &key) : server(cert.c_str(), key.c_str()) {
        server.Get(".*", [this](const httplib::Request &req, httplib::Response &res) {
            lastHost = req.get_header_value("Host");
            lastTarget = req.target;
            res.set_content("secure", "text/plain");
        });
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
    }
    ~TlsServer() {
        server.stop();
        thread.join();
    }
};

BOOL SendSecure(int port, DWORD securityFlags, DWORD &error, std::string &body) {
    HINTERNET session = InternetOpenA("T", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "GET", "/x?y=1", "HTTP/1.1", nullptr, nullptr,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_SECURE | INTERNET_FLAG_NO_COOKIES, 0);
    if (securityFlags) InternetSetOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &securityFlags, sizeof securityFlags);
    BOOL sent = HttpSendRequestA(request, nullptr, 0, nullptr, 0);
    error = sent ? 0 : GetLastError();
    if (sent) body = wininet_test::ReadAll(request, 1024, error);
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
    return sent;
}

}  // namespace

TEST(Tls, UnknownAuthorityIsRefusedUnlessIgnored) {
    std::string base = ::testing::TempDir() + "wininet-tls-" + std::to_string(::getpid());
    std::string cert = base + ".crt", key = base + ".key";
    if (!MakeCertificate(cert, key)) GTEST_SKIP() << "no openssl program to make a certificate";
    TlsServer tls(cert, key);
    ASSERT_GT(tls.port, 0);
    DWORD error = 0;
    std::string body;
    EXPECT_FALSE(SendSecure(tls.port, 0, error, body));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INTERNET_INVALID_CA));

    ASSERT_TRUE(SendSecure(tls.port, SECURITY_FLAG_IGNORE_UNKNOWN_CA, error, body)) << error;
    EXPECT_EQ(body, "secure");
    EXPECT_EQ(tls.lastTarget, "/x?y=1");
    EXPECT_EQ(tls.lastHost, "127.0.0.1:" + std::to_string(tls.port));
    std::remove(cert.c_str());
    std::remove(key.c_str());
}
